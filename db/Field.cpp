// Field objects and their native buffers.
#include "db/Field.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "db/DataSet.h"
#include "runtime/CodePage.h"
#include "runtime/Numbers.h"

namespace db {

// --- TField -----------------------------------------------------------------------------------

TField::TField(rt::TComponent* owner, TFieldType type) : rt::TComponent(owner), dataType_(type) {}

TField::~TField() {
  if (dataSet_) dataSet_->RemoveField(this);
}

void TField::SetFieldName(std::u16string name) {
  if (dataSet_) {
    dataSet_->CheckInactive();
    TField* other = dataSet_->FindField(name);
    if (other && other != this) throw EDatabaseError(rt::Format(msg::kDuplicateFieldName, {name}));
  }
  fieldName_ = std::move(name);
}

void TField::SetFieldKind(TFieldKind kind) {
  if (dataSet_) dataSet_->CheckInactive();
  fieldKind_ = kind;
}

void TField::SetCalculated(bool value) {
  if (value)
    SetFieldKind(TFieldKind::fkCalculated);
  else if (fieldKind_ == TFieldKind::fkCalculated)
    SetFieldKind(TFieldKind::fkData);
}

void TField::SetSize(int size) {
  if (dataSet_) dataSet_->CheckInactive();
  size_ = size < 0 ? 0 : size;
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->CheckInactive();
  if (dataSet) {
    dataSet->CheckInactive();
    if (!fieldName_.empty() && dataSet->FindField(fieldName_))
      throw EDatabaseError(rt::Format(msg::kDuplicateFieldName, {fieldName_}));
  }
  if (dataSet_) dataSet_->RemoveField(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddField(this);
}

int TField::Index() const {
  return dataSet_ ? dataSet_->Fields().IndexOf(this) : -1;
}

bool TField::CanModify() const {
  return !readOnly_ && fieldKind_ == TFieldKind::fkData && dataSet_ && dataSet_->CanModify();
}

TDataSet* TField::CheckDataSet() const {
  if (!dataSet_) throw EDatabaseError(rt::Format(msg::kDataSetMissing, {fieldName_}));
  return dataSet_;
}

bool TField::GetData(void* buffer, bool nativeFormat) const {
  TDataSet* ds = CheckDataSet();
  if (nativeFormat || !buffer) return ds->GetFieldData(this, buffer);
  // Only 8-byte kinds travel in a non-native form.
  alignas(8) char native[16] = {};
  if (!ds->GetFieldData(this, native)) return false;
  ds->DataConvert(this, native, buffer, false);
  return true;
}

void TField::SetData(const void* buffer, bool nativeFormat) {
  TDataSet* ds = CheckDataSet();
  if (nativeFormat || !buffer) {
    ds->SetFieldData(this, buffer);
    return;
  }
  alignas(8) char native[16] = {};
  ds->DataConvert(this, buffer, native, true);
  ds->SetFieldData(this, native);
}

void TField::SetAsVariant(const rt::Variant& value) {
  if (value.IsNull())
    Clear();
  else
    SetVarValue(value);
}

std::string TField::AsString() const {
  rt::Variant v = AsVariant();
  return v.IsNull() ? std::string() : v.AsString();
}

void TField::SetAsString(const std::string& value) {
  SetVarValue(rt::Variant(value));
}

int32_t TField::AsInteger() const {
  rt::Variant v = AsVariant();
  return v.IsNull() ? 0 : v.AsInt32();
}

void TField::SetAsInteger(int32_t value) {
  SetVarValue(rt::Variant(value));
}

double TField::AsFloat() const {
  rt::Variant v = AsVariant();
  return v.IsNull() ? 0.0 : v.AsDouble();
}

void TField::SetAsFloat(double value) {
  SetVarValue(rt::Variant(value));
}

bool TField::AsBoolean() const {
  rt::Variant v = AsVariant();
  return v.IsNull() ? false : v.AsBoolean();
}

void TField::SetAsBoolean(bool value) {
  SetVarValue(rt::Variant(value));
}

void TField::PrepareValue(const rt::Variant&, TStoredValue&, std::string&) const {
  throw EDatabaseError(rt::Format(msg::kFieldAccessError, {fieldName_, u"prepared value"}));
}

rt::Variant TField::OldValue() const {
  return CheckDataSet()->GetStateFieldValue(TDataSetState::dsOldValue, this);
}

void TField::AccessError(std::u16string_view typeName) const {
  throw EDatabaseError(rt::Format(msg::kFieldAccessError, {fieldName_, typeName}));
}

void TField::RangeError(double value, double min, double max) const {
  throw EDatabaseError(rt::Format(msg::kFieldRangeError, {value, fieldName_, min, max}));
}

// --- Text fields ------------------------------------------------------------------------------

TStringField::TStringField(rt::TComponent* owner, int size) : TField(owner, TFieldType::ftString) {
  SetSize(size);
}

std::string TStringField::AsString() const {
  size_t n = static_cast<size_t>(DataSize());
  char small[256];
  std::vector<char> large;
  char* buf = small;
  if (n > sizeof small) {
    large.resize(n);
    buf = large.data();
  }
  if (!GetData(buf)) return {};
  return std::string(buf, strnlen(buf, n));
}

rt::Variant TStringField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsString());
}

