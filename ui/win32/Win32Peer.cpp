// What every window peer does: creation, the common aspects, and the messages that enter the
// portable controls (focus, keys, characters, mouse, context menus, the wheel) or that paint.
#include "ui/win32/Win32Peer.h"

#include <windowsx.h>

#include <memory>

#include "runtime/Exception.h"
#include "runtime/HostGuard.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Canvas.h"

namespace ui::win32 {

Win32Peer::Win32Peer(Win32Backend& backend, TWinControl& control)
    : backend_(backend), control_(&control) {}

Win32Peer::~Win32Peer() = default;

bool Win32Peer::OwnClass() const {
  const wchar_t* cls = WindowClass();
  return cls == kFormClass || cls == kContainerClass;
}

HWND Win32Peer::ParentWindow() const {
  TWinControl* p = control_->Parent();
  return p ? reinterpret_cast<HWND>(p->CurrentHandle()) : nullptr;
}

HWND Win32Peer::MakeWindow() {
  DWORD style = 0, ex = 0;
  Styles(style, ex);
  if (control_->BiDiMode() == TBiDiMode::bdRightToLeft) ex |= WS_EX_RTLREADING;
  HWND parent = ParentWindow();
  const bool own = OwnClass();
  // A system control is made hidden and without its text, and takes font, text and visibility
  // in that order (Finish): a text box given its text first lays it out in the system font and
  // again when the font comes, and one on the screen asks the window server to repaint it for
  // either. A top-level window shows when told.
  if (parent && own && control_->Visible()) style |= WS_VISIBLE;
  if (!control_->Enabled()) style |= WS_DISABLED;
  HWND hwnd = CreateWindowExW(ex, WindowClass(), own ? Wide(control_->Text()).c_str() : L"",
                              style, control_->Left(), control_->Top(), control_->Width(),
                              control_->Height(), parent, nullptr, backend_.Module(),
                              own ? this : nullptr);
  if (!hwnd)
    throw rt::Exception(u"Cannot create a window for " + std::u16string(control_->ClassName()));
  if (!own) backend_.Subclass(hwnd);
  return hwnd;
}

void Win32Peer::Create() {
  hwnd_ = MakeWindow();
  backend_.Track(this, hwnd_);
  tracked_ = true;
  PlaceAmongSiblings();
  // A new window is all invalid already: its font needs no repaint of its own.
  ApplyFont(false);
  ApplyBrush();
  Finish();
  ready_ = true;
}

void Win32Peer::Finish() {
  const bool system = !OwnClass();
  if (system && !control_->Text().empty()) ApplyText();
  Created();
  if (system && control_->Parent() && control_->Visible()) ShowWindow(hwnd_, SW_SHOWNA);
}

void Win32Peer::Destroy() {
  control_ = nullptr;    // nothing the destruction sends may reach a control that is going
  DestroyWindow(hwnd_);  // WM_NCDESTROY frees the peer
}

void Win32Peer::DestroyWithParent() {
  // One DestroyWindow of the parent takes the whole tree, which costs far less than one call
  // per child; the window's WM_NCDESTROY frees the peer then.
  control_ = nullptr;
}

void Win32Peer::Destroyed(HWND hwnd) {
  if (hwnd != hwnd_) return;  // the window a rebuild replaced
  if (!tracked_) {            // its creation failed: CreatePeer frees the peer
    hwnd_ = nullptr;
    return;
  }
  backend_.Untrack(hwnd_);
  std::unique_ptr<Win32Peer> self(this);  // freed whatever the control does
  if (control_) control_->WndHandleDestroyed();  // destroyed from outside (by its host)
}

void Win32Peer::Rebuild() {
  HWND old = hwnd_;
  const bool focused = GetFocus() == old;
  DWORD from = 0, to = 0;
  SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const auto firstLine = static_cast<int>(SendMessageW(old, EM_GETFIRSTVISIBLELINE, 0, 0));

  ready_ = false;
  HWND fresh = MakeWindow();
  hwnd_ = fresh;
  backend_.Untrack(old);
  backend_.Track(this, fresh);
  SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Font()), FALSE);
  Finish();
  SendMessageW(fresh, EM_SETSEL, from, static_cast<LPARAM>(to));
  if (firstLine > 0) SendMessageW(fresh, EM_LINESCROLL, 0, firstLine);
  ready_ = true;
  quiet_ = true;
  if (focused) ::SetFocus(fresh);
  DestroyWindow(old);
  quiet_ = false;
}

