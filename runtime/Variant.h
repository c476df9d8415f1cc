// A tagged value: null (or empty), or one number, boolean, date or text labelled with its 16-bit
// type code. Records, fields and the sheet stream all move values in this one shape.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace rt {

// Type codes: the OLE Automation numbers, plus 256 for 8-bit text and 258 for UTF-16 text.
enum VarType : uint16_t {
  varEmpty = 0,
  varNull = 1,
  varSmallint = 2,
  varInteger = 3,
  varSingle = 4,
  varDouble = 5,
  varCurrency = 6,  // 64-bit count of ten-thousandths
  varDate = 7,      // days since 30 December 1899, the fraction being the time of day
  varBoolean = 11,
  varUnknown = 13,  // a value with no storage kind of its own
  varShortInt = 16,
  varByte = 17,
  varWord = 18,
  varInt64 = 20,
  varString = 256,  // 8-bit text in the system code page
  varUString = 258,
  varArray = 8192,
};

// The readable name of a code, for messages ("Integer", "String", ...).
std::u16string_view VarTypeName(uint16_t type);

class Variant {
 public:
  Variant() noexcept : type_(varEmpty) { num_.i = 0; }
  Variant(int32_t v) noexcept : type_(varInteger) { num_.i = v; }                       // NOLINT
  Variant(int64_t v) noexcept : type_(varInt64) { num_.i = v; }                         // NOLINT
  Variant(double v) noexcept : type_(varDouble) { num_.d = v; }                         // NOLINT
  Variant(bool v) noexcept : type_(varBoolean) { num_.i = v ? 1 : 0; }                  // NOLINT
  Variant(std::string v) : type_(varString) { new (&str_) std::string(std::move(v)); }  // NOLINT
  Variant(const char* v) : Variant(std::string(v)) {}                                   // NOLINT
  Variant(std::u16string v) : type_(varUString) {                                       // NOLINT
    new (&ustr_) std::u16string(std::move(v));
  }
  Variant(const char16_t* v) : Variant(std::u16string(v)) {}  // NOLINT

  static Variant Null() noexcept {
    Variant v;
    v.type_ = varNull;
    return v;
  }
  // A whole-number kind (2, 3, 11, 16, 17, 18, 20) or currency (6, raw ten-thousandths); the value
  // is narrowed to the kind's width. Any other code raises EVariantError.
  static Variant OfInteger(uint16_t type, int64_t value);
  // A floating kind: 4, 5 or 7. Any other code raises EVariantError.
  static Variant OfFloat(uint16_t type, double value);
  static Variant Currency(int64_t tenThousandths) { return OfInteger(varCurrency, tenThousandths); }
  static Variant Date(double days) { return OfFloat(varDate, days); }
  // A present value of a kind without storage (13, 8192, unknown codes): it carries only its tag.
  static Variant Tagged(uint16_t type) noexcept;

  // Copies and moves are inline: records copy many numbers, which must not cost a call each.
  Variant(const Variant& o) : type_(varEmpty) { CopyFrom(o); }
  Variant(Variant&& o) noexcept : type_(varEmpty) { MoveFrom(o); }
  Variant& operator=(const Variant& o) {
    if (this == &o) return *this;
    if (!HasText() && !o.HasText()) {
      type_ = o.type_;
      num_ = o.num_;
    } else if (type_ == varString && o.type_ == varString) {
      str_ = o.str_;  // reuses the buffer
    } else {
      Reset();
      CopyFrom(o);
    }
    return *this;
  }
  Variant& operator=(Variant&& o) noexcept {
    if (this == &o) return *this;
    Reset();
    MoveFrom(o);
    return *this;
  }
  ~Variant() { Reset(); }

  uint16_t Type() const noexcept { return type_; }
  // Null and empty both hold no value.
  bool IsNull() const noexcept { return type_ == varNull || type_ == varEmpty; }
  bool IsEmpty() const noexcept { return type_ == varEmpty; }

  // Conversions; each raises EVariantError when the value cannot become the requested kind
  // (null included) or does not fit it.
  int64_t AsInt64() const;
  int32_t AsInt32() const;
  double AsDouble() const;
  bool AsBoolean() const;
  int64_t AsCurrency() const;    // ten-thousandths
  std::string AsString() const;  // null gives empty text, as text conversions of null do
  std::u16string AsUString() const;

  // Makes this an 8-bit text value, reusing the text's storage when it already is one.
  void AssignString(const char* text, size_t length);
  // Makes this an 8-bit text value (empty unless it already was text) and answers the text, to be
  // filled in place: a reader that fills it again and again allocates only when it grows.
  std::string& TextBuffer();

  // The same value as another kind; null stays null.
  Variant ChangeType(uint16_t type) const;

  // Raw access for callers that have checked the type.
  int64_t RawInt() const noexcept { return num_.i; }
  double RawDouble() const noexcept { return num_.d; }
  const std::string& RawString() const noexcept { return str_; }
  const std::u16string& RawUString() const noexcept { return ustr_; }

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  bool HasText() const noexcept { return type_ == varString || type_ == varUString; }
  void Reset() noexcept {
    if (HasText()) DestroyText();
    type_ = varEmpty;
    num_.i = 0;
  }
  void DestroyText() noexcept;
  void CopyFrom(const Variant& o) {
    if (o.HasText())
      CopyText(o);
    else
      num_ = o.num_;
    type_ = o.type_;
  }
  void CopyText(const Variant& o);
  void MoveFrom(Variant& o) noexcept {
    if (o.HasText())
      MoveText(o);
    else
      num_ = o.num_;
    type_ = o.type_;
    o.Reset();
  }
  void MoveText(Variant& o) noexcept;
  [[noreturn]] void FailConvert(uint16_t to) const;
  [[noreturn]] void FailOverflow(uint16_t to) const;
  bool IsIntegerKind() const noexcept;

  union Number {
    int64_t i;
    double d;
  };

  uint16_t type_;
  union {
    Number num_;
    std::string str_;
    std::u16string ustr_;
  };
};

}  // namespace rt
