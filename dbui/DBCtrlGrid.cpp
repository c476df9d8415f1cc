// The repeating control grid.
#include "dbui/DBCtrlGrid.h"

#include <algorithm>

#include "runtime/CodePage.h"
#include "ui/Canvas.h"
#include "ui/Description.h"
#include "ui/Forms.h"

namespace dbui {

namespace {

// Paints the windowed children of a control as they would show now, with the controls inside
// them. Controls that show a record's value paint it from the dataset's active record.
void PaintChildren(ui::TWinControl& control, ui::TCanvas& canvas) {
  for (int i = 0; i < control.ControlCount(); ++i) {
    auto* child = dynamic_cast<ui::TWinControl*>(control.Controls(i));
    if (!child || !child->Visible()) continue;
    const ui::TRect b = child->BoundsRect();
    if (ui::IsEmpty(ui::Intersect(b, canvas.ClipRect()))) continue;
    ui::TCanvas::Scope scope(canvas, {b.Left, b.Top}, {0, 0, b.Width(), b.Height()}, child);
    if (auto* copy = dynamic_cast<const TRecordCopyPainter*>(child)) {
      copy->PaintRecordCopy(canvas);
      continue;
    }
    canvas.FillRect(child->ClientRect(), child->Color());
    child->WndPaint(canvas);
    PaintChildren(*child, canvas);
  }
}

bool HasFocusInside(const ui::TWinControl& control) {
  for (int i = 0; i < control.ControlCount(); ++i) {
    auto* child = dynamic_cast<const ui::TWinControl*>(control.Controls(i));
    if (child && (child->Focused() || HasFocusInside(*child))) return true;
  }
  return false;
}

// The deepest shown windowed control under a point of `control` (client coordinates), or null.
ui::TWinControl* ControlAt(ui::TWinControl& control, ui::TPoint pos) {
  for (int i = control.ControlCount() - 1; i >= 0; --i) {
    auto* child = dynamic_cast<ui::TWinControl*>(control.Controls(i));
    if (!child || !child->Visible() || !ui::Contains(child->BoundsRect(), pos)) continue;
    ui::TWinControl* inner = ControlAt(*child, {pos.X - child->Left(), pos.Y - child->Top()});
    return inner ? inner : child;
  }
  return nullptr;
}

}  // namespace

// --- TDBCtrlPanel --------------------------------------------------------------------------------

TDBCtrlPanel::TDBCtrlPanel(TDBCtrlGrid& grid) : ui::TWinControl(&grid), grid_(grid) {}

void TDBCtrlPanel::Paint(ui::TCanvas& canvas) {
  grid_.PaintFrame(canvas, ClientRect());
  ui::TWinControl::Paint(canvas);
}

void TDBCtrlPanel::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
  // A press on the live panel between its controls leaves edit mode: the grid takes the focus.
  if (grid_.CanFocus() && !grid_.Focused()) grid_.SetFocus();
  ui::TWinControl::MouseDown(button, shift, x, y);
}

// --- TDBCtrlGrid ---------------------------------------------------------------------------------

TDBCtrlGrid::TDBCtrlGrid(rt::TComponent* owner) : ui::TCustomCtrlGrid(owner) {
  SetTabStop(true);
  SetColor(ui::clWindow);
  panel_ = new TDBCtrlPanel(*this);
  panel_->SetParent(this);
  panel_->SetColor(selectedColor_);
  panel_->SetVisible(false);
  SetLayout(cols_, rows_, panelWidth_, panelHeight_);
}

TDBCtrlGrid::~TDBCtrlGrid() {
  destroying_ = true;
  link_.SetDataSource(nullptr);
}

void TDBCtrlGrid::SetDataSource(db::TDataSource* source) {
  link_.SetDataSource(source);
  DataChanged();
}

void TDBCtrlGrid::SetLayout(int cols, int rows, int panelWidth, int panelHeight) {
  SetPage(cols, rows, panelWidth, panelHeight);
  SetBounds(Left(), Top(), cols_ * panelWidth_ + kScrollBarWidth, rows_ * panelHeight_);
}

