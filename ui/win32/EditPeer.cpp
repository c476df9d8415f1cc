// Edits and memos: the system's EDIT control, subclassed so that focus, keys, typing, pastes,
// texts set from outside and the wheel reach the portable control first. State changes in place
// where the control takes them (read-only, length limit, selection, frame, reading order); a
// memo's alignment, bars and wrapping only exist from creation, so those rebuild the window and
// keep caret, selection, scroll position and focus. A single-line edit types left-aligned and,
// while it does not have the focus, paints its text at the control's alignment itself: its
// alignment follows the focus without ever recreating the window.
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
    if (multiLine_ && edit.Alignment() == TAlignment::taRightJustify) style |= ES_RIGHT;
    if (multiLine_ && edit.Alignment() == TAlignment::taCenter) style |= ES_CENTER;
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
        if (!multiLine_) InvalidateRect(hwnd_, nullptr, TRUE);
        break;
      default:
        break;
    }
  }

  bool Message(UINT msg, WPARAM& wParam, LPARAM lParam, LRESULT& result) override {
    TCustomEdit& edit = static_cast<TCustomEdit&>(*control_);
    switch (msg) {
      case WM_PAINT:
        if (!PaintsAligned()) break;
        PaintAligned();
        result = 0;
        return true;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        if (!multiLine_ && edit.Alignment() != TAlignment::taLeftJustify)
          InvalidateRect(hwnd_, nullptr, TRUE);
        break;
      // Changes the box makes by itself pass the control's rules first, as typing does.
      case WM_PASTE:
        if (!edit.ReadOnly() && !edit.WndTextChanging(ClipboardText(), false)) {
          result = 0;
          return true;
        }
        break;
      case WM_CUT:
      case WM_CLEAR:
        if (!edit.ReadOnly() && edit.SelLength() > 0 && !edit.WndTextChanging(u"", false)) {
          result = 0;
          return true;
        }
        break;
      case WM_UNDO:
      case EM_UNDO:
        if (!edit.ReadOnly() && !edit.WndTextChanging(u"", true)) {
          result = FALSE;
          return true;
        }
        break;
      case WM_SETTEXT:
        if (backend_.syncingText) break;
        if (!edit.WndTextChanging(Narrow(reinterpret_cast<const wchar_t*>(lParam)), true)) {
          result = FALSE;
          return true;
        }
        break;
      default:
        break;
    }
    return Win32Peer::Message(msg, wParam, lParam, result);
  }

 private:
  const TCustomEdit& Edit() const { return static_cast<const TCustomEdit&>(*control_); }

  static std::u16string Narrow(const wchar_t* text) {
    if (!text) return {};
    const std::wstring_view view(text);
    return std::u16string(view.begin(), view.end());
  }

  std::u16string ClipboardText() const {
    std::u16string text;
    if (!OpenClipboard(hwnd_)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        text = Narrow(chars);
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    // A single-line box pastes up to the first line break.
    if (!multiLine_) text = text.substr(0, text.find_first_of(u"\r\n"));
    return text;
  }

  bool PaintsAligned() const {
    return !multiLine_ && Edit().Alignment() != TAlignment::taLeftJustify && GetFocus() != hwnd_;
  }

  // The unfocused look of a right-aligned or centred single-line edit.
  void PaintAligned() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const TCustomEdit& edit = Edit();
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    FillRect(dc, &rc, Brush() ? Brush() : GetSysColorBrush(COLOR_WINDOW));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(enabled ? edit.Font().Color : clGrayText));
    const DWORD margins = static_cast<DWORD>(SendMessageW(hwnd_, EM_GETMARGINS, 0, 0));
    rc.left += LOWORD(margins);
    rc.right -= HIWORD(margins);
    const std::wstring text = Wide(edit.Text());
    const UINT align = edit.Alignment() == TAlignment::taCenter ? DT_CENTER : DT_RIGHT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              align | DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
    if (old) SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
  }

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
