// Scrolling: ranges from the content, bars that take room from the client area, the 8-pixel
// line step, clamping, and stored positions that state where the content was scrolled.
#include <gtest/gtest.h>

#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/Offscreen.h"

namespace {

const ui::ControlDescription kTall[] = {
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Top",
     .Left = 10,
     .Top = 0,
     .Width = 50,
     .Height = 20},
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Bottom",
     .Left = 10,
     .Top = 1103,
     .Width = 50,
     .Height = 19},
};

// A sheet-like form: content rows 0..1141, stored at a vertical position of 19.
class TTallForm : public ui::TForm {
 public:
  explicit TTallForm(rt::TComponent* owner) : ui::TForm(owner) {
    ApplyDescription({.BorderStyle = ui::TBorderStyle::bsNone,
                      .Width = 400,
                      .Height = 300,
                      .AutoScroll = true,
                      .VertScrollPosition = 19,
                      .Controls = kTall});
  }
  ui::TControl& Bottom() { return Find<ui::TEdit>(u"Bottom"); }
};

TEST(Scrolling, StoredPositionsKeepTheChildrenWhereTheyWereStored) {
  TTallForm form(nullptr);
  EXPECT_EQ(form.VertScrollBar().Position(), 19);
  EXPECT_EQ(form.VertScrollBar().Range(), 1141);
  EXPECT_EQ(form.Bottom().Top(), 1103);
  EXPECT_TRUE(form.VertScrollBar().IsScrollBarVisible());
  EXPECT_FALSE(form.HorzScrollBar().IsScrollBarVisible());
  EXPECT_EQ(form.ClientWidth(), 400 - ui::offscreen::Instance().ScrollBarSize());
  EXPECT_EQ(form.ClientHeight(), 300);
}

TEST(Scrolling, ALineIsEightPixelsAndTheContentMovesWithThePosition) {
  TTallForm form(nullptr);
  form.Perform(ui::msgVScroll, ui::sbLineDown, 0);
  EXPECT_EQ(form.VertScrollBar().Position(), 27);
  EXPECT_EQ(form.Bottom().Top(), 1103 - 8);
  form.Perform(ui::msgVScroll, ui::sbLineUp, 0);
  form.Perform(ui::msgVScroll, ui::sbLineUp, 0);
  EXPECT_EQ(form.VertScrollBar().Position(), 11);
  EXPECT_EQ(form.Bottom().Top(), 1103 + 8);
}

TEST(Scrolling, PositionsClampToTheRange) {
  TTallForm form(nullptr);
  for (int i = 0; i < 5; ++i) form.Perform(ui::msgVScroll, ui::sbLineUp, 0);
  EXPECT_EQ(form.VertScrollBar().Position(), 0);
  EXPECT_EQ(form.Bottom().Top(), 1122);
  form.Perform(ui::msgVScroll, ui::sbBottom, 0);
  EXPECT_EQ(form.VertScrollBar().Position(), 1141 - 300);
  form.Perform(ui::msgVScroll, ui::sbLineDown, 0);
  EXPECT_EQ(form.VertScrollBar().Position(), 1141 - 300);
  EXPECT_EQ(form.Bottom().Top() + form.Bottom().Height(), 300);  // the last row at the bottom
  form.Perform(ui::msgVScroll, ui::sbThumbPosition, 100);
  EXPECT_EQ(form.VertScrollBar().Position(), 100);
}

TEST(Scrolling, GrowingPastTheContentHidesTheBarAndScrollsBackToTheTop) {
  TTallForm form(nullptr);
  form.SetHeight(2000);
  EXPECT_FALSE(form.VertScrollBar().IsScrollBarVisible());
  EXPECT_EQ(form.VertScrollBar().Position(), 0);
  EXPECT_EQ(form.Find<ui::TEdit>(u"Top").Top(), 19);
  EXPECT_EQ(form.ClientWidth(), 400);
}

TEST(Scrolling, AVerticalBarCanMakeTheHorizontalOneNecessary) {
  ui::TForm form(nullptr);
  form.SetBorderStyle(ui::TBorderStyle::bsNone);
  form.SetBounds(0, 0, 200, 200);
  auto* wide = new ui::TEdit(&form);
  wide->SetParent(&form);
  wide->SetBounds(0, 0, 195, 20);  // fits until a vertical bar takes its room
  EXPECT_FALSE(form.HorzScrollBar().IsScrollBarVisible());
  auto* deep = new ui::TEdit(&form);
  deep->SetParent(&form);
  deep->SetBounds(0, 300, 10, 20);
  EXPECT_TRUE(form.VertScrollBar().IsScrollBarVisible());
  EXPECT_TRUE(form.HorzScrollBar().IsScrollBarVisible());
  const int bar = ui::offscreen::Instance().ScrollBarSize();
  EXPECT_EQ(form.ClientWidth(), 200 - bar);
  EXPECT_EQ(form.ClientHeight(), 200 - bar);
}

TEST(Scrolling, WithoutAutoScrollTheRangeIsWhatWasSet) {
  ui::TForm form(nullptr);
  form.SetBorderStyle(ui::TBorderStyle::bsNone);
  form.SetAutoScroll(false);
  form.SetBounds(0, 0, 100, 100);
  EXPECT_FALSE(form.VertScrollBar().IsScrollBarVisible());
  form.VertScrollBar().SetRange(500);
  EXPECT_TRUE(form.VertScrollBar().IsScrollBarVisible());
  form.VertScrollBar().SetIncrement(25);
  ui::offscreen::ClickScrollBar(form, ui::TScrollBarKind::sbVertical, ui::sbLineDown);
  EXPECT_EQ(form.VertScrollBar().Position(), 25);
  ui::offscreen::ClickScrollBar(form, ui::TScrollBarKind::sbVertical, ui::sbPageDown);
  EXPECT_EQ(form.VertScrollBar().Position(), 125);
}

TEST(Scrolling, AFramedFormsClientAreaExcludesItsFrame) {
  ui::TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  ui::TRect nc = ui::offscreen::Instance().NonClientExtents(ui::TBorderStyle::bsSizeable);
  EXPECT_EQ(form.ClientWidth(), 300 - nc.Left - nc.Right);
  EXPECT_EQ(form.ClientHeight(), 200 - nc.Top - nc.Bottom);
  form.SetClientWidth(472);
  EXPECT_EQ(form.ClientWidth(), 472);
  form.SetBorderStyle(ui::TBorderStyle::bsNone);
  EXPECT_EQ(form.ClientWidth(), form.Width());
}

}  // namespace
