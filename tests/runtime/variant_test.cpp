// Variants: type codes, conversions between kinds and their failures, value semantics.
#include "runtime/Variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/Exception.h"

namespace rt {
namespace {

TEST(Variant, KindsCarryTheirCodes) {
  EXPECT_EQ(Variant().Type(), varEmpty);
  EXPECT_EQ(Variant::Null().Type(), varNull);
  EXPECT_EQ(Variant(int32_t{1}).Type(), varInteger);
  EXPECT_EQ(Variant(int64_t{1}).Type(), varInt64);
  EXPECT_EQ(Variant(1.0).Type(), varDouble);
  EXPECT_EQ(Variant(true).Type(), varBoolean);
  EXPECT_EQ(Variant("a").Type(), varString);
  EXPECT_EQ(Variant(u"a").Type(), varUString);
  EXPECT_EQ(Variant::Currency(10000).Type(), varCurrency);
  EXPECT_EQ(Variant::Date(1.5).Type(), varDate);
  EXPECT_EQ(Variant::Tagged(varArray).Type(), varArray);
  EXPECT_TRUE(Variant().IsNull());
  EXPECT_TRUE(Variant::Null().IsNull());
  EXPECT_FALSE(Variant::Tagged(varUnknown).IsNull());
  EXPECT_THROW(Variant::OfInteger(varString, 1), EVariantError);
  EXPECT_THROW(Variant::OfFloat(varInteger, 1), EVariantError);
}

TEST(Variant, NarrowKindsKeepTheirWidth) {
  EXPECT_EQ(Variant::OfInteger(varSmallint, 0x12345).RawInt(), 0x2345);
  EXPECT_EQ(Variant::OfInteger(varShortInt, 255).RawInt(), -1);
  EXPECT_EQ(Variant::OfInteger(varByte, -1).RawInt(), 255);
  EXPECT_EQ(Variant::OfInteger(varWord, -1).RawInt(), 65535);
  EXPECT_FLOAT_EQ(static_cast<float>(Variant::OfFloat(varSingle, 0.1).RawDouble()), 0.1f);
  EXPECT_TRUE(std::isinf(Variant::OfFloat(varSingle, 1e300).RawDouble()));
}

TEST(Variant, TextAndNumbersConvertBothWays) {
  EXPECT_EQ(Variant("42").AsInt32(), 42);
  EXPECT_EQ(Variant(" 42 ").AsInt32(), 42);
  EXPECT_EQ(Variant("2.5").AsInt32(), 2);  // half to even
  EXPECT_EQ(Variant("3.5").AsInt32(), 4);
  EXPECT_EQ(Variant("$ff").AsInt32(), 255);
  EXPECT_DOUBLE_EQ(Variant("1.25").AsDouble(), 1.25);
  EXPECT_EQ(Variant(int32_t{-7}).AsString(), "-7");
  EXPECT_EQ(Variant(0.5).AsString(), "0.5");
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant::Currency(-12345).AsString(), "-1.2345");
  EXPECT_EQ(Variant::Currency(20000).AsString(), "2");
  EXPECT_EQ(Variant::Currency(15000).AsInt64(), 2);
  EXPECT_EQ(Variant::Currency(25000).AsInt64(), 2);
  EXPECT_EQ(Variant(1.5).AsCurrency(), 15000);
  EXPECT_EQ(Variant(true).AsInt32(), -1);
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_EQ(Variant(u"abc").AsString(), "abc");  // through the system code page
  EXPECT_EQ(Variant("abc").AsUString(), u"abc");
}

TEST(Variant, DatesAsTextRoundTrip) {
  Variant d = Variant::Date(45000.5);
  EXPECT_EQ(d.AsString(), "2023-03-15 12:00:00");
  EXPECT_EQ(Variant::Date(2).AsString(), "1900-01-01");
  EXPECT_DOUBLE_EQ(Variant(d.AsString()).ChangeType(varDate).RawDouble(), 45000.5);
}

TEST(Variant, ImpossibleConversionsRaise) {
  EXPECT_THROW(Variant("abc").AsInt32(), EVariantError);
  EXPECT_THROW(Variant::Null().AsInt32(), EVariantError);
  EXPECT_THROW(Variant(int64_t{5000000000}).AsInt32(), EVariantError);
  EXPECT_THROW(Variant(int32_t{70000}).ChangeType(varSmallint), EVariantError);
  EXPECT_THROW(Variant(int32_t{-1}).ChangeType(varWord), EVariantError);
  EXPECT_THROW(Variant(1e300).AsInt64(), EVariantError);
  EXPECT_THROW(Variant(1e300).ChangeType(varSingle), EVariantError);
  EXPECT_THROW(Variant::Tagged(varUnknown).AsString(), EVariantError);
  EXPECT_THROW(Variant("x").ChangeType(varUnknown), EVariantError);
  try {
    Variant("abc").AsInt32();
  } catch (const EVariantError& e) {
    EXPECT_EQ(e.Message(), u"Could not convert variant of type (String) into type (Int64)");
  }
  EXPECT_EQ(Variant().AsInt32(), 0);  // empty converts as zero
  EXPECT_EQ(Variant::Null().AsString(), "");
}

TEST(Variant, ChangeTypeKeepsNullAndConvertsValues) {
  EXPECT_EQ(Variant::Null().ChangeType(varInteger).Type(), varNull);
  EXPECT_EQ(Variant("7").ChangeType(varSmallint), Variant::OfInteger(varSmallint, 7));
  EXPECT_EQ(Variant(int32_t{7}).ChangeType(varString), Variant("7"));
  EXPECT_EQ(Variant(int32_t{1}).ChangeType(varBoolean), Variant(true));
  EXPECT_EQ(Variant::Currency(12345).ChangeType(varDouble), Variant(1.2345));
}

TEST(Variant, CopiesAndMovesAreIndependent) {
  Variant a(std::string(100, 'x'));
  Variant b = a;
  Variant c = std::move(a);
  EXPECT_EQ(b, c);
  EXPECT_TRUE(a.IsEmpty());  // NOLINT: moved-from is empty by contract
  b = Variant(int32_t{3});
  EXPECT_EQ(c.AsString().size(), 100u);
  Variant& self = c;
  c = self;
  EXPECT_EQ(c.AsString().size(), 100u);
  c.AssignString("ab", 2);
  EXPECT_EQ(c, Variant("ab"));
  b.AssignString("cd", 2);
  EXPECT_EQ(b, Variant("cd"));
  EXPECT_NE(Variant(int32_t{1}), Variant(int64_t{1}));
}

}  // namespace
}  // namespace rt
