// The window layer on real windows: embedding into host windows, typing and focus through the
// native controls, real message boxes, failures in event handlers, and no native leftovers.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/Exception.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Application.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/win32/Win32Backend.h"

namespace {

using testhost::AsHost;
using testhost::AsHwnd;

class Win32Layer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(&ui::CurrentBackend(), &ui::win32::Instance());
    objects = ui::CurrentBackend().NativeObjectCount();
    host1 = testhost::CreateHostWindow(640, 480);
    host2 = testhost::CreateHostWindow(300, 200);
    ASSERT_TRUE(host1 && host2);
  }
  void TearDown() override {
    DestroyWindow(host1);
    DestroyWindow(host2);
    testhost::Pump();
    EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
  }

  std::unique_ptr<ui::TForm> NewView() {
    auto form = std::make_unique<ui::TForm>(nullptr);
    form->SetBorderStyle(ui::TBorderStyle::bsNone);
    form->SetBounds(509, 206, 472, 243);
    edit = new ui::TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 100, 24);
    memo = new ui::TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 40, 200, 80);
    return form;
  }

  size_t objects = 0;
  HWND host1 = nullptr, host2 = nullptr;
  ui::TEdit* edit = nullptr;
  ui::TMemo* memo = nullptr;
};

TEST_F(Win32Layer, AViewEmbedsIntoAHostWindowAndMovesToAnother) {
  auto view = NewView();
  view->EmbedInto(AsHost(host1));
  HWND hwnd = AsHwnd(view->CurrentHandle());
  EXPECT_EQ(GetParent(hwnd), host1);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 640);
  EXPECT_EQ(rc.bottom - rc.top, 480);
  EXPECT_EQ(GetParent(AsHwnd(edit->CurrentHandle())), hwnd);

  view->EmbedInto(AsHost(host2));
  EXPECT_EQ(AsHwnd(view->CurrentHandle()), hwnd);  // the same window, moved
  EXPECT_EQ(GetParent(hwnd), host2);
  EXPECT_EQ(view->Width(), 300);

  // The view follows its host's size, within its constraints.
  SetWindowPos(host2, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(host2, &client);
  EXPECT_EQ(view->Width(), client.right);
  view->Constraints().SetMaxWidth(200);
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 200);

  view.reset();
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Win32Layer, TypingInTheNativeEditReachesThePortableControl) {
  auto view = NewView();
  view->EmbedInto(AsHost(host1));
  edit->OnKeyPress = [](rt::TComponent*, char16_t& ch) {
    if (ch == u'x') ch = 0;
  };
  int changes = 0;
  edit->OnChange = [&](rt::TComponent*) { ++changes; };
  HWND box = AsHwnd(edit->CurrentHandle());
  for (wchar_t ch : std::wstring(L"axb")) SendMessageW(box, WM_CHAR, ch, 0);
  EXPECT_EQ(edit->Text(), u"ab");
  EXPECT_EQ(changes, 2);
  edit->SetText(u"set");  // and back: the portable text reaches the native box
  wchar_t buffer[16] = {};
  GetWindowTextW(box, buffer, 16);
  EXPECT_STREQ(buffer, L"set");
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  EXPECT_EQ(edit->SelText(), u"e");
  edit->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
}

TEST_F(Win32Layer, FocusMovesBothWays) {
  auto view = NewView();
  view->EmbedInto(AsHost(host1));
  edit->SetFocus();
  EXPECT_EQ(GetFocus(), AsHwnd(edit->CurrentHandle()));
  EXPECT_EQ(ui::Application().FocusedControl(), edit);
  SetFocus(AsHwnd(memo->CurrentHandle()));
  EXPECT_EQ(ui::Application().FocusedControl(), memo);
  SetFocus(host1);
  EXPECT_EQ(ui::Application().FocusedControl(), nullptr);
  edit->SetFocus();
  SendMessageW(AsHwnd(edit->CurrentHandle()), WM_KEYDOWN, VK_TAB, 0);  // Tab walks the order
  EXPECT_EQ(ui::Application().FocusedControl(), memo);
}

