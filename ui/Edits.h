// Text boxes: single-line edits and multi-line memos. The text, selection, read-only state and
// length limit live here; the backend's native text box mirrors them and reports typing back.
#pragma once

#include <string>
#include <string_view>

#include "ui/Control.h"

namespace ui {

inline constexpr PeerKind kEditKind{"Edit"};
inline constexpr PeerKind kMemoKind{"Memo"};

class TCustomEdit : public TWinControl {
 public:
  RT_CLASS_NAME(TCustomEdit)
  explicit TCustomEdit(rt::TComponent* owner);

  const PeerKind& Kind() const override { return kEditKind; }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Most characters the user may type; 0 means no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // bsNone: no frame; bsSingle: the usual sunken frame.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  // The selection, in characters; with a native side, read from it.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int value);
  void SetSelLength(int value);
  void SelectAll();
  std::u16string SelText() const;
  // Replaces the selection with `text` and puts the caret after it, as typing does.
  void SetSelText(std::u16string_view text);
  // The selection last set through the calls above, which a backend mirrors on Aspect::Selection.
  int StoredSelStart() const { return selStart_; }
  int StoredSelLength() const { return selLength_; }

  // The native box is about to change its text by itself: `insert` replaces the selection (a
  // paste; empty for a cut, a clear or an undo) or, when `whole`, the whole text (a text set
  // from outside). False refuses the change, which then never happens.
  bool WndTextChanging(std::u16string_view insert, bool whole) {
    return TextChanging(insert, whole);
  }

  // Set whenever the text changes; cleared by its user.
  bool Modified = false;
  TNotifyEvent OnChange;

  void SetStoredProperty(std::u16string_view name, std::u16string_view value) override;
  TControlFlags SupportedFlags() const override;
  void SetStoredFlags(TControlFlags flags) override;

 protected:
  void TextChanged() override;
  // The text changed (by a call or by typing); fires OnChange.
  virtual void Change();
  // See WndTextChanging; everything is allowed by default.
  virtual bool TextChanging(std::u16string_view /*insert*/, bool /*whole*/) { return true; }

 private:
  void ClampSelection();

  bool readOnly_ = false;
  int maxLength_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  int selStart_ = 0;
  int selLength_ = 0;
};

class TEdit : public TCustomEdit {
 public:
  RT_CLASS_NAME(TEdit)
  using TCustomEdit::TCustomEdit;
};

// Multi-line text: lines are separated by CR LF in Text. A memo scrolls its own text with the
// wheel, which is why containers leave the wheel to a focused memo.
class TCustomMemo : public TCustomEdit {
 public:
  RT_CLASS_NAME(TCustomMemo)
  explicit TCustomMemo(rt::TComponent* owner);

  const PeerKind& Kind() const override { return kMemoKind; }

  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  // Long lines wrap at the memo's width (unless a horizontal scroll bar is asked for).
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  TControlFlags SupportedFlags() const override;
  void SetStoredFlags(TControlFlags flags) override;

 private:
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
 public:
  RT_CLASS_NAME(TMemo)
  using TCustomMemo::TCustomMemo;
};

}  // namespace ui
