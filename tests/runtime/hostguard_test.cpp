// The guards at the library's edges, as they behave natively: a host call lets the failure
// through; a window procedure swallows a silent abort and shows everything else. The Windows
// behaviour, a structured exception, is tested under Wine in tests/windows.
#include "runtime/HostGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/Exception.h"

namespace {

TEST(HostCallGuard, ReturnsTheBodysResult) {
  EXPECT_EQ(rt::GuardHostCall([] { return 42; }), 42);
  int calls = 0;
  rt::GuardHostCall([&] { ++calls; });
  EXPECT_EQ(calls, 1);
}

TEST(HostCallGuard, LetsTheExceptionPropagateNatively) {
  EXPECT_THROW(rt::GuardHostCall([] { throw rt::EConvertError(u"bad"); }), rt::EConvertError);
  EXPECT_THROW(rt::GuardHostCall([] { throw rt::EAbort(); }), rt::EAbort);
}

TEST(HostCallGuard, CapturesMessageInTheSystemCodePageAndTheAbortFlag) {
  try {
    throw rt::Exception(u"Valor inv\u00e1lido");
  } catch (...) {
    rt::CaptureHostFailure();
  }
  EXPECT_STREQ(rt::LastHostFailureMessage(), "Valor inv\xe1lido");
  EXPECT_FALSE(rt::LastHostFailureWasAbort());

  try {
    throw rt::EAbort();
  } catch (...) {
    rt::CaptureHostFailure();
  }
  EXPECT_TRUE(rt::LastHostFailureWasAbort());

  try {
    throw 7;
  } catch (...) {
    rt::CaptureHostFailure();
  }
  EXPECT_STREQ(rt::LastHostFailureMessage(), "Unknown exception");
  EXPECT_FALSE(rt::LastHostFailureWasAbort());
}

TEST(HostCallGuard, CapturedMessageIsCutToTheBufferAndStaysTerminated) {
  try {
    throw std::runtime_error(std::string(10000, 'x'));
  } catch (...) {
    rt::CaptureHostFailure();
  }
  std::string message = rt::LastHostFailureMessage();
  EXPECT_GT(message.size(), 1000u);
  EXPECT_LT(message.size(), 10000u);
  EXPECT_EQ(message.find_first_not_of('x'), std::string::npos);
}

class WindowProcGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    shown().clear();
    previous_ = rt::GetApplicationErrorHandler();
    rt::SetApplicationErrorHandler([](const std::u16string& m) { shown().push_back(m); });
  }
  void TearDown() override { rt::SetApplicationErrorHandler(previous_); }
  static std::vector<std::u16string>& shown() {
    static std::vector<std::u16string> messages;
    return messages;
  }

 private:
  rt::ApplicationErrorHandler previous_ = nullptr;
};

TEST_F(WindowProcGuard, SwallowsASilentAbortWithoutShowingIt) {
  EXPECT_EQ(rt::GuardWindowProc([]() -> int { throw rt::EAbort(); }, -1), -1);
  EXPECT_TRUE(shown().empty());
}

TEST_F(WindowProcGuard, ShowsAnyOtherFailureOnceAndReturnsTheFallback) {
  EXPECT_EQ(rt::GuardWindowProc([]() -> int { throw rt::EConvertError(u"'x' is bad"); }, 0), 0);
  rt::GuardWindowProc([] { throw std::runtime_error("plain"); });
  rt::GuardWindowProc([] { throw 1; });
  ASSERT_EQ(shown().size(), 3u);
  EXPECT_EQ(shown()[0], u"'x' is bad");
  EXPECT_EQ(shown()[1], u"plain");
  EXPECT_EQ(shown()[2], u"Unknown exception");
}

TEST_F(WindowProcGuard, PassesTheResultThroughWhenNothingFails) {
  EXPECT_EQ(rt::GuardWindowProc([] { return 5L; }, 0L), 5L);
  EXPECT_TRUE(shown().empty());
}

TEST_F(WindowProcGuard, AHandlerThatFailsDoesNotEscape) {
  rt::SetApplicationErrorHandler([](const std::u16string&) { throw std::runtime_error("box"); });
  EXPECT_EQ(rt::GuardWindowProc([]() -> int { throw std::runtime_error("first"); }, 3), 3);
}

}  // namespace
