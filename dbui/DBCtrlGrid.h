// The repeating control grid: a data source's records shown as a page of panels, columns x rows,
// filling left to right, then downwards. The controls of one panel template are created once, on
// Panel(); that panel is live (its bound controls edit the current record) and moves to the
// current record's place. Every other visible panel is painted from the same template for its
// own record, so a scroll step costs the visible panels, never the records.
//
//   auto* grid = new dbui::TDBCtrlGrid(form);
//   grid->SetParent(form);
//   grid->SetLayout(2, 3, 180, 53);         // columns, rows, panel width, panel height
//   grid->SetDataSource(source);
//   auto* edit = new MyBoundEdit(form);     // any control, placed relative to the panel
//   edit->SetParent(&grid->Panel());
//
// Keys while the grid itself has the focus: Insert, Ctrl+Insert (append), Ctrl+Delete, Escape,
// Enter and F2 (edit mode: focus into the panel, or back), the arrows, Page Up/Down, Home/End.
// Tab passes from the grid through the live panel's controls and on.
#pragma once

#include "db/DataSource.h"
#include "ui/CtrlGrid.h"

namespace ui {
class TCanvas;
}

namespace dbui {

class TDBCtrlGrid;

// A control inside a grid panel that shows its record's value paints a copy of itself for the
// panels that are not live: at its own origin, from the dataset's active record, which the grid
// sets to the panel's record while it paints.
class TRecordCopyPainter {
 public:
  virtual void PaintRecordCopy(ui::TCanvas& canvas) const = 0;

 protected:
  ~TRecordCopyPainter() = default;
};

enum class TPanelBorder : uint8_t { gbNone, gbRaised };

// The live panel: the template's parent, placed at the current record's slot.
class TDBCtrlPanel final : public ui::TWinControl {
 public:
  RT_CLASS_NAME(TDBCtrlPanel)
  explicit TDBCtrlPanel(TDBCtrlGrid& grid);
  TDBCtrlGrid& Grid() const { return grid_; }

 protected:
  void Paint(ui::TCanvas& canvas) override;
  void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) override;

 private:
  friend class TDBCtrlGrid;
  TDBCtrlGrid& grid_;
};

class TDBCtrlGrid : public ui::TCustomCtrlGrid {
 public:
  RT_CLASS_NAME(TDBCtrlGrid)
  explicit TDBCtrlGrid(rt::TComponent* owner);
  ~TDBCtrlGrid() override;

  db::TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(db::TDataSource* source);
  db::TDataSet* DataSet() const { return link_.DataSet(); }

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  int PanelWidth() const { return panelWidth_; }
  int PanelHeight() const { return panelHeight_; }
  int PanelCount() const { return cols_ * rows_; }
  // Sets the page and panel size; the grid's size follows (the panels plus the scroll bar).
  void SetLayout(int cols, int rows, int panelWidth, int panelHeight);
  // The rectangle of panel `index` of the page, in client coordinates.
  ui::TRect PanelRect(int index) const;

  // The template's parent; hidden while the dataset has no record to show.
  TDBCtrlPanel& Panel() const { return *panel_; }
  // The current record's place on the page (-1: no records shown).
  int PanelIndex() const;
  // Records shown on the page now.
  int VisibleRecords() const { return link_.Active() ? link_.RecordCount() : 0; }

  TPanelBorder PanelBorder() const { return border_; }
  void SetPanelBorder(TPanelBorder value);
  ui::TColor SelectedColor() const { return selectedColor_; }
  void SetSelectedColor(ui::TColor value);

  // Edit mode: the focus is inside the live panel. Switching it on focuses the panel's first
  // control; off brings the focus back to the grid.
  bool EditMode() const;
  void SetEditMode(bool value);

  // The grid's commands, as its keys give them.
  void DoKey(uint16_t key, ui::TShiftState shift);

  // A stored description's rows placed in the grid go into the live panel: they are the
  // template.
  ui::TWinControl& ChildParent() override { return *panel_; }
  // "DataSource" (a data source of the grid's owner), "ColCount", "RowCount", "PanelWidth",
  // "PanelHeight", "SelectedColor" and "PanelBorder" (gbNone, gbRaised). The page's properties
  // leave the grid's size as the description's bounds give it.
  void SetStoredProperty(std::u16string_view name, std::u16string_view value) override;

  ui::TGridScroll VertScroll() const override;
  intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void Paint(ui::TCanvas& canvas) override;
  void KeyDown(uint16_t& key, ui::TShiftState shift) override;
  void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) override;

 private:
  friend class TDBCtrlPanel;
  class Link final : public db::TDataLink {
   public:
    explicit Link(TDBCtrlGrid& grid) : grid_(grid) {}

   protected:
    void ActiveChanged() override { grid_.DataChanged(); }
    void DataSetChanged() override { grid_.DataChanged(); }
    void DataSetScrolled(int) override { grid_.DataChanged(); }
    void RecordChanged(db::TField*) override { grid_.RecordChanged(); }

   private:
    TDBCtrlGrid& grid_;
  };

  // The page without the grid's size.
  void SetPage(int cols, int rows, int panelWidth, int panelHeight);
  void DataChanged();
  void RecordChanged();
  void PlacePanel();
  void MoveBy(int distance);
  void MoveTo(int panelIndex);
  void PaintFrame(ui::TCanvas& canvas, const ui::TRect& rect) const;
  int PanelAt(ui::TPoint pos) const;

  Link link_{*this};
  TDBCtrlPanel* panel_;
  int cols_ = 1, rows_ = 3;
  int panelWidth_ = 200, panelHeight_ = 72;
  TPanelBorder border_ = TPanelBorder::gbRaised;
  ui::TColor selectedColor_ = ui::clWindow;
  ui::TGridScroll shownBar_;
  bool destroying_ = false;
  int firstVisible_ = 0;  // the record number of the page's first panel, outside inserts
};

}  // namespace dbui