void TDBCtrlGrid::SetPage(int cols, int rows, int panelWidth, int panelHeight) {
  cols_ = std::max(1, cols);
  rows_ = std::max(1, rows);
  panelWidth_ = std::max(1, panelWidth);
  panelHeight_ = std::max(1, panelHeight);
  link_.SetBufferCount(PanelCount());
  DataChanged();
}

void TDBCtrlGrid::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  auto is = [name](std::u16string_view n) { return rt::SameTextAscii(name, n); };
  if (is(u"DataSource")) {
    SetDataSource(&ui::StoredReference<db::TDataSource>(name, value, Owner()));
  } else if (is(u"ColCount")) {
    SetPage(ui::StoredInteger(name, value), rows_, panelWidth_, panelHeight_);
  } else if (is(u"RowCount")) {
    SetPage(cols_, ui::StoredInteger(name, value), panelWidth_, panelHeight_);
  } else if (is(u"PanelWidth")) {
    SetPage(cols_, rows_, ui::StoredInteger(name, value), panelHeight_);
  } else if (is(u"PanelHeight")) {
    SetPage(cols_, rows_, panelWidth_, ui::StoredInteger(name, value));
  } else if (is(u"SelectedColor")) {
    SetSelectedColor(ui::StoredColor(name, value));
  } else if (is(u"PanelBorder")) {
    if (rt::SameTextAscii(value, u"gbNone"))
      SetPanelBorder(TPanelBorder::gbNone);
    else if (rt::SameTextAscii(value, u"gbRaised"))
      SetPanelBorder(TPanelBorder::gbRaised);
    else
      ui::BadStoredValue(name, value, u"is not known");
  } else {
    ui::TCustomCtrlGrid::SetStoredProperty(name, value);
  }
}

ui::TRect TDBCtrlGrid::PanelRect(int index) const {
  const int x = index % cols_ * panelWidth_, y = index / cols_ * panelHeight_;
  return {x, y, x + panelWidth_, y + panelHeight_};
}

int TDBCtrlGrid::PanelIndex() const {
  if (VisibleRecords() == 0) return -1;
  return link_.ActiveRecord();
}

void TDBCtrlGrid::SetPanelBorder(TPanelBorder value) {
  if (value == border_) return;
  border_ = value;
  Invalidate();
  panel_->Invalidate();
}

void TDBCtrlGrid::SetSelectedColor(ui::TColor value) {
  selectedColor_ = value;
  panel_->SetColor(value);
}

bool TDBCtrlGrid::EditMode() const {
  return HasFocusInside(*panel_);
}

void TDBCtrlGrid::SetEditMode(bool value) {
  if (value == EditMode()) return;
  if (value) {
    if (!panel_->Showing()) return;
    if (ui::TWinControl* first = panel_->FindNextControl(nullptr, true, true)) first->SetFocus();
  } else if (CanFocus()) {
    SetFocus();
  }
}

ui::TGridScroll TDBCtrlGrid::VertScroll() const {
  ui::TGridScroll bar;
  bar.Page = PanelCount();
  db::TDataSet* ds = link_.Active() ? link_.DataSet() : nullptr;
  if (!ds || VisibleRecords() == 0) return bar;
  // Positions are record numbers (0-based, as the datasets here count them). A new record of an
  // append lies after the last; one of an insert takes the current place.
  const int count = ds->RecordCount();
  const int slot = link_.ActiveRecord();
  int current;
  if (ds->State() == db::TDataSetState::dsInsert)
    current = ds->Eof() ? count : firstVisible_ + slot;
  else
    current = ds->RecNo() >= 0 ? ds->RecNo() : firstVisible_ + slot;
  bar.Range = std::max(count + (ds->State() == db::TDataSetState::dsInsert ? 1 : 0), 1);
  bar.Position = std::clamp(current, 0, bar.Range - 1);
  return bar;
}

