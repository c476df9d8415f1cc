// The host-call guard on Windows: a C++ failure leaves the library as one structured exception
// that a host's handler catches, with the message and the abort flag as its arguments.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/Exception.h"
#include "runtime/HostGuard.h"

namespace {

struct Caught {
  bool caught = false;
  DWORD code = 0;
  DWORD flags = 0;
  DWORD arguments = 0;
  std::string message;
  ULONG_PTR abort = 0;
};

Caught caught;
DWORD hostThread = 0;

// A host's vectored handler: it takes the failure and ends the host's worker thread, since a
// non-continuable exception cannot be resumed.
LONG CALLBACK HostHandler(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (GetCurrentThreadId() != hostThread || record->ExceptionCode != rt::kHostExceptionCode)
    return EXCEPTION_CONTINUE_SEARCH;
  caught.caught = true;
  caught.code = record->ExceptionCode;
  caught.flags = record->ExceptionFlags;
  caught.arguments = record->NumberParameters;
  if (record->NumberParameters >= 2) {
    caught.message = reinterpret_cast<const char*>(record->ExceptionInformation[0]);
    caught.abort = record->ExceptionInformation[1];
  }
  ExitThread(2);
}

DWORD WINAPI HostThreadProc(LPVOID param) {
  reinterpret_cast<void (*)()>(param)();
  return 0;
}

// Runs `call` on a host thread, as a host would call the library; answers the thread's exit code
// (0: the call returned; 2: the host's handler caught a structured exception).
DWORD CallAsHost(void (*call)()) {
  caught = {};
  PVOID handler = AddVectoredExceptionHandler(1, HostHandler);
  HANDLE thread = CreateThread(nullptr, 0, HostThreadProc, reinterpret_cast<LPVOID>(call),
                               CREATE_SUSPENDED, &hostThread);
  ResumeThread(thread);
  WaitForSingleObject(thread, INFINITE);
  DWORD exitCode = 99;
  GetExitCodeThread(thread, &exitCode);
  CloseHandle(thread);
  RemoveVectoredExceptionHandler(handler);
  return exitCode;
}

TEST(HostCallGuardOnWindows, AFailureReachesTheHostAsOneStructuredException) {
  DWORD exit = CallAsHost([] {
    rt::GuardHostCall([] { throw rt::EConvertError(u"'abc' is not a valid integer value"); });
  });
  EXPECT_EQ(exit, 2u);
  ASSERT_TRUE(caught.caught);
  EXPECT_EQ(caught.code, 0xE0564C53u);
  EXPECT_TRUE(caught.flags & EXCEPTION_NONCONTINUABLE);
  EXPECT_EQ(caught.arguments, 2u);
  EXPECT_EQ(caught.message, "'abc' is not a valid integer value");
  EXPECT_EQ(caught.abort, 0u);
}

TEST(HostCallGuardOnWindows, ASilentAbortIsFlagged) {
  EXPECT_EQ(CallAsHost([] { rt::GuardHostCall([] { throw rt::EAbort(); }); }), 2u);
  EXPECT_EQ(caught.abort, 1u);
  EXPECT_EQ(caught.message, "Operation aborted");
}

TEST(HostCallGuardOnWindows, AnyExceptionIsCaught) {
  EXPECT_EQ(CallAsHost([] { rt::GuardHostCall([] { throw 42; }); }), 2u);
  EXPECT_EQ(caught.message, "Unknown exception");
  EXPECT_EQ(CallAsHost([] { rt::GuardHostCall([] { throw std::bad_alloc(); }); }), 2u);
  EXPECT_FALSE(caught.message.empty());
}

TEST(HostCallGuardOnWindows, NothingIsRaisedWhenTheCallSucceeds) {
  EXPECT_EQ(CallAsHost([] { EXPECT_EQ(rt::GuardHostCall([] { return 7; }), 7); }), 0u);
  EXPECT_FALSE(caught.caught);
}

// After a failure has left through the guard, the library's C++ exception handling still works.
TEST(HostCallGuardOnWindows, ExceptionsStillWorkAfterAFailureLeft) {
  CallAsHost([] { rt::GuardHostCall([] { throw rt::Exception(u"first"); }); });
  EXPECT_THROW(throw rt::Exception(u"second"), rt::Exception);
  EXPECT_EQ(CallAsHost([] { rt::GuardHostCall([] { throw rt::Exception(u"third"); }); }), 2u);
  EXPECT_EQ(caught.message, "third");
}

TEST(WindowProcGuardOnWindows, SwallowsAnAbortAndShowsTheRest) {
  static std::u16string shown;
  rt::SetApplicationErrorHandler([](const std::u16string& m) { shown = m; });
  EXPECT_EQ(rt::GuardWindowProc([]() -> LRESULT { throw rt::EAbort(); }, LRESULT{-1}), -1);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(rt::GuardWindowProc([]() -> LRESULT { throw rt::Exception(u"box"); }, LRESULT{0}), 0);
  EXPECT_EQ(shown, u"box");
  rt::SetApplicationErrorHandler(nullptr);
}

}  // namespace
