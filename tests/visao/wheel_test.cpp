// The scrolling view's wheel rule: one line per notification, its direction by the sign of
// delta div 10, nothing while any memo of the application has the focus, and the standard
// handling's result returned.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/visao/tall_view.h"
#include "ui/Application.h"
#include "ui/Edits.h"
#include "ui/offscreen/Offscreen.h"
#include "visao/ZARPVisaoFicha.h"

namespace {

using testviews::TfrmAlta;

class Wheel : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::offscreen::Instance().SetHostClientSize(kHost, 500, 300);
    view.reset(zarp::CriarVisao<TfrmAlta>(nullptr, kHost));
    view->EmbedInto(kHost);
    edit = &view->Find<ui::TEdit>(u"Edit");
    memo = &view->Find<ui::TMemo>(u"Memo");
  }
  int Position() const { return view->VertScrollBar().Position(); }
  bool Roll(int delta, ui::TWinControl* receiver = nullptr) {
    bool handled = false;
    ui::offscreen::SendMouseWheel(receiver ? *receiver : *view, delta, 0, {}, &handled);
    return handled;
  }

  static constexpr uint32_t kHost = 0x500;
  std::unique_ptr<zarp::TFrmBaseVisaoFicha> view;
  ui::TEdit* edit = nullptr;
  ui::TMemo* memo = nullptr;
};

TEST(Embedding, AScreenTallerThanTheContentDoesNotScrollTheViewBackToTheTop) {
  // Embedding aligns the view to its host only: the screen's size plays no part, even for a
  // moment, so the view keeps the scroll position it opens at.
  auto& screen = ui::offscreen::Instance();
  screen.SetWorkArea({0, 0, 1600, 1400});
  screen.SetHostClientSize(0x501, 500, 300);
  std::unique_ptr<zarp::TFrmBaseVisaoFicha> view(zarp::CriarVisao<TfrmAlta>(nullptr, 0x501));
  view->EmbedInto(0x501);
  screen.SetWorkArea({0, 0, 1024, 738});
  EXPECT_EQ(view->VertScrollBar().Position(), 19);
  EXPECT_EQ(view->Find<ui::TEdit>(u"Edit").Top(), 10);
}

TEST_F(Wheel, EachNotchScrollsOneLineOfEightPixels) {
  ASSERT_EQ(Position(), 19);
  Roll(-120);
  EXPECT_EQ(Position(), 27);
  Roll(+120);
  EXPECT_EQ(Position(), 19);
}

TEST_F(Wheel, TheSizeOfTheDeltaDoesNotMatterOnlyItsSignAfterTheDivision) {
  Roll(-240);
  EXPECT_EQ(Position(), 27);
  Roll(-10);
  EXPECT_EQ(Position(), 35);
  Roll(-9);  // -9 div 10 = 0: up
  EXPECT_EQ(Position(), 27);
  Roll(+9);
  EXPECT_EQ(Position(), 19);
  Roll(0);
  EXPECT_EQ(Position(), 11);
}

TEST_F(Wheel, AtTheTopAWheelUpLeavesThePositionAtZero) {
  Roll(120);
  Roll(120);
  Roll(120);
  EXPECT_EQ(Position(), 0);
  Roll(120);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(edit->Top(), 10 + 19);
}

TEST_F(Wheel, AtTheBottomAWheelDownStaysAtTheEndOfTheRange) {
  view->Perform(ui::msgVScroll, ui::sbBottom, 0);
  const int end = Position();
  EXPECT_EQ(end, view->VertScrollBar().Range() - view->ClientHeight());
  Roll(-120);
  EXPECT_EQ(Position(), end);
}

TEST_F(Wheel, AFocusedEditOrNoFocusLetsTheSheetScroll) {
  edit->SetFocus();
  Roll(-120, edit);
  EXPECT_EQ(Position(), 27);
  view->SetFocus();
  Roll(-120);
  EXPECT_EQ(Position(), 35);
}

TEST_F(Wheel, AFocusedMemoKeepsTheWheelForItsOwnText) {
  memo->SetFocus();
  EXPECT_FALSE(Roll(-120, memo));
  EXPECT_EQ(Position(), 19);
  // The memo need not be on this view: the focus of the whole application counts.
  ui::TForm other(nullptr);
  auto* foreign = new ui::TMemo(&other);
  foreign->SetParent(&other);
  other.Show();
  foreign->SetFocus();
  Roll(-120);
  EXPECT_EQ(Position(), 19);
  edit->SetFocus();
  Roll(-120, edit);
  EXPECT_EQ(Position(), 27);
}

TEST_F(Wheel, TheStandardHandlingRunsFirstAndItsResultIsReturned) {
  std::vector<int> seen;
  view->OnMouseWheel = [&](rt::TComponent*, ui::TShiftState, int delta, ui::TPoint, bool& handled) {
    seen.push_back(Position());
    handled = delta < 0;
  };
  EXPECT_TRUE(Roll(-120));
  EXPECT_EQ(Position(), 27);  // handled or not, the sheet scrolls
  EXPECT_FALSE(Roll(120));
  EXPECT_EQ(Position(), 19);
  EXPECT_EQ(seen, (std::vector<int>{19, 27}));  // each time before the sheet scrolled
  int downs = 0;
  view->OnMouseWheel = nullptr;
  view->OnMouseWheelDown = [&](rt::TComponent*, ui::TShiftState, ui::TPoint, bool& handled) {
    ++downs;
    handled = true;
  };
  EXPECT_TRUE(Roll(-120));
  EXPECT_FALSE(Roll(120));
  EXPECT_EQ(downs, 1);
}

TEST_F(Wheel, AFailingWheelEventIsShownAndTheViewStaysUsable) {
  auto& backend = ui::offscreen::Instance();
  backend.ClearMessages();
  view->OnMouseWheel = [](rt::TComponent*, ui::TShiftState, int, ui::TPoint, bool&) {
    throw rt::Exception(u"wheel failed");
  };
  EXPECT_FALSE(ui::offscreen::SendMouseWheel(*view, -120));
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, u"wheel failed");
  view->OnMouseWheel = nullptr;
  Roll(-120);
  EXPECT_EQ(Position(), 27);
  backend.ClearMessages();
}

}  // namespace
