// Windows of repeating control grids: a container of the layer's class with a native vertical
// scroll bar that mirrors the grid's item position; the grid takes the focus and the keys.
#include "ui/CtrlGrid.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

namespace {

class GridPeer final : public ContainerPeer {
 public:
  using ContainerPeer::ContainerPeer;

 protected:
  void Styles(DWORD& style, DWORD& ex) const override {
    ContainerPeer::Styles(style, ex);
    style |= WS_VSCROLL | WS_TABSTOP;
    ex |= WS_EX_CONTROLPARENT;
  }
  void Created() override { ApplyBar(); }
  void SyncKind(Aspect aspect) override {
    if (aspect == Aspect::Scroll) ApplyBar();
  }
  bool Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) override {
    switch (msg) {
      case WM_GETDLGCODE:
        // The arrows, Enter and Escape are the grid's commands, also under IsDialogMessage.
        result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return true;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        // A click on a panel painted by the grid focuses the grid, as a list box does.
        if (GetFocus() != hwnd_) ::SetFocus(hwnd_);
        return ContainerPeer::Message(msg, wParam, lParam, result);
      default:
        return ContainerPeer::Message(msg, wParam, lParam, result);
    }
  }

 private:
  void ApplyBar() {
    const TGridScroll bar = static_cast<const TCustomCtrlGrid*>(control_)->VertScroll();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    // Always shown, disabled rather than hidden when everything fits.
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = bar.Range > 0 ? bar.Range - 1 : 0;
    si.nPage = static_cast<UINT>(bar.Range > 0 ? bar.Page : 1);
    si.nPos = bar.Position;
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  }
};

}  // namespace

Win32Peer* MakeGridPeer(Win32Backend& backend, TWinControl& control) {
  return new GridPeer(backend, control);
}

}  // namespace ui::win32