// Closes the next message box that appears on this thread and keeps its text.
std::wstring g_boxText;
void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (!box) return;
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 256);
  g_boxText = text;
  KillTimer(nullptr, timer);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Win32Layer, MessageBoxesAreRealModalBoxes) {
  g_boxText.clear();
  SetTimer(nullptr, 0, 50, CloseBox);
  EXPECT_EQ(ui::ShowMessageBox(u"Carregando field X: bad", u"VELSistema", ui::TMsgDlgType::mtError),
            IDOK);
  EXPECT_EQ(g_boxText, L"Carregando field X: bad");
}

TEST_F(Win32Layer, AFailureInAWindowProcedureIsShownAndASilentAbortIsNot) {
  auto view = NewView();
  view->EmbedInto(AsHost(host1));
  HWND box = AsHwnd(edit->CurrentHandle());
  edit->OnChange = [](rt::TComponent*) { throw rt::EAbort(); };
  SendMessageW(box, WM_CHAR, L'a', 0);  // nothing shown, nothing escapes
  g_boxText.clear();
  edit->OnChange = [](rt::TComponent*) { throw rt::Exception(u"'a' is not a valid integer"); };
  SetTimer(nullptr, 0, 50, CloseBox);
  SendMessageW(box, WM_CHAR, L'b', 0);
  EXPECT_EQ(g_boxText, L"'a' is not a valid integer");
  EXPECT_TRUE(IsWindow(box));
}

TEST_F(Win32Layer, AHostThatDestroysItsWindowFirstLeavesAViewThatCanStillBeFreed) {
  auto view = NewView();
  view->EmbedInto(AsHost(host2));
  DestroyWindow(host2);
  host2 = testhost::CreateHostWindow(10, 10);
  EXPECT_FALSE(view->HandleAllocated());
  EXPECT_FALSE(edit->HandleAllocated());
  view->EmbedInto(AsHost(host1));  // the view can live on in another host
  EXPECT_EQ(GetParent(AsHwnd(view->CurrentHandle())), host1);
}

TEST_F(Win32Layer, EmbeddingIntoSomethingThatIsNotAWindowFails) {
  auto view = NewView();
  EXPECT_THROW(view->EmbedInto(0x7FFFFFF0u), rt::Exception);
}

TEST_F(Win32Layer, ControlsShareFontsAndBrushesOfTheSameValue) {
  auto view = NewView();
  view->Show();
  const ui::win32::NativeObjectCounts before = ui::win32::Counts();
  for (int i = 0; i < 10; ++i) {
    auto* e = new ui::TEdit(view.get());
    e->SetParent(view.get());
    e->SetFont({u"Times New Roman", -16, ui::clBlack, ui::fsBold});
  }
  const ui::win32::NativeObjectCounts after = ui::win32::Counts();
  EXPECT_EQ(after.Windows, before.Windows + 10);
  EXPECT_EQ(after.Fonts, before.Fonts + 1);
  EXPECT_EQ(after.Brushes, before.Brushes);
}

TEST_F(Win32Layer, AThousandViewsLeaveNoNativeObjectAndNoWindow) {
  for (int i = 0; i < 1000; ++i) {
    auto view = NewView();
    edit->SetFont({u"Tahoma", -16 - i % 3, ui::clWindowText, ui::fsBold});
    view->EmbedInto(AsHost(i % 2 ? host1 : host2));
    if (i % 10 == 0) testhost::Pump();
  }
  testhost::Pump();
  EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
  EXPECT_EQ(testhost::CountThreadWindowsOtherThan(host1, host2), 0);
  EXPECT_EQ(GetWindow(host1, GW_CHILD), nullptr);
  EXPECT_EQ(GetWindow(host2, GW_CHILD), nullptr);
}

