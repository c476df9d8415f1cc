// Bound controls and the sheet's plain controls as real windows: the native classes, styles and
// limits they get, one GDI font per distinct font, and Tab through a host loop that calls
// IsDialogMessage.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "dbui/DBEdits.h"
#include "tests/dataset/TestTable.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/Forms.h"
#include "ui/Panel.h"
#include "ui/win32/Win32Backend.h"

namespace {

using testhost::AsHwnd;

LONG_PTR Style(ui::TWinControl& c) {
  return GetWindowLongPtrW(AsHwnd(c.Handle()), GWL_STYLE);
}
LONG_PTR ExStyle(ui::TWinControl& c) {
  return GetWindowLongPtrW(AsHwnd(c.Handle()), GWL_EXSTYLE);
}
std::wstring ClassOf(ui::TWinControl& c) {
  wchar_t name[64] = {};
  GetClassNameW(AsHwnd(c.Handle()), name, 64);
  return name;
}

class NativeControls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(&ui::CurrentBackend(), &ui::win32::Instance());
    before = ui::win32::Counts();
    table = std::make_unique<zarp::test::Tabela>(doc);
    table->Fill(1, 7);
    source = new db::TDataSource(&doc);
    source->SetDataSet(table->ds);
    host = testhost::CreateHostWindow(600, 400);
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(0, 0, 600, 400);
  }
  void TearDown() override {
    form.reset();
    DestroyWindow(host);
    testhost::Pump();
    const ui::NativeObjectCounts after = ui::win32::Counts();
    EXPECT_EQ(after.Windows, before.Windows);
    EXPECT_EQ(after.Fonts, before.Fonts);
  }
  template <class T>
  T* Add(ui::TWinControl* parent, ui::TRect r) {
    auto* c = new T(form.get());
    c->SetParent(parent);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
  }
  template <class T>
  T* Bound(const char16_t* field, ui::TRect r) {
    T* c = Add<T>(form.get(), r);
    c->SetDataSource(source);
    c->SetDataField(field);
    return c;
  }
  void Embed() { form->EmbedInto(testhost::AsHost(host)); }

  ui::NativeObjectCounts before;
  zarp::test::Documento doc;
  std::unique_ptr<zarp::test::Tabela> table;
  db::TDataSource* source = nullptr;
  HWND host = nullptr;
  std::unique_ptr<ui::TForm> form;
};

