// The dataset base's state machine and buffer window.
//
// The window: buffers_[0 .. recordCount_-1] show consecutive records, buffers_[activeRecord_] is
// the current one, and buffers_[recordCount_] is where the next fetch lands before it is rotated
// into place. currentRecord_ is the window slot that the storage cursor stands on (-1: unknown).
#include "db/DataSet.h"

#include <algorithm>
#include <cmath>

#include "db/DataSource.h"
#include "runtime/CodePage.h"
#include "runtime/Numbers.h"

namespace db {

void TBookmark::Assign(const void* data, int size) {
  if (size < 0 || size > kMaxSize) throw EDatabaseError(msg::kBookmarkTooLarge);
  size_ = static_cast<uint8_t>(size);
  if (size) std::memcpy(data_.data(), data, static_cast<size_t>(size));
}

int TFields::IndexOf(const TField* field) const {
  auto it = std::find(list_.begin(), list_.end(), field);
  return it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
}

TField* TFields::FindField(std::u16string_view name) const {
  for (TField* f : list_)
    if (rt::SameTextAscii(f->FieldName(), name)) return f;
  return nullptr;
}

bool IsBlobType(TFieldType type) {
  switch (type) {
    case TFieldType::ftBlob:
    case TFieldType::ftMemo:
    case TFieldType::ftGraphic:
    case TFieldType::ftFmtMemo:
    case TFieldType::ftParadoxOle:
    case TFieldType::ftDBaseOle:
    case TFieldType::ftTypedBinary:
    case TFieldType::ftOraBlob:
    case TFieldType::ftOraClob:
    case TFieldType::ftWideMemo:
      return true;
    default:
      return false;
  }
}

TDataSet::TDataSet(rt::TComponent* owner) : rt::TComponent(owner) {}

TDataSet::~TDataSet() {
  MarkDestroying();
  // A concrete dataset has closed itself already (CloseForDestruction); what is left to do is to
  // let go of the sources and fields that outlive this dataset.
  while (TDataSource* last = dataSources_.Back()) last->SetDataSet(nullptr);
  for (TField* f : fields_.list_) f->dataSet_ = nullptr;
  fields_.list_.clear();
}

void TDataSet::CloseForDestruction() {
  MarkDestroying();
  SetActive(false);
}

// --- Open and close -------------------------------------------------------------------------

void TDataSet::CheckActive() const {
  if (state_ == TDataSetState::dsInactive) throw EDatabaseError(msg::kDataSetClosed);
}

void TDataSet::CheckInactive() const {
  if (state_ != TDataSetState::dsInactive) throw EDatabaseError(msg::kDataSetOpen);
}

void TDataSet::SetActive(bool value) {
  if (Active() == value) return;
  if (value) {
    DoBeforeOpen();
    try {
      OpenCursor();
    } catch (...) {
      SetState(TDataSetState::dsInactive);
      CloseCursor();
      throw;
    }
    SetState(TDataSetState::dsBrowse);
    DoAfterOpen();
    if (!IsEmpty()) DoAfterScroll();
  } else {
    if (!Destroying()) DoBeforeClose();
    SetState(TDataSetState::dsInactive);
    CloseCursor();
    if (!Destroying()) DoAfterClose();
  }
}

void TDataSet::OpenCursor() {
  internalOpenComplete_ = false;
  InternalOpen();
  internalOpenComplete_ = true;
  UpdateBufferCount();
  bof_ = true;
}

void TDataSet::CloseCursor() {
  internalOpenComplete_ = false;
  ClearBuffers();
  SetBufListSize(0);
  bufferCount_ = 0;
  InternalClose();
}

void TDataSet::SetState(TDataSetState value) {
  if (state_ == value) return;
  state_ = value;
  modified_ = false;
  DataEvent(TDataEvent::deUpdateState, 0);
}

void TDataSet::SetBookmarkSize(int size) {
  if (size < 0 || size > TBookmark::kMaxSize) throw EDatabaseError(msg::kBookmarkTooLarge);
  bookmarkSize_ = size;
}

// --- Fields ---------------------------------------------------------------------------------

void TDataSet::AddField(TField* field) {
  fields_.list_.push_back(field);
}

void TDataSet::RemoveField(TField* field) {
  auto& l = fields_.list_;
  l.erase(std::remove(l.begin(), l.end(), field), l.end());
  if (!Destroying() && Active()) DataEvent(TDataEvent::deLayoutChange, 0);
}

TField* TDataSet::FieldByName(std::u16string_view name) const {
  TField* f = FindField(name);
  if (!f) throw EDatabaseError(rt::Format(msg::kFieldNotFound, {name}));
  return f;
}

// Numbers the fields: data fields take the FieldNo of their definition, calculated and lookup
// fields take a slot in the calculated area, and blob fields count among the blobs.
void TDataSet::BindFields(bool binding) {
  calcFieldsSize_ = 0;
  blobFieldCount_ = 0;
  for (TField* f : fields_.list_) {
    if (!binding) {
      f->fieldNo_ = 0;
      continue;
    }
    if (f->FieldKind() != TFieldKind::fkData) {
      f->fieldNo_ = -1;
      f->offset_ = calcFieldsSize_;
      calcFieldsSize_ += f->DataSize() + 1;
    } else {
      TFieldDef* def = fieldDefs_.Find(f->FieldName());
      if (!def) throw EDatabaseError(rt::Format(msg::kFieldNotFound, {f->FieldName()}));
      if (def->DataType() != f->DataType())
        throw EDatabaseError(rt::Format(msg::kFieldTypeMismatch, {f->FieldName()}));
      f->fieldNo_ = def->FieldNo();
      if (f->IsBlob()) {
        f->offset_ = blobFieldCount_;
        ++blobFieldCount_;
      }
    }
  }
}

void TDataSet::CheckRequiredFields() {
  for (TField* f : fields_.list_)
    if (f->Required() && !f->ReadOnly() && f->FieldKind() == TFieldKind::fkData && f->IsNull())
      throw EDatabaseError(rt::Format(msg::kFieldRequired, {f->FieldName()}));
}

void TDataSet::InternalPost() {
  CheckRequiredFields();
}

void TDataSet::ClearCalcFields(TRecordBuffer) {}

bool TDataSet::GetFieldData(const TField*, void*) {
  return false;
}

// The base's native forms: a date-time travels as milliseconds since 1 January 0001 and a
// fixed-point value as a double; every other type is its own native form.
void TDataSet::DataConvert(const TField* field, const void* source, void* dest, bool toNative) {
  constexpr double kMsPerDay = 86400000.0;
  constexpr double kDaysTo1899 = 693594.0;  // 0001-01-01 .. 1899-12-30
  switch (field->DataType()) {
    case TFieldType::ftDateTime: {
      double v;
      std::memcpy(&v, source, 8);
      v = toNative ? (v + kDaysTo1899) * kMsPerDay : v / kMsPerDay - kDaysTo1899;
      std::memcpy(dest, &v, 8);
      return;
    }
    case TFieldType::ftBCD: {
      if (toNative) {
        int64_t c;
        std::memcpy(&c, source, 8);
        double d = static_cast<double>(c) / 10000.0;
        std::memcpy(dest, &d, 8);
      } else {
        double d;
        std::memcpy(&d, source, 8);
        double scaled = std::round(d * 10000.0);
        // Out of the currency range (or not a number): no value can be kept, so it becomes 0.
        int64_t c =
            std::isfinite(scaled) && std::fabs(scaled) < 9.2e18 ? static_cast<int64_t>(scaled) : 0;
        std::memcpy(dest, &c, 8);
      }
      return;
    }
    default:
      std::memcpy(dest, source, static_cast<size_t>(field->DataSize()));
  }
}

std::unique_ptr<rt::TStream> TDataSet::CreateBlobStream(const TField*, TBlobStreamMode) {
  return nullptr;
}

bool TDataSet::GetCurrentRecord(TRecordBuffer) {
  return false;
}

bool TDataSet::StoredFieldValue(const TField*, TStoredValue&) {
  return false;
}

rt::Variant TDataSet::GetStateFieldValue(TDataSetState state, const TField* field) {
  if (field->FieldKind() != TFieldKind::fkData) return rt::Variant::Null();
  TDataSetState saved = state_;
  state_ = state;
  try {
    rt::Variant v = field->AsVariant();
    state_ = saved;
    return v;
  } catch (...) {
    state_ = saved;
    throw;
  }
}

void TDataSet::GetCalcFields(TRecordBuffer buffer) {
  if (calcFieldsSize_ == 0) return;
  TDataSetState saved = state_;
  state_ = TDataSetState::dsCalcFields;
  try {
    CalculateFields(buffer);
  } catch (...) {
    state_ = saved;
    throw;
  }
  state_ = saved;
}

void TDataSet::CalculateFields(TRecordBuffer buffer) {
  calcBuffer_ = buffer;
  ClearCalcFields(buffer);
  DoOnCalcFields();
}

// --- Events to the bound controls ---------------------------------------------------------------

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  if (event == TDataEvent::deFieldChange) {
    auto* field = reinterpret_cast<TField*>(info);
    if (field->FieldKind() == TFieldKind::fkData) {
      modified_ = true;
      if (state_ != TDataSetState::dsSetKey && calcFieldsSize_ != 0 && autoCalcFields_)
        CalculateFields(ActiveBuffer());
    }
  }
  if (disableCount_ == 0) {
    // A handler may attach or detach sources: those that leave are skipped.
    dataSources_.Notify([&](TDataSource* s) { s->DataEvent(event, info); });
  } else if ((event == TDataEvent::deUpdateState && state_ == TDataSetState::dsInactive) ||
             event == TDataEvent::deLayoutChange) {
    enableEvent_ = TDataEvent::deLayoutChange;
  }
  if (event == TDataEvent::deFieldChange) {
    auto* field = reinterpret_cast<TField*>(info);
    if (field->OnChange) field->OnChange(field);
  }
}