namespace {

// The index of the first zero byte of a text (its size when there is none), eight bytes at a
// time: some C runtimes search byte by byte, and a load searches every text it assigns.
size_t FirstZero(std::string_view text) {
  constexpr uint64_t kLow = 0x0101010101010101u, kHigh = 0x8080808080808080u;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t v;
    std::memcpy(&v, text.data() + i, 8);
    if ((v - kLow) & ~v & kHigh) break;
  }
  while (i < text.size() && text[i] != '\0') ++i;
  return i;
}

}  // namespace

std::string_view TStringField::AssignedText(std::string_view value) const {
  size_t n = FirstZero(value);
  if (Size() <= kMaxCutSize) n = std::min(n, static_cast<size_t>(Size()));
  return value.substr(0, n);
}

void TStringField::SetAsString(const std::string& value) {
  std::string_view text = AssignedText(value);
  // The dataset reads up to a zero byte: the value itself when it ends there, else a copy.
  if (text.size() == value.size() || value[text.size()] == '\0')
    SetData(value.c_str());
  else
    SetData(std::string(text).c_str());
}

void TStringField::PrepareValue(const rt::Variant& value, TStoredValue& out,
                                std::string& scratch) const {
  std::string_view text;
  if (value.Type() == rt::varString) {
    text = value.RawString();
  } else {
    scratch = value.AsString();
    text = scratch;
  }
  out = TStoredValue{};
  out.type = rt::varString;
  out.text = AssignedText(text);
}

int32_t TStringField::AsInteger() const {
  return rt::StrToInt(AsString());
}

void TStringField::SetAsInteger(int32_t value) {
  SetAsString(rt::IntToStr(value));
}

void TStringField::SetVarValue(const rt::Variant& value) {
  // Text is taken as it stands; only other kinds need converting.
  if (value.Type() == rt::varString)
    SetAsString(value.RawString());
  else
    SetAsString(value.AsString());
}

TWideStringField::TWideStringField(rt::TComponent* owner, int size)
    : TField(owner, TFieldType::ftWideString) {
  SetSize(size);
}

std::u16string TWideStringField::AsWideString() const {
  size_t units = static_cast<size_t>(Size()) + 1;
  std::u16string buf(units, u'\0');
  if (!GetData(buf.data())) return {};
  size_t len = 0;
  while (len < units && buf[len] != u'\0') ++len;
  buf.resize(len);
  return buf;
}

void TWideStringField::SetAsWideString(const std::u16string& value) {
  auto size = static_cast<size_t>(Size());
  if (Size() <= TStringField::kMaxCutSize && value.size() > size)
    SetData(value.substr(0, size).c_str());
  else
    SetData(value.c_str());
}

rt::Variant TWideStringField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsWideString());
}

std::string TWideStringField::AsString() const {
  return rt::ToAnsi(AsWideString());
}

void TWideStringField::SetAsString(const std::string& value) {
  SetAsWideString(rt::FromAnsi(value));
}

void TWideStringField::SetVarValue(const rt::Variant& value) {
  SetAsWideString(value.AsUString());
}

// --- Whole numbers ----------------------------------------------------------------------------

TIntegerField::TIntegerField(rt::TComponent* owner, TFieldType type) : TField(owner, type) {}

TSmallintField::TSmallintField(rt::TComponent* owner)
    : TIntegerField(owner, TFieldType::ftSmallint) {
  minRange_ = INT16_MIN;
  maxRange_ = INT16_MAX;
}

TWordField::TWordField(rt::TComponent* owner) : TIntegerField(owner, TFieldType::ftWord) {
  minRange_ = 0;
  maxRange_ = UINT16_MAX;
}

int32_t TIntegerField::AsInteger() const {
  switch (DataType()) {
    case TFieldType::ftSmallint: {
      int16_t v = 0;
      return GetData(&v) ? v : 0;
    }
    case TFieldType::ftWord: {
      uint16_t v = 0;
      return GetData(&v) ? v : 0;
    }
    default: {
      int32_t v = 0;
      return GetData(&v) ? v : 0;
    }
  }
}

