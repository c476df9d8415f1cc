// Field objects: one typed column of a dataset, seen through its current record. Each class knows
// its native buffer (what it hands the dataset and gets back) and converts it to and from variants.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "db/DBTypes.h"
#include "runtime/Component.h"
#include "runtime/Variant.h"

namespace db {

class TDataSet;

// A value as a storage holds it, seen in place: its type code (varNull for none) and payload. A
// text points into the storage (or into the value it was prepared from) and is valid until that
// changes.
struct TStoredValue {
  uint16_t type = rt::varNull;
  int64_t integer = 0;  // whole-number kinds, boolean (0 or 1) and currency
  double real = 0;      // floating kinds and dates
  std::string_view text;
};

class TField : public rt::TComponent {
 public:
  RT_CLASS_NAME(TField)
  TField(rt::TComponent* owner, TFieldType type);
  ~TField() override;

  const std::u16string& FieldName() const { return fieldName_; }
  void SetFieldName(std::u16string name);
  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind);
  // A calculated field is one of kind fkCalculated; setting false makes it a data field again.
  bool Calculated() const { return fieldKind_ == TFieldKind::fkCalculated; }
  void SetCalculated(bool value);

  // Attaches the field to a dataset (detaching it from the previous one). Both must be closed.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  // Position in the dataset's field list; -1 when unattached.
  int Index() const;

  // Numbering given by the dataset when it binds its fields (see TDataSet::BindFields).
  int FieldNo() const { return fieldNo_; }
  int Offset() const { return offset_; }
  int Size() const { return size_; }
  void SetSize(int size);
  // Bytes of the native buffer that GetData fills and SetData reads.
  virtual int DataSize() const { return 0; }
  virtual bool IsBlob() const { return false; }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool Required() const { return required_; }
  void SetRequired(bool value) { required_ = value; }
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
  void SetDisplayWidth(int value) { displayWidth_ = value; }
  // Whether a bound control may start changing this field.
  bool CanModify() const;

  bool IsNull() const { return !GetData(nullptr); }
  virtual rt::Variant AsVariant() const = 0;
  // Null (or empty) clears the field; anything else is converted to the field's kind.
  void SetAsVariant(const rt::Variant& value);
  virtual std::string AsString() const;  // 8-bit text; a null field gives empty text
  virtual void SetAsString(const std::string& value);
  virtual int32_t AsInteger() const;  // a null field gives 0
  virtual void SetAsInteger(int32_t value);
  virtual double AsFloat() const;
  virtual void SetAsFloat(double value);
  virtual bool AsBoolean() const;
  virtual void SetAsBoolean(bool value);
  // The value before the pending edit began (the stored value); null for calculated fields.
  rt::Variant OldValue() const;
  // Writes no value: the field becomes null.
  virtual void Clear() { SetData(nullptr); }

  // What SetAsVariant(value) would hand the dataset for a value that is not null, checked and
  // cut exactly as the assignment checks and cuts it, raising what it raises, without touching a
  // record: a storage that builds records itself (a loader's direct appends) stores this. The
  // answer's kind is the field's stored kind; a text points into `value` or into `scratch`.
  // Only fields for which CanPrepareValue answers true implement it.
  virtual bool CanPrepareValue() const { return false; }
  virtual void PrepareValue(const rt::Variant& value, TStoredValue& out,
                            std::string& scratch) const;

  // The native transfer. A null buffer in GetData asks only whether a value is present. Fields
  // whose own format differs from the dataset's pass nativeFormat false and the dataset converts.
  bool GetData(void* buffer, bool nativeFormat = true) const;
  void SetData(const void* buffer, bool nativeFormat = true);

  // Fired after the field's value changed in the record, once the bound controls were told.
  std::function<void(TField*)> OnChange;

 protected:
  virtual void SetVarValue(const rt::Variant& value) = 0;
  virtual int DefaultDisplayWidth() const { return 10; }
  [[noreturn]] void AccessError(std::u16string_view typeName) const;
  [[noreturn]] void RangeError(double value, double min, double max) const;
  TDataSet* CheckDataSet() const;

