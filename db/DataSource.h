// Data sources and data links: how bound controls look at a dataset. A data source names a
// dataset; each link on it asks for a number of record buffers, sees its own slice of the
// dataset's window and hears the dataset's events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/DataSet.h"
#include "runtime/ListenerList.h"

namespace db {

class TDataLink;

class TDataSource : public rt::TComponent {
 public:
  RT_CLASS_NAME(TDataSource)
  explicit TDataSource(rt::TComponent* owner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // When set (the default), a link's Edit starts an edit of the dataset.
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  // The dataset's state as the links see it: inactive while disabled or unattached.
  TDataSetState State() const;
  void Edit();

  std::function<void(TDataSource*, TField*)> OnDataChange;
  std::function<void(TDataSource*)> OnStateChange;
  std::function<void(TDataSource*)> OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;

  void DataEvent(TDataEvent event, intptr_t info);
  void NotifyLinks(TDataEvent event, intptr_t info);
  void AddDataLink(TDataLink* link);
  void RemoveDataLink(TDataLink* link);

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState state_ = TDataSetState::dsInactive;
  rt::ListenerList<TDataLink> links_;
};

class TDataLink {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  virtual ~TDataLink();

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
  bool Active() const { return active_; }
  virtual bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);

  // How many consecutive records this link shows; the dataset's window grows to the largest.
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int value);
  // Index of the dataset's active record within this link's slice (0 .. BufferCount-1).
  int ActiveRecord() const;
  void SetActiveRecord(int value);
  // Records available in this link's slice.
  int RecordCount() const;
  // The record buffer shown at slot `index` of this link's slice.
  TRecordBuffer Buffer(int index) const;

  // Starts an edit through the data source (when allowed); answers whether the link is editing.
  bool Edit();
  // Makes the link write its pending value (UpdateData) without hearing its own change.
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* /*field*/) {}
  virtual void UpdateData() {}
  void SetEditing(bool value);

 private:
  friend class TDataSource;
  friend class TDataSet;

  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();
  void SetActive(bool value);
  void UpdateRange();

  TDataSource* dataSource_ = nullptr;
  int bufferCount_ = 1;
  int firstRecord_ = 0;
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;
};

// A link to one field of the data source's dataset, for controls bound to a single field.
class TFieldDataLink : public TDataLink {
 public:
  const std::u16string& FieldName() const { return fieldName_; }
  void SetFieldName(std::u16string name);
  // The bound field while the dataset is open and has it; null otherwise.
  TField* Field() const { return field_; }
  bool CanModify() const;
  // Editing here means the dataset edits and this field may be changed.
  bool Editing() const override { return fieldEditing_; }
  bool Edit();
  // The control's text differs from the field: UpdateRecord will call OnUpdateData.
  void Modified() { modified_ = true; }
  bool IsModified() const { return modified_; }
  // Drops the control's change and shows the field's value again.
  void Reset() { RecordChanged(nullptr); }

  std::function<void()> OnDataChange;     // show the field's value
  std::function<void()> OnEditingChange;  // editing started or ended
  std::function<void()> OnUpdateData;     // write the control's value into the field
  std::function<void()> OnActiveChange;

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;

 private:
  void UpdateField();
  void SetField(TField* field);
  void SetFieldEditing(bool value);

  std::u16string fieldName_;
  TField* field_ = nullptr;
  bool modified_ = false;
  bool fieldEditing_ = false;
};

}  // namespace db
