// The native text box of the offscreen backend, for edits and memos: what a native edit does by
// itself (insertion at the selection, Backspace and Delete, line breaks in a memo, the length
// limit, the read-only state), modelled here once.
#include <algorithm>

#include "ui/Canvas.h"
#include "ui/Edits.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

namespace {
const TCustomEdit& AsEdit(const TWinControl& c) {
  return static_cast<const TCustomEdit&>(c);
}
}  // namespace

TextBoxPeer::TextBoxPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle,
                         bool multiLine)
    : OffscreenPeer(backend, control, handle), multiLine_(multiLine) {}

void TextBoxPeer::Create() {
  OffscreenPeer::Create();
  for (Aspect a : {Aspect::ReadOnly, Aspect::MaxLength, Aspect::Style, Aspect::Selection})
    SyncKind(a);
}

void TextBoxPeer::SyncKind(Aspect aspect) {
  const TCustomEdit& edit = AsEdit(Control());
  switch (aspect) {
    case Aspect::Text:
      Select(0, 0);  // a new text puts the caret at its start
      break;
    case Aspect::ReadOnly:
      readOnly_ = edit.ReadOnly();
      break;
    case Aspect::MaxLength:
      maxLength_ = edit.MaxLength();
      break;
    case Aspect::Selection:
      Select(edit.StoredSelStart(), edit.StoredSelLength());
      break;
    case Aspect::Style:
      border_ = edit.BorderStyle();
      alignment_ = edit.Alignment();
      if (multiLine_) {
        const auto& memo = static_cast<const TCustomMemo&>(edit);
        scrollBars_ = memo.ScrollBars();
        wordWrap_ = memo.WordWrap();
      }
      break;
    default:
      break;
  }
}

void TextBoxPeer::Select(int start, int length) {
  const auto size = static_cast<int>(windowText_.size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
}

bool TextBoxPeer::GetSelection(int& start, int& length) const {
  start = selStart_;
  length = selLength_;
  return true;
}

void TextBoxPeer::ReplaceSelection(std::u16string_view insert) {
  const size_t after = windowText_.size() - static_cast<size_t>(selLength_) + insert.size();
  if (!insert.empty() && maxLength_ > 0 && after > static_cast<size_t>(maxLength_)) return;
  windowText_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), insert);
  Select(selStart_ + static_cast<int>(insert.size()), 0);
  Invalidate(Control().ClientRect());
  Control().WndTextChanged(windowText_);  // the box tells its parent its text changed
}

void TextBoxPeer::DefaultChar(char16_t ch) {
  if (readOnly_) return;
  if (ch == vkBack) {
    if (selLength_ == 0) {
      if (selStart_ == 0) return;
      Select(selStart_ - 1, 1);
    }
    ReplaceSelection(u"");
    return;
  }
  if (ch == u'\r') {
    if (multiLine_) ReplaceSelection(u"\r\n");
    return;
  }
  if (ch < 0x20) return;  // other control characters insert nothing
  ReplaceSelection(std::u16string_view(&ch, 1));
}

void TextBoxPeer::DefaultPaste(std::u16string_view text) {
  if (readOnly_ || !static_cast<TCustomEdit&>(Control()).WndTextChanging(text, false)) return;
  // A native box pastes the text up to its first line break when it has one line only.
  if (!multiLine_) text = text.substr(0, text.find_first_of(u"\r\n"));
  ReplaceSelection(text);
}

void TextBoxPeer::DefaultSetText(std::u16string_view text) {
  if (!static_cast<TCustomEdit&>(Control()).WndTextChanging(text, true)) return;
  windowText_ = text;  // a text set through the window ignores the length limit, as natively
  Select(0, 0);
  Invalidate(Control().ClientRect());
  Control().WndTextChanged(windowText_);
}

void TextBoxPeer::DefaultKeyDown(uint16_t key, TShiftState shift) {
  const auto size = static_cast<int>(windowText_.size());
  switch (key) {
    case vkDelete:
      if (readOnly_) return;
      if (selLength_ == 0) {
        if (selStart_ >= size) return;
        Select(selStart_, 1);
      }
      ReplaceSelection(u"");
      return;
    case vkLeft:
      Select(selLength_ ? selStart_ : selStart_ - 1, 0);
      return;
    case vkRight:
      Select(selStart_ + (selLength_ ? selLength_ : 1), 0);
      return;
    case vkHome:
      Select(0, 0);
      return;
    case vkEnd:
      Select(size, 0);
      return;
    default:
      OffscreenPeer::DefaultKeyDown(key, shift);
  }
}

void TextBoxPeer::DefaultMouseDown(TMouseButton button, TPoint) {
  // A native text box takes the focus when it is clicked.
  if (button == TMouseButton::mbLeft) SetFocus();
}

void TextBoxPeer::DefaultContextMenu() {
  ++backend_.nativeEditMenus_;
}

void TextBoxPeer::PaintBackground(TCanvas& canvas) const {
  const TRect client = Control().ClientRect();
  canvas.FillRect(client, Color());
  TFont font = font_;
  if (!TakesInput()) font.Color = clGrayText;
  canvas.TextOut({2, 2}, windowText_, font);
  if (border_ != TBorderStyle::bsNone) canvas.FrameRect(client, clGray);
}

void TextBoxPeer::Verify(std::vector<std::u16string>& problems) const {
  OffscreenPeer::Verify(problems);
  const TCustomEdit& edit = AsEdit(Control());
  Check(problems, "read-only state", readOnly_, edit.ReadOnly());
  Check(problems, "length limit", maxLength_, edit.MaxLength());
  Check(problems, "border", border_, edit.BorderStyle());
  Check(problems, "alignment", alignment_, edit.Alignment());
  if (!multiLine_) return;
  const auto& memo = static_cast<const TCustomMemo&>(edit);
  Check(problems, "scroll bars", scrollBars_, memo.ScrollBars());
  Check(problems, "word wrap", wordWrap_, memo.WordWrap());
}

OffscreenPeer* MakeEditPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle) {
  return new TextBoxPeer(backend, control, handle, false);
}

OffscreenPeer* MakeMemoPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle) {
  return new TextBoxPeer(backend, control, handle, true);
}

}  // namespace ui::offscreen
