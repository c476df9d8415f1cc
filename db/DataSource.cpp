// Data sources, data links and field data links.
#include "db/DataSource.h"

#include <algorithm>

namespace db {

namespace {
bool EditMode(TDataSetState s) {
  return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert || s == TDataSetState::dsSetKey;
}
}  // namespace

// --- TDataSource ------------------------------------------------------------------------------

TDataSource::TDataSource(rt::TComponent* owner) : rt::TComponent(owner) {}

TDataSource::~TDataSource() {
  OnStateChange = nullptr;
  OnDataChange = nullptr;
  SetDataSet(nullptr);
  while (TDataLink* last = links_.Back()) last->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet_ == dataSet) return;
  if (dataSet_) {
    TDataSet* old = dataSet_;
    dataSet_ = nullptr;
    old->RemoveDataSource(this);
    DataEvent(TDataEvent::deUpdateState, 0);
  }
  if (dataSet) {
    dataSet_ = dataSet;
    dataSet->AddDataSource(this);
    DataEvent(TDataEvent::deUpdateState, 0);
  }
}

void TDataSource::SetEnabled(bool value) {
  enabled_ = value;
  DataEvent(TDataEvent::deUpdateState, 0);
}

TDataSetState TDataSource::State() const {
  return state_;
}

void TDataSource::Edit() {
  if (autoEdit_ && state_ == TDataSetState::dsBrowse && dataSet_) dataSet_->Edit();
}

void TDataSource::NotifyLinks(TDataEvent event, intptr_t info) {
  // A handler may attach or detach links: those that leave are skipped, those that join hear
  // the next event.
  links_.Notify([&](TDataLink* l) { l->DataEvent(event, info); });
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info) {
  if (event == TDataEvent::deUpdateState) {
    TDataSetState value = enabled_ && dataSet_ ? dataSet_->State() : TDataSetState::dsInactive;
    if (state_ == value) return;
    TDataSetState prior = state_;
    state_ = value;
    NotifyLinks(TDataEvent::deUpdateState, 0);
    if (!Destroying()) {
      if (OnStateChange) OnStateChange(this);
      if (prior == TDataSetState::dsInactive && OnDataChange) OnDataChange(this, nullptr);
    }
    return;
  }
  if (state_ == TDataSetState::dsInactive) return;
  NotifyLinks(event, info);
  switch (event) {
    case TDataEvent::deFieldChange:
      if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(info));
      break;
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case TDataEvent::deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::AddDataLink(TDataLink* link) {
  links_.Add(link);
  link->dataSource_ = this;
  if (dataSet_) dataSet_->UpdateBufferCount();
  link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* link) {
  link->dataSource_ = nullptr;
  links_.Remove(link);
  link->UpdateState();
  if (dataSet_) dataSet_->UpdateBufferCount();
}

// --- TDataLink --------------------------------------------------------------------------------

TDataLink::~TDataLink() {
  if (dataSource_) dataSource_->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (dataSource_ == source) return;
  if (dataSource_) dataSource_->RemoveDataLink(this);
  if (source) source->AddDataLink(this);
}

void TDataLink::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  UpdateState();
}

void TDataLink::SetBufferCount(int value) {
  if (value < 1) value = 1;
  if (bufferCount_ == value) return;
  bufferCount_ = value;
  if (active_) UpdateRange();
}

int TDataLink::ActiveRecord() const {
  if (!dataSource_ || !dataSource_->DataSet() || dataSource_->State() == TDataSetState::dsSetKey)
    return 0;
  return dataSource_->DataSet()->activeRecord_ - firstRecord_;
}

void TDataLink::SetActiveRecord(int value) {
  TDataSet* ds = DataSet();
  if (!ds || !active_ || dataSource_->State() == TDataSetState::dsSetKey) return;
  int target = value + firstRecord_;
  if (target >= 0 && target < ds->recordCount_) ds->activeRecord_ = target;
}

