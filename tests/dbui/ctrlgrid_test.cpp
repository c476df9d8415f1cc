// The repeating control grid over a real host-bound dataset of 10^5 records, on a page of 2 x 3
// panels: geometry, what every panel shows, the keys, pending changes settled when the record
// changes, read-only refusals, Tab through the live panel, and a context menu over a panel's edit.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../dataset/TestTable.h"
#include "BoundEdit.h"
#include "dbui/DBCtrlGrid.h"
#include "dbui/DBEdits.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using db::TDataSetState;
using dbui::TDBCtrlGrid;
using ui::offscreen::Click;
using ui::offscreen::PressKey;
using zarp::TZARPDataSet;

constexpr int kRecords = 100000;

std::u16string Name(int i) {
  std::u16string name = u"r";
  for (char digit : std::to_string(i)) name.push_back(static_cast<char16_t>(digit));
  return name;
}

class Grid : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.ClearMenus();
    ds = new TZARPDataSet(&doc);
    ds->SetName(u"DATAA8");
    name = db::DeclareField<db::TStringField>(&doc, ds, u"nome", 40);
    ds->Open();
    ds->DisableControls();
    for (int i = 0; i < kRecords; ++i) {
      ds->Append();
      name->SetAsString(rt::ToAnsi(Name(i)));
      ds->Post();
    }
    ds->First();
    ds->EnableControls();
    doc.notices = 0;
    source = new db::TDataSource(&doc);
    source->SetDataSet(ds);

    form = std::make_unique<ui::TForm>(nullptr);
    form->SetName(u"Form");
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 500, 400);
    before = new ui::TEdit(form.get());
    before->SetName(u"Before");
    before->SetParent(form.get());
    before->SetBounds(0, 0, 50, 20);
    grid = new TDBCtrlGrid(form.get());
    grid->SetName(u"Grid");
    grid->SetParent(form.get());
    grid->SetLeft(10);
    grid->SetTop(30);
    grid->SetLayout(2, 3, 180, 53);
    grid->SetColor(ui::clBlack);
    grid->SetDataSource(source);
    left = new dbuitest::BoundEdit(form.get());
    left->SetName(u"Left");
    left->SetParent(&grid->Panel());
    left->SetBounds(3, 3, 80, 27);
    left->Bind(source, u"nome");
    right = new dbuitest::BoundEdit(form.get());
    right->SetName(u"Right");
    right->SetParent(&grid->Panel());
    right->SetBounds(90, 3, 80, 27);
    right->Bind(source, u"nome");
    after = new ui::TEdit(form.get());
    after->SetName(u"After");
    after->SetParent(form.get());
    after->SetBounds(0, 250, 50, 20);
    form->Show();
    ASSERT_TRUE(ui::offscreen::Focus(*grid));
  }
  void TearDown() override { form.reset(); }

  // The texts painted on the grid, in panel order (live panel's edits are windows, not text).
  std::vector<std::u16string> PaintedTexts() {
    std::vector<std::u16string> texts;
    for (const ui::offscreen::PaintOp& op : backend.Paint(*grid))
      if (op.What == ui::offscreen::PaintOp::Text) texts.push_back(op.String);
    return texts;
  }
  // What each panel of the page shows, the live one from its edit.
  std::vector<std::u16string> Shown() {
    std::vector<std::u16string> painted = PaintedTexts();
    std::vector<std::u16string> shown;
    size_t next = 0;
    for (int i = 0; i < grid->VisibleRecords(); ++i) {
      if (i == grid->PanelIndex()) {
        shown.push_back(left->Text());
      } else {
        shown.push_back(next < painted.size() ? painted[next] : u"?");
        next += 2;  // two edits per panel
      }
    }
    return shown;
  }
  std::vector<std::u16string> Page(int first, int count) {
    std::vector<std::u16string> v;
    for (int i = first; i < first + count; ++i) v.push_back(Name(i));
    return v;
  }
  int Current() { return ds->RecNo(); }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  zarp::test::Documento doc;
  TZARPDataSet* ds = nullptr;
  db::TStringField* name = nullptr;
  db::TDataSource* source = nullptr;
  std::unique_ptr<ui::TForm> form;
  ui::TEdit* before = nullptr;
  ui::TEdit* after = nullptr;
  TDBCtrlGrid* grid = nullptr;
  dbuitest::BoundEdit* left = nullptr;
  dbuitest::BoundEdit* right = nullptr;
};

