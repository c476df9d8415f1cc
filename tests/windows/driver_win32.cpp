// The Windows driver: real windows, real messages. Characters arrive as WM_CHAR, keys as
// WM_KEYDOWN with the keyboard state of the modifiers, clicks as button messages on the deepest
// window under the point. Message boxes and beeps are recorded by a thin layer over the Windows
// backend (everything else goes straight through), so a suite can read them as it does offscreen.
#include <windows.h>

#include <vector>

#include "tests/ui/driver.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Application.h"
#include "ui/win32/Win32Backend.h"

namespace uitest {
namespace {

class Recording final : public ui::Backend, public ui::ScreenPart {
 public:
  ui::WindowPeer* CreatePeer(ui::TWinControl& c) override { return Inner().CreatePeer(c); }
  ui::ScreenPart& Screen() override { return *this; }
  ui::GraphicsPart& Graphics() override { return Inner().Graphics(); }
  ui::MenuPart& Menus() override { return Inner().Menus(); }
  ui::NativeObjectCounts Counts() const override { return Inner().Counts(); }
  size_t WindowCount(const ui::PeerKind& kind) const override { return Inner().WindowCount(kind); }

  ui::TSize HostClientSize(uint32_t host) override { return Inner().Screen().HostClientSize(host); }
  ui::TRect WorkArea() override { return Inner().Screen().WorkArea(); }
  int ScrollBarSize() override { return Inner().Screen().ScrollBarSize(); }
  ui::TRect NonClientExtents(ui::TBorderStyle s) override {
    return Inner().Screen().NonClientExtents(s);
  }
  int ShowMessageBox(std::u16string_view text, std::u16string_view, ui::TMsgDlgType) override {
    messages.emplace_back(text);
    return IDOK;
  }
  void Beep() override { ++beeps; }
  void Post(std::function<void()> job) override { Inner().Screen().Post(std::move(job)); }

  std::vector<std::u16string> messages;
  int beeps = 0;

 private:
  static ui::Backend& Inner() { return ui::win32::Instance(); }
};

class Win32Driver final : public Driver {
 public:
  const char* Name() const override { return "win32"; }
  void Activate() override {
    ui::SetBackend(&recording_);
    Clear();
  }
  uint32_t NewHost(int width, int height) override {
    HWND host = testhost::CreateHostWindow(width, height);
    hosts_.push_back(host);
    return testhost::AsHost(host);
  }
  void Type(ui::TWinControl& c, std::u16string_view text) override {
    HWND hwnd = testhost::AsHwnd(c.Handle());
    for (char16_t ch : text) SendMessageW(hwnd, WM_CHAR, ch, 1);
  }
  void Press(ui::TWinControl& c, uint16_t key, ui::TShiftState shift) override {
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(state));
    state[VK_SHIFT] = (shift & ui::ssShift) ? 0x80 : 0;
    state[VK_CONTROL] = (shift & ui::ssCtrl) ? 0x80 : 0;
    state[VK_MENU] = (shift & ui::ssAlt) ? 0x80 : 0;
    SetKeyboardState(state);
    HWND hwnd = testhost::AsHwnd(c.Handle());
    SendMessageW(hwnd, (shift & ui::ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    SetKeyboardState(saved);
  }
  void Paste(ui::TWinControl& c, std::u16string_view text) override {
    HWND hwnd = testhost::AsHwnd(c.Handle());
    if (!OpenClipboard(hwnd)) return;
    EmptyClipboard();
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
      auto* chars = static_cast<wchar_t*>(GlobalLock(mem));
      std::copy(text.begin(), text.end(), chars);
      chars[text.size()] = 0;
      GlobalUnlock(mem);
      if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
    SendMessageW(hwnd, WM_PASTE, 0, 0);
    testhost::Pump();
  }
  void Focus(ui::TWinControl& c) override {
    ui::RunGuarded([&] { c.SetFocus(); });
    testhost::Pump();
  }
  void Pump() override { testhost::Pump(); }
  void Click(ui::TWinControl& window, ui::TPoint pos, ui::TMouseButton button) override {
    HWND hwnd = testhost::AsHwnd(window.Handle());
    POINT p{pos.X, pos.Y};
    // The window system's hit test, one level at a time down to the deepest shown child.
    for (;;) {
      HWND child = ChildWindowFromPointEx(hwnd, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
      if (!child || child == hwnd) break;
      MapWindowPoints(hwnd, child, &p, 1);
      hwnd = child;
    }
    const LPARAM at = MAKELPARAM(p.x, p.y);
    const bool right = button == ui::TMouseButton::mbRight;
    SendMessageW(hwnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                 at);
    SendMessageW(hwnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    testhost::Pump();
  }
  std::vector<std::u16string> Messages() const override { return recording_.messages; }
  int Beeps() const override { return recording_.beeps; }
  void Clear() override {
    recording_.messages.clear();
    recording_.beeps = 0;
  }
  void Finish() override {
    for (HWND h : hosts_) DestroyWindow(h);
    hosts_.clear();
    testhost::Pump();
  }

 private:
  Recording recording_;
  std::vector<HWND> hosts_;
};

Win32Driver driver;
const RegisterDriver registered(&driver);

}  // namespace
}  // namespace uitest
