// Byte streams with 64-bit positions, and the growable in-memory stream that blob values and tests
// keep their bytes in.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/Exception.h"

namespace rt {

// A stream that moved fewer bytes than a whole transfer needed.
class EStreamError : public Exception {
  using Exception::Exception;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};

enum class TSeekOrigin : int { Beginning = 0, Current = 1, End = 2 };

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream();

  // Transfers up to count bytes and answers how many moved; never raises for a short transfer.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Answers the new position. Streams decide what a position outside their bytes means.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t GetSize();
  virtual void SetSize(int64_t size);

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
  int64_t Size() { return GetSize(); }

  // Whole transfers: raise EReadError / EWriteError when fewer bytes move than asked for.
  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies count bytes from source's position (the whole of source from 0 when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A growable block of memory. Size and position are limited to 32 bits, as the stored values
// that live in these streams are: a write that would pass 2 GiB transfers nothing.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return size_; }
  void SetSize(int64_t size) override;

  void Clear();
  const char* Memory() const { return data_; }
  // The content as bytes, independent of the position.
  std::string Bytes() const { return std::string(data_ ? data_ : "", static_cast<size_t>(size_)); }

 private:
  bool Reserve(int64_t capacity);

  char* data_ = nullptr;
  int64_t size_ = 0;
  int64_t capacity_ = 0;
  int64_t position_ = 0;
};

}  // namespace rt