TEST_F(Grid, PanelsFillLeftToRightThenDownAndTheGridIsThePanelsPlusItsScrollBar) {
  EXPECT_EQ(grid->Width(), 2 * 180 + 16);
  EXPECT_EQ(grid->Height(), 3 * 53);
  EXPECT_EQ(grid->ClientWidth(), 360);
  EXPECT_EQ(grid->PanelRect(0), (ui::TRect{0, 0, 180, 53}));
  EXPECT_EQ(grid->PanelRect(1), (ui::TRect{180, 0, 360, 53}));
  EXPECT_EQ(grid->PanelRect(4), (ui::TRect{0, 106, 180, 159}));
  EXPECT_EQ(grid->Panel().BoundsRect(), grid->PanelRect(0));
  EXPECT_EQ(grid->VertScroll(), (ui::TGridScroll{kRecords, 6, 0}));
  EXPECT_EQ(Shown(), Page(0, 6));
  // The live panel's edits are the only native windows inside the grid besides the panel.
  EXPECT_EQ(backend.WindowCount(ui::kEditKind), 4u);  // Before, After, Left, Right
}

TEST_F(Grid, KeysMoveTheCurrentRecordAndThePageFollows) {
  PressKey(*grid, ui::vkRight);
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(grid->Panel().BoundsRect(), grid->PanelRect(1));
  PressKey(*grid, ui::vkDown);
  EXPECT_EQ(Current(), 3);
  PressKey(*grid, ui::vkDown);
  PressKey(*grid, ui::vkDown);  // past the page: it scrolls by one record
  EXPECT_EQ(Current(), 7);
  EXPECT_EQ(grid->PanelIndex(), 5);
  EXPECT_EQ(Shown(), Page(2, 6));
  PressKey(*grid, ui::vkLeft);
  EXPECT_EQ(Current(), 6);
  PressKey(*grid, ui::vkUp);
  EXPECT_EQ(Current(), 4);
  PressKey(*grid, ui::vkNext);
  EXPECT_EQ(Current(), 10);
  EXPECT_EQ(grid->VertScroll().Position, 10);
  PressKey(*grid, ui::vkPrior);
  EXPECT_EQ(Current(), 4);
  PressKey(*grid, ui::vkEnd);
  EXPECT_EQ(Current(), kRecords - 1);
  EXPECT_EQ(grid->PanelIndex(), 5);
  EXPECT_EQ(Shown(), Page(kRecords - 6, 6));
  PressKey(*grid, ui::vkHome);
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(grid->PanelIndex(), 0);
  EXPECT_EQ(Shown(), Page(0, 6));
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST_F(Grid, TheScrollBarAndClicksMakeARecordCurrent) {
  grid->Perform(ui::msgVScroll, ui::sbThumbPosition, 50000);
  EXPECT_EQ(Current(), 50000);
  EXPECT_EQ(left->Text(), u"r50000");
  grid->Perform(ui::msgVScroll, ui::sbLineDown, 0);
  EXPECT_EQ(Current(), 50002);
  grid->Perform(ui::msgVScroll, ui::sbBottom, 0);
  EXPECT_EQ(Current(), kRecords - 1);
  grid->Perform(ui::msgVScroll, ui::sbTop, 0);
  EXPECT_EQ(Current(), 0);
  // A click on panel 4 (left column, third row), in the grid's window.
  ASSERT_TRUE(Click(*form, {10 + 20, 30 + 2 * 53 + 40}));
  EXPECT_EQ(Current(), 4);
  EXPECT_EQ(grid->Panel().BoundsRect(), grid->PanelRect(4));
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(Shown(), Page(0, 6));
  // A click on the right edit as painted on panel 1: that record, with the caret in that edit.
  ASSERT_TRUE(Click(*form, {10 + 180 + 100, 30 + 10}));
  EXPECT_EQ(Current(), 1);
  EXPECT_TRUE(right->Focused());
  EXPECT_TRUE(grid->EditMode());
}

TEST_F(Grid, LeavingARecordPostsItsChangeAndCancelsAnUntouchedEdit) {
  PressKey(*grid, ui::vkReturn);
  EXPECT_TRUE(grid->EditMode());
  EXPECT_TRUE(left->Focused());
  ui::offscreen::TypeText(*left, u"x");
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
  PressKey(*left, ui::vkF2);  // F2 belongs to the edit here; the grid's keys need the grid
  ASSERT_TRUE(ui::offscreen::Focus(*grid));       // the edit commits on leaving
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);  // the change stays pending
  PressKey(*grid, ui::vkRight);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  ds->First();
  EXPECT_EQ(name->AsString(), "xr0");
  // An edit started without a change is cancelled on leaving: nothing is posted.
  ds->Edit();
  int posts = 0;
  ds->AfterPost = [&](db::TDataSet*) { ++posts; };
  PressKey(*grid, ui::vkRight);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(posts, 0);
  EXPECT_EQ(Current(), 1);
}

