// The runtime's exception classes. Messages are 16-bit text, as the toolkit's messages are;
// what() gives the same text as UTF-8 for diagnostics.
#pragma once

#include <exception>
#include <string>

namespace rt {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// The silent exception: an application loop swallows it without showing anything.
class EAbort : public Exception {
 public:
  EAbort() : Exception(u"Operation aborted") {}
  explicit EAbort(std::u16string message) : Exception(std::move(message)) {}
};

// A text that is not a number of the requested kind.
class EConvertError : public Exception {
  using Exception::Exception;
};

// A variant value that cannot be converted to the requested kind.
class EVariantError : public Exception {
  using Exception::Exception;
};

// The message of any exception, as 16-bit text.
std::u16string ExceptionMessage(const std::exception& e);

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace rt
