// Edits and memos.
#include "ui/Edits.h"

#include <algorithm>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "ui/Description.h"

namespace ui {

TCustomEdit::TCustomEdit(rt::TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  Changed(Aspect::ReadOnly);
}

void TCustomEdit::SetMaxLength(int value) {
  value = std::max(0, value);
  if (value == maxLength_) return;
  maxLength_ = value;
  Changed(Aspect::MaxLength);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  Changed(Aspect::Style);
}

void TCustomEdit::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(Aspect::Style);
}

int TCustomEdit::SelStart() const {
  int start = 0, length = 0;
  if (Peer() && Peer()->GetSelection(start, length)) return start;
  return selStart_;
}

int TCustomEdit::SelLength() const {
  int start = 0, length = 0;
  if (Peer() && Peer()->GetSelection(start, length)) return length;
  return selLength_;
}

void TCustomEdit::SetSelStart(int value) {
  selStart_ = value;
  selLength_ = 0;
  ClampSelection();
  Changed(Aspect::Selection);
}

void TCustomEdit::SetSelLength(int value) {
  selStart_ = SelStart();
  selLength_ = value;
  ClampSelection();
  Changed(Aspect::Selection);
}

void TCustomEdit::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(Text().size());
  Changed(Aspect::Selection);
}

std::u16string TCustomEdit::SelText() const {
  const auto size = static_cast<int>(Text().size());
  const int start = std::clamp(SelStart(), 0, size);
  const int length = std::clamp(SelLength(), 0, size - start);
  return Text().substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(std::u16string_view text) {
  const auto size = static_cast<int>(Text().size());
  const int start = std::clamp(SelStart(), 0, size);
  const int length = std::clamp(SelLength(), 0, size - start);
  std::u16string next = Text();
  next.replace(static_cast<size_t>(start), static_cast<size_t>(length), text);
  SetText(next);
  SetSelStart(start + static_cast<int>(text.size()));
}

void TCustomEdit::ClampSelection() {
  const auto size = static_cast<int>(Text().size());
  selStart_ = std::clamp(selStart_, 0, size);
  selLength_ = std::clamp(selLength_, 0, size - selStart_);
}

void TCustomEdit::TextChanged() {
  ClampSelection();
  Modified = true;
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(name, u"MaxLength")) {
    const int n = StoredInteger(name, value);
    if (n < 0) BadStoredValue(name, value, u"is not a count");
    SetMaxLength(n);
    return;
  }
  if (rt::SameTextAscii(name, u"Alignment")) {
    if (rt::SameTextAscii(value, u"taRightJustify"))
      SetAlignment(TAlignment::taRightJustify);
    else if (rt::SameTextAscii(value, u"taCenter"))
      SetAlignment(TAlignment::taCenter);
    else if (rt::SameTextAscii(value, u"taLeftJustify"))
      SetAlignment(TAlignment::taLeftJustify);
    else
      throw rt::Exception(u"Alignment '" + std::u16string(value) + u"' is not known");
    return;
  }
  TWinControl::SetStoredProperty(name, value);
}

TControlFlags TCustomEdit::SupportedFlags() const {
  return TWinControl::SupportedFlags() | cfNoTabStop | cfNoBorder | cfReadOnly;
}

void TCustomEdit::SetStoredFlags(TControlFlags flags) {
  TWinControl::SetStoredFlags(flags);
  if (flags & cfNoTabStop) SetTabStop(false);
  if (flags & cfNoBorder) SetBorderStyle(TBorderStyle::bsNone);
  if (flags & cfReadOnly) SetReadOnly(true);
}

TCustomMemo::TCustomMemo(rt::TComponent* owner) : TCustomEdit(owner) {}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  Changed(Aspect::Style);
}

void TCustomMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Changed(Aspect::Style);
}

TControlFlags TCustomMemo::SupportedFlags() const {
  return TCustomEdit::SupportedFlags() | cfVertScrollBar | cfHorzScrollBar;
}

void TCustomMemo::SetStoredFlags(TControlFlags flags) {
  TCustomEdit::SetStoredFlags(flags);
  const bool v = flags & cfVertScrollBar, h = flags & cfHorzScrollBar;
  if (v || h)
    SetScrollBars(v && h ? TScrollStyle::ssBoth
                         : (v ? TScrollStyle::ssVertical : TScrollStyle::ssHorizontal));
}

}  // namespace ui
