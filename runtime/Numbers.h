// Number formatting and parsing shared by the messages, the variants and the fields: one general
// number format, one small message formatter and the whole-number text rules.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// General format with 15 significant digits: 99999999 -> "99999999", -999 -> "-999", 0.5 -> "0.5",
// 1e20 -> "1E20". Independent of the process locale.
std::string FormatG(double value);
std::u16string FormatGW(double value);

// One argument of Format: a number or a text.
class FormatArg {
 public:
  FormatArg(int32_t v) : kind_(kInt), i_(v) {}                    // NOLINT
  FormatArg(int64_t v) : kind_(kInt), i_(v) {}                    // NOLINT
  FormatArg(double v) : kind_(kFloat), d_(v) {}                   // NOLINT
  FormatArg(std::u16string_view v) : kind_(kText), text_(v) {}    // NOLINT
  FormatArg(const std::u16string& v) : kind_(kText), text_(v) {}  // NOLINT
  FormatArg(const char16_t* v) : kind_(kText), text_(v) {}        // NOLINT
  FormatArg(std::string_view v) : kind_(kAnsi), ansi_(v) {}       // NOLINT
  FormatArg(const std::string& v) : kind_(kAnsi), ansi_(v) {}     // NOLINT

  std::u16string AsText() const;  // %s
  double AsDouble() const;        // %g
  int64_t AsInteger() const;      // %d

 private:
  enum Kind { kInt, kFloat, kText, kAnsi } kind_;
  int64_t i_ = 0;
  double d_ = 0;
  std::u16string_view text_;
  std::string_view ansi_;  // 8-bit text in the system code page
};

// Replaces %s, %d and %g in order with the arguments; "%%" is one "%". A missing argument leaves
// its directive as it stands, so a wrong message never crashes.
std::u16string Format(std::u16string_view format, std::initializer_list<FormatArg> args);

// Whole-number text: leading blanks, an optional "-" or "+", then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Nothing may follow. Decimal values must fit a signed
// 32-bit integer; hexadecimal takes up to 32 bits as a two's complement pattern ("$FFFFFFFF" is
// -1).
std::optional<int32_t> TryStrToInt(std::string_view text);
std::optional<int32_t> TryStrToInt(std::u16string_view text);
// The same, raising EConvertError "''<text>'' is not a valid integer value" on failure.
int32_t StrToInt(std::string_view text);
int32_t StrToInt(std::u16string_view text);

// Decimal text of a whole number.
std::string IntToStr(int64_t value);

// A number in text: what StrToInt accepts (hexadecimal included) or a decimal number with an
// optional fraction and exponent, surrounded by optional blanks. Locale-independent.
std::optional<double> TryStrToFloat(std::string_view text);

}  // namespace rt
