// The general number format, the message formatter and the whole-number text rules.
#include "runtime/Numbers.h"

#include <gtest/gtest.h>

#include "runtime/Exception.h"

namespace rt {
namespace {

TEST(FormatG, FifteenSignificantDigitsWithoutNeedlessExponents) {
  EXPECT_EQ(FormatG(99999999), "99999999");
  EXPECT_EQ(FormatG(-999), "-999");
  EXPECT_EQ(FormatG(0), "0");
  EXPECT_EQ(FormatG(0.5), "0.5");
  EXPECT_EQ(FormatG(-2147483648.0), "-2147483648");
  EXPECT_EQ(FormatG(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatG(1e20), "1E20");
  EXPECT_EQ(FormatG(1.5e-7), "1.5E-7");
  EXPECT_EQ(FormatG(0.1 + 0.2), "0.3");
}

TEST(Format, DirectivesInOrder) {
  EXPECT_EQ(Format(u"%g is not a valid value for field '%s'. The allowed range is %g to %g",
                   {1000, u"stamina", -999, 999}),
            u"1000 is not a valid value for field 'stamina'. The allowed range is -999 to 999");
  EXPECT_EQ(Format(u"%d%% of %s", {50, std::string("abc")}), u"50% of abc");
  EXPECT_EQ(Format(u"%s and %s", {u"one"}), u"one and %s");
  EXPECT_EQ(Format(u"100%", {}), u"100%");
}

TEST(StrToInt, DecimalWithBlanksAndSign) {
  EXPECT_EQ(StrToInt(" 7"), 7);
  EXPECT_EQ(StrToInt("-12"), -12);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("   -0"), 0);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt(u" 99"), 99);
}

TEST(StrToInt, Hexadecimal) {
  EXPECT_EQ(StrToInt("$A"), 10);
  EXPECT_EQ(StrToInt("x1f"), 31);
  EXPECT_EQ(StrToInt("X1F"), 31);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("0X10"), 16);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("0"), 0);
}

TEST(StrToInt, RejectsAnythingElseWithTheConversionMessage) {
  for (const char* bad : {"", " ", "7 ", "a", "-", "+", "$", "0x", "1.5", "12a", "2147483648",
                          "-2147483649", "$100000000", "\t7", "--1", "1 2"}) {
    EXPECT_FALSE(TryStrToInt(std::string_view(bad)).has_value()) << bad;
  }
  try {
    StrToInt("7 ");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''7 '' is not a valid integer value");
  }
  try {
    StrToInt("");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'''' is not a valid integer value");
  }
}

TEST(StrToFloat, PlainDecimalNotationOnly) {
  EXPECT_EQ(TryStrToFloat(" 1.5 "), 1.5);
  EXPECT_EQ(TryStrToFloat("-2e3"), -2000.0);
  EXPECT_EQ(TryStrToFloat("$10"), 16.0);
  EXPECT_EQ(TryStrToFloat(".5"), 0.5);
  for (const char* bad : {"", "inf", "nan", "1e", "1.2.3", "0x1p3", "e5", "."})
    EXPECT_FALSE(TryStrToFloat(bad).has_value()) << bad;
}

}  // namespace
}  // namespace rt