void TDBCtrlGrid::DataChanged() {
  if (destroying_) return;
  PlacePanel();
  const ui::TGridScroll bar = VertScroll();
  if (db::TDataSet* ds = DataSet();
      ds && link_.Active() && ds->State() != db::TDataSetState::dsInsert)
    firstVisible_ = std::max(0, bar.Position - link_.ActiveRecord());
  if (!(bar == shownBar_)) {
    shownBar_ = bar;
    Changed(ui::Aspect::Scroll);
  }
  Invalidate();
}

void TDBCtrlGrid::RecordChanged() {
  if (destroying_) return;
  // A field of the current record changed: its live controls show it themselves; the other
  // panels may show derived values of it.
  Invalidate();
}

void TDBCtrlGrid::PlacePanel() {
  const int index = PanelIndex();
  if (index < 0) {
    // Nothing to show: the focus leaves the template's controls first.
    if (EditMode() && CanFocus()) SetFocus();
    panel_->SetVisible(false);
    return;
  }
  const ui::TRect r = PanelRect(index);
  panel_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  panel_->SetVisible(true);
}

void TDBCtrlGrid::MoveBy(int distance) {
  db::TDataSet* ds = DataSet();
  if (!ds || !link_.Active() || distance == 0) return;
  ds->MoveBy(distance);
}

void TDBCtrlGrid::MoveTo(int panelIndex) {
  if (panelIndex < 0 || panelIndex >= VisibleRecords()) return;
  MoveBy(panelIndex - link_.ActiveRecord());
}

int TDBCtrlGrid::PanelAt(ui::TPoint pos) const {
  if (pos.X < 0 || pos.Y < 0 || pos.X >= cols_ * panelWidth_ || pos.Y >= rows_ * panelHeight_)
    return -1;
  return pos.Y / panelHeight_ * cols_ + pos.X / panelWidth_;
}

void TDBCtrlGrid::DoKey(uint16_t key, ui::TShiftState shift) {
  db::TDataSet* ds = DataSet();
  if (!ds || !link_.Active()) return;
  const bool ctrl = (shift & ui::ssCtrl) != 0;
  using S = db::TDataSetState;
  switch (key) {
    case ui::vkInsert:
      if (ctrl)
        ds->Append();
      else
        ds->Insert();
      SetEditMode(true);
      break;
    case ui::vkDelete:
      if (!ctrl) return;
      if (ds->State() == S::dsInsert)
        ds->Cancel();
      else
        ds->Delete();
      SetEditMode(false);
      break;
    case ui::vkEscape:
      ds->Cancel();
      SetEditMode(false);
      break;
    case ui::vkReturn:
    case ui::vkF2:
      SetEditMode(!EditMode());
      break;
    case ui::vkLeft:
      MoveBy(-1);
      break;
    case ui::vkRight:
      MoveBy(1);
      break;
    case ui::vkUp:
      MoveBy(-cols_);
      break;
    case ui::vkDown:
      MoveBy(cols_);
      break;
    case ui::vkPrior:
      MoveBy(-PanelCount());
      break;
    case ui::vkNext:
      MoveBy(PanelCount());
      break;
    case ui::vkHome:
      ds->First();
      break;
    case ui::vkEnd:
      ds->Last();
      break;
    default:
      break;
  }
}

void TDBCtrlGrid::KeyDown(uint16_t& key, ui::TShiftState shift) {
  ui::TCustomCtrlGrid::KeyDown(key, shift);
  switch (key) {
    case ui::vkInsert:
    case ui::vkEscape:
    case ui::vkReturn:
    case ui::vkF2:
    case ui::vkLeft:
    case ui::vkRight:
    case ui::vkUp:
    case ui::vkDown:
    case ui::vkPrior:
    case ui::vkNext:
    case ui::vkHome:
    case ui::vkEnd:
      break;
    case ui::vkDelete:
      if (shift & ui::ssCtrl) break;
      return;
    default:
      return;
  }
  const uint16_t command = key;
  key = 0;
  DoKey(command, shift);
}

