// Top-level windows of the layer's form class: frame and caption by border style, embedding into
// a host window (watched for its size), moves by the user, and closing.
#include "runtime/Exception.h"
#include "runtime/HostGuard.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR ref);

class FormPeer final : public ContainerPeer {
 public:
  using ContainerPeer::ContainerPeer;
  ~FormPeer() override { Unhost(); }

  void SetHostWindow(uint32_t host) override;
  void DestroyWithParent() override { Destroy(); }  // unhooks its host first
  void Destroy() override {
    Unhost();
    ContainerPeer::Destroy();
  }

  void HostResized() {
    if (auto* form = dynamic_cast<TForm*>(control_)) form->WndHostResized();
  }
  void HostGone() { host_ = nullptr; }

 protected:
  const wchar_t* WindowClass() const override { return kFormClass; }
  void Styles(DWORD& style, DWORD& ex) const override {
    style = Win32Backend::FormStyle(Form().BorderStyle()) | WS_CLIPCHILDREN;
    if (Form().ParentWindow()) style = (style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD;
    // A control parent: a host's IsDialogMessage walks into the form's controls.
    ex = Win32Backend::FormExStyle(Form().BorderStyle()) | WS_EX_CONTROLPARENT;
  }
  // A form that knows its host before its window exists is made inside it, which spares the
  // window system a change of parent and of frame.
  HWND ParentWindow() const override { return HostHandle(Form().ParentWindow()); }
  void SyncKind(Aspect aspect) override;
  bool Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) override;

 private:
  const TForm& Form() const { return static_cast<const TForm&>(*control_); }
  static HWND HostHandle(uint32_t host) {
    HWND target = reinterpret_cast<HWND>(static_cast<uintptr_t>(host));
    if (host && !IsWindow(target)) throw rt::Exception(u"The host window is not a window");
    return target;
  }
  void Unhost() {
    if (!host_) return;
    RemoveWindowSubclass(host_, HostProc, reinterpret_cast<UINT_PTR>(this));
    host_ = nullptr;
  }

  HWND host_ = nullptr;  // the host window subclassed for its size, while embedded
};

// Watches a host window for the embedded form: its size changes re-lay the form out, and its
// destruction ends the watch.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR ref) {
  auto* peer = reinterpret_cast<FormPeer*>(ref);
  if (msg == WM_SIZE && peer->Control()) rt::GuardWindowProc([&] { peer->HostResized(); });
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, HostProc, id);
    peer->HostGone();
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void FormPeer::SetHostWindow(uint32_t host) {
  HWND target = HostHandle(host);
  Unhost();
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  // An embedded view is a child: clipped by its host, positioned in its client area and never
  // activated on its own.
  const LONG_PTR wanted = host ? (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD
                               : (style & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP;
  // A window made inside its host is in place already.
  const bool inPlace = wanted == style && host && GetAncestor(hwnd_, GA_PARENT) == target;
  if (!inPlace) {
    SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);
    ::SetParent(hwnd_, target);
  }
  if (host) {
    SetWindowSubclass(target, HostProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
    host_ = target;
  }
  if (inPlace) return;
  const TForm& f = Form();
  SetWindowPos(hwnd_, nullptr, f.Left(), f.Top(), f.Width(), f.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FormPeer::SyncKind(Aspect aspect) {
  if (aspect != Aspect::Style) return ContainerPeer::SyncKind(aspect);
  // The frame changes in place.
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const DWORD frame =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  style &= ~static_cast<LONG_PTR>(frame);
  const DWORD wanted = Win32Backend::FormStyle(Form().BorderStyle());
  style |= host_ ? (wanted & ~WS_POPUP) : wanted;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  DWORD ex = Win32Backend::FormExStyle(Form().BorderStyle()) | WS_EX_CONTROLPARENT;
  if (control_->BiDiMode() == TBiDiMode::bdRightToLeft) ex |= WS_EX_RTLREADING;
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool FormPeer::Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_WINDOWPOSCHANGED: {
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((wp->flags & SWP_NOSIZE) && (wp->flags & SWP_NOMOVE)) return false;
      RECT rc;
      GetWindowRect(hwnd_, &rc);
      if (HWND parent = GetParent(hwnd_))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
      control_->WndBoundsChanged(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
      return false;
    }
    case WM_SETFOCUS: {
      // The view itself never keeps the focus: its active control (or its first) takes it.
      const TForm& form = Form();
      TWinControl* target = form.ActiveControl();
      if (!target || !target->CanFocus()) target = form.FindNextControl(nullptr, true, true);
      if (target && target != control_ && target->CanFocus()) {
        target->SetFocus();
        result = 0;
        return true;
      }
      return ContainerPeer::Message(msg, wParam, lParam, result);
    }
    case WM_CLOSE:
      control_->Hide();  // the form's owner decides when it is freed
      result = 0;
      return true;
    default:
      return ContainerPeer::Message(msg, wParam, lParam, result);
  }
}

}  // namespace

Win32Peer* MakeFormPeer(Win32Backend& backend, TWinControl& control) {
  return new FormPeer(backend, control);
}

}  // namespace ui::win32