void TDataSet::DisableControls() {
  if (disableCount_ == 0) {
    disableState_ = state_;
    enableEvent_ = TDataEvent::deDataSetChange;
  }
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ != 0) return;
  if (disableState_ != state_) DataEvent(TDataEvent::deUpdateState, 0);
  if (disableState_ != TDataSetState::dsInactive && state_ != TDataSetState::dsInactive)
    DataEvent(enableEvent_, 0);
}

void TDataSet::AddDataSource(TDataSource* source) {
  dataSources_.Add(source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  dataSources_.Remove(source);
  UpdateBufferCount();
}

// --- The buffer window ------------------------------------------------------------------------

void TDataSet::SetBufListSize(int size) {
  // size buffers for the window plus the fetch buffer; 0 frees them all.
  size_t want = size > 0 ? static_cast<size_t>(size) + 1 : 0;
  while (buffers_.size() > want) {
    FreeRecordBuffer(buffers_.back());
    buffers_.pop_back();
  }
  buffers_.reserve(want);
  while (buffers_.size() < want) buffers_.push_back(AllocRecordBuffer());
}

void TDataSet::UpdateBufferCount() {
  // While this dataset is being destroyed its storage hooks are gone.
  if (Destroying() || !IsCursorOpen()) return;
  int max = 1;
  for (TDataSource* s : dataSources_)
    for (TDataLink* l : s->links_) max = std::max(max, l->bufferCount_);
  SetBufferCount(max);
}

void TDataSet::SetBufferCount(int value) {
  if (bufferCount_ == value) return;
  auto adjustFirst = [this](int delta) {
    if (delta == 0) return;
    for (TDataSource* s : dataSources_)
      for (TDataLink* l : s->links_)
        if (l->active_) l->firstRecord_ += delta;
  };
  if (bufferCount_ > value && recordCount_ > 0) {
    // Keep the records that the links and the active record still need at the front; the active
    // record must stay inside the smaller window.
    int delta = activeRecord_;
    for (TDataSource* s : dataSources_)
      for (TDataLink* l : s->links_)
        if (l->active_ && l->firstRecord_ < delta) delta = l->firstRecord_;
    delta = std::max({delta, activeRecord_ - value + 1, 0});
    int keep = std::min(value, recordCount_ - delta);
    for (int i = 0; i < keep; ++i) MoveBuffer(i + delta, i);
    activeRecord_ -= delta;
    recordCount_ = keep;
    CursorPosChanged();
    adjustFirst(-delta);
  }
  // Growing appends free buffers after the fetch buffer; shrinking drops buffers that the moves
  // above left past the end of the window.
  SetBufListSize(value);
  bufferCount_ = value;
  GetNextRecords();
  adjustFirst(GetPriorRecords());
}

void TDataSet::ClearBuffers() {
  recordCount_ = 0;
  activeRecord_ = 0;
  currentRecord_ = -1;
  bof_ = true;
  eof_ = true;
}

void TDataSet::ActivateBuffers() {
  recordCount_ = 1;
  activeRecord_ = 0;
  currentRecord_ = 0;
  bof_ = false;
  eof_ = false;
}

void TDataSet::MoveBuffer(int from, int to) {
  if (from == to) return;
  TRecordBuffer b = buffers_[static_cast<size_t>(from)];
  if (from < to)
    std::move(buffers_.begin() + from + 1, buffers_.begin() + to + 1, buffers_.begin() + from);
  else
    std::move_backward(buffers_.begin() + to, buffers_.begin() + from, buffers_.begin() + from + 1);
  buffers_[static_cast<size_t>(to)] = b;
}

void TDataSet::SetCurrentRecord(int index) {
  if (currentRecord_ == index) return;
  TRecordBuffer b = buffers_[static_cast<size_t>(index)];
  switch (GetBookmarkFlag(b)) {
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted:
      InternalSetToRecord(b);
      break;
    case TBookmarkFlag::bfBOF:
      InternalFirst();
      break;
    case TBookmarkFlag::bfEOF:
      InternalLast();
      break;
  }
  currentRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (recordCount_ > 0) SetCurrentRecord(activeRecord_);
}

bool TDataSet::GetNextRecord() {
  TGetMode mode = TGetMode::gmNext;
  if (recordCount_ > 0) {
    SetCurrentRecord(recordCount_ - 1);
    if (state_ == TDataSetState::dsInsert && currentRecord_ == activeRecord_ &&
        GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfCurrent)
      mode = TGetMode::gmCurrent;
  }
  if (GetRecord(buffers_[static_cast<size_t>(recordCount_)], mode, true) != TGetResult::grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0)
    ActivateBuffers();
  else if (recordCount_ < bufferCount_)
    ++recordCount_;
  else
    MoveBuffer(0, recordCount_);
  currentRecord_ = recordCount_ - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (recordCount_ > 0) SetCurrentRecord(0);
  if (GetRecord(buffers_[static_cast<size_t>(recordCount_)], TGetMode::gmPrior, true) !=
      TGetResult::grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(recordCount_, 0);
    if (recordCount_ < bufferCount_) {
      ++recordCount_;
      ++activeRecord_;
    }
  }
  currentRecord_ = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int n = 0;
  while (recordCount_ < bufferCount_ && GetNextRecord()) ++n;
  return n;
}

int TDataSet::GetPriorRecords() {
  int n = 0;
  while (recordCount_ < bufferCount_ && GetPriorRecord()) ++n;
  return n;
}

void TDataSet::Resync(uint8_t mode) {
  TRecordBuffer fetch = buffers_[static_cast<size_t>(recordCount_)];
  if (mode & rmExact) {
    CursorPosChanged();
    if (GetRecord(fetch, TGetMode::gmCurrent, true) != TGetResult::grOK)
      throw EDatabaseError(msg::kRecordNotFound);
  } else if (GetRecord(fetch, TGetMode::gmCurrent, false) != TGetResult::grOK &&
             GetRecord(fetch, TGetMode::gmNext, false) != TGetResult::grOK &&
             GetRecord(fetch, TGetMode::gmPrior, false) != TGetResult::grOK) {
    ClearBuffers();
    DataEvent(TDataEvent::deDataSetChange, 0);
    return;
  }
  int count = (mode & rmCenter) ? (bufferCount_ - 1) / 2 : activeRecord_;
  MoveBuffer(recordCount_, 0);
  ActivateBuffers();
  try {
    while (count > 0 && GetPriorRecord()) --count;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(TDataEvent::deDataSetChange, 0);
    throw;
  }
  DataEvent(TDataEvent::deDataSetChange, 0);
}

// --- Navigation ---------------------------------------------------------------------------------

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(TDataEvent::deCheckBrowseMode, 0);
  switch (state_) {
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
      UpdateRecord();
      if (modified_)
        Post();
      else
        Cancel();
      break;
    case TDataSetState::dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::UpdateRecord() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert &&
      state_ != TDataSetState::dsSetKey)
    throw EDatabaseError(msg::kNotEditing);
  DataEvent(TDataEvent::deUpdateRecord, 0);
}

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  try {
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  } catch (...) {
    bof_ = true;
    DataEvent(TDataEvent::deDataSetChange, 0);
    throw;
  }
  bof_ = true;
  DataEvent(TDataEvent::deDataSetChange, 0);
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  try {
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  } catch (...) {
    eof_ = true;
    DataEvent(TDataEvent::deDataSetChange, 0);
    throw;
  }
  eof_ = true;
  DataEvent(TDataEvent::deDataSetChange, 0);
  DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  int result = 0;
  DoBeforeScroll();
  if (!((distance > 0 && !eof_) || (distance < 0 && !bof_))) return 0;
  bof_ = false;
  eof_ = false;
  int scroll = 0;
  auto finish = [&] { DataEvent(TDataEvent::deDataSetScroll, scroll); };
  try {
    while (distance > 0) {
      if (activeRecord_ < recordCount_ - 1) {
        ++activeRecord_;
      } else {
        int shift = recordCount_ < bufferCount_ ? 0 : 1;
        if (!GetNextRecord()) {
          eof_ = true;
          break;
        }
        scroll -= shift;
        // The window grew (or rotated) and the new record is the last one.
        activeRecord_ = recordCount_ - 1;
      }
      --distance;
      ++result;
    }
    while (distance < 0) {
      if (activeRecord_ > 0) {
        --activeRecord_;
      } else {
        int shift = recordCount_ < bufferCount_ ? 0 : 1;
        if (!GetPriorRecord()) {
          bof_ = true;
          break;
        }
        scroll += shift;
        activeRecord_ = 0;
      }
      ++distance;
      --result;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  DoAfterScroll();
  return result;
}

// --- Editing ------------------------------------------------------------------------------------

void TDataSet::CheckOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError) {
  for (;;) {
    try {
      UpdateCursorPos();
      (this->*operation)();
      return;
    } catch (EDatabaseError& e) {
      TDataAction action = TDataAction::daFail;
      if (onError) onError(this, e, action);
      if (action == TDataAction::daFail) throw;
      if (action == TDataAction::daAbort) throw rt::EAbort();
      // daRetry: try again
    }
  }
}