TEST_F(NativeControls, EditsMemosAndCheckBoxesAreSystemControlsWithTheirStyles) {
  auto* framed = Bound<dbui::TDBEdit>(u"nome", {10, 10, 110, 37});
  auto* bare = Bound<dbui::TDBEdit>(u"num", {120, 10, 200, 33});
  bare->SetBorderStyle(ui::TBorderStyle::bsNone);
  auto* locked = Bound<dbui::TDBEdit>(u"num", {210, 10, 280, 37});
  locked->SetReadOnly(true);
  locked->SetEnabled(false);
  auto* memo = Bound<dbui::TDBMemo>(u"nome", {10, 50, 210, 128});
  memo->SetScrollBars(ui::TScrollStyle::ssVertical);
  auto* panel = Add<ui::TPanel>(form.get(), {300, 10, 480, 43});
  panel->SetColor(ui::clBlack);
  auto* box = Add<ui::TCheckBox>(panel, {4, 5, 16, 22});
  box->SetColor(ui::clBlack);
  box->SetCursor(ui::TCursor::crCross);
  Embed();

  EXPECT_EQ(ClassOf(*framed), L"Edit");
  EXPECT_TRUE(ExStyle(*framed) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(Style(*framed) & WS_BORDER);
  EXPECT_FALSE(ExStyle(*bare) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(Style(*bare) & WS_BORDER);
  EXPECT_TRUE(Style(*locked) & ES_READONLY);
  EXPECT_TRUE(Style(*locked) & WS_DISABLED);
  EXPECT_EQ(SendMessageW(AsHwnd(framed->Handle()), EM_GETLIMITTEXT, 0, 0), 10);
  EXPECT_EQ(ClassOf(*memo), L"Edit");
  EXPECT_TRUE(Style(*memo) & ES_MULTILINE);
  EXPECT_TRUE(Style(*memo) & WS_VSCROLL);
  EXPECT_FALSE(Style(*memo) & WS_HSCROLL);  // it wraps
  EXPECT_EQ(ClassOf(*box), L"Button");
  EXPECT_EQ(Style(*box) & BS_TYPEMASK, BS_CHECKBOX);
  EXPECT_EQ(GetParent(AsHwnd(box->Handle())), AsHwnd(panel->Handle()));
  EXPECT_TRUE(ExStyle(*form) & WS_EX_CONTROLPARENT);

  // The number shows right-aligned without a native style that would need a new window.
  EXPECT_EQ(bare->Alignment(), ui::TAlignment::taRightJustify);
  HWND before = AsHwnd(bare->Handle());
  bare->SetFocus();
  EXPECT_EQ(GetFocus(), before);
  EXPECT_EQ(bare->Alignment(), ui::TAlignment::taLeftJustify);
  framed->SetFocus();
  EXPECT_EQ(AsHwnd(bare->Handle()), before);
  testhost::Pump();
}

TEST_F(NativeControls, OneGdiFontPerDistinctFont) {
  const ui::TFont bold{u"Tahoma", -16, ui::clWindowText, ui::fsBold};
  const ui::TFont serif{u"Times New Roman", -16, ui::clWindowText, ui::fsBold};
  for (int i = 0; i < 40; ++i) {
    auto* e = Bound<dbui::TDBEdit>(u"nome", {10 + (i % 10) * 50, 10 + (i / 10) * 30, 55, 33});
    e->SetFont(i % 2 ? bold : serif);
  }
  for (int i = 0; i < 4; ++i) Bound<dbui::TDBMemo>(u"nome", {10 + i * 100, 200, 100, 260});
  Embed();
  // The two fonts of the edits and the form's own, which the memos share.
  EXPECT_EQ(ui::win32::Counts().Fonts - before.Fonts, 3u);
  HFONT a = reinterpret_cast<HFONT>(SendMessageW(
      AsHwnd(static_cast<ui::TWinControl*>(form->Controls(1))->Handle()), WM_GETFONT, 0, 0));
  HFONT b = reinterpret_cast<HFONT>(SendMessageW(
      AsHwnd(static_cast<ui::TWinControl*>(form->Controls(3))->Handle()), WM_GETFONT, 0, 0));
  EXPECT_EQ(a, b);
  LOGFONTW lf{};
  GetObjectW(a, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
}

TEST_F(NativeControls, TabMovesThroughTheViewUnderAHostLoopThatCallsIsDialogMessage) {
  auto* a = Bound<dbui::TDBEdit>(u"nome", {10, 10, 110, 33});
  auto* b = Bound<dbui::TDBMemo>(u"nome", {10, 40, 110, 90});
  auto* c = Bound<dbui::TDBEdit>(u"num", {10, 100, 110, 123});
  c->SetEnabled(false);
  auto* d = Bound<dbui::TDBEdit>(u"num", {10, 130, 110, 153});
  Embed();
  a->SetFocus();
  auto hostLoop = [&](WPARAM key, bool shift) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageW(host, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
  };
  hostLoop(VK_TAB, false);
  EXPECT_EQ(ui::Application().FocusedControl(), b);
  hostLoop(VK_TAB, false);
  EXPECT_EQ(ui::Application().FocusedControl(), d);  // the disabled one is skipped
  hostLoop(VK_TAB, false);
  EXPECT_EQ(ui::Application().FocusedControl(), a);  // wrapped within the view
  hostLoop(VK_TAB, true);
  EXPECT_EQ(ui::Application().FocusedControl(), d);
  EXPECT_EQ(GetFocus(), AsHwnd(d->Handle()));
  // Escape reaches the edit (restoring its value) instead of becoming the host's IDCANCEL.
  hostLoop(VK_ESCAPE, false);
  EXPECT_EQ(ui::Application().FocusedControl(), d);
}

}  // namespace