 private:
  friend class TDataSet;

  std::u16string fieldName_;
  TFieldType dataType_;
  TFieldKind fieldKind_ = TFieldKind::fkData;
  TDataSet* dataSet_ = nullptr;
  int fieldNo_ = 0;
  int offset_ = 0;
  int size_ = 0;
  int displayWidth_ = 0;
  bool readOnly_ = false;
  bool required_ = false;
};

// 8-bit text of a declared Size. An assigned text is cut to Size when Size is 8192 or less and
// kept whole above; the dataset never hands back more than Size characters.
class TStringField : public TField {
 public:
  RT_CLASS_NAME(TStringField)
  static constexpr int kMaxCutSize = 8192;
  explicit TStringField(rt::TComponent* owner, int size = 20);
  int DataSize() const override { return Size() + 1; }
  rt::Variant AsVariant() const override;
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  // Whole-number text as rt::StrToInt reads it; raises EConvertError otherwise.
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  bool CanPrepareValue() const override { return true; }
  void PrepareValue(const rt::Variant& value, TStoredValue& out,
                    std::string& scratch) const override;

 protected:
  void SetVarValue(const rt::Variant& value) override;
  int DefaultDisplayWidth() const override { return Size(); }

 private:
  // The text an assignment hands the dataset: up to its first zero byte (the dataset takes a
  // zero-terminated text), cut to Size when Size is kMaxCutSize or less.
  std::string_view AssignedText(std::string_view value) const;
};

// 16-bit text of a declared Size (in UTF-16 units).
class TWideStringField : public TField {
 public:
  RT_CLASS_NAME(TWideStringField)
  explicit TWideStringField(rt::TComponent* owner, int size = 20);
  int DataSize() const override { return 2 * (Size() + 1); }
  rt::Variant AsVariant() const override;
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  std::u16string AsWideString() const;
  void SetAsWideString(const std::u16string& value);

 protected:
  void SetVarValue(const rt::Variant& value) override;
  int DefaultDisplayWidth() const override { return Size(); }
};

// Signed 32-bit whole numbers. MinValue and MaxValue bound assignments only when one of them is
// non-zero; otherwise the kind's own range applies.
class TIntegerField : public TField {
 public:
  RT_CLASS_NAME(TIntegerField)
  explicit TIntegerField(rt::TComponent* owner) : TIntegerField(owner, TFieldType::ftInteger) {}
  int DataSize() const override { return 4; }
  int32_t MinValue() const { return minValue_; }
  int32_t MaxValue() const { return maxValue_; }
  void SetMinValue(int32_t v) { minValue_ = v; }
  void SetMaxValue(int32_t v) { maxValue_ = v; }

  rt::Variant AsVariant() const override;
  std::string AsString() const override;
  // Empty text clears the field; other text is read as rt::StrToInt reads it.
  void SetAsString(const std::string& value) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  double AsFloat() const override { return AsInteger(); }
  bool CanPrepareValue() const override { return true; }
  void PrepareValue(const rt::Variant& value, TStoredValue& out,
                    std::string& scratch) const override;

 protected:
  TIntegerField(rt::TComponent* owner, TFieldType type);
  void SetVarValue(const rt::Variant& value) override;
  int32_t minRange_ = INT32_MIN;
  int32_t maxRange_ = INT32_MAX;

 private:
  // The value as a 32-bit number, raising the range error when MinValue and MaxValue (or, when
  // both are 0, the kind's own range) refuse it.
  int32_t CheckRange(int64_t value) const;
  void Store(int32_t value);
  uint16_t VarType() const;

  int32_t minValue_ = 0;
  int32_t maxValue_ = 0;
};

class TSmallintField : public TIntegerField {
 public:
  RT_CLASS_NAME(TSmallintField)
  explicit TSmallintField(rt::TComponent* owner);
  int DataSize() const override { return 2; }
};

class TWordField : public TIntegerField {
 public:
  RT_CLASS_NAME(TWordField)
  explicit TWordField(rt::TComponent* owner);
  int DataSize() const override { return 2; }
};

