// These tests drive the offscreen backend in both builds (on Windows the default is win32), and
// after every test each live window's mirror must match its control: a change that a control
// forgot to sync fails the test that made it.
#include <gtest/gtest.h>

#include "runtime/Exception.h"
#include "ui/offscreen/Offscreen.h"

namespace {

class MirrorCheck final : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    // End events reach the listeners appended last first: this failure still counts for the
    // test that just ended and is printed with it.
    for (const std::u16string& problem : ui::offscreen::Instance().MirrorMismatches())
      ADD_FAILURE() << rt::Utf16ToUtf8(problem);
  }
};

const bool kOffscreen = [] {
  ui::SetBackend(&ui::offscreen::Instance());
  ::testing::UnitTest::GetInstance()->listeners().Append(new MirrorCheck);
  return true;
}();

}  // namespace