void TDBCtrlGrid::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
  if (CanFocus() && !Focused()) SetFocus();
  const int index = PanelAt({x, y});
  if (button == ui::TMouseButton::mbLeft && index >= 0 && index != PanelIndex()) {
    MoveTo(index);
    // A press on a control of a painted panel lands in that control, now live.
    if (index == PanelIndex()) {
      const ui::TRect r = PanelRect(index);
      if (ui::TWinControl* target = ControlAt(*panel_, {x - r.Left, y - r.Top});
          target && target->CanFocus())
        target->SetFocus();
    }
  }
  ui::TCustomCtrlGrid::MouseDown(button, shift, x, y);
}

intptr_t TDBCtrlGrid::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg != ui::msgVScroll) return ui::TCustomCtrlGrid::Perform(msg, wParam, lParam);
  db::TDataSet* ds = DataSet();
  if (!ds || !link_.Active()) return 0;
  switch (static_cast<uint16_t>(wParam & 0xFFFF)) {
    case ui::sbLineUp:
      MoveBy(-cols_);
      break;
    case ui::sbLineDown:
      MoveBy(cols_);
      break;
    case ui::sbPageUp:
      MoveBy(-PanelCount());
      break;
    case ui::sbPageDown:
      MoveBy(PanelCount());
      break;
    case ui::sbThumbPosition:
    case ui::sbThumbTrack: {
      // The thumb names a record; the distance to it is one move, not a walk.
      const ui::TGridScroll bar = VertScroll();
      const int target = std::clamp(static_cast<int>(lParam), 0, std::max(0, bar.Range - 1));
      ds->CheckBrowseMode();
      if (ds->RecordCount() > 0) ds->SetRecNo(target);
      break;
    }
    case ui::sbTop:
      ds->First();
      break;
    case ui::sbBottom:
      ds->Last();
      break;
    default:
      break;
  }
  return 0;
}

void TDBCtrlGrid::PaintFrame(ui::TCanvas& canvas, const ui::TRect& r) const {
  if (border_ != TPanelBorder::gbRaised || r.Width() < 2 || r.Height() < 2) return;
  canvas.Line({r.Left, r.Bottom - 1}, {r.Left, r.Top}, ui::clWhite);
  canvas.Line({r.Left, r.Top}, {r.Right - 1, r.Top}, ui::clWhite);
  canvas.Line({r.Right - 1, r.Top}, {r.Right - 1, r.Bottom}, ui::clGray);
  canvas.Line({r.Left, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1}, ui::clGray);
}

void TDBCtrlGrid::Paint(ui::TCanvas& canvas) {
  ui::TCustomCtrlGrid::Paint(canvas);
  const int shown = VisibleRecords();
  if (shown == 0) return;
  const int active = link_.ActiveRecord();
  const ui::TRect dirty = canvas.ClipRect();
  // Each other panel shows its own record: the template paints from the active record, which
  // points at that panel's buffer while it paints and comes back before anything else runs.
  struct Restore {
    db::TDataLink& link;
    int active;
    ~Restore() { link.SetActiveRecord(active); }
  } restore{link_, active};
  for (int i = 0; i < shown; ++i) {
    if (i == active) continue;
    const ui::TRect r = PanelRect(i);
    if (ui::IsEmpty(ui::Intersect(r, dirty))) continue;
    link_.SetActiveRecord(i);
    ui::TCanvas::Scope scope(canvas, {r.Left, r.Top}, {0, 0, r.Width(), r.Height()}, this);
    // The live panel's tree, on the grid's colour instead of the selection's.
    canvas.FillRect({0, 0, r.Width(), r.Height()}, Color());
    panel_->WndPaint(canvas);
    PaintChildren(*panel_, canvas);
  }
}

}  // namespace dbui
