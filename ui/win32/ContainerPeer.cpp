// Windows of the layer's own container class: panels and other plain containers, with their
// background and graphic children painted by the layer and, when they scroll, their scroll bars.
#include "ui/Forms.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

void ContainerPeer::Styles(DWORD& style, DWORD& ex) const {
  style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  ex = WS_EX_CONTROLPARENT;  // dialog navigation walks into the children
}

void ContainerPeer::SyncKind(Aspect aspect) {
  if (aspect == Aspect::Scroll) ApplyScroll();
}

void ContainerPeer::ApplyScroll() {
  auto* c = dynamic_cast<TScrollingWinControl*>(control_);
  if (!c) return;
  for (const TControlScrollBar* bar : {&c->HorzScrollBar(), &c->VertScrollBar()}) {
    const int which = bar->Kind() == TScrollBarKind::sbVertical ? SB_VERT : SB_HORZ;
    const bool shown = bar->IsScrollBarVisible();
    ShowScrollBar(hwnd_, which, shown);
    if (!shown) continue;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = bar->Range() - 1;
    si.nPage = static_cast<UINT>(bar->PageSize());
    si.nPos = bar->Position();
    SetScrollInfo(hwnd_, which, &si, TRUE);
  }
}

bool ContainerPeer::Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;  // the background is painted with the rest, in WM_PAINT
      return true;
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if (lParam != 0) return false;  // a scroll bar control's notice, not this window's bar
      const int which = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
      const auto code = static_cast<uint16_t>(LOWORD(wParam));
      intptr_t pos = 0;
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd_, which, &si);
        pos = si.nTrackPos;
      }
      control_->Perform(msg == WM_VSCROLL ? msgVScroll : msgHScroll, code, pos);
      result = 0;
      return true;
    }
    default:
      return Win32Peer::Message(msg, wParam, lParam, result);
  }
}

Win32Peer* MakeContainerPeer(Win32Backend& backend, TWinControl& control) {
  return new ContainerPeer(backend, control);
}

}  // namespace ui::win32
