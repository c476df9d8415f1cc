// The failure buffer behind the host-call guard, the structured exception, and the handling of
// failures that reach a window procedure.
#include "runtime/HostGuard.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace rt {

namespace {

// A fixed buffer: capturing a failure must not itself fail for lack of memory, and the host reads
// the message after the library's frames are gone.
char failureMessage[4096];
bool failureAbort = false;

void StoreFailure(const std::string& text, bool abort) {
  size_t n = std::min(text.size(), sizeof failureMessage - 1);
  std::memcpy(failureMessage, text.data(), n);
  failureMessage[n] = '\0';
  failureAbort = abort;
}

ApplicationErrorHandler applicationErrorHandler = nullptr;

}  // namespace

void CaptureHostFailure() noexcept {
  try {
    try {
      throw;
    } catch (const EAbort& e) {
      StoreFailure(ToAnsi(e.Message()), true);
    } catch (const std::exception& e) {
      StoreFailure(ToAnsi(ExceptionMessage(e)), false);
    } catch (...) {
      StoreFailure("Unknown exception", false);
    }
  } catch (...) {
    // Converting the message failed (out of memory): the failure still reaches the host.
    StoreFailure("Out of memory", false);
  }
}

void RaiseHostFailure() {
#ifdef _WIN32
  ULONG_PTR args[kHostExceptionArgs] = {reinterpret_cast<ULONG_PTR>(failureMessage),
                                        failureAbort ? 1u : 0u};
  RaiseException(kHostExceptionCode, EXCEPTION_NONCONTINUABLE, kHostExceptionArgs, args);
#endif
  std::abort();  // not reached on Windows: the structured exception is not continuable
}

const char* LastHostFailureMessage() {
  return failureMessage;
}
bool LastHostFailureWasAbort() {
  return failureAbort;
}

void SetApplicationErrorHandler(ApplicationErrorHandler handler) {
  applicationErrorHandler = handler;
}

ApplicationErrorHandler GetApplicationErrorHandler() {
  return applicationErrorHandler;
}

void HandleWindowProcException() noexcept {
  try {
    try {
      throw;
    } catch (const EAbort&) {
      return;
    } catch (const std::exception& e) {
      std::u16string message = ExceptionMessage(e);
      if (applicationErrorHandler) {
        applicationErrorHandler(message);
      } else {
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(message).c_str());
      }
    } catch (...) {
      if (applicationErrorHandler) {
        applicationErrorHandler(u"Unknown exception");
      } else {
        std::fputs("Unknown exception\n", stderr);
      }
    }
  } catch (...) {
    // The handler itself failed; a window procedure still must not unwind.
  }
}

}  // namespace rt
