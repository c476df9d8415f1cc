// Edits and memos bound to one field of a data source. The control shows the field's value in
// the current record and follows every change of it; the first key that changes the text starts
// an edit of the dataset (an insert when it is empty), and a key that cannot start one is dropped
// without a word; leaving the control, or posting its dataset while it has the focus, writes a
// changed text into the field. The dataset stays in edit or insert state afterwards: posting is
// its owner's business. Inside a repeating grid, the panels that are not live show a painted copy
// of each box with its own record's value.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/DataSource.h"
#include "dbui/DBCtrlGrid.h"
#include "ui/Edits.h"

namespace dbui {

// What both bound text boxes share; Base is ui::TCustomEdit or ui::TCustomMemo.
template <class Base>
class TDBTextControl : public Base, public TRecordCopyPainter {
 public:
  explicit TDBTextControl(rt::TComponent* owner);
  ~TDBTextControl() override;

  db::TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(db::TDataSource* source) { link_.SetDataSource(source); }
  const std::u16string& DataField() const { return link_.FieldName(); }
  void SetDataField(std::u16string name) { link_.SetFieldName(std::move(name)); }
  // The bound field while the dataset is open and has it.
  db::TField* Field() const { return link_.Field(); }
  const db::TFieldDataLink& DataLink() const { return link_; }

  // "DataSource" names a data source of the control's owner; "DataField" a field of its dataset.
  void SetStoredProperty(std::u16string_view name, std::u16string_view value) override;

  // The box as it shows unfocused, with the value of the dataset's active record.
  void PaintRecordCopy(ui::TCanvas& canvas) const override;

 protected:
  void KeyDown(uint16_t& key, ui::TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void Change() override;
  bool TextChanging(std::u16string_view insert, bool whole) override;

 private:
  static constexpr bool kMemo = std::is_base_of_v<ui::TCustomMemo, Base>;
  bool WholeNumber() const;
  // Asks the dataset to start editing; false when it cannot (and nothing was said).
  bool StartEdit();
  void ShowField();
  void UpdateAlignment();
  void WriteField();
  // A commit on leaving failed: once the focus change is over, the message is shown and the
  // focus comes back here with the whole text selected.
  void CommitFailed(std::exception_ptr error);

  db::TFieldDataLink link_;
  bool showing_ = false;  // the text is being set from the field: no change of the user's
  std::shared_ptr<TDBTextControl*> self_ = std::make_shared<TDBTextControl*>(this);
};

extern template class TDBTextControl<ui::TCustomEdit>;
extern template class TDBTextControl<ui::TCustomMemo>;

class TDBEdit final : public TDBTextControl<ui::TCustomEdit> {
 public:
  RT_CLASS_NAME(TDBEdit)
  using TDBTextControl::TDBTextControl;
};

// Memos wrap at their width and scroll vertically; they set no length limit of their own (the
// field cuts what it stores).
class TDBMemo final : public TDBTextControl<ui::TCustomMemo> {
 public:
  RT_CLASS_NAME(TDBMemo)
  using TDBTextControl::TDBTextControl;
};

}  // namespace dbui
