// The scrolling view on real windows: wheel notifications sent to the focused control scroll
// the sheet one line each through the window's own scroll bar, except while a memo has the focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "tests/visao/tall_view.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Application.h"
#include "ui/Edits.h"
#include "visao/ZARPVisaoFicha.h"

namespace {

using testhost::AsHost;
using testhost::AsHwnd;

using testviews::TfrmAlta;

class Wheel : public ::testing::Test {
 protected:
  void SetUp() override {
    objects = ui::CurrentBackend().NativeObjectCount();
    host = testhost::CreateHostWindow(500, 300);
    view.reset(zarp::ClasseVisao<TfrmAlta>()->Create(nullptr, AsHost(host)));
    view->EmbedInto(AsHost(host));
    hwnd = AsHwnd(view->CurrentHandle());
    edit = &view->Find<ui::TEdit>(u"Edit");
    memo = &view->Find<ui::TMemo>(u"Memo");
  }
  void TearDown() override {
    view.reset();
    DestroyWindow(host);
    testhost::Pump();
    EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
  }
  void Send(HWND to, int delta) {
    SendMessageW(to, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(100, 100));
  }
  int EditTop() {
    RECT r;
    GetWindowRect(AsHwnd(edit->CurrentHandle()), &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r.top;
  }

  size_t objects = 0;
  HWND host = nullptr, hwnd = nullptr;
  std::unique_ptr<zarp::TFrmBaseVisaoFicha> view;
  ui::TEdit* edit = nullptr;
  ui::TMemo* memo = nullptr;
};

TEST_F(Wheel, TheViewIsABorderlessChildOfItsHostWithAVerticalBar) {
  EXPECT_EQ(GetParent(hwnd), host);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(view->AcoplarEm(), AsHost(host));
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 19);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(EditTop(), 10);
}

TEST_F(Wheel, EachNotificationToAFocusedEditScrollsOneLine) {
  edit->SetFocus();
  HWND box = AsHwnd(edit->CurrentHandle());
  Send(box, -120);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 27);
  EXPECT_EQ(EditTop(), 10 - 8);
  Send(box, -240);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 35);
  Send(box, 120);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 27);
  Send(box, -9);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 19);
  for (int i = 0; i < 5; ++i) Send(box, 120);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 0);
  EXPECT_EQ(EditTop(), 10 + 19);
}

TEST_F(Wheel, AFocusedMemoKeepsTheWheel) {
  memo->SetFocus();
  Send(AsHwnd(memo->CurrentHandle()), -120);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 19);
  EXPECT_EQ(view->VertScrollBar().Position(), 19);
}

TEST_F(Wheel, TheViewItselfScrollsWhenItReceivesTheWheel) {
  SetFocus(host);
  Send(hwnd, -120);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 27);
}

TEST_F(Wheel, TheScrollBarsArrowsScrollByTheSameLine) {
  SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 27);
  EXPECT_EQ(view->VertScrollBar().Position(), 27);
}

}  // namespace
