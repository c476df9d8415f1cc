// The 8-bit code page outside Windows (Windows-1252): every byte survives a round trip, and a
// character it cannot hold becomes one '?'.
#include "runtime/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::u16string wide = rt::FromAnsi(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(rt::ToAnsi(wide), all);
}

TEST(CodePage, MapsTheWindowsRangeToItsCharacters) {
  EXPECT_EQ(rt::FromAnsi("\x80\x8a\x9f\xe7"), u"\u20ac\u0160\u0178\u00e7");
  EXPECT_EQ(rt::ToAnsi(u"Per\u00edcias \u20ac"),
            "Per\xed"
            "cias \x80");
}

TEST(CodePage, UnmappableCharactersBecomeOneQuestionMarkEach) {
  EXPECT_EQ(rt::ToAnsi(u"a\u4e2db"), "a?b");
  EXPECT_EQ(rt::ToAnsi(u"\U0001F600"), "?");  // a surrogate pair is one character
  EXPECT_EQ(rt::ToAnsi(u"\u0100\u2028"), "??");
}

TEST(CodePage, EmptyTextStaysEmpty) {
  EXPECT_EQ(rt::ToAnsi(u""), "");
  EXPECT_EQ(rt::FromAnsi(""), u"");
}

}  // namespace