void TDataSet::InitRecord(TRecordBuffer buffer) {
  InternalInitRecord(buffer);
  ClearCalcFields(buffer);
  SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
}

void TDataSet::Edit() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  if (recordCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  if (!CanModify()) throw EDatabaseError(msg::kDataSetReadOnly);
  DoBeforeEdit();
  CheckOperation(&TDataSet::CallInternalEdit, OnEditError);
  try {
    GetCalcFields(ActiveBuffer());
  } catch (...) {
    // The record was already copied for editing: the refused edit must not leave the window on
    // that copy, or a later edit would copy the copy and its post would store nothing.
    InternalCancel();
    Resync(rmNone);
    throw;
  }
  SetState(TDataSetState::dsEdit);
  DataEvent(TDataEvent::deRecordChange, 0);
  DoAfterEdit();
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  if (!CanModify()) throw EDatabaseError(msg::kDataSetReadOnly);
  DoBeforeInsert();
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(TDataSetState::dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    SetState(TDataSetState::dsBrowse);
    Resync(rmNone);
    throw;
  }
  modified_ = false;
  DataEvent(TDataEvent::deDataSetChange, 0);
  DoAfterInsert();
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark old = GetBookmark();
  MoveBuffer(recordCount_, activeRecord_);
  TRecordBuffer b = ActiveBuffer();
  InitRecord(b);
  if (recordCount_ == 0)
    SetBookmarkFlag(b, TBookmarkFlag::bfBOF);
  else
    SetBookmarkData(b, old.IsNull() ? nullptr : old.Data());
  if (recordCount_ < bufferCount_) ++recordCount_;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer b = buffers_[0];
  InitRecord(b);
  SetBookmarkFlag(b, TBookmarkFlag::bfEOF);
  recordCount_ = 1;
  bof_ = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Post() {
  UpdateRecord();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  DataEvent(TDataEvent::deCheckBrowseMode, 0);
  DoBeforePost();
  CheckOperation(&TDataSet::CallInternalPost, OnPostError);
  SetState(TDataSetState::dsBrowse);
  Resync(rmNone);
  DoAfterPost();
}

void TDataSet::Cancel() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  DataEvent(TDataEvent::deCheckBrowseMode, 0);
  DoBeforeCancel();
  bool scrolls = state_ == TDataSetState::dsInsert;
  if (scrolls) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  SetState(TDataSetState::dsBrowse);
  Resync(rmNone);
  DoAfterCancel();
  if (scrolls) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsSetKey) {
    Cancel();
    return;
  }
  if (recordCount_ == 0) throw EDatabaseError(msg::kDataSetEmpty);
  DataEvent(TDataEvent::deCheckBrowseMode, 0);
  DoBeforeDelete();
  DoBeforeScroll();
  CheckOperation(&TDataSet::CallInternalDelete, OnDeleteError);
  SetState(TDataSetState::dsBrowse);
  Resync(rmNone);
  DoAfterDelete();
  DoAfterScroll();
}

void TDataSet::Refresh() {
  DoBeforeRefresh();
  CheckBrowseMode();
  UpdateCursorPos();
  try {
    InternalRefresh();
  } catch (...) {
    Resync(rmNone);
    throw;
  }
  Resync(rmNone);
  DoAfterRefresh();
}

// --- Bookmarks ----------------------------------------------------------------------------------

TBookmark TDataSet::GetBookmark() {
  TBookmark b;
  bool available = (state_ == TDataSetState::dsBrowse || state_ == TDataSetState::dsEdit ||
                    state_ == TDataSetState::dsInsert) &&
                   !IsEmpty() && GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfCurrent;
  if (available) {
    std::array<char, TBookmark::kMaxSize> data{};
    GetBookmarkData(ActiveBuffer(), data.data());
    b.Assign(data.data(), bookmarkSize_);
  }
  return b;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.IsNull()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(bookmark.Data());
  Resync(rmExact | rmCenter);
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark&) {
  return false;
}

}  // namespace db
