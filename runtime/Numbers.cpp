// Number formatting and parsing; see Numbers.h for the rules.
#include "runtime/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"

namespace rt {

std::string FormatG(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[40];
  // "%.15G" keeps 15 significant digits; the exponent is then written as "E20" / "E-7".
  std::snprintf(buf, sizeof buf, "%.15G", value);
  std::string s(buf);
  // snprintf honours the C locale's decimal point; the library never changes it, but a host might.
  for (char& c : s)
    if (c == ',') c = '.';
  auto e = s.find('E');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    bool neg = !exp.empty() && exp[0] == '-';
    size_t start = (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) ? 1 : 0;
    while (start + 1 < exp.size() && exp[start] == '0') ++start;
    s = mant + "E" + (neg ? "-" : "") + exp.substr(start);
  }
  return s;
}

std::u16string FormatGW(double value) {
  return FromAnsi(FormatG(value));
}

std::u16string FormatArg::AsText() const {
  switch (kind_) {
    case kInt:
      return FromAnsi(IntToStr(i_));
    case kFloat:
      return FormatGW(d_);
    case kText:
      return std::u16string(text_);
    case kAnsi:
      return FromAnsi(ansi_);
  }
  return {};
}

double FormatArg::AsDouble() const {
  switch (kind_) {
    case kInt:
      return static_cast<double>(i_);
    case kFloat:
      return d_;
    default:
      return 0;
  }
}

int64_t FormatArg::AsInteger() const {
  switch (kind_) {
    case kInt:
      return i_;
    case kFloat:
      return static_cast<int64_t>(d_);
    default:
      return 0;
  }
}

std::u16string Format(std::u16string_view format, std::initializer_list<FormatArg> args) {
  std::u16string out;
  out.reserve(format.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char16_t c = format[i];
    if (c != u'%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    char16_t d = format[i + 1];
    if (d == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    if ((d != u's' && d != u'd' && d != u'g') || next == args.end()) {
      out += c;
      continue;
    }
    if (d == u's') out += next->AsText();
    if (d == u'd') out += FromAnsi(IntToStr(next->AsInteger()));
    if (d == u'g') out += FormatGW(next->AsDouble());
    ++next;
    ++i;
  }
  return out;
}

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

template <class Char>
std::optional<int32_t> ParseInt(std::basic_string_view<Char> s) {
  size_t i = 0;
  while (i < s.size() && s[i] == Char(' ')) ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == Char('-') || s[i] == Char('+'))) neg = s[i++] == Char('-');
  bool hex = false;
  if (i < s.size() && (s[i] == Char('$') || s[i] == Char('x') || s[i] == Char('X'))) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == Char('0') &&
             (s[i + 1] == Char('x') || s[i + 1] == Char('X'))) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return std::nullopt;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    int d = hex ? HexDigit(static_cast<char16_t>(s[i]))
                : (s[i] >= Char('0') && s[i] <= Char('9') ? int(s[i] - Char('0')) : -1);
    if (d < 0) return std::nullopt;
    v = v * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    auto bits = static_cast<uint32_t>(v);
    if (neg) bits = 0u - bits;
    return static_cast<int32_t>(bits);
  }
  if (neg) {
    if (v > 2147483648ull) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(v));
  }
  if (v > 2147483647ull) return std::nullopt;
  return static_cast<int32_t>(v);
}

[[noreturn]] void FailInt(std::u16string_view text) {
  throw EConvertError(Format(u"''%s'' is not a valid integer value", {text}));
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
  return ParseInt(text);
}
std::optional<int32_t> TryStrToInt(std::u16string_view text) {
  return ParseInt(text);
}

int32_t StrToInt(std::string_view text) {
  auto v = ParseInt(text);
  if (!v) FailInt(FromAnsi(text));
  return *v;
}

int32_t StrToInt(std::u16string_view text) {
  auto v = ParseInt(text);
  if (!v) FailInt(text);
  return *v;
}

std::string IntToStr(int64_t value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::optional<double> TryStrToFloat(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string_view s = text.substr(b, e - b);
  if (s.empty()) return std::nullopt;
  if (auto i = ParseInt(s)) return static_cast<double>(*i);
  // Only plain decimal notation: digits, one '.', an exponent. strtod would also take "inf",
  // "nan" and hexadecimal floats, which no stored text means.
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool expDigits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, expDigits = true;
    if (!expDigits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  std::string z(s[0] == '+' ? s.substr(1) : s);
  double v = 0;
  auto r = std::from_chars(z.data(), z.data() + z.size(), v);
  if (r.ec != std::errc() || r.ptr != z.data() + z.size()) return std::nullopt;
  return v;
}

}  // namespace rt
