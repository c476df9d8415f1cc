// The repeating control grid on real windows: the grid's window, size and native scroll bar,
// its keys through a plain host message loop, and the real popup menu over a panel's edit.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "dbui/DBCtrlGrid.h"
#include "tests/dbui/BoundEdit.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/win32/Win32Backend.h"

namespace {

// "r" and the record's number.
std::string RecordName(int i) {
  std::string text = std::to_string(i);
  text.insert(text.begin(), 'r');
  return text;
}

using testhost::AsHost;
using testhost::AsHwnd;

constexpr int kRecords = 10000;

class Win32Grid : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = new zarp::TZARPDataSet(&owner);
    ds->SetName(u"DATAA8");
    name = db::DeclareField<db::TStringField>(&owner, ds, u"nome", 40);
    ds->Open();
    ds->DisableControls();
    for (int i = 0; i < kRecords; ++i) {
      ds->Append();
      name->SetAsString(RecordName(i));
      ds->Post();
    }
    ds->First();
    ds->EnableControls();
    source = new db::TDataSource(&owner);
    source->SetDataSet(ds);
    host = testhost::CreateHostWindow(640, 480);
    view = std::make_unique<ui::TForm>(nullptr);
    view->SetBorderStyle(ui::TBorderStyle::bsNone);
    grid = new dbui::TDBCtrlGrid(view.get());
    grid->SetParent(view.get());
    grid->SetBounds(20, 30, 0, 0);
    grid->SetLayout(2, 3, 180, 53);
    grid->SetColor(ui::clBlack);
    grid->SetDataSource(source);
    edit = new dbuitest::BoundEdit(view.get());
    edit->SetParent(&grid->Panel());
    edit->SetBounds(3, 3, 80, 27);
    edit->Bind(source, u"nome");
    view->EmbedInto(AsHost(host));
    testhost::Pump();
  }
  void TearDown() override {
    view.reset();
    DestroyWindow(host);
    testhost::Pump();
  }
  // A key as the host's plain GetMessage/DispatchMessage loop delivers it.
  void Key(UINT vk) {
    HWND target = GetFocus();
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    testhost::Pump();
  }

  rt::TComponent owner{nullptr};
  zarp::TZARPDataSet* ds = nullptr;
  db::TStringField* name = nullptr;
  db::TDataSource* source = nullptr;
  HWND host = nullptr;
  std::unique_ptr<ui::TForm> view;
  dbui::TDBCtrlGrid* grid = nullptr;
  dbuitest::BoundEdit* edit = nullptr;
};

TEST_F(Win32Grid, TheGridIsOneChildWindowWithItsScrollBarAndOnlyTheLivePanelsWindows) {
  HWND hwnd = AsHwnd(grid->CurrentHandle());
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(GetParent(hwnd), AsHwnd(view->CurrentHandle()));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 2 * 180 + 16);
  EXPECT_EQ(rc.bottom - rc.top, 3 * 53);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &si));
  EXPECT_EQ(si.nMax, kRecords - 1);
  EXPECT_EQ(si.nPage, 6u);
  EXPECT_EQ(si.nPos, 0);
  // The live panel and its edit are the grid's only windows.
  EXPECT_EQ(ui::CurrentBackend().WindowCount(ui::kCtrlGridKind), 1u);
  EXPECT_EQ(ui::CurrentBackend().WindowCount(ui::kEditKind), 1u);
  // The native bar moves through the records.
  SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(ds->RecNo(), 6);
  GetScrollInfo(hwnd, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 6);
}

TEST_F(Win32Grid, TheKeysThroughAPlainHostLoop) {
  SetFocus(AsHwnd(grid->CurrentHandle()));
  ASSERT_TRUE(grid->Focused());
  Key(VK_RIGHT);
  EXPECT_EQ(ds->RecNo(), 1);
  Key(VK_DOWN);
  EXPECT_EQ(ds->RecNo(), 3);
  Key(VK_NEXT);
  EXPECT_EQ(ds->RecNo(), 9);
  Key(VK_END);
  EXPECT_EQ(ds->RecNo(), kRecords - 1);
  Key(VK_HOME);
  EXPECT_EQ(ds->RecNo(), 0);
  Key(VK_RETURN);  // edit mode: the focus moves into the live panel
  EXPECT_EQ(GetFocus(), AsHwnd(edit->CurrentHandle()));
  Key(VK_TAB);  // Tab passes out of the grid (nothing else in the view: back round to the grid)
  EXPECT_EQ(GetFocus(), AsHwnd(grid->CurrentHandle()));
  Key(VK_INSERT);
  EXPECT_EQ(ds->State(), db::TDataSetState::dsInsert);
  SetFocus(AsHwnd(grid->CurrentHandle()));
  Key(VK_ESCAPE);
  EXPECT_EQ(ds->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(ds->RecordCount(), kRecords);
}

std::wstring g_captions;

// Reads the open popup menu's rows and chooses the first, from a timer of the menu's own loop.
void CALLBACK ReadAndChooseFirstRow(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup) return;
  auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    g_captions += text;
    g_captions += L"|";
  }
  PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(Win32Grid, ARightClickOnAPanelsEditOpensTheRealPopupMenuAndRunsTheChoice) {
  ui::TPopupMenu menu(nullptr);
  ui::TMenuItem insert(nullptr), remove(nullptr);
  insert.SetCaption(u"Inserir Don");
  remove.SetCaption(u"Remover Don");
  int clicks = 0;
  insert.OnClick = [&](rt::TComponent*) { ++clicks; };
  menu.Add(&insert);
  menu.Add(&remove);
  grid->SetPopupMenu(&menu);
  g_captions.clear();
  SetTimer(nullptr, 0, 100, ReadAndChooseFirstRow);
  HWND box = AsHwnd(edit->CurrentHandle());
  SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(g_captions, L"Inserir Don|Remover Don|");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(menu.PopupComponent(), grid);
  grid->SetPopupMenu(nullptr);
}

}  // namespace
