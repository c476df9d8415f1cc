// The Windows backend's inside: the backend object (screen, graphics and menu parts, window
// classes, the window procedures) and the base of every window peer. Each control kind's peer
// derives from Win32Peer in a file of its own and is listed in PeerTable.cpp.
#pragma once

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <deque>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/Backend.h"
#include "ui/Control.h"
#include "ui/win32/GdiCache.h"
#include "ui/win32/Win32Backend.h"

namespace ui::win32 {

class Win32Backend;

std::wstring Wide(std::u16string_view text);
std::u16string WindowText(HWND hwnd);
TShiftState KeyShift();

inline constexpr wchar_t kFormClass[] = L"VELSistemaForm";
inline constexpr wchar_t kContainerClass[] = L"VELSistemaContainer";
inline constexpr wchar_t kPostClass[] = L"VELSistemaPost";

class Win32Peer : public WindowPeer {
 public:
  Win32Peer(Win32Backend& backend, TWinControl& control);
  virtual ~Win32Peer();

  // Creates the native window from the control's state; the backend calls it once.
  void Create();

  NativeHandle Handle() const override { return reinterpret_cast<NativeHandle>(hwnd_); }
  void Sync(Aspect aspect) override;
  void ScrollChildren(int dx, int dy) override;
  void SetFocus() override;
  void SetHostWindow(uint32_t) override {}
  void Invalidate(const TRect& rect) override;
  TPoint ClientToScreen(TPoint point) const override;
  void Destroy() override;
  void DestroyWithParent() override;

  HWND Hwnd() const { return hwnd_; }
  // The control while the portable side holds the peer; null once it let go.
  TWinControl* Control() const { return control_; }
  HBRUSH Brush() const { return brush_.Brush(); }
  COLORREF BrushColor() const { return brushColor_; }

  // A window of our own class is being created for this peer (WM_NCCREATE): from here on its
  // messages reach the peer, which must answer them for that window.
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  // A message for this window (own class or subclassed system control). Runs inside the
  // window-procedure guard.
  LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam);
  // The window is being destroyed: forget it (tell the control when its host destroyed it).
  // A window whose creation failed is left to the peer's creator.
  void Destroyed(HWND hwnd);
  // A notification this window sent its parent (WM_COMMAND's code): a text box's change by
  // default; other kinds take their own.
  virtual void Command(WORD code);

 protected:
  // The class and styles the window is created with.
  virtual const wchar_t* WindowClass() const = 0;
  virtual void Styles(DWORD& style, DWORD& ex) const = 0;
  // The window the new window is made in: its parent control's by default.
  virtual HWND ParentWindow() const;
  // Kind-specific setup once the window exists (limits, selection...).
  virtual void Created() {}
  // Aspects the base does not mirror itself.
  virtual void SyncKind(Aspect /*aspect*/) {}
  // A message: kind-specific handling first; return true when `result` answers it. The base
  // handles focus, keys, characters, mouse, wheel, context menus, colours and painting.
  virtual bool Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result);
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
  bool OwnClass() const;
  // Creates a window of this peer's class and styles, as the control says now.
  HWND MakeWindow();
  // Replaces the window by a new one with the current styles, keeping its place in the z-order,
  // its text, selection, scroll position and the focus (for styles a system control takes only
  // when it is created). No focus notice reaches the control.
  void Rebuild();
  // Paints the window's background and graphic children (own classes).
  void Paint();

  Win32Backend& backend_;
  TWinControl* control_;
  HWND hwnd_ = nullptr;
  bool ready_ = false;    // creation finished: messages may reach the portable side
  bool tracked_ = false;  // the backend knows the window; its destruction frees the peer
  bool quiet_ = false;    // a rebuild moves the focus: no notice to the control

 private:
  void PlaceAmongSiblings();
  void ApplyFont(bool redraw);
  void ApplyText();
  // A new window's text, kind-specific setup and visibility, after its font.
  void Finish();
  void ApplyBrush();
  void MouseButton(UINT msg, LPARAM lParam);

  GdiRef font_;
  GdiRef brush_;
  COLORREF brushColor_ = 0;
  std::vector<GdiRef> paintObjects_;  // what the last paint used, kept for the next one
};

class Win32Backend final : public Backend, public ScreenPart, public GraphicsPart, public MenuPart {
 public:
  ~Win32Backend() override;

