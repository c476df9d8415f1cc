// The memory stream's position rules and whole transfers.
#include "runtime/Stream.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(MemoryStream, ReadsWritesAndPositions) {
  TMemoryStream m;
  EXPECT_EQ(m.Write("hello", 5), 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Position(), 5);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 0);  // at the end
  m.SetPosition(1);
  EXPECT_EQ(m.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "ello");
  EXPECT_EQ(m.Seek(-2, TSeekOrigin::End), 3);
  EXPECT_EQ(m.Seek(1, TSeekOrigin::Current), 4);
}

TEST(MemoryStream, OutsideTheBytes) {
  TMemoryStream m;
  m.Write("ab", 2);
  m.SetPosition(-1);
  char c;
  EXPECT_EQ(m.Read(&c, 1), 0);
  EXPECT_EQ(m.Write("x", 1), 0);
  m.SetPosition(4);  // writing past the end extends, the gap reads as zeros
  EXPECT_EQ(m.Write("z", 1), 1);
  EXPECT_EQ(m.Bytes(), std::string("ab\0\0z", 5));
  EXPECT_EQ(m.Read(&c, -1), 0);
  EXPECT_EQ(m.Write(&c, -5), 0);
}

TEST(MemoryStream, SizeAndClear) {
  TMemoryStream m;
  m.Write("abcdef", 6);
  m.SetSize(2);
  EXPECT_EQ(m.Bytes(), "ab");
  EXPECT_EQ(m.Position(), 2);
  m.SetSize(4);
  EXPECT_EQ(m.Bytes(), std::string("ab\0\0", 4));
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
}

TEST(MemoryStream, WholeTransfersRaiseWhenShort) {
  TMemoryStream m;
  m.Write("abc", 3);
  m.SetPosition(0);
  char buf[4];
  EXPECT_THROW(m.ReadBuffer(buf, 4), EReadError);
  TMemoryStream copy;
  copy.CopyFrom(m, 0);
  EXPECT_EQ(copy.Bytes(), "abc");
}

TEST(MemoryStream, GrowsLinearlyOverManyWrites) {
  TMemoryStream m;
  std::string chunk(1000, 'q');
  for (int i = 0; i < 1000; ++i) m.WriteBuffer(chunk.data(), 1000);
  EXPECT_EQ(m.Size(), 1000000);
}

}  // namespace
}  // namespace rt