void Win32Peer::PlaceAmongSiblings() {
  // Later controls lie above earlier ones. A new child window goes beneath all its siblings,
  // which is its place when no earlier control has a window (the case when a parent creates its
  // children, last first); otherwise it goes just beneath the first later sibling that has a
  // window, or on top. Each move costs the window system a round of its own.
  TWinControl* parent = control_->Parent();
  if (!parent) return;
  HWND above = HWND_TOP;
  bool later = false, earlier = false;
  for (int i = 0; i < parent->ControlCount() && above == HWND_TOP; ++i) {
    TControl* c = parent->Controls(i);
    if (c == control_) {
      later = true;
      continue;
    }
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !w->HandleAllocated()) continue;
    if (later)
      above = reinterpret_cast<HWND>(w->CurrentHandle());
    else
      earlier = true;
  }
  if (!earlier) return;
  SetWindowPos(hwnd_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::ApplyText() {
  const std::wstring text = Wide(control_->Text());
  backend_.syncingText = true;  // the window's change notice is no edit by the user
  SetWindowTextW(hwnd_, text.c_str());
  backend_.syncingText = false;
}

void Win32Peer::ApplyFont(bool redraw) {
  GdiRef font = backend_.Gdi().Font(control_->Font());
  if (!font) return;  // the window keeps the system font
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Font()), redraw);
  font_ = std::move(font);
}

void Win32Peer::ApplyBrush() {
  const COLORREF color = ToColorRef(control_->Color());
  if (brush_ && color == brushColor_) return;
  GdiRef brush = backend_.Gdi().Brush(color);
  if (!brush) return;
  brush_ = std::move(brush);
  brushColor_ = color;
}

void Win32Peer::Sync(Aspect aspect) {
  if (!control_) return;
  TWinControl& c = *control_;
  switch (aspect) {
    case Aspect::Bounds:
      SetWindowPos(hwnd_, nullptr, c.Left(), c.Top(), c.Width(), c.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    case Aspect::Text:
      ApplyText();
      break;
    case Aspect::Visible:
      ShowWindow(hwnd_,
                 c.Visible() ? (c.Parent() || GetParent(hwnd_) ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
      return;
    case Aspect::Enabled:
      EnableWindow(hwnd_, c.Enabled());
      return;
    case Aspect::Font:
      ApplyFont(true);
      return;
    case Aspect::Color:
      ApplyBrush();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return;
    default:
      break;
  }
  SyncKind(aspect);
}

void Win32Peer::ScrollChildren(int, int) {
  if (!control_) return;
  // The portable side has moved every child already: place the child windows where it says.
  // (Scrolling the window's pixels would move only the children inside the visible area.)
  TWinControl& c = *control_;
  HDWP batch = BeginDeferWindowPos(c.ControlCount());
  for (int i = 0; i < c.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(c.Controls(i));
    if (!child || !child->HandleAllocated()) continue;
    HWND h = reinterpret_cast<HWND>(child->CurrentHandle());
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch)
      batch = DeferWindowPos(batch, h, nullptr, child->Left(), child->Top(), 0, 0, flags);
    else
      SetWindowPos(h, nullptr, child->Left(), child->Top(), 0, 0, flags);
  }
  if (batch) EndDeferWindowPos(batch);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Peer::SetFocus() {
  ::SetFocus(hwnd_);
}

void Win32Peer::Invalidate(const TRect& rect) {
  RECT rc{rect.Left, rect.Top, rect.Right, rect.Bottom};
  InvalidateRect(hwnd_, &rc, FALSE);
}

TPoint Win32Peer::ClientToScreen(TPoint point) const {
  POINT p{point.X, point.Y};
  ::ClientToScreen(hwnd_, &p);
  return {p.x, p.y};
}

LRESULT Win32Peer::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
  return OwnClass() ? DefWindowProcW(hwnd_, msg, wParam, lParam)
                    : CallWindowProcW(backend_.SystemProc(hwnd_), hwnd_, msg, wParam, lParam);
}

LRESULT Win32Peer::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // A handler that failed answers for the window: no native default follows it.
  const bool handled = rt::GuardWindowProc(
      [&] { return control_ && ready_ && Message(msg, wParam, lParam, result); }, true);
  return handled ? result : CallDefault(msg, wParam, lParam);
}

void Win32Peer::Command(WORD code) {
  if (code == EN_CHANGE && !backend_.syncingText) control_->WndTextChanged(WindowText(hwnd_));
}

void Win32Peer::MouseButton(UINT msg, LPARAM lParam) {
  const TPoint pos{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TMouseButton button = TMouseButton::mbLeft;
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK)
    button = TMouseButton::mbRight;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK)
    button = TMouseButton::mbMiddle;
  const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                    msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  if (down) {
    // Our own windows keep the mouse until the button comes up, as system controls do.
    if (OwnClass()) SetCapture(hwnd_);
    control_->WndMouseDown(button, KeyShift(), pos);
  } else {
    if (OwnClass() && GetCapture() == hwnd_) ReleaseCapture();
    control_->WndMouseUp(button, KeyShift(), pos);
  }
}

