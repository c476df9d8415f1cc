// Edits and memos: the system's EDIT control, subclassed so that focus, keys, typing and the
// wheel reach the portable control first. State changes in place where the control takes them
// (read-only, length limit, selection, frame, reading order); alignment and a memo's bars and
// wrapping only exist from creation, so those rebuild the window and keep caret, selection,
// scroll position and focus.
#include "ui/Edits.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

namespace {

// Window-style bits that only creation gives an EDIT; the others change in place.
constexpr DWORD kCreationStyles = ES_LEFT | ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_AUTOHSCROLL |
                                  ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL;
constexpr DWORD kInPlaceExStyles = WS_EX_CLIENTEDGE | WS_EX_RTLREADING;

class EditPeer final : public Win32Peer {
 public:
  EditPeer(Win32Backend& backend, TWinControl& control, bool multiLine)
      : Win32Peer(backend, control), multiLine_(multiLine) {}

  bool GetSelection(int& start, int& length) const override {
    DWORD from = 0, to = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = static_cast<int>(from);
    length = static_cast<int>(to - from);
    return true;
  }

 protected:
  const wchar_t* WindowClass() const override { return L"EDIT"; }

  void Styles(DWORD& style, DWORD& ex) const override {
    const TCustomEdit& edit = Edit();
    style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
    ex = 0;
    if (edit.Alignment() == TAlignment::taRightJustify) style |= ES_RIGHT;
    if (edit.Alignment() == TAlignment::taCenter) style |= ES_CENTER;
    if (edit.ReadOnly()) style |= ES_READONLY;
    // A framed edit has the sunken client edge; WS_BORDER alone would draw a line of its own.
    if (edit.BorderStyle() != TBorderStyle::bsNone) ex |= WS_EX_CLIENTEDGE;
    if (!multiLine_) {
      style |= ES_AUTOHSCROLL;
      return;
    }
    const auto& memo = static_cast<const TCustomMemo&>(edit);
    style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    const TScrollStyle bars = memo.ScrollBars();
    if (bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth) style |= WS_VSCROLL;
    if (bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth)
      style |= WS_HSCROLL | ES_AUTOHSCROLL;
    else if (!memo.WordWrap())
      style |= ES_AUTOHSCROLL;
  }

  void Created() override {
    const TCustomEdit& edit = Edit();
    SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(edit.MaxLength()), 0);
    SelectStored();
  }

  void SyncKind(Aspect aspect) override {
    const TCustomEdit& edit = Edit();
    switch (aspect) {
      case Aspect::ReadOnly:
        SendMessageW(hwnd_, EM_SETREADONLY, edit.ReadOnly(), 0);
        break;
      case Aspect::MaxLength:
        SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(edit.MaxLength()), 0);
        break;
      case Aspect::Selection:
        SelectStored();
        break;
      case Aspect::Style:
        Restyle();
        break;
      default:
        break;
    }
  }

 private:
  const TCustomEdit& Edit() const { return static_cast<const TCustomEdit&>(*control_); }

  void SelectStored() {
    const TCustomEdit& edit = Edit();
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(edit.StoredSelStart()),
                 edit.StoredSelStart() + edit.StoredSelLength());
  }

  void Restyle() {
    DWORD style = 0, ex = 0;
    Styles(style, ex);
    if (control_->BiDiMode() == TBiDiMode::bdRightToLeft) ex |= WS_EX_RTLREADING;
    const auto now = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    if ((now & kCreationStyles) != (style & kCreationStyles)) {
      Rebuild();
      return;
    }
    const auto nowEx = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    const DWORD nextEx = (nowEx & ~kInPlaceExStyles) | (ex & kInPlaceExStyles);
    if (nextEx == nowEx) return;
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(nextEx));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  bool multiLine_;
};

}  // namespace

Win32Peer* MakeEditPeer(Win32Backend& backend, TWinControl& control) {
  return new EditPeer(backend, control, false);
}

Win32Peer* MakeMemoPeer(Win32Backend& backend, TWinControl& control) {
  return new EditPeer(backend, control, true);
}

}  // namespace ui::win32
