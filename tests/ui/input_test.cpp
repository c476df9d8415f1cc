// The one input path: presses, releases, clicks and moves reach the control under the pointer
// (graphic children included), right clicks and the menu key open the context menu of the
// control or its nearest parent that has one, and a disabled window gets no input.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using ui::offscreen::Click;
using ui::offscreen::RightClick;

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.ClearMenus();
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetName(u"Form");
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    panel = Add<ui::TPanel>(form.get(), u"Panel", {100, 100, 300, 200});
    edit = Add<ui::TEdit>(panel, u"Edit", {10, 10, 110, 30});
    label = Add<ui::TLabel>(panel, u"Label", {120, 10, 0, 0});
    label->SetCaption(u"Stamina");
    form->Show();
  }

  template <class T>
  T* Add(ui::TWinControl* parent, std::u16string name, ui::TRect r) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
  }

  // Records each mouse event of a control as "name event x,y".
  void Trace(ui::TControl* c) {
    const std::string name = rt::Utf16ToUtf8(c->Name());
    c->OnMouseDown = [this, name](rt::TComponent*, ui::TMouseButton b, ui::TShiftState, int x,
                                  int y) {
      events.push_back(name + (b == ui::TMouseButton::mbRight ? " rdown " : " down ") +
                       std::to_string(x) + "," + std::to_string(y));
    };
    c->OnMouseUp = [this, name](rt::TComponent*, ui::TMouseButton, ui::TShiftState, int x, int y) {
      events.push_back(name + " up " + std::to_string(x) + "," + std::to_string(y));
    };
    c->OnClick = [this, name](rt::TComponent*) { events.push_back(name + " click"); };
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  std::unique_ptr<ui::TForm> form;
  ui::TPanel* panel = nullptr;
  ui::TEdit* edit = nullptr;
  ui::TLabel* label = nullptr;
  std::vector<std::string> events;
};

TEST_F(Input, AClickReachesTheDeepestWindowUnderThePointInItsOwnCoordinates) {
  for (ui::TControl* c : std::initializer_list<ui::TControl*>{form.get(), panel, edit}) Trace(c);
  Click(*form, {115, 115});  // inside the edit, inside the panel
  EXPECT_EQ(events, (std::vector<std::string>{"Edit down 5,5", "Edit up 5,5", "Edit click"}));
  EXPECT_TRUE(edit->Focused());  // a text box takes the focus when clicked
  events.clear();
  Click(*form, {150, 180});  // the panel, beside its children
  Click(*form, {20, 20});    // the form itself
  EXPECT_EQ(events, (std::vector<std::string>{"Panel down 50,80", "Panel up 50,80", "Panel click",
                                              "Form down 20,20", "Form up 20,20", "Form click"}));
}

TEST_F(Input, AGraphicChildTakesTheMouseThatFallsOnItUnlessItIsDisabled) {
  Trace(panel);
  Trace(label);
  Click(*form, {100 + label->Left() + 3, 100 + label->Top() + 4});
  EXPECT_EQ(events, (std::vector<std::string>{"Label down 3,4", "Label up 3,4", "Label click"}));
  events.clear();
  label->SetEnabled(false);
  Click(*form, {100 + label->Left() + 3, 100 + label->Top() + 4});
  EXPECT_EQ(events.front(), "Panel down " + std::to_string(label->Left() + 3) + "," +
                                std::to_string(label->Top() + 4));
}

TEST_F(Input, AReleaseOutsideThePressedControlIsNoClickAndGoesWhereTheButtonWentDown) {
  Trace(panel);
  Trace(label);
  auto* top = Add<ui::TLabel>(panel, u"Top", {150, 40, 0, 0});
  top->SetCaption(u"Over");
  Trace(top);
  const ui::TPoint onLabel{label->Left() + 2, label->Top() + 2};
  panel->WndMouseDown(ui::TMouseButton::mbLeft, 0, onLabel);
  panel->WndMouseMove(0, {190, 90});
  panel->WndMouseUp(ui::TMouseButton::mbLeft, 0, {190, 90});  // released over the panel
  EXPECT_EQ(events, (std::vector<std::string>{
                        "Label down 2,2", "Label up " + std::to_string(190 - label->Left()) + "," +
                                              std::to_string(90 - label->Top())}));
}