bool Win32Peer::Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
  TWinControl* c = control_;
  switch (msg) {
    case WM_SETFOCUS:
      if (!quiet_) c->WndSetFocus();
      return false;
    case WM_KILLFOCUS:
      if (!quiet_) c->WndKillFocus();
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<uint16_t>(wParam);
      if (c->WndKeyDown(key, KeyShift())) {
        result = 0;
        return true;
      }
      wParam = key;
      return false;
    }
    case WM_CHAR: {
      auto ch = static_cast<char16_t>(wParam);
      if (c->WndChar(ch)) {
        result = 0;
        return true;
      }
      wParam = ch;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      MouseButton(msg, lParam);
      return false;  // the window's own handling follows (a text box places its caret)
    case WM_MOUSEMOVE:
      c->WndMouseMove(KeyShift(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return false;
    case WM_CONTEXTMENU: {
      bool taken = false;
      if (lParam == -1) {
        taken = c->WndContextMenu(nullptr);
      } else {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd_, &p);
        const TPoint pos{p.x, p.y};
        taken = c->WndContextMenu(&pos);
      }
      result = 0;
      // The portable walk has offered it to every parent already: our own windows stop here
      // (a top-level one passes it on to its host); a system control shows its own menu.
      return taken || (OwnClass() && c->Parent());
    }
    case WM_MOUSEWHEEL: {
      // A text box's default handling passes the wheel to its parent; the portable routing has
      // offered it up the chain already, so a nested notification is dropped.
      result = 0;
      if (backend_.inWheel) return true;
      backend_.inWheel = true;
      struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
      } reset{backend_.inWheel};
      const int delta = static_cast<short>(HIWORD(wParam));
      const TPoint pos{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (c->WndMouseWheel(KeyShift(), delta, pos)) return true;
      // Nobody took it: a memo scrolls its own text.
      if (&c->Kind() == &kMemoKind) result = CallDefault(msg, wParam, lParam);
      return true;
    }
    case WM_COMMAND: {
      Win32Peer* child = lParam ? backend_.Find(reinterpret_cast<HWND>(lParam)) : nullptr;
      if (child && child->control_ && child->ready_) child->Command(HIWORD(wParam));
      result = 0;
      return child != nullptr;
    }
    case WM_SETCURSOR: {
      // Only for the window under the pointer: a parent's pointer is not its children's.
      if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT) return false;
      LPCWSTR id = nullptr;
      switch (c->Cursor()) {
        case TCursor::crArrow:
          id = reinterpret_cast<LPCWSTR>(IDC_ARROW);
          break;
        case TCursor::crCross:
          id = reinterpret_cast<LPCWSTR>(IDC_CROSS);
          break;
        case TCursor::crIBeam:
          id = reinterpret_cast<LPCWSTR>(IDC_IBEAM);
          break;
        case TCursor::crHandPoint:
          id = reinterpret_cast<LPCWSTR>(IDC_HAND);
          break;
        case TCursor::crDefault:
          return false;
      }
      ::SetCursor(LoadCursorW(nullptr, id));
      result = TRUE;
      return true;
    }
    case WM_GETDLGCODE:
      // Inside a form, Tab, the arrows, Enter and Escape reach the control even when the host's
      // loop calls IsDialogMessage: the form moves the focus itself.
      if (!c->ParentForm() || c->ParentForm() == c) return false;
      result = CallDefault(msg, wParam, lParam) | DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (lParam) {
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
          result |= DLGC_WANTMESSAGE;
      }
      return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      Win32Peer* child = backend_.Find(reinterpret_cast<HWND>(lParam));
      if (!child || !child->control_) return false;
      TWinControl* cc = child->control_;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ToColorRef(cc->Enabled() ? cc->Font().Color : clGrayText));
      SetBkColor(dc, child->brushColor_);
      result = reinterpret_cast<LRESULT>(child->brush_ ? child->brush_.Brush()
                                                       : GetSysColorBrush(COLOR_WINDOW));
      return true;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const TSizeConstraints& k = c->Constraints();
      if (k.MaxWidth() > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = k.MaxWidth();
      if (k.MaxHeight() > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = k.MaxHeight();
      if (k.MinWidth() > 0) info->ptMinTrackSize.x = k.MinWidth();
      if (k.MinHeight() > 0) info->ptMinTrackSize.y = k.MinHeight();
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void Win32Peer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const RECT& r = ps.rcPaint;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width > 0 && height > 0 && control_) {
    // Painted off the screen and copied once: labels over a background never flicker.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    SetViewportOrgEx(buffer, -r.left, -r.top, nullptr);
    FillRect(buffer, &r, brush_ ? brush_.Brush() : GetSysColorBrush(COLOR_BTNFACE));
    std::vector<GdiRef> used;
    {
      Win32Canvas canvas(buffer, {r.left, r.top, r.right, r.bottom}, backend_.Gdi(), used);
      rt::GuardWindowProc([&] { control_->WndPaint(canvas); });
    }
    paintObjects_ = std::move(used);  // after the new ones are held: shared ones stay alive
    SetViewportOrgEx(buffer, 0, 0, nullptr);
    BitBlt(dc, r.left, r.top, width, height, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace ui::win32