TEST_F(Grid, InsertAppendDeleteAndEscape) {
  PressKey(*grid, ui::vkRight);
  PressKey(*grid, ui::vkInsert);
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
  EXPECT_TRUE(left->Focused());  // edit mode
  EXPECT_EQ(grid->PanelIndex(), 1);
  EXPECT_EQ(left->Text(), u"");
  ASSERT_TRUE(ui::offscreen::Focus(*grid));
  PressKey(*grid, ui::vkEscape);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(ds->RecordCount(), kRecords);
  EXPECT_EQ(Current(), 1);

  PressKey(*grid, ui::vkInsert, ui::ssCtrl);  // append: the new record is the last panel
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
  EXPECT_EQ(grid->PanelIndex(), 5);
  EXPECT_EQ(grid->VertScroll().Position, kRecords);
  EXPECT_EQ(grid->VertScroll().Range, kRecords + 1);
  std::vector<std::u16string> shown = Shown();
  EXPECT_EQ(shown[4], Name(kRecords - 1));
  EXPECT_EQ(shown[5], u"");
  ASSERT_TRUE(ui::offscreen::Focus(*grid));
  PressKey(*grid, ui::vkDelete, ui::ssCtrl);  // an unposted record is cancelled, not deleted
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(ds->RecordCount(), kRecords);
  EXPECT_TRUE(grid->Focused());

  PressKey(*grid, ui::vkHome);
  PressKey(*grid, ui::vkDelete, ui::ssCtrl);
  EXPECT_EQ(ds->RecordCount(), kRecords - 1);
  EXPECT_EQ(name->AsString(), "r1");
  PressKey(*grid, ui::vkDelete);  // Delete alone is no command
  EXPECT_EQ(ds->RecordCount(), kRecords - 1);
}

TEST_F(Grid, AReadOnlyDatasetRefusesInsertsAndDeletesSilently) {
  ds->SetSomenteLeitura(true);
  backend.ClearMessages();
  PressKey(*grid, ui::vkInsert);
  PressKey(*grid, ui::vkInsert, ui::ssCtrl);
  PressKey(*grid, ui::vkDelete, ui::ssCtrl);
  EXPECT_EQ(ds->RecordCount(), kRecords);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(backend.Messages().empty());
  PressKey(*grid, ui::vkEnd);  // moving still works
  EXPECT_EQ(Current(), kRecords - 1);
}

TEST_F(Grid, AnEmptyDatasetShowsNoPanels) {
  auto* empty = new TZARPDataSet(&doc);
  empty->SetName(u"DATAA9");
  db::DeclareField<db::TStringField>(&doc, empty, u"nome", 40);
  empty->Open();
  source->SetDataSet(empty);
  EXPECT_EQ(grid->VisibleRecords(), 0);
  EXPECT_EQ(grid->PanelIndex(), -1);
  EXPECT_FALSE(grid->Panel().Visible());
  EXPECT_TRUE(PaintedTexts().empty());
  EXPECT_EQ(grid->VertScroll(), (ui::TGridScroll{0, 6, 0}));
  // The first record, appended, shows as the live panel.
  PressKey(*grid, ui::vkInsert, ui::ssCtrl);
  EXPECT_EQ(grid->PanelIndex(), 0);
  EXPECT_TRUE(grid->Panel().Visible());
}