int TDataLink::RecordCount() const {
  TDataSet* ds = DataSet();
  if (!ds || !active_) return 0;
  if (dataSource_->State() == TDataSetState::dsSetKey) return 1;
  return std::min(ds->recordCount_, bufferCount_);
}

TRecordBuffer TDataLink::Buffer(int index) const {
  TDataSet* ds = DataSet();
  if (!ds || !active_ || index < 0 || index >= RecordCount()) return nullptr;
  return ds->buffers_[static_cast<size_t>(firstRecord_ + index)];
}

bool TDataLink::Edit() {
  if (!readOnly_ && dataSource_) dataSource_->Edit();
  return Editing();
}

void TDataLink::UpdateRecord() {
  updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

void TDataLink::SetEditing(bool value) {
  if (editing_ == value) return;
  editing_ = value;
  EditingChanged();
}

void TDataLink::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (value)
    UpdateRange();
  else
    firstRecord_ = 0;
  ActiveChanged();
}

void TDataLink::UpdateState() {
  SetActive(dataSource_ && dataSource_->State() != TDataSetState::dsInactive);
  SetEditing(dataSource_ && EditMode(dataSource_->State()));
}

void TDataLink::UpdateRange() {
  TDataSet* ds = DataSet();
  if (!ds) return;
  int min = std::max(0, ds->activeRecord_ - bufferCount_ + 1);
  int max = std::max(0, ds->bufferCount_ - bufferCount_);
  max = std::min(max, ds->activeRecord_);
  firstRecord_ = std::clamp(firstRecord_, min, std::max(min, max));
  if (firstRecord_ != 0 && ds->activeRecord_ - firstRecord_ < bufferCount_ - 1) --firstRecord_;
  ds->UpdateBufferCount();
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info) {
  if (event == TDataEvent::deUpdateState) {
    UpdateState();
    return;
  }
  if (!active_) return;
  switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
      if (!updating_) RecordChanged(reinterpret_cast<TField*>(info));
      break;
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange: {
      // Keep the active record inside this link's slice, moving the slice as little as possible.
      int count = 0;
      if (dataSource_->State() != TDataSetState::dsSetKey) {
        int active = DataSet()->activeRecord_;
        int first = firstRecord_ + static_cast<int>(info);
        int last = first + bufferCount_ - 1;
        if (active > last)
          count = active - last;
        else if (active < first)
          count = active - first;
        firstRecord_ = first + count;
      }
      if (event == TDataEvent::deDataSetChange) DataSetChanged();
      if (event == TDataEvent::deDataSetScroll) DataSetScrolled(count);
      if (event == TDataEvent::deLayoutChange) LayoutChanged();
      break;
    }
    case TDataEvent::deUpdateRecord:
      UpdateRecord();
      break;
    case TDataEvent::deCheckBrowseMode:
      CheckBrowseMode();
      break;
    default:
      break;
  }
}

// --- TFieldDataLink ---------------------------------------------------------------------------

void TFieldDataLink::SetFieldName(std::u16string name) {
  if (fieldName_ == name) return;
  fieldName_ = std::move(name);
  UpdateField();
}

bool TFieldDataLink::CanModify() const {
  return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return fieldEditing_;
}

void TFieldDataLink::UpdateField() {
  TDataSet* ds = DataSet();
  SetField(Active() && ds && !fieldName_.empty() ? ds->FindField(fieldName_) : nullptr);
}

void TFieldDataLink::SetField(TField* field) {
  if (field_ == field) return;
  field_ = field;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLink::SetFieldEditing(bool value) {
  if (fieldEditing_ == value) return;
  fieldEditing_ = value;
  modified_ = false;
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::EditingChanged() {
  SetFieldEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLink::LayoutChanged() {
  UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field && field != field_) return;
  if (OnDataChange) OnDataChange();
  modified_ = false;
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ && OnUpdateData) OnUpdateData();
  modified_ = false;
}

}  // namespace db