TEST_F(Input, ADisabledWindowOrOneInsideADisabledParentGetsNoInput) {
  Trace(edit);
  panel->SetEnabled(false);
  Click(*form, {115, 115});
  ui::offscreen::TypeText(*edit, u"x");
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(edit->Text(), u"");
  panel->SetEnabled(true);
  ui::offscreen::TypeText(*edit, u"x");
  EXPECT_EQ(edit->Text(), u"x");
}

class ContextMenus : public Input {
 protected:
  void SetUp() override {
    Input::SetUp();
    menu = new ui::TPopupMenu(form.get());
    for (auto caption : {u"Inserir Habilidade", u"Excluir Habilidade"}) {
      auto* item = new ui::TMenuItem(form.get());
      item->SetCaption(caption);
      item->OnClick = [this, caption](rt::TComponent*) {
        chosen.push_back(caption);
        // The handler runs once the menu has closed: it was logged before.
        shownBeforeHandler = backend.MenusShown().size();
      };
      menu->Add(item);
    }
  }
  ui::TPopupMenu* menu = nullptr;
  std::vector<std::u16string> chosen;
  size_t shownBeforeHandler = 0;
};

TEST_F(ContextMenus, ARightClickOverAChildOpensItsParentsMenuAtThePointerAndRunsTheChoiceOnce) {
  panel->SetPopupMenu(menu);
  backend.AnswerNextMenu(u"Excluir Habilidade");
  RightClick(*form, {115, 115});  // over the panel's edit
  ASSERT_EQ(backend.MenusShown().size(), 1u);
  const ui::offscreen::RecordedMenu& shown = backend.MenusShown()[0];
  EXPECT_EQ(shown.Captions,
            (std::vector<std::u16string>{u"Inserir Habilidade", u"Excluir Habilidade"}));
  EXPECT_EQ(shown.Screen, (ui::TPoint{115, 115}));
  EXPECT_EQ(shown.Owner, panel);
  EXPECT_EQ(menu->PopupComponent(), panel);
  EXPECT_EQ(chosen, (std::vector<std::u16string>{u"Excluir Habilidade"}));
  EXPECT_EQ(shownBeforeHandler, 1u);
  EXPECT_EQ(backend.NativeEditMenus(), 0);  // the edit's own menu gave way

  RightClick(*form, {100 + label->Left() + 1, 100 + label->Top() + 1});  // over the label
  EXPECT_EQ(backend.MenusShown().size(), 2u);
  EXPECT_EQ(chosen.size(), 1u);  // dismissed: nothing runs
}

TEST_F(ContextMenus, AnOnContextPopupHandlerCanTakeTheRequestAndWithoutAMenuTheEditShowsItsOwn) {
  std::vector<ui::TPoint> asked;
  edit->OnContextPopup = [&](rt::TComponent*, ui::TPoint pos, bool& handled) {
    asked.push_back(pos);
    handled = asked.size() == 1;
  };
  RightClick(*form, {112, 113});
  RightClick(*form, {112, 113});
  EXPECT_EQ(asked, (std::vector<ui::TPoint>{{2, 3}, {2, 3}}));
  EXPECT_TRUE(backend.MenusShown().empty());
  EXPECT_EQ(backend.NativeEditMenus(), 1);  // the second time nobody took it
}

TEST_F(ContextMenus, TheMenuKeyAndShiftF10OpenTheMenuUnderTheFocusedControl) {
  edit->SetPopupMenu(menu);
  ui::offscreen::PressKey(*edit, ui::vkApps);
  ui::offscreen::PressKey(*edit, ui::vkF10, ui::ssShift);
  ui::offscreen::PressKey(*edit, ui::vkF10);  // F10 alone is no menu request
  ASSERT_EQ(backend.MenusShown().size(), 2u);
  EXPECT_EQ(backend.MenusShown()[0].Screen, (ui::TPoint{110, 110 + edit->Height()}));
}

TEST_F(ContextMenus, AMenuFreedBeforeItsControlDetachesFromIt) {
  edit->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(edit->PopupMenu(), nullptr);
  RightClick(*form, {115, 115});
  EXPECT_TRUE(backend.MenusShown().empty());
}

}  // namespace
