// The application's shared calls as tests see them offscreen: message boxes and beeps are
// recorded, failures in event handlers end in an error box (a silent abort in nothing), and
// typing reaches edits through the same key handling as on Windows.
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/Exception.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/Offscreen.h"

namespace {

class Shared : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.ClearMessages();
    backend.ClearBeeps();
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 200, 100);
    edit = new ui::TEdit(form.get());
    edit->SetParent(form.get());
    form->Show();
    edit->SetFocus();
  }
  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  std::unique_ptr<ui::TForm> form;
  ui::TEdit* edit = nullptr;
};

TEST_F(Shared, MessageBoxesAndBeepsAreRecordedUntilCleared) {
  EXPECT_EQ(ui::ShowMessageBox(u"Carregando field X: bad", u"VELSistema", ui::TMsgDlgType::mtError),
            1);
  ui::ShowMessage(u"hello");
  ui::Beep();
  ui::Beep();
  ASSERT_EQ(backend.Messages().size(), 2u);
  EXPECT_EQ(backend.Messages()[0].Text, u"Carregando field X: bad");
  EXPECT_EQ(backend.Messages()[0].Type, ui::TMsgDlgType::mtError);
  EXPECT_EQ(backend.Messages()[1].Caption, ui::Application().Title());
  EXPECT_EQ(backend.Beeps(), 2);
  backend.ClearMessages();
  backend.ClearBeeps();
  EXPECT_TRUE(backend.Messages().empty());
  EXPECT_EQ(backend.Beeps(), 0);
}

TEST_F(Shared, AFailingHandlerShowsItsMessageAndASilentAbortShowsNothing) {
  edit->OnChange = [](rt::TComponent*) { throw rt::EAbort(); };
  EXPECT_FALSE(ui::offscreen::TypeText(*edit, u"a"));
  EXPECT_TRUE(backend.Messages().empty());
  edit->OnChange = [](rt::TComponent*) { throw rt::Exception(u"'x' is not a valid integer"); };
  EXPECT_FALSE(ui::offscreen::TypeText(*edit, u"b"));
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, u"'x' is not a valid integer");
  EXPECT_EQ(backend.Messages()[0].Type, ui::TMsgDlgType::mtError);
}

TEST_F(Shared, TypedCharactersPassTheKeyHandlerAndTheLengthLimit) {
  edit->OnKeyPress = [](rt::TComponent*, char16_t& ch) {
    if (ch >= u' ' && (ch < u'0' || ch > u'9')) {
      ch = 0;
      ui::Beep();
    }
  };
  edit->SetMaxLength(2);
  int changes = 0;
  edit->OnChange = [&](rt::TComponent*) { ++changes; };
  ui::offscreen::TypeText(*edit, u"1a23");
  EXPECT_EQ(edit->Text(), u"12");
  EXPECT_EQ(backend.Beeps(), 1);
  EXPECT_EQ(changes, 2);
  ui::offscreen::TypeText(*edit, u"\b");
  EXPECT_EQ(edit->Text(), u"1");
  edit->SelectAll();
  ui::offscreen::TypeText(*edit, u"9");
  EXPECT_EQ(edit->Text(), u"9");
  edit->SetSelStart(0);
  ui::offscreen::PressKey(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"");
}

TEST_F(Shared, ReadOnlyEditsTakeNoTyping) {
  edit->SetText(u"fixed");
  edit->SetReadOnly(true);
  ui::offscreen::TypeText(*edit, u"x\b");
  ui::offscreen::PressKey(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"fixed");
}

TEST_F(Shared, AKeyDownHandlerCanConsumeAKey) {
  edit->SetText(u"abc");
  edit->SetSelStart(0);
  edit->OnKeyDown = [](rt::TComponent*, uint16_t& key, ui::TShiftState) {
    if (key == ui::vkDelete) key = 0;
  };
  ui::offscreen::PressKey(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"abc");
}

TEST_F(Shared, MemosTakeLineBreaks) {
  auto* memo = new ui::TMemo(form.get());
  memo->SetParent(form.get());
  ui::offscreen::TypeText(*memo, u"a\rb");
  EXPECT_EQ(memo->Text(), u"a\r\nb");
  ui::offscreen::TypeText(*edit, u"a\rb");
  EXPECT_EQ(edit->Text(), u"ab");
}

TEST(Backends, TheBackendCannotChangeWhileItHoldsNativeObjects) {
  ui::offscreen::OffscreenBackend other;
  ui::TForm form(nullptr);
  form.Show();
  EXPECT_THROW(ui::SetBackend(&other), rt::Exception);
  form.DestroyHandle();
  ui::SetBackend(&other);
  EXPECT_EQ(&ui::CurrentBackend(), &other);
  form.Show();
  EXPECT_EQ(other.NativeObjectCount(), 1u);
  form.DestroyHandle();
  ui::SetBackend(&ui::offscreen::Instance());
  EXPECT_EQ(&ui::CurrentBackend(), &ui::offscreen::Instance());
}

}  // namespace
