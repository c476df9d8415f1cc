// The guards at the library's edges: no C++ exception may leave a method that a host calls or a
// window procedure, because foreign frames cannot unwind it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace rt {

// The structured exception through which a failure reaches a host on Windows. Arguments: [0] the
// message as zero-terminated 8-bit text (valid until the next failure), [1] 1 for a silent abort.
inline constexpr uint32_t kHostExceptionCode = 0xE0564C53;  // customer bit; "VLS"
inline constexpr uint32_t kHostExceptionArgs = 2;

// Called inside a catch block: keeps the current exception's message and abort flag in the
// module's failure buffer, so the exception itself can end before the structured one is raised.
void CaptureHostFailure() noexcept;
// Raises the captured failure as the host's structured exception.
[[noreturn]] void RaiseHostFailure();

// The last captured failure, for diagnostics and tests.
const char* LastHostFailureMessage();
bool LastHostFailureWasAbort();

// Wraps the body of every method that a host calls. Natively the exception simply propagates.
// On Windows it is caught, its C++ handling ends, and only then is the structured exception
// raised, so nothing of the C++ runtime's state is left behind when the host's handler unwinds.
template <class F>
decltype(auto) GuardHostCall(F&& fn) {
#ifdef _WIN32
  try {
    return std::forward<F>(fn)();
  } catch (...) {
    CaptureHostFailure();
  }
  RaiseHostFailure();
#else
  return std::forward<F>(fn)();
#endif
}

// Shows a failure that reached a window procedure. The window layer installs one that opens its
// error box; without one, the message goes to the standard error stream.
using ApplicationErrorHandler = void (*)(const std::u16string& message);
void SetApplicationErrorHandler(ApplicationErrorHandler handler);
ApplicationErrorHandler GetApplicationErrorHandler();

// Called inside a catch block: swallows a silent abort and hands anything else to the installed
// handler, as an application loop does. Never throws.
void HandleWindowProcException() noexcept;

// Wraps the body of every window procedure; gives `onFailure` when the body failed.
template <class F, class R>
R GuardWindowProc(F&& fn, R onFailure) noexcept {
  try {
    return std::forward<F>(fn)();
  } catch (...) {
    HandleWindowProcException();
  }
  return onFailure;
}

template <class F>
void GuardWindowProc(F&& fn) noexcept {
  try {
    std::forward<F>(fn)();
  } catch (...) {
    HandleWindowProcException();
  }
}

}  // namespace rt
