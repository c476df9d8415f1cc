// Behaviour of the toolkit's controls through the user's actions, on every backend the build
// has (offscreen natively; offscreen and real windows under Wine): typing through the key
// handlers and the length limit, read-only boxes, keys a handler consumes, line breaks, Tab
// through containers, clicks reaching the control under the pointer, and failures in handlers
// ending in the error box.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/Exception.h"
#include "tests/ui/driver.h"
#include "ui/Application.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Panel.h"

namespace {

class Behaviour : public ::testing::TestWithParam<uitest::Driver*> {
 protected:
  void SetUp() override {
    D().Activate();
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    edit = Add<ui::TEdit>(form.get(), {10, 10, 110, 34});
    panel = Add<ui::TPanel>(form.get(), {10, 100, 310, 250});
    inner = Add<ui::TEdit>(panel, {10, 10, 110, 34});
    memo = Add<ui::TMemo>(form.get(), {200, 10, 380, 90});
    form->EmbedInto(D().NewHost(400, 300));
    edit->SetFocus();
    D().Clear();
  }
  void TearDown() override {
    form.reset();
    D().Finish();
  }
  template <class T>
  T* Add(ui::TWinControl* parent, ui::TRect r) {
    auto* c = new T(form.get());
    c->SetParent(parent);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
  }
  uitest::Driver& D() { return *GetParam(); }
  ui::TWinControl* Focused() { return ui::Application().FocusedControl(); }

  std::unique_ptr<ui::TForm> form;
  ui::TEdit* edit = nullptr;
  ui::TPanel* panel = nullptr;
  ui::TEdit* inner = nullptr;
  ui::TMemo* memo = nullptr;
};

TEST_P(Behaviour, TypedCharactersPassTheKeyHandlerAndTheLengthLimit) {
  edit->OnKeyPress = [](rt::TComponent*, char16_t& ch) {
    if (ch >= u' ' && (ch < u'0' || ch > u'9')) {
      ch = 0;
      ui::Beep();
    }
  };
  edit->SetMaxLength(2);
  int changes = 0;
  edit->OnChange = [&](rt::TComponent*) { ++changes; };
  D().Type(*edit, u"1a23");
  EXPECT_EQ(edit->Text(), u"12");
  EXPECT_EQ(D().Beeps(), 1);
  EXPECT_EQ(changes, 2);
  D().Type(*edit, u"\b");
  EXPECT_EQ(edit->Text(), u"1");
  edit->SelectAll();
  D().Type(*edit, u"9");
  EXPECT_EQ(edit->Text(), u"9");
  edit->SetSelStart(0);
  D().Press(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"");
}

TEST_P(Behaviour, ReadOnlyBoxesTakeNoTypingAndAHandlerCanConsumeAKey) {
  edit->SetText(u"fixed");
  edit->SetReadOnly(true);
  D().Type(*edit, u"x\b");
  D().Press(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"fixed");
  edit->SetReadOnly(false);
  edit->SetSelStart(0);
  edit->OnKeyDown = [](rt::TComponent*, uint16_t& key, ui::TShiftState) {
    if (key == ui::vkDelete) key = 0;
  };
  D().Press(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"fixed");
}

TEST_P(Behaviour, MemosTakeLineBreaksAndEditsDoNot) {
  D().Type(*memo, u"a\rb");
  EXPECT_EQ(memo->Text(), u"a\r\nb");
  D().Type(*edit, u"a\rb");
  EXPECT_EQ(edit->Text(), u"ab");
}

TEST_P(Behaviour, TabWalksTheOrderThroughContainersSkippingDisabledControls) {
  memo->SetEnabled(false);
  D().Press(*edit, ui::vkTab);
  EXPECT_EQ(Focused(), inner);
  D().Press(*inner, ui::vkTab);
  EXPECT_EQ(Focused(), edit);  // the memo is skipped; the order wraps
  D().Press(*edit, ui::vkTab, ui::ssShift);
  EXPECT_EQ(Focused(), inner);
}

TEST_P(Behaviour, AClickReachesTheEditInsideAPanelAndFocusesIt) {
  int clicks = 0, panelClicks = 0;
  inner->OnClick = [&](rt::TComponent*) { ++clicks; };
  panel->OnClick = [&](rt::TComponent*) { ++panelClicks; };
  D().Click(*form, {30, 120});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(panelClicks, 0);
  EXPECT_EQ(Focused(), inner);
  D().Click(*form, {300, 240});  // the panel, beside its edit
  EXPECT_EQ(panelClicks, 1);
}

TEST_P(Behaviour, AFailingHandlerShowsItsMessageAndASilentAbortShowsNothing) {
  edit->OnChange = [](rt::TComponent*) { throw rt::EAbort(); };
  D().Type(*edit, u"a");
  EXPECT_TRUE(D().Messages().empty());
  edit->OnChange = [](rt::TComponent*) { throw rt::Exception(u"'x' is not a valid integer"); };
  D().Type(*edit, u"b");
  EXPECT_EQ(D().Messages(), (std::vector<std::u16string>{u"'x' is not a valid integer"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, Behaviour, uitest::AllDrivers(), uitest::DriverName);

}  // namespace