TEST_F(Grid, TabPassesThroughTheLivePanelAndOut) {
  PressKey(*grid, ui::vkTab);
  EXPECT_TRUE(left->Focused());
  PressKey(*left, ui::vkTab);
  EXPECT_TRUE(right->Focused());
  PressKey(*right, ui::vkTab);
  EXPECT_TRUE(after->Focused());
  PressKey(*after, ui::vkTab, ui::ssShift);
  EXPECT_TRUE(right->Focused());
  PressKey(*right, ui::vkTab, ui::ssShift);
  PressKey(*left, ui::vkTab, ui::ssShift);
  EXPECT_TRUE(grid->Focused());
  PressKey(*grid, ui::vkTab, ui::ssShift);
  EXPECT_TRUE(before->Focused());
}

TEST_F(Grid, APopupMenuOverAPanelsEditRunsItsHandlerOnceAfterItClosed) {
  auto* menu = new ui::TPopupMenu(form.get());
  int runs = 0;
  size_t shownWhenRun = 0;
  for (const char16_t* caption : {u"Inserir Don", u"Remover Don"}) {
    auto* item = new ui::TMenuItem(form.get());
    item->SetCaption(caption);
    menu->Add(item);
  }
  menu->Items(0)->OnClick = [&](rt::TComponent*) {
    ++runs;
    shownWhenRun = backend.MenusShown().size();
  };
  grid->SetPopupMenu(menu);
  backend.AnswerNextMenu(u"Inserir Don");
  // Over the live panel's right edit (panel 0), in the form's window.
  ASSERT_TRUE(ui::offscreen::RightClick(*form, {10 + 100, 30 + 10}));
  ASSERT_EQ(backend.MenusShown().size(), 1u);
  EXPECT_EQ(backend.MenusShown()[0].Captions,
            (std::vector<std::u16string>{u"Inserir Don", u"Remover Don"}));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(shownWhenRun, 1u);  // the menu had been shown and closed
  EXPECT_EQ(backend.NativeEditMenus(), 0);
  // And over a painted panel.
  ASSERT_TRUE(ui::offscreen::RightClick(*form, {10 + 200, 30 + 60}));
  EXPECT_EQ(backend.MenusShown().size(), 2u);
  EXPECT_EQ(runs, 1);  // dismissed
}

}  // namespace

// The toolkit's bound boxes in a panel template: each panel that is not live shows a painted
// copy of them with its own record's value, inside that panel; a memo's copy wraps at its width.
TEST_F(Grid, BoundEditsAndMemosPaintTheirOwnRecordOnThePanelsThatAreNotLive) {
  auto bind = [&](auto* box, ui::TRect r) {
    box->SetParent(&grid->Panel());
    box->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    box->SetDataSource(source);
    box->SetDataField(u"nome");
    return box;
  };
  auto* edit = bind(new dbui::TDBEdit(form.get()), {3, 30, 83, 50});
  auto* memo = bind(new dbui::TDBMemo(form.get()), {90, 5, 170, 50});
  ds->Edit();
  name->SetAsString("alpha beta gamma delta");
  ds->Post();
  PressKey(*grid, ui::vkRight);  // panel 1 is live
  ASSERT_EQ(grid->PanelIndex(), 1);

  std::map<const ui::TControl*, std::vector<std::pair<std::u16string, ui::TRect>>> painted;
  for (const ui::offscreen::PaintOp& op : backend.Paint(*grid))
    if (op.What == ui::offscreen::PaintOp::Text)
      painted[op.Painter].push_back({op.String, op.Rect});
  ASSERT_EQ(painted[edit].size(), 5u);
  size_t k = 0;
  for (int i = 0; i < 6; ++i) {
    if (i == 1) continue;
    const auto& [text, rect] = painted[edit][k++];
    EXPECT_EQ(text, i == 0 ? u"alpha beta gamma delta" : Name(i)) << "panel " << i;
    const ui::TRect box =
        ui::Offset(edit->BoundsRect(), grid->PanelRect(i).Left, grid->PanelRect(i).Top);
    EXPECT_EQ(ui::Intersect(rect, box), rect) << "panel " << i;
  }
  // The memo's copy on panel 0: its lines, broken between words.
  std::vector<std::u16string> lines;
  for (const auto& [text, rect] : painted[memo])
    if (ui::Contains(grid->PanelRect(0), {rect.Left, rect.Top})) lines.push_back(text);
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"alpha beta", u"gamma ", u"delta"}));
  // The live panel's boxes are windows showing the current record.
  EXPECT_EQ(edit->Text(), Name(1));
  EXPECT_EQ(painted.count(&grid->Panel()), 0u);
}
