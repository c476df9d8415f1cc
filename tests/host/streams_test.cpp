// The substitute host's streams honour what the library relies on: rewinding, size minus position
// as the unread count, overwriting after a seek back, 64-bit positions, and stopping where told.
#include "host/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

void ExerciseStream(zarp::IZARPStream* s) {
  EXPECT_EQ(s->GetSize(), 0);
  EXPECT_EQ(s->Write("abcdef", 6), 6);
  EXPECT_EQ(s->GetPosition(), 6);
  EXPECT_EQ(s->GetSize(), 6);

  // Overwrite after a seek back to a position read earlier; the size stays.
  s->SetPosition(2);
  EXPECT_EQ(s->Write("XY", 2), 2);
  EXPECT_EQ(s->GetSize(), 6);
  EXPECT_EQ(s->GetPosition(), 4);

  s->SetPosition(0);
  char buffer[16] = {};
  EXPECT_EQ(s->Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "abXY");
  EXPECT_EQ(s->GetSize() - s->GetPosition(), 2);

  // A short read at the end moves only what is there.
  EXPECT_EQ(s->Read(buffer, 10), 2);
  EXPECT_EQ(std::string(buffer, 2), "ef");
  EXPECT_EQ(s->Read(buffer, 10), 0);
  EXPECT_EQ(s->GetPosition(), 6);

  // Counts of zero or less move nothing.
  EXPECT_EQ(s->Read(buffer, 0), 0);
  EXPECT_EQ(s->Read(buffer, -5), 0);
  EXPECT_EQ(s->Write("z", -1), 0);
  EXPECT_EQ(s->GetPosition(), 6);

  // Writing past the end fills the gap with zeros.
  s->SetPosition(8);
  EXPECT_EQ(s->Write("Q", 1), 1);
  EXPECT_EQ(s->GetSize(), 9);
  s->SetPosition(6);
  EXPECT_EQ(s->Read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), std::string("\0\0Q", 3));

  // Reading from beyond the end moves nothing.
  s->SetPosition(100);
  EXPECT_EQ(s->Read(buffer, 1), 0);
  EXPECT_EQ(s->GetPosition(), 100);
}

TEST(HostMemoryStream, HonoursTheStreamContract) {
  auto s = rt::MakeCounted<host::TMemoryStream>();
  ExerciseStream(s.Get());
  EXPECT_EQ(s->Bytes().size(), 9u);
}

TEST(HostMemoryStream, StartsFromGivenBytesAtPositionZero) {
  auto s = rt::MakeCounted<host::TMemoryStream>(Bytes{1, 2, 3});
  EXPECT_EQ(s->GetSize(), 3);
  EXPECT_EQ(s->GetPosition(), 0);
  s->SetPosition(2);
  s->SetBytes({9});
  EXPECT_EQ(s->GetPosition(), 0);
  EXPECT_EQ(s->GetSize(), 1);
}

TEST(HostMemoryStream, PositionsAre64Bit) {
  auto s = rt::MakeCounted<host::TMemoryStream>(Bytes{1});
  const int64_t far = int64_t{1} << 40;
  s->SetPosition(far);
  EXPECT_EQ(s->GetPosition(), far);
  char c;
  EXPECT_EQ(s->Read(&c, 1), 0);
  EXPECT_EQ(s->GetSize() - s->GetPosition(), 1 - far);
}

TEST(HostMemoryStream, StopsTransferringAtTheFailureOffset) {
  auto s = rt::MakeCounted<host::TMemoryStream>(Bytes{1, 2, 3, 4, 5, 6});
  s->SetFailAt(4);
  uint8_t buffer[8] = {};
  EXPECT_EQ(s->Read(buffer, 3), 3);
  EXPECT_EQ(s->Read(buffer, 3), 1);  // short: only up to the offset
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(s->Read(buffer, 3), 0);
  s->SetPosition(2);
  EXPECT_EQ(s->Write("ab", 2), 2);
  EXPECT_EQ(s->Write("cd", 2), 0);
}

class HostFileStream : public ::testing::Test {
 protected:
  std::string path = (std::filesystem::temp_directory_path() /
                      ("vel_host_stream_" +
                       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".bin"))
                         .string();
  void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(HostFileStream, HonoursTheStreamContract) {
  auto s = rt::MakeCounted<host::TFileStream>(path, host::TFileStream::Mode::Create);
  ExerciseStream(s.Get());
}

TEST_F(HostFileStream, WhatIsWrittenCanBeReadBackByAnotherStream) {
  {
    auto w = rt::MakeCounted<host::TFileStream>(path, host::TFileStream::Mode::Create);
    w->Write("hello", 5);
  }
  auto r = rt::MakeCounted<host::TFileStream>(path, host::TFileStream::Mode::Read);
  EXPECT_EQ(r->GetSize(), 5);
  char buffer[5];
  EXPECT_EQ(r->Read(buffer, 5), 5);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  EXPECT_EQ(r->Write("x", 1), 0);  // opened for reading only
}

TEST_F(HostFileStream, OpeningAMissingFileForReadingFails) {
  EXPECT_THROW(rt::MakeCounted<host::TFileStream>(path + ".missing", host::TFileStream::Mode::Read),
               std::runtime_error);
}

}  // namespace
