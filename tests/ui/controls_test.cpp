// Controls: ownership and parenthood, fonts, constraints, focus and tab order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/Application.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace {

std::vector<std::u16string>* g_freed = nullptr;

class TracedEdit : public ui::TEdit {
 public:
  using ui::TEdit::TEdit;
  ~TracedEdit() override {
    if (g_freed) g_freed->push_back(Name());
  }
};

std::unique_ptr<ui::TForm> ShownForm() {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBorderStyle(ui::TBorderStyle::bsNone);
  form->SetBounds(0, 0, 300, 200);
  form->Show();
  return form;
}

TEST(Ownership, FindComponentIgnoresCaseAndOwnedControlsAreFreedNewestFirst) {
  std::vector<std::u16string> freed;
  g_freed = &freed;
  {
    ui::TForm form(nullptr);
    for (auto name : {u"First", u"Second", u"Third"}) {
      auto* e = new TracedEdit(&form);
      e->SetName(name);
    }
    EXPECT_EQ(form.FindComponent(u"sEcOnD")->Name(), u"Second");
    EXPECT_EQ(form.FindComponent(u"Fourth"), nullptr);
  }
  g_freed = nullptr;
  EXPECT_EQ(freed, (std::vector<std::u16string>{u"Third", u"Second", u"First"}));
}

TEST(Ownership, AParentFreesItsChildrenEvenWhenAnotherComponentOwnsThem) {
  ui::TForm owner(nullptr);
  auto* panel = new ui::TPanel(nullptr);
  auto* edit = new ui::TEdit(&owner);
  edit->SetName(u"Edit");
  edit->SetParent(panel);
  delete panel;
  EXPECT_EQ(owner.ComponentCount(), 0);  // the freed child left its owner's list
}