int32_t TIntegerField::CheckRange(int64_t value) const {
  // A value outside 32 bits is out of every range, and reported as the range error too.
  const bool bounded = minValue_ != 0 || maxValue_ != 0;
  const int32_t min = bounded ? minValue_ : minRange_;
  const int32_t max = bounded ? maxValue_ : maxRange_;
  if (value < min || value > max) RangeError(static_cast<double>(value), min, max);
  return static_cast<int32_t>(value);
}

void TIntegerField::SetAsInteger(int32_t value) {
  Store(CheckRange(value));
}

void TIntegerField::PrepareValue(const rt::Variant& value, TStoredValue& out, std::string&) const {
  const int32_t v = CheckRange(value.AsInt64());
  out = TStoredValue{};
  out.type = VarType();
  out.integer = v;
}

uint16_t TIntegerField::VarType() const {
  return DataType() == TFieldType::ftSmallint ? rt::varSmallint
         : DataType() == TFieldType::ftWord   ? rt::varWord
                                              : rt::varInteger;
}

void TIntegerField::Store(int32_t value) {
  switch (DataType()) {
    case TFieldType::ftSmallint: {
      auto v = static_cast<int16_t>(value);
      SetData(&v);
      break;
    }
    case TFieldType::ftWord: {
      auto v = static_cast<uint16_t>(value);
      SetData(&v);
      break;
    }
    default:
      SetData(&value);
  }
}

rt::Variant TIntegerField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant::OfInteger(VarType(), AsInteger());
}

std::string TIntegerField::AsString() const {
  if (IsNull()) return {};
  return rt::IntToStr(AsInteger());
}

void TIntegerField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  auto v = rt::TryStrToInt(value);
  if (!v) throw EDatabaseError(rt::Format(msg::kInvalidIntegerValue, {value, FieldName()}));
  SetAsInteger(*v);
}

void TIntegerField::SetVarValue(const rt::Variant& value) {
  Store(CheckRange(value.AsInt64()));
}

int64_t TLargeintField::AsLargeInt() const {
  int64_t v = 0;
  return GetData(&v) ? v : 0;
}

void TLargeintField::SetAsLargeInt(int64_t value) {
  SetData(&value);
}

int32_t TLargeintField::AsInteger() const {
  int64_t v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX) AccessError(u"Integer");
  return static_cast<int32_t>(v);
}

rt::Variant TLargeintField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsLargeInt());
}

// --- Other scalar kinds -----------------------------------------------------------------------

bool TBooleanField::AsBoolean() const {
  uint16_t v = 0;
  return GetData(&v) && v != 0;
}

void TBooleanField::SetAsBoolean(bool value) {
  uint16_t v = value ? 0xFFFF : 0;
  SetData(&v);
}

rt::Variant TBooleanField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsBoolean());
}

double TFloatField::AsFloat() const {
  double v = 0;
  return GetData(&v) ? v : 0.0;
}

void TFloatField::SetAsFloat(double value) {
  SetData(&value);
}

rt::Variant TFloatField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsFloat());
}

int64_t TBCDField::AsCurrency() const {
  int64_t v = 0;
  return GetData(&v, false) ? v : 0;
}

void TBCDField::SetAsCurrency(int64_t tenThousandths) {
  SetData(&tenThousandths, false);
}

rt::Variant TBCDField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant::Currency(AsCurrency());
}

double TDateTimeField::AsDateTime() const {
  double v = 0;
  return GetData(&v, false) ? v : 0.0;
}

void TDateTimeField::SetAsDateTime(double days) {
  SetData(&days, false);
}

rt::Variant TDateTimeField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant::Date(AsDateTime());
}

// --- Blobs ------------------------------------------------------------------------------------

TBlobField::TBlobField(rt::TComponent* owner, TFieldType type) : TField(owner, type) {}

std::string TBlobField::AsString() const {
  auto s = CheckDataSet()->CreateBlobStream(this, TBlobStreamMode::bmRead);
  if (!s) return {};
  int64_t size = s->GetSize();
  if (size <= 0 || size > 0x7FFFFFFF) return {};
  std::string out(static_cast<size_t>(size), '\0');
  int32_t n = s->Read(out.data(), static_cast<int32_t>(size));
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

void TBlobField::SetAsString(const std::string& value) {
  auto s = CheckDataSet()->CreateBlobStream(this, TBlobStreamMode::bmWrite);
  if (!s) return;
  if (value.size() > 0x7FFFFFFF) throw rt::EWriteError(u"Stream write error");
  if (!value.empty()) s->WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TBlobField::Clear() {
  CheckDataSet()->CreateBlobStream(this, TBlobStreamMode::bmWrite);
}

rt::Variant TBlobField::AsVariant() const {
  if (IsNull()) return rt::Variant::Null();
  return rt::Variant(AsString());
}

}  // namespace db
