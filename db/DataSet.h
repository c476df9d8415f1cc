// The dataset base: states, the window of record buffers that data links look through,
// navigation, the edit/insert/post/cancel/delete protocol with its events, bookmarks, fields and
// calculated fields. Storage lives in a subclass, reached only through the virtual hooks below.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/DBTypes.h"
#include "db/Field.h"
#include "db/FieldDefs.h"
#include "runtime/Component.h"
#include "runtime/ListenerList.h"
#include "runtime/Stream.h"
#include "runtime/Variant.h"

namespace db {

class TDataSource;
class TDataLink;
class TDataSet;

// A record buffer: storage-defined bytes (GetRecordSize of them) describing which record it shows.
using TRecordBuffer = char*;

// A bookmark: a small value holding the storage's bookmark bytes; empty when none was available.
class TBookmark {
 public:
  static constexpr int kMaxSize = 16;
  TBookmark() = default;
  bool IsNull() const { return size_ == 0; }
  int Size() const { return size_; }
  const char* Data() const { return data_.data(); }
  char* Data() { return data_.data(); }
  void Assign(const void* data, int size);
  void Clear() { size_ = 0; }
  friend bool operator==(const TBookmark& a, const TBookmark& b) {
    return a.size_ == b.size_ && std::memcmp(a.data_.data(), b.data_.data(), a.size_) == 0;
  }

 private:
  uint8_t size_ = 0;
  std::array<char, kMaxSize> data_{};
};

using TDataSetNotifyEvent = std::function<void(TDataSet*)>;
using TDataSetErrorEvent = std::function<void(TDataSet*, EDatabaseError&, TDataAction&)>;

// A dataset's fields in declaration (attachment) order.
class TFields {
 public:
  int Count() const { return static_cast<int>(list_.size()); }
  TField* Fields(int index) const { return list_[static_cast<size_t>(index)]; }
  TField* operator[](int index) const { return Fields(index); }
  int IndexOf(const TField* field) const;
  // By field name, ignoring ASCII case; null when absent.
  TField* FindField(std::u16string_view name) const;
  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

 private:
  friend class TDataSet;
  std::vector<TField*> list_;
};

class TDataSet : public rt::TComponent {
 public:
  RT_CLASS_NAME(TDataSet)
  explicit TDataSet(rt::TComponent* owner);
  ~TDataSet() override;

  // --- State and navigation -----------------------------------------------------------------
  TDataSetState State() const { return state_; }
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // True when the buffer window holds no record.
  bool IsEmpty() const { return activeRecord_ >= recordCount_; }
  bool Modified() const { return modified_; }
  int RecordCount() {
    CheckActive();
    return GetRecordCount();
  }
  int RecNo() { return GetRecNo(); }
  void SetRecNo(int value) { SetRecNoHook(value); }

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);

  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  void Refresh();
  // Settles a pending edit or insert: posted when modified, cancelled otherwise.
  void CheckBrowseMode();
  // Asks the bound controls to write their pending text into the fields.
  void UpdateRecord();
  void CheckActive() const;
  void CheckInactive() const;
  bool CanModify() const { return GetCanModify(); }