TEST_F(Win32Layer, AStyleChangeKeepsTheFocusCaretSelectionAndScrollPosition) {
  auto view = NewView();
  view->EmbedInto(AsHost(host1));
  std::u16string lines;
  for (int i = 0; i < 40; ++i) lines += u"line\r\n";
  memo->SetText(lines);
  memo->SetScrollBars(ui::TScrollStyle::ssVertical);
  int exits = 0;
  memo->OnExit = [&](rt::TComponent*) { ++exits; };
  memo->SetFocus();
  HWND box = AsHwnd(memo->CurrentHandle());
  SendMessageW(box, EM_SETSEL, 12, 14);
  SendMessageW(box, EM_LINESCROLL, 0, 10);
  const auto firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GT(firstLine, 0);

  // A frame change happens in place: the same window.
  memo->SetBorderStyle(ui::TBorderStyle::bsNone);
  EXPECT_EQ(AsHwnd(memo->CurrentHandle()), box);
  EXPECT_FALSE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // Alignment only exists from creation: a new window, with everything the user had.
  memo->SetAlignment(ui::TAlignment::taRightJustify);
  HWND rebuilt = AsHwnd(memo->CurrentHandle());
  EXPECT_NE(rebuilt, box);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(GetWindowLongW(rebuilt, GWL_STYLE) & ES_RIGHT);
  EXPECT_EQ(GetFocus(), rebuilt);
  EXPECT_EQ(ui::Application().FocusedControl(), memo);
  EXPECT_EQ(exits, 0);  // the control never lost the focus
  DWORD from = 0, to = 0;
  SendMessageW(rebuilt, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 12u);
  EXPECT_EQ(to, 14u);
  EXPECT_EQ(SendMessageW(rebuilt, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
  EXPECT_EQ(memo->SelStart(), 12);
  // Typing goes on where it was.
  SendMessageW(rebuilt, WM_CHAR, L'x', 0);
  EXPECT_EQ(memo->Text().substr(12, 1), u"x");
}

// The native windows inside `parent`, topmost first.
std::vector<HWND> Stack(HWND parent) {
  std::vector<HWND> stack;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) stack.push_back(w);
  return stack;
}

TEST_F(Win32Layer, ChildWindowsStackLaterControlsAboveEarlierOnesAndShowTheirTextInTheirFont) {
  auto view = NewView();
  auto* panel = new ui::TPanel(view.get());
  panel->SetParent(view.get());
  panel->SetBounds(220, 10, 200, 150);
  std::vector<ui::TMemo*> boxes;
  for (int i = 0; i < 3; ++i) {
    auto* box = new ui::TMemo(view.get());
    box->SetParent(panel);
    box->SetBounds(5 + 10 * i, 5 + 10 * i, 120, 24);  // overlapping: the stacking shows
    box->SetText(u"box " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    box->SetFont({u"Tahoma", -13, ui::clBlack, 0});
    boxes.push_back(box);
  }
  edit->SetText(u"first");
  int changes = 0;
  for (ui::TMemo* box : boxes) box->OnChange = [&](rt::TComponent*) { ++changes; };
  view->EmbedInto(AsHost(host1));
  HWND form = AsHwnd(view->CurrentHandle());
  EXPECT_EQ(GetAncestor(form, GA_PARENT), host1);
  HWND a = AsHwnd(boxes[0]->CurrentHandle()), b = AsHwnd(boxes[1]->CurrentHandle()),
       c = AsHwnd(boxes[2]->CurrentHandle());
  EXPECT_EQ(Stack(AsHwnd(panel->CurrentHandle())), (std::vector<HWND>{c, b, a}));
  EXPECT_EQ(Stack(form), (std::vector<HWND>{AsHwnd(panel->CurrentHandle()),
                                            AsHwnd(memo->CurrentHandle()),
                                            AsHwnd(edit->CurrentHandle())}));

  // Each box is shown with its text, in its font, and none of that counts as typing.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(b, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  EXPECT_EQ(lf.lfHeight, -13);
  wchar_t text[32] = {};
  GetWindowTextW(b, text, 32);
  EXPECT_STREQ(text, L"box B");
  EXPECT_TRUE(IsWindowVisible(b));
  EXPECT_EQ(boxes[1]->Text(), u"box B");
  EXPECT_EQ(changes, 0);
  GetWindowTextW(AsHwnd(edit->CurrentHandle()), text, 32);
  EXPECT_STREQ(text, L"first");

  // A box added to the live panel goes on top; a box rebuilt (its alignment exists only from
  // creation) keeps its place in the middle.
  auto* d = new ui::TEdit(view.get());
  d->SetParent(panel);
  d->SetBounds(40, 40, 120, 24);
  boxes[1]->SetAlignment(ui::TAlignment::taRightJustify);
  HWND rebuilt = AsHwnd(boxes[1]->CurrentHandle());
  ASSERT_NE(rebuilt, b);
  EXPECT_EQ(Stack(AsHwnd(panel->CurrentHandle())),
            (std::vector<HWND>{AsHwnd(d->CurrentHandle()), c, rebuilt, a}));
  GetWindowTextW(rebuilt, text, 32);
  EXPECT_STREQ(text, L"box B");
  EXPECT_TRUE(IsWindowVisible(rebuilt));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(rebuilt, WM_GETFONT, 0, 0)), font);
}

