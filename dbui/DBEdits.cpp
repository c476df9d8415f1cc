// Bound edits and memos.
#include "dbui/DBEdits.h"

#include <algorithm>
#include <vector>

#include "db/Field.h"
#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "ui/Application.h"
#include "ui/Canvas.h"
#include "ui/Description.h"

namespace dbui {

namespace {

bool IsWholeNumberField(const db::TField* f) {
  return dynamic_cast<const db::TIntegerField*>(f) || dynamic_cast<const db::TLargeintField*>(f);
}

// What a whole-number box lets through besides control characters.
bool WholeNumberCharacter(char16_t ch) {
  return (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-';
}

std::u16string FieldText(const db::TField& f) {
  if (auto* wide = dynamic_cast<const db::TWideStringField*>(&f)) return wide->AsWideString();
  return rt::FromAnsi(f.AsString());
}

// Most characters a box bound to `f` may hold: a text field's Size; no limit otherwise.
int FieldLimit(const db::TField* f) {
  if (dynamic_cast<const db::TStringField*>(f) || dynamic_cast<const db::TWideStringField*>(f))
    return f->Size();
  return 0;
}

// Keys that change the text of a box once they reach it: printable characters, Backspace,
// paste (the paste itself asks again), cut, undo, and a memo's line break.
bool ChangesText(char16_t ch, bool multiLine) {
  return ch >= 0x20 || ch == ui::vkBack || ch == 0x16 || ch == 0x18 || ch == 0x1A ||
         (multiLine && ch == u'\r');
}

// The first `count` lines a memo of that text width shows: its own lines, each broken before the
// word that would cross the width (a word wider than the memo where it crosses).
std::vector<std::u16string_view> WrappedLines(ui::TCanvas& canvas, const ui::TFont& font,
                                              std::u16string_view text, int width, size_t count) {
  std::vector<std::u16string_view> lines;
  auto fits = [&](std::u16string_view s) { return canvas.TextExtent(font, s).Width <= width; };
  while (lines.size() < count) {
    const size_t end = text.find(u'\n');
    std::u16string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    while (lines.size() < count && line.size() > 1 && !fits(line)) {
      // The longest start that fits, and at least one character.
      size_t lo = 1, hi = line.size() - 1;
      while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (fits(line.substr(0, mid)))
          lo = mid;
        else
          hi = mid - 1;
      }
      size_t cut = lo;
      if (line[cut] != u' ') {
        const size_t space = line.substr(0, cut).rfind(u' ');
        if (space != std::u16string_view::npos && space > 0) cut = space + 1;
      }
      lines.push_back(line.substr(0, cut));
      line.remove_prefix(cut);
      // The blanks at a break end the line above; the next starts with its word.
      while (!line.empty() && line.front() == u' ') line.remove_prefix(1);
    }
    if (lines.size() < count) lines.push_back(line);
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

template <class Base>
TDBTextControl<Base>::TDBTextControl(rt::TComponent* owner) : Base(owner) {
  link_.OnDataChange = [this] { ShowField(); };
  link_.OnActiveChange = [this] { ShowField(); };
  link_.OnUpdateData = [this] {
    try {
      WriteField();
    } catch (...) {
      this->SelectAll();  // the text that failed, ready to be typed over
      throw;
    }
  };
}

template <class Base>
TDBTextControl<Base>::~TDBTextControl() {
  link_.OnDataChange = nullptr;
  link_.OnActiveChange = nullptr;
  link_.OnUpdateData = nullptr;
  link_.SetDataSource(nullptr);
}

template <class Base>
bool TDBTextControl<Base>::WholeNumber() const {
  return IsWholeNumberField(link_.Field());
}

template <class Base>
bool TDBTextControl<Base>::StartEdit() {
  if (this->ReadOnly() || !this->Enabled() || !link_.Field()) return false;
  try {
    return link_.Edit();
  } catch (const rt::EAbort&) {
    return false;  // refused silently (a read-only sheet)
  }
}

template <class Base>
void TDBTextControl<Base>::ShowField() {
  const bool was = showing_;
  showing_ = true;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{showing_, was};
  const db::TField* f = link_.Field();
  if constexpr (!kMemo) this->SetMaxLength(FieldLimit(f));
  UpdateAlignment();
  this->SetText(f ? FieldText(*f) : std::u16string());
  this->Modified = false;
}

template <class Base>
void TDBTextControl<Base>::UpdateAlignment() {
  // Whole numbers line up at the right while the box is not being typed into.
  if constexpr (!kMemo)
    this->SetAlignment(WholeNumber() && !this->Focused() ? ui::TAlignment::taRightJustify
                                                         : ui::TAlignment::taLeftJustify);
}

template <class Base>
void TDBTextControl<Base>::WriteField() {
  db::TField* f = link_.Field();
  if (!f) return;
  if (auto* wide = dynamic_cast<db::TWideStringField*>(f)) {
    wide->SetAsWideString(this->Text());
    return;
  }
  // A whole-number field clears on empty text and reads the rest as a whole number in range.
  f->SetAsString(rt::ToAnsi(this->Text()));
}

template <class Base>
void TDBTextControl<Base>::KeyDown(uint16_t& key, ui::TShiftState shift) {
  Base::KeyDown(key, shift);
  if (key == ui::vkEscape) {
    link_.Reset();
    this->SelectAll();
    key = 0;
    return;
  }
  // Delete (and Shift+Delete, the cut) change the text inside the box without a character.
  if (key == ui::vkDelete && !StartEdit()) key = 0;
}

template <class Base>
void TDBTextControl<Base>::KeyPress(char16_t& key) {
  Base::KeyPress(key);
  if (key == 0) return;
  if (key == 0x1B) {  // Escape's character: KeyDown has restored the value already
    key = 0;
    return;
  }
  if (WholeNumber() && key >= 0x20 && !WholeNumberCharacter(key)) {
    key = 0;
    ui::Beep();
    return;
  }
  if (!ChangesText(key, kMemo)) return;
  const char16_t typed = key;
  key = 0;  // dropped unless the dataset starts editing (and if starting it fails)
  if (StartEdit()) key = typed;
}

template <class Base>
bool TDBTextControl<Base>::TextChanging(std::u16string_view insert, bool whole) {
  if (!Base::TextChanging(insert, whole)) return false;
  if (WholeNumber()) {
    for (char16_t ch : insert) {
      if (!WholeNumberCharacter(ch)) {
        ui::Beep();
        return false;
      }
    }
  }
  return StartEdit();
}

template <class Base>
void TDBTextControl<Base>::Change() {
  if (!showing_) link_.Modified();
  Base::Change();
}

template <class Base>
void TDBTextControl<Base>::DoEnter() {
  UpdateAlignment();
  Base::DoEnter();
}

template <class Base>
void TDBTextControl<Base>::DoExit() {
  try {
    link_.UpdateRecord();
  } catch (...) {
    CommitFailed(std::current_exception());
    return;
  }
  UpdateAlignment();
  Base::DoExit();
}

template <class Base>
void TDBTextControl<Base>::CommitFailed(std::exception_ptr error) {
  // The focus is moving elsewhere right now; the window system would undo a focus change made
  // while it tells the old window of its loss.
  std::weak_ptr<TDBTextControl*> alive = self_;
  auto bringBack = [alive] {
    auto self = alive.lock();
    if (!self) return false;
    TDBTextControl* c = *self;
    if (!c->Focused() && c->CanFocus()) c->SetFocus();
    c->SelectAll();
    return true;
  };
  ui::CurrentBackend().Screen().Post([bringBack, error] {
    if (!bringBack()) return;
    try {
      std::rethrow_exception(error);
    } catch (...) {
      ui::Application().HandleException();
    }
    bringBack();  // closing the box may have given the focus back elsewhere
  });
}

template <class Base>
void TDBTextControl<Base>::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(name, u"DataSource")) {
    SetDataSource(&ui::StoredReference<db::TDataSource>(name, value, this->Owner()));
    return;
  }
  if (rt::SameTextAscii(name, u"DataField")) {
    SetDataField(std::u16string(value));
    return;
  }
  Base::SetStoredProperty(name, value);
}

template <class Base>
void TDBTextControl<Base>::PaintRecordCopy(ui::TCanvas& canvas) const {
  const int w = this->Width(), h = this->Height();
  canvas.FillRect({0, 0, w, h}, this->Color());
  int inset = 1;
  if (this->BorderStyle() == ui::TBorderStyle::bsSingle && w > 3 && h > 3) {
    // The sunken frame of a text box: two lines of shadow above and left, light below and right.
    canvas.Line({0, h - 1}, {0, 0}, ui::clBtnShadow);
    canvas.Line({0, 0}, {w, 0}, ui::clBtnShadow);
    canvas.Line({1, h - 2}, {1, 1}, ui::clBlack);
    canvas.Line({1, 1}, {w - 1, 1}, ui::clBlack);
    canvas.Line({0, h - 1}, {w, h - 1}, ui::clBtnHighlight);
    canvas.Line({w - 1, 0}, {w - 1, h - 1}, ui::clBtnHighlight);
    canvas.Line({1, h - 2}, {w - 1, h - 2}, ui::clBtnFace);
    canvas.Line({w - 2, 1}, {w - 2, h - 2}, ui::clBtnFace);
    inset = 3;
  }
  const db::TField* f = link_.Field();
  if (!f) return;
  ui::TFont font = this->Font();
  if (!this->Enabled()) font.Color = ui::clGrayText;
  const std::u16string text = FieldText(*f);
  if constexpr (kMemo) {
    int right = w - inset;
    if (this->ScrollBars() == ui::TScrollStyle::ssVertical ||
        this->ScrollBars() == ui::TScrollStyle::ssBoth) {
      // The bar's track inside the frame; a copy shows its text from the top.
      const int frame = inset - 1;
      right = w - frame - ui::CurrentBackend().Screen().ScrollBarSize();
      canvas.FillRect({right, frame, w - frame, h - frame}, ui::clBtnFace);
    }
    const int lineHeight = std::max(1, canvas.TextExtent(font, u"Ag").Height);
    const auto shown = static_cast<size_t>(h / lineHeight + 1);
    int y = inset - 1;
    for (std::u16string_view line : WrappedLines(canvas, font, text, right - inset, shown)) {
      canvas.TextOut({inset, y}, line, font);
      y += lineHeight;
    }
  } else {
    int x = inset;
    // Unfocused whole numbers line up at the right, as the live box shows them.
    if (WholeNumber()) x = w - inset - canvas.TextExtent(font, text).Width;
    canvas.TextOut({x, inset - 1}, text, font);
  }
}

template class TDBTextControl<ui::TCustomEdit>;
template class TDBTextControl<ui::TCustomMemo>;

}  // namespace dbui