  WindowPeer* CreatePeer(TWinControl& control) override;
  ScreenPart& Screen() override { return *this; }
  GraphicsPart& Graphics() override { return *this; }
  MenuPart& Menus() override { return *this; }
  NativeObjectCounts Counts() const override;
  size_t WindowCount(const PeerKind& kind) const override;

  TSize HostClientSize(uint32_t host) override;
  TRect WorkArea() override;
  int ScrollBarSize() override { return GetSystemMetrics(SM_CXVSCROLL); }
  TRect NonClientExtents(TBorderStyle style) override;
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     TMsgDlgType type) override;
  void Beep() override { MessageBeep(MB_OK); }
  void Post(std::function<void()> job) override;
  // The next posted job, run by the posting window.
  void RunPosted();
  TSize TextExtent(const TFont& font, std::u16string_view text) override;
  std::unique_ptr<PictureHold> HoldPicture(const TPixels& picture) override;
  std::unique_ptr<MenuPeer> CreateMenu() override;

  GdiCache& Gdi() { return gdi_; }
  HINSTANCE Module();
  Win32Peer* Find(HWND hwnd) const;
  // Bookkeeping of the peers' windows.
  void Track(Win32Peer* peer, HWND hwnd) { peers_[hwnd] = peer; }
  void Untrack(HWND hwnd) { peers_.erase(hwnd); }
  // A system control's window gets ChildProc as its window procedure; the one it had is kept
  // here, by window, for every message the peer does not answer and after the peer let go.
  // (Window properties, where a subclass chain keeps its data, cost a round trip to the window
  // server for every message under Wine; this table costs none.)
  void Subclass(HWND hwnd);
  WNDPROC SystemProc(HWND hwnd) const;
  void Unsubclass(HWND hwnd) { systemProcs_.erase(hwnd); }
  // A window of the layer's own classes belongs to its peer from its first message
  // (WM_NCCREATE) to its last (WM_NCDESTROY). The table, rather than the window's user data,
  // saves two round trips to the window server per window under Wine.
  void Adopt(HWND hwnd, Win32Peer* peer) { ownWindows_[hwnd] = peer; }
  Win32Peer* Adopted(HWND hwnd) const {
    auto it = ownWindows_.find(hwnd);
    return it == ownWindows_.end() ? nullptr : it->second;
  }
  void Abandon(HWND hwnd) { ownWindows_.erase(hwnd); }
  // Set while the portable side writes a text box's text: the box's change notice is its own.
  bool syncingText = false;
  bool inWheel = false;
  int menus = 0;

  static DWORD FormStyle(TBorderStyle style);
  static DWORD FormExStyle(TBorderStyle style);

 private:
  void RegisterClasses();

  std::unordered_map<HWND, Win32Peer*> peers_;
  std::unordered_map<HWND, WNDPROC> systemProcs_;
  std::unordered_map<HWND, Win32Peer*> ownWindows_;
  std::deque<std::function<void()>> posted_;
  HWND postWindow_ = nullptr;  // message-only: posted work runs from the thread's message loop
  // Text is measured in a memory DC of the screen's kind, held for the backend's life: a screen
  // DC taken per measurement costs a round trip to the window server under Wine.
  HDC measuring_ = nullptr;
  GdiCache gdi_;
  HINSTANCE instance_ = nullptr;
  bool registered_ = false;
};

Win32Backend& Self();

LRESULT CALLBACK OwnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

using PeerFactory = Win32Peer* (*)(Win32Backend& backend, TWinControl& control);
std::span<const PeerTableRow<PeerFactory>> PeerTable();

// Factories of the kinds, one file each.
Win32Peer* MakeFormPeer(Win32Backend&, TWinControl&);
Win32Peer* MakeContainerPeer(Win32Backend&, TWinControl&);
Win32Peer* MakeGridPeer(Win32Backend&, TWinControl&);
Win32Peer* MakeEditPeer(Win32Backend&, TWinControl&);
Win32Peer* MakeMemoPeer(Win32Backend&, TWinControl&);
Win32Peer* MakeCheckBoxPeer(Win32Backend&, TWinControl&);

// Windows of the layer's own classes: a background painted with the graphic children over it,
// and the scroll bars of scrolling controls. Forms derive from it.
class ContainerPeer : public Win32Peer {
 public:
  using Win32Peer::Win32Peer;

 protected:
  const wchar_t* WindowClass() const override { return kContainerClass; }
  void Styles(DWORD& style, DWORD& ex) const override;
  void Created() override { ApplyScroll(); }
  void SyncKind(Aspect aspect) override;
  bool Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) override;
  void ApplyScroll();
};

}  // namespace ui::win32