TEST(Ownership, FreeingAControlDropsItFromItsParentAndFromTheFocus) {
  auto form = ShownForm();
  auto* edit = new ui::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetFocus();
  ASSERT_EQ(ui::Application().FocusedControl(), edit);
  delete edit;
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(ui::Application().FocusedControl(), nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST(Ownership, AFreedControlLeavesTheTabOrderSoTabNeverReachesIt) {
  auto form = ShownForm();
  auto* a = new ui::TEdit(form.get());
  a->SetParent(form.get());
  auto* b = new ui::TEdit(form.get());
  b->SetParent(form.get());
  auto* c = new ui::TEdit(form.get());
  c->SetParent(form.get());
  delete b;
  EXPECT_EQ(form->TabList().size(), 2u);
  a->SetFocus();
  ui::offscreen::PressKey(*a, ui::vkTab);
  EXPECT_EQ(ui::Application().FocusedControl(), c);
}

TEST(Parenthood, AControlCannotBecomeItsOwnAncestor) {
  ui::TPanel outer(nullptr), inner(nullptr);
  inner.SetParent(&outer);
  EXPECT_THROW(outer.SetParent(&inner), rt::Exception);
  EXPECT_EQ(outer.Parent(), nullptr);
  inner.SetParent(nullptr);
}

TEST(Fonts, ChildrenFollowTheirParentsFontUntilTheyGetTheirOwn) {
  ui::TForm form(nullptr);
  auto* panel = new ui::TPanel(&form);
  panel->SetParent(&form);
  auto* edit = new ui::TEdit(&form);
  edit->SetParent(panel);
  ui::TFont big{u"Times New Roman", -16, ui::clBlack, ui::fsBold};
  form.SetFont(big);
  EXPECT_EQ(edit->Font(), big);
  ui::TFont own{u"Tahoma", -13, ui::clWindowText, 0};
  edit->SetFont(own);
  EXPECT_FALSE(edit->ParentFont());
  form.SetFont(ui::TFont{});
  EXPECT_EQ(edit->Font(), own);
  EXPECT_EQ(panel->Font(), ui::TFont{});
}

TEST(Constraints, LimitsClampTheSizeAndZeroRemovesThem) {
  ui::TForm form(nullptr);
  form.SetBorderStyle(ui::TBorderStyle::bsNone);
  form.SetBounds(0, 0, 500, 400);
  form.Constraints().SetMaxWidth(300);
  EXPECT_EQ(form.Width(), 300);
  form.Constraints().SetMaxHeight(250);
  EXPECT_EQ(form.Height(), 250);
  form.SetBounds(0, 0, 1000, 1000);
  EXPECT_EQ(form.Width(), 300);
  EXPECT_EQ(form.Height(), 250);
  form.Constraints().SetMaxWidth(0);
  form.Constraints().SetMaxHeight(0);
  form.SetBounds(0, 0, 1000, 1000);
  EXPECT_EQ(form.Width(), 1000);
  EXPECT_EQ(form.Height(), 1000);
}

TEST(Alignment, ClientAlignedChildrenFillWhatTheOthersLeave) {
  ui::TForm form(nullptr);
  form.SetBorderStyle(ui::TBorderStyle::bsNone);
  form.SetAutoScroll(false);
  form.SetBounds(0, 0, 400, 300);
  auto* top = new ui::TPanel(&form);
  top->SetParent(&form);
  top->SetHeight(40);
  top->SetAlign(ui::TAlign::alTop);
  auto* rest = new ui::TPanel(&form);
  rest->SetParent(&form);
  rest->SetAlign(ui::TAlign::alClient);
  EXPECT_EQ(top->BoundsRect(), (ui::TRect{0, 0, 400, 40}));
  EXPECT_EQ(rest->BoundsRect(), (ui::TRect{0, 40, 400, 300}));
  form.SetBounds(0, 0, 200, 100);
  EXPECT_EQ(rest->BoundsRect(), (ui::TRect{0, 40, 200, 100}));
}

TEST(Focus, TheApplicationKnowsTheFocusedControlAndEnterExitFire) {
  auto form = ShownForm();
  auto* a = new ui::TEdit(form.get());
  auto* b = new ui::TEdit(form.get());
  a->SetParent(form.get());
  b->SetParent(form.get());
  std::vector<std::string> events;
  a->OnEnter = [&](rt::TComponent*) { events.push_back("enter a"); };
  a->OnExit = [&](rt::TComponent*) { events.push_back("exit a"); };
  b->OnEnter = [&](rt::TComponent*) { events.push_back("enter b"); };
  a->SetFocus();
  b->SetFocus();
  EXPECT_EQ(ui::Application().FocusedControl(), b);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(form->ActiveControl(), b);
  EXPECT_EQ(events, (std::vector<std::string>{"enter a", "exit a", "enter b"}));
}

TEST(Focus, DisabledOrHiddenControlsRefuseTheFocus) {
  auto form = ShownForm();
  auto* edit = new ui::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetEnabled(false);
  EXPECT_FALSE(edit->CanFocus());
  EXPECT_THROW(edit->SetFocus(), rt::Exception);
  edit->SetEnabled(true);
  form->Hide();
  EXPECT_FALSE(edit->CanFocus());
}

TEST(TabOrder, TabWalksTheFormsOrderThroughContainersSkippingDisabledControls) {
  auto form = ShownForm();
  auto* a = new ui::TEdit(form.get());
  a->SetParent(form.get());
  auto* panel = new ui::TPanel(form.get());
  panel->SetParent(form.get());
  auto* b = new ui::TEdit(form.get());
  b->SetParent(panel);
  auto* c = new ui::TEdit(form.get());
  c->SetParent(panel);
  auto* d = new ui::TEdit(form.get());
  d->SetParent(form.get());
  c->SetEnabled(false);
  a->SetFocus();
  ui::offscreen::PressKey(*a, ui::vkTab);
  EXPECT_EQ(ui::Application().FocusedControl(), b);
  ui::offscreen::PressKey(*b, ui::vkTab);
  EXPECT_EQ(ui::Application().FocusedControl(), d);
  ui::offscreen::PressKey(*d, ui::vkTab);
  EXPECT_EQ(ui::Application().FocusedControl(), a);  // wraps around
  ui::offscreen::PressKey(*a, ui::vkTab, ui::ssShift);
  EXPECT_EQ(ui::Application().FocusedControl(), d);
  d->SetTabOrder(0);
  EXPECT_EQ(d->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
}

TEST(NativeSide, HandlesAreCreatedOnDemandWithTheirChildrenAndFreedWithThem) {
  auto& backend = ui::offscreen::Instance();
  const size_t before = backend.NativeObjectCount();
  {
    ui::TForm form(nullptr);
    auto* edit = new ui::TEdit(&form);
    edit->SetParent(&form);
    EXPECT_FALSE(form.HandleAllocated());
    EXPECT_EQ(backend.NativeObjectCount(), before);
    form.Show();
    EXPECT_TRUE(edit->HandleAllocated());
    EXPECT_EQ(backend.NativeObjectCount(), before + 2);
    auto* late = new ui::TEdit(&form);
    late->SetParent(&form);  // a child added to a live window gets its native side at once
    EXPECT_TRUE(late->HandleAllocated());
    form.RecreateHandle();
    EXPECT_TRUE(late->HandleAllocated());
    EXPECT_EQ(backend.NativeObjectCount(), before + 3);
  }
  EXPECT_EQ(backend.NativeObjectCount(), before);
}

}  // namespace