  // --- Bookmarks ----------------------------------------------------------------------------
  TBookmark GetBookmark();
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark.Clear(); }
  virtual bool BookmarkValid(const TBookmark& bookmark);
  int BookmarkSize() const { return bookmarkSize_; }

  // --- Bound controls -----------------------------------------------------------------------
  // Nested; while disabled no data link hears anything, and enabling sends one dataset change.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ != 0; }

  // --- Fields -------------------------------------------------------------------------------
  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(std::u16string_view name) const { return fields_.FindField(name); }
  // As FindField, raising "Field '<name>' not found" when absent.
  TField* FieldByName(std::u16string_view name) const;
  TFieldDefs& FieldDefs() { return fieldDefs_; }
  const TFieldDefs& FieldDefs() const { return fieldDefs_; }
  int CalcFieldsSize() const { return calcFieldsSize_; }
  int BlobFieldCount() const { return blobFieldCount_; }
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool value) { autoCalcFields_ = value; }

  // Field access hooks, used by the field classes.
  virtual bool GetFieldData(const TField* field, void* buffer);
  virtual void SetFieldData(const TField* field, const void* buffer) = 0;
  virtual void DataConvert(const TField* field, const void* source, void* dest, bool toNative);
  virtual std::unique_ptr<rt::TStream> CreateBlobStream(const TField* field, TBlobStreamMode mode);
  virtual bool GetCurrentRecord(TRecordBuffer buffer);
  // The value of a data field in the active record, read in place from the storage, when the
  // storage keeps it in exactly the kind that the field's AsVariant answers; false when it cannot
  // say so, and the caller asks the field. A writer that walks many records reads through it
  // without copying a value.
  virtual bool StoredFieldValue(const TField* field, TStoredValue& value);
  // A field's value as the dataset sees it in another state (dsOldValue for the stored value).
  rt::Variant GetStateFieldValue(TDataSetState state, const TField* field);

  // Tells the data sources (and through them the links) of an event; handles field changes.
  void DataEvent(TDataEvent event, intptr_t info);

  // --- The buffer window, for storage subclasses and data links --------------------------------
  TRecordBuffer ActiveBuffer() const { return buffers_[static_cast<size_t>(activeRecord_)]; }
  int ActiveRecord() const { return activeRecord_; }
  int BufferCount() const { return bufferCount_; }
  // Records currently held by the window (at most BufferCount).
  int WindowRecordCount() const { return recordCount_; }
  TRecordBuffer Buffer(int index) const { return buffers_[static_cast<size_t>(index)]; }
  TRecordBuffer CalcBuffer() const { return calcBuffer_; }

  // --- Events -------------------------------------------------------------------------------
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent BeforeScroll, AfterScroll, OnNewRecord, OnCalcFields;
  TDataSetErrorEvent OnEditError, OnPostError, OnDeleteError;

 protected:
  // --- Storage hooks ------------------------------------------------------------------------
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  virtual int GetRecordSize() = 0;
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  virtual void InternalGotoBookmark(const char* bookmark) = 0;
  virtual void GetBookmarkData(TRecordBuffer buffer, char* data) = 0;
  virtual void SetBookmarkData(TRecordBuffer buffer, const char* data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalPost();  // checks required fields
  virtual void InternalDelete() = 0;
  virtual void InternalCancel() {}
  virtual void InternalRefresh() {}
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalHandleException() {}
  virtual bool IsCursorOpen() = 0;
  virtual void ClearCalcFields(TRecordBuffer buffer);
  virtual int GetRecordCount() { return -1; }
  virtual int GetRecNo() { return -1; }
  virtual void SetRecNoHook(int) {}
  virtual bool GetCanModify() const { return true; }

  // --- Event steps; subclasses wrap them ----------------------------------------------------
  virtual void DoBeforeOpen() { Fire(BeforeOpen); }
  virtual void DoAfterOpen() { Fire(AfterOpen); }
  virtual void DoBeforeClose() { Fire(BeforeClose); }
  virtual void DoAfterClose() { Fire(AfterClose); }
  virtual void DoBeforeInsert() { Fire(BeforeInsert); }
  virtual void DoAfterInsert() { Fire(AfterInsert); }
  virtual void DoBeforeEdit() { Fire(BeforeEdit); }
  virtual void DoAfterEdit() { Fire(AfterEdit); }
  virtual void DoBeforePost() { Fire(BeforePost); }
  virtual void DoAfterPost() { Fire(AfterPost); }
  virtual void DoBeforeCancel() { Fire(BeforeCancel); }
  virtual void DoAfterCancel() { Fire(AfterCancel); }
  virtual void DoBeforeDelete() { Fire(BeforeDelete); }
  virtual void DoAfterDelete() { Fire(AfterDelete); }
  virtual void DoBeforeRefresh() { Fire(BeforeRefresh); }
  virtual void DoAfterRefresh() { Fire(AfterRefresh); }
  virtual void DoBeforeScroll() { Fire(BeforeScroll); }
  virtual void DoAfterScroll() { Fire(AfterScroll); }
  virtual void DoOnNewRecord() { Fire(OnNewRecord); }
  virtual void DoOnCalcFields() { Fire(OnCalcFields); }

  // --- Window machinery ---------------------------------------------------------------------
  void SetState(TDataSetState value);
  void SetBookmarkSize(int size);
  void BindFields(bool binding);
  void CheckRequiredFields();
  void Resync(uint8_t mode);
  void UpdateCursorPos();
  void CursorPosChanged() { currentRecord_ = -1; }
  int GetNextRecords();
  int GetPriorRecords();
  bool GetNextRecord();
  bool GetPriorRecord();
  void GetCalcFields(TRecordBuffer buffer);
  void CalculateFields(TRecordBuffer buffer);
  // Closes without the close events; a concrete dataset calls it from its destructor, because
  // the storage hooks are no longer reachable from this class's destructor.
  void CloseForDestruction();

 private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;

  void Fire(const TDataSetNotifyEvent& e) {
    if (e) e(this);
  }
  void OpenCursor();
  void CloseCursor();
  void ClearBuffers();
  void ActivateBuffers();
  void MoveBuffer(int from, int to);
  void SetCurrentRecord(int index);
  void SetBufListSize(int size);
  void SetBufferCount(int value);
  void UpdateBufferCount();
  void BeginInsertAppend();
  void EndInsertAppend();
  void InitRecord(TRecordBuffer buffer);
  void CheckOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError);
  void CallInternalEdit() { InternalEdit(); }
  void CallInternalPost() { InternalPost(); }
  void CallInternalDelete() { InternalDelete(); }
  void AddField(TField* field);
  void RemoveField(TField* field);
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);

  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<TRecordBuffer> buffers_;  // bufferCount_ + 1: the last one is the fetch buffer
  int bufferCount_ = 0;
  int recordCount_ = 0;
  int activeRecord_ = 0;
  int currentRecord_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  bool modified_ = false;
  bool autoCalcFields_ = true;
  bool internalOpenComplete_ = false;
  int bookmarkSize_ = 0;
  int disableCount_ = 0;
  TDataSetState disableState_ = TDataSetState::dsInactive;
  TDataEvent enableEvent_ = TDataEvent::deDataSetChange;
  int calcFieldsSize_ = 0;
  int blobFieldCount_ = 0;
  TRecordBuffer calcBuffer_ = nullptr;
  TFields fields_;
  TFieldDefs fieldDefs_;
  rt::ListenerList<TDataSource> dataSources_;
};

// Creates a field owned by `owner`, named as the dataset's name followed by the field name
// (DATAA1 + stamina = DATAA1stamina), and attaches it to the closed dataset:
//   auto* f = db::DeclareField<db::TIntegerField>(doc, DATAA1, u"stamina");
template <class F, class... Args>
F* DeclareField(rt::TComponent* owner, TDataSet* dataSet, const std::u16string& fieldName,
                Args&&... args) {
  auto* field = new F(owner, std::forward<Args>(args)...);
  try {
    field->SetName(dataSet->Name() + fieldName);
    field->SetFieldName(fieldName);
    field->SetDataSet(dataSet);
  } catch (...) {
    delete field;
    throw;
  }
  return field;
}

}  // namespace db
