// The offscreen mirror: a window holds only what its peer's syncs wrote into it, so a control
// that changes its state without telling its window is caught, and the native text box acts on
// its own copy of the state as a real one does.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/Exception.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/Offscreen.h"

namespace {

// An edit that forgets to tell its window about one aspect.
class ForgetfulEdit : public ui::TEdit {
 public:
  using ui::TEdit::TEdit;
  ui::Aspect forgotten = ui::Aspect::ReadOnly;
  bool forgetting = true;

 protected:
  void Changed(ui::Aspect aspect) override {
    if (forgetting && aspect == forgotten) return;
    ui::TEdit::Changed(aspect);
  }
};

class Mirror : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 200, 100);
    edit = new ForgetfulEdit(form.get());
    edit->SetName(u"DBEdit3");
    edit->SetParent(form.get());
    form->Show();
  }
  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  std::unique_ptr<ui::TForm> form;
  ForgetfulEdit* edit = nullptr;
};

TEST_F(Mirror, AForgottenSyncIsReportedWithTheControlAndWhatDiffers) {
  EXPECT_TRUE(backend.MirrorMismatches().empty());
  edit->SetReadOnly(true);
  const std::vector<std::u16string> problems = backend.MirrorMismatches();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], u"DBEdit3: read-only state differs between the window and the control");
  // The native box still takes typing, as a real one would: the control's state never reached
  // it.
  ui::offscreen::TypeText(*edit, u"ab");
  EXPECT_EQ(edit->Text(), u"ab");
  edit->forgetting = false;
  edit->SetReadOnly(false);
  edit->SetReadOnly(true);
  EXPECT_TRUE(backend.MirrorMismatches().empty());
  ui::offscreen::TypeText(*edit, u"c");
  EXPECT_EQ(edit->Text(), u"ab");
}

TEST_F(Mirror, EveryAspectOfATextBoxIsMirrored) {
  for (ui::Aspect a : {ui::Aspect::Bounds, ui::Aspect::Text, ui::Aspect::Enabled, ui::Aspect::Font,
                       ui::Aspect::Color, ui::Aspect::Style, ui::Aspect::MaxLength}) {
    edit->forgotten = a;
    edit->forgetting = true;
    edit->SetBounds(1, 2, 30, 40);
    edit->SetText(u"x");
    edit->SetEnabled(false);
    edit->SetFont({u"Times New Roman", -16, ui::clBlack, ui::fsBold});
    edit->SetColor(ui::clBlack);
    edit->SetAlignment(ui::TAlignment::taRightJustify);
    edit->SetMaxLength(2);
    EXPECT_EQ(backend.MirrorMismatches().size(), 1u) << static_cast<int>(a);
    // Back to the start, told properly.
    edit->forgetting = false;
    edit->SetBounds(0, 0, 0, 0);
    edit->SetText(u"");
    edit->SetEnabled(true);
    edit->SetFont(form->Font());
    edit->SetColor(ui::clWindow);
    edit->SetAlignment(ui::TAlignment::taLeftJustify);
    edit->SetMaxLength(0);
    EXPECT_TRUE(backend.MirrorMismatches().empty()) << static_cast<int>(a);
  }
}

TEST_F(Mirror, TheNativeBoxKeepsItsOwnCaretAndSelection) {
  ui::offscreen::TypeText(*edit, u"abcd");
  EXPECT_EQ(edit->SelStart(), 4);
  ui::offscreen::PressKey(*edit, ui::vkLeft);
  ui::offscreen::PressKey(*edit, ui::vkLeft);
  ui::offscreen::TypeText(*edit, u"\b");
  EXPECT_EQ(edit->Text(), u"acd");
  EXPECT_EQ(edit->SelStart(), 1);
  ui::offscreen::PressKey(*edit, ui::vkDelete);
  EXPECT_EQ(edit->Text(), u"ad");
  edit->SetText(u"new");  // a text from the program puts the caret at the start
  EXPECT_EQ(edit->SelStart(), 0);
  ui::offscreen::PressKey(*edit, ui::vkEnd);
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  EXPECT_EQ(edit->SelText(), u"e");
}

TEST(Seam, AKindWithoutAPeerFailsWithItsNameAndWindowsAreCountedPerKind) {
  static constexpr ui::PeerKind kUnknown{"Sundial"};
  class Sundial : public ui::TWinControl {
   public:
    using TWinControl::TWinControl;
    const ui::PeerKind& Kind() const override { return kUnknown; }
  };
  auto& backend = ui::offscreen::Instance();
  Sundial sundial(nullptr);
  try {
    sundial.HandleNeeded();
    FAIL() << "created";
  } catch (const rt::Exception& e) {
    EXPECT_EQ(e.Message(), u"No native window for controls of kind Sundial");
  }
  EXPECT_FALSE(sundial.HandleAllocated());
  ui::TForm form(nullptr);
  new ui::TEdit(&form);
  for (int i = 0; i < 3; ++i) (new ui::TMemo(&form))->SetParent(&form);
  form.Show();
  EXPECT_EQ(backend.WindowCount(ui::kMemoKind), 3u);
  EXPECT_EQ(backend.WindowCount(ui::kFormKind), 1u);
  EXPECT_EQ(backend.WindowCount(ui::kEditKind), 0u);  // never given a parent
}

}  // namespace