TEST_F(Win32Layer, LabelsArePaintedByTheirContainerAndHaveNoWindow) {
  auto view = NewView();
  view->SetColor(ui::clWhite);
  const size_t windows = ui::win32::Counts().Windows;
  auto* label = new ui::TLabel(view.get());
  label->SetParent(view.get());
  label->SetBounds(300, 10, 0, 0);
  label->SetCaption(u"Stamina");
  label->SetFont({u"Tahoma", -16, ui::clBlack, ui::fsBold});
  view->EmbedInto(AsHost(host1));
  EXPECT_EQ(ui::win32::Counts().Windows, windows + 3);  // the view, its edit and memo: no label
  EXPECT_GT(label->Width(), 30);
  EXPECT_GE(label->Height(), 16);
  HWND hwnd = AsHwnd(view->CurrentHandle());
  UpdateWindow(hwnd);
  // Dark text pixels inside the label's box (smoothed text is not all pure black), white
  // around it.
  HDC dc = GetDC(hwnd);
  int black = 0;
  for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
      const COLORREF p = GetPixel(dc, x, y);
      if (GetRValue(p) < 64 && GetGValue(p) < 64 && GetBValue(p) < 64) ++black;
    }
  const COLORREF beside = GetPixel(dc, label->Left() - 3, label->Top() + 3);
  ReleaseDC(hwnd, dc);
  EXPECT_GT(black, 20);
  EXPECT_EQ(beside, RGB(255, 255, 255));
}

// Closes a popup menu that is still up, so that a test that fails cannot hang in the menu.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

// Chooses the first row of the popup menu once it is up, from a timer of the menu's own loop.
void CALLBACK ChooseFirstMenuRow(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  SetTimer(nullptr, 0, 2000, CloseMenu);
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup) return;
  PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(Win32Layer, ARightClickOnAPanelsEditOpensThePanelsRealPopupMenu) {
  auto view = NewView();
  auto* panel = new ui::TPanel(view.get());
  panel->SetParent(view.get());
  panel->SetBounds(250, 10, 150, 100);
  auto* inner = new ui::TEdit(view.get());
  inner->SetParent(panel);
  inner->SetBounds(5, 5, 80, 22);
  ui::TPopupMenu menu(nullptr);
  ui::TMenuItem item(nullptr);
  item.SetCaption(u"Inserir Habilidade");
  int clicks = 0;
  item.OnClick = [&](rt::TComponent*) { ++clicks; };
  menu.Add(&item);
  panel->SetPopupMenu(&menu);
  view->EmbedInto(AsHost(host1));
  const size_t menus = ui::win32::Counts().Menus;
  SetTimer(nullptr, 0, 100, ChooseFirstMenuRow);
  HWND box = AsHwnd(inner->CurrentHandle());
  SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(menu.PopupComponent(), panel);
  EXPECT_EQ(ui::win32::Counts().Menus, menus + 1);  // built once, kept for the next time
  panel->SetPopupMenu(nullptr);
}

}  // namespace