class TLargeintField : public TField {
 public:
  RT_CLASS_NAME(TLargeintField)
  explicit TLargeintField(rt::TComponent* owner) : TField(owner, TFieldType::ftLargeint) {}
  int DataSize() const override { return 8; }
  rt::Variant AsVariant() const override;
  int64_t AsLargeInt() const;
  void SetAsLargeInt(int64_t value);
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override { SetAsLargeInt(value); }

 protected:
  void SetVarValue(const rt::Variant& value) override { SetAsLargeInt(value.AsInt64()); }
  int DefaultDisplayWidth() const override { return 15; }
};

// Native value: 16 bits, non-zero meaning true.
class TBooleanField : public TField {
 public:
  RT_CLASS_NAME(TBooleanField)
  explicit TBooleanField(rt::TComponent* owner) : TField(owner, TFieldType::ftBoolean) {}
  int DataSize() const override { return 2; }
  rt::Variant AsVariant() const override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;

 protected:
  void SetVarValue(const rt::Variant& value) override { SetAsBoolean(value.AsBoolean()); }
  int DefaultDisplayWidth() const override { return 5; }
};

// Native value: a 64-bit double. The currency field is the same number shown as money.
class TFloatField : public TField {
 public:
  RT_CLASS_NAME(TFloatField)
  explicit TFloatField(rt::TComponent* owner) : TFloatField(owner, TFieldType::ftFloat) {}
  int DataSize() const override { return 8; }
  rt::Variant AsVariant() const override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;

 protected:
  TFloatField(rt::TComponent* owner, TFieldType type) : TField(owner, type) {}
  void SetVarValue(const rt::Variant& value) override { SetAsFloat(value.AsDouble()); }
};

class TCurrencyField : public TFloatField {
 public:
  RT_CLASS_NAME(TCurrencyField)
  explicit TCurrencyField(rt::TComponent* owner) : TFloatField(owner, TFieldType::ftCurrency) {}
};

// Fixed-point values held as currency (ten-thousandths). The dataset's native form is converted
// through TDataSet::DataConvert.
class TBCDField : public TField {
 public:
  RT_CLASS_NAME(TBCDField)
  explicit TBCDField(rt::TComponent* owner) : TField(owner, TFieldType::ftBCD) {}
  int DataSize() const override { return 8; }
  rt::Variant AsVariant() const override;
  int64_t AsCurrency() const;  // ten-thousandths
  void SetAsCurrency(int64_t tenThousandths);

 protected:
  void SetVarValue(const rt::Variant& value) override { SetAsCurrency(value.AsCurrency()); }
};

// Date and time as days since 30 December 1899. The dataset's native form is converted through
// TDataSet::DataConvert.
class TDateTimeField : public TField {
 public:
  RT_CLASS_NAME(TDateTimeField)
  explicit TDateTimeField(rt::TComponent* owner) : TField(owner, TFieldType::ftDateTime) {}
  int DataSize() const override { return 8; }
  rt::Variant AsVariant() const override;
  double AsDateTime() const;
  void SetAsDateTime(double days);
  double AsFloat() const override { return AsDateTime(); }

 protected:
  void SetVarValue(const rt::Variant& value) override { SetAsDateTime(value.AsDouble()); }
  int DefaultDisplayWidth() const override { return 19; }
};

// Values kept outside the record and reached through the dataset's blob streams.
class TBlobField : public TField {
 public:
  RT_CLASS_NAME(TBlobField)
  explicit TBlobField(rt::TComponent* owner) : TBlobField(owner, TFieldType::ftBlob) {}
  TBlobField(rt::TComponent* owner, TFieldType type);
  bool IsBlob() const override { return true; }
  rt::Variant AsVariant() const override;
  // The content, one character per byte.
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  // Empties the content; the field then holds an empty value, which is not null.
  void Clear() override;

 protected:
  void SetVarValue(const rt::Variant& value) override { SetAsString(value.AsString()); }
};

class TMemoField : public TBlobField {
 public:
  RT_CLASS_NAME(TMemoField)
  explicit TMemoField(rt::TComponent* owner) : TBlobField(owner, TFieldType::ftMemo) {}
};

}  // namespace db
