// Variant storage and the conversions between its kinds.
#include "runtime/Variant.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "runtime/Numbers.h"

namespace rt {

std::u16string_view VarTypeName(uint16_t type) {
  switch (type) {
    case varEmpty:
      return u"Empty";
    case varNull:
      return u"Null";
    case varSmallint:
      return u"Smallint";
    case varInteger:
      return u"Integer";
    case varSingle:
      return u"Single";
    case varDouble:
      return u"Double";
    case varCurrency:
      return u"Currency";
    case varDate:
      return u"Date";
    case varBoolean:
      return u"Boolean";
    case varUnknown:
      return u"Unknown";
    case varShortInt:
      return u"ShortInt";
    case varByte:
      return u"Byte";
    case varWord:
      return u"Word";
    case varInt64:
      return u"Int64";
    case varString:
      return u"String";
    case varUString:
      return u"UnicodeString";
    case varArray:
      return u"Array";
    default:
      return u"Unknown";
  }
}

namespace {

bool IntegerCode(uint16_t t) {
  return t == varSmallint || t == varInteger || t == varShortInt || t == varByte || t == varWord ||
         t == varInt64;
}

bool FloatCode(uint16_t t) {
  return t == varSingle || t == varDouble || t == varDate;
}

// Range of each whole-number kind; the value must lie inside it to convert.
bool FitsInteger(uint16_t t, int64_t v) {
  switch (t) {
    case varSmallint:
      return v >= INT16_MIN && v <= INT16_MAX;
    case varInteger:
      return v >= INT32_MIN && v <= INT32_MAX;
    case varShortInt:
      return v >= INT8_MIN && v <= INT8_MAX;
    case varByte:
      return v >= 0 && v <= UINT8_MAX;
    case varWord:
      return v >= 0 && v <= UINT16_MAX;
    default:
      return true;
  }
}

int64_t Narrow(uint16_t t, int64_t v) {
  switch (t) {
    case varSmallint:
      return static_cast<int16_t>(v);
    case varInteger:
      return static_cast<int32_t>(v);
    case varShortInt:
      return static_cast<int8_t>(v);
    case varByte:
      return static_cast<uint8_t>(v);
    case varWord:
      return static_cast<uint16_t>(v);
    case varBoolean:
      return v != 0 ? 1 : 0;
    default:
      return v;
  }
}

// Rounds half to even, as the number conversions of variants do; nullopt when out of range.
std::optional<int64_t> RoundToInt64(double d) {
  if (!std::isfinite(d)) return std::nullopt;
  double r = std::nearbyint(d);
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return std::nullopt;
  return static_cast<int64_t>(r);
}

// Civil date from a day count (days since 1970-01-01), Howard Hinnant's algorithm.
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += (m <= 2);
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr int64_t kDays1899To1970 = 25569;

// A date value as "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"; the day count's sign follows the
// date-time convention, so -1.25 is 29 December 1899, 06:00.
std::string DateToText(double v) {
  if (!std::isfinite(v) || std::fabs(v) > 3e6) return FormatG(v);
  double whole = std::trunc(v);
  double frac = std::fabs(v - whole);
  int64_t y;
  unsigned m, d;
  CivilFromDays(static_cast<int64_t>(whole) - kDays1899To1970, y, m, d);
  char buf[48];
  auto secs = static_cast<int64_t>(std::llround(frac * 86400.0));
  if (secs >= 86400) secs = 86399;
  if (secs == 0)
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
  else
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<long long>(y), m, d, static_cast<long long>(secs / 3600),
                  static_cast<long long>(secs / 60 % 60), static_cast<long long>(secs % 60));
  return buf;
}

std::optional<double> TextToDate(std::string_view s) {
  unsigned y, m, d, hh = 0, mm = 0, ss = 0;
  char tail;
  std::string z(s);
  int n = std::sscanf(z.c_str(), "%4u-%2u-%2u %2u:%2u:%2u%c", &y, &m, &d, &hh, &mm, &ss, &tail);
  if (n == 3 || n == 6) {
    if (m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59) return std::nullopt;
    double days = static_cast<double>(DaysFromCivil(y, m, d) + kDays1899To1970);
    double t = (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
    return days < 0 ? days - t : days + t;
  }
  return TryStrToFloat(s);
}

bool SameTextAsciiBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? char(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? char(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

Variant Variant::OfInteger(uint16_t type, int64_t value) {
  if (!IntegerCode(type) && type != varBoolean && type != varCurrency)
    throw EVariantError(
        Format(u"Invalid variant type (%s) for a whole number", {VarTypeName(type)}));
  Variant v;
  v.type_ = type;
  v.num_.i = Narrow(type, value);
  return v;
}

Variant Variant::OfFloat(uint16_t type, double value) {
  if (!FloatCode(type))
    throw EVariantError(
        Format(u"Invalid variant type (%s) for a real number", {VarTypeName(type)}));
  Variant v;
  v.type_ = type;
  if (type == varSingle) {
    // Narrowing a double beyond the single range is undefined; such values become infinities.
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax || value < -kMax)
      value = value > 0 ? std::numeric_limits<double>::infinity()
                        : -std::numeric_limits<double>::infinity();
    else
      value = static_cast<double>(static_cast<float>(value));
  }
  v.num_.d = value;
  return v;
}

Variant Variant::Tagged(uint16_t type) noexcept {
  Variant v;
  v.type_ = type == varString || type == varUString ? uint16_t{varUnknown} : type;
  return v;
}

void Variant::AssignString(const char* text, size_t length) {
  if (type_ == varString) {
    str_.assign(text, length);
    return;
  }
  Reset();
  new (&str_) std::string(text, length);
  type_ = varString;
}

std::string& Variant::TextBuffer() {
  if (type_ != varString) {
    Reset();
    new (&str_) std::string();
    type_ = varString;
  }
  return str_;
}

void Variant::DestroyText() noexcept {
  if (type_ == varString) str_.~basic_string();
  if (type_ == varUString) ustr_.~basic_string();
}

void Variant::CopyText(const Variant& o) {
  if (o.type_ == varString)
    new (&str_) std::string(o.str_);
  else
    new (&ustr_) std::u16string(o.ustr_);
}

void Variant::MoveText(Variant& o) noexcept {
  if (o.type_ == varString)
    new (&str_) std::string(std::move(o.str_));
  else
    new (&ustr_) std::u16string(std::move(o.ustr_));
}

void Variant::FailConvert(uint16_t to) const {
  throw EVariantError(Format(u"Could not convert variant of type (%s) into type (%s)",
                             {VarTypeName(type_), VarTypeName(to)}));
}

void Variant::FailOverflow(uint16_t to) const {
  throw EVariantError(Format(u"Overflow while converting variant of type (%s) into type (%s)",
                             {VarTypeName(type_), VarTypeName(to)}));
}

bool Variant::IsIntegerKind() const noexcept {
  return IntegerCode(type_);
}

int64_t Variant::AsInt64() const {
  if (IsIntegerKind()) return num_.i;
  switch (type_) {
    case varEmpty:
      return 0;
    case varBoolean:
      return num_.i ? -1 : 0;
    case varCurrency: {
      // Ten-thousandths to a whole number, half to even.
      int64_t q = num_.i / 10000, r = num_.i % 10000;
      if (r > 5000 || (r == 5000 && (q & 1))) ++q;
      if (r < -5000 || (r == -5000 && (q & 1))) --q;
      return q;
    }
    case varSingle:
    case varDouble:
    case varDate: {
      auto r = RoundToInt64(num_.d);
      if (!r) FailOverflow(varInt64);
      return *r;
    }
    case varString:
    case varUString: {
      std::string s = type_ == varString ? str_ : ToAnsi(ustr_);
      if (auto i = TryStrToInt(s)) return *i;
      if (auto d = TryStrToFloat(s)) {
        auto r = RoundToInt64(*d);
        if (!r) FailOverflow(varInt64);
        return *r;
      }
      FailConvert(varInt64);
    }
    default:
      FailConvert(varInt64);
  }
}

int32_t Variant::AsInt32() const {
  int64_t v = AsInt64();
  if (v < INT32_MIN || v > INT32_MAX) FailOverflow(varInteger);
  return static_cast<int32_t>(v);
}

double Variant::AsDouble() const {
  if (IsIntegerKind()) return static_cast<double>(num_.i);
  switch (type_) {
    case varEmpty:
      return 0;
    case varBoolean:
      return num_.i ? -1 : 0;
    case varCurrency:
      return static_cast<double>(num_.i) / 10000.0;
    case varSingle:
    case varDouble:
    case varDate:
      return num_.d;
    case varString:
    case varUString: {
      std::string s = type_ == varString ? str_ : ToAnsi(ustr_);
      if (auto d = TryStrToFloat(s)) return *d;
      if (auto d = TextToDate(s)) return *d;
      FailConvert(varDouble);
    }
    default:
      FailConvert(varDouble);
  }
}

bool Variant::AsBoolean() const {
  if (IsIntegerKind() || type_ == varBoolean || type_ == varCurrency) return num_.i != 0;
  switch (type_) {
    case varEmpty:
      return false;
    case varSingle:
    case varDouble:
    case varDate:
      return num_.d != 0;
    case varString:
    case varUString: {
      std::string s = type_ == varString ? str_ : ToAnsi(ustr_);
      if (SameTextAsciiBytes(s, "true")) return true;
      if (SameTextAsciiBytes(s, "false")) return false;
      if (auto d = TryStrToFloat(s)) return *d != 0;
      FailConvert(varBoolean);
    }
    default:
      FailConvert(varBoolean);
  }
}

int64_t Variant::AsCurrency() const {
  if (type_ == varCurrency) return num_.i;
  if (IsIntegerKind() || type_ == varBoolean || type_ == varEmpty) {
    int64_t v = AsInt64();
    if (v > INT64_MAX / 10000 || v < INT64_MIN / 10000) FailOverflow(varCurrency);
    return v * 10000;
  }
  if (type_ == varSingle || type_ == varDouble || type_ == varDate || type_ == varString ||
      type_ == varUString) {
    double d = AsDouble();
    auto r = RoundToInt64(d * 10000.0);
    if (!r) FailOverflow(varCurrency);
    return *r;
  }
  FailConvert(varCurrency);
}

std::string Variant::AsString() const {
  if (IsIntegerKind()) return IntToStr(num_.i);
  switch (type_) {
    case varEmpty:
    case varNull:
      return {};
    case varString:
      return str_;
    case varUString:
      return ToAnsi(ustr_);
    case varBoolean:
      return num_.i ? "True" : "False";
    case varSingle:
    case varDouble:
      return FormatG(num_.d);
    case varDate:
      return DateToText(num_.d);
    case varCurrency: {
      // Exact: the whole part, then up to four decimals without trailing zeros.
      int64_t v = num_.i;
      bool neg = v < 0;
      uint64_t a = neg ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
      std::string s = neg ? "-" : "";
      s += std::to_string(a / 10000);
      auto frac = static_cast<unsigned>(a % 10000);
      if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, ".%04u", frac);
        std::string f(buf);
        while (f.back() == '0') f.pop_back();
        s += f;
      }
      return s;
    }
    default:
      FailConvert(varString);
  }
}

std::u16string Variant::AsUString() const {
  if (type_ == varUString) return ustr_;
  return FromAnsi(AsString());
}

Variant Variant::ChangeType(uint16_t type) const {
  if (type == type_) return *this;
  if (type_ == varNull || (type_ == varEmpty && type == varNull)) return Null();
  if (type == varEmpty) return Variant();
  if (type == varNull) return Null();
  switch (type) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varInt64: {
      int64_t v = AsInt64();
      if (!FitsInteger(type, v)) FailOverflow(type);
      return OfInteger(type, v);
    }
    case varBoolean:
      return Variant(AsBoolean());
    case varCurrency:
      return Currency(AsCurrency());
    case varSingle: {
      double d = AsDouble();
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) FailOverflow(type);
      return OfFloat(type, d);
    }
    case varDouble:
    case varDate:
      return OfFloat(type, AsDouble());
    case varString:
      return Variant(AsString());
    case varUString:
      return Variant(AsUString());
    default:
      FailConvert(type);
  }
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  switch (a.type_) {
    case varString:
      return a.str_ == b.str_;
    case varUString:
      return a.ustr_ == b.ustr_;
    case varSingle:
    case varDouble:
    case varDate:
      return a.num_.d == b.num_.d;
    default:
      return a.num_.i == b.num_.i;
  }
}

}  // namespace rt
