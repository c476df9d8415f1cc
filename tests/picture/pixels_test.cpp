// The storage of freed pictures kept for the next ones: taken again only by a picture it fits,
// never handed out twice, held within its bound, and still guarded by AddressSanitizer beyond a
// picture's own pixels while it is reused or kept.
#include "ui/picture/Pixels.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/Sanitizer.h"

namespace {

using ui::TPixels;
using ui::TRgba;

constexpr TRgba kRed{255, 0, 0, 255};
constexpr TRgba kBlue{0, 0, 255, 128};

// Each case uses sizes of its own, so that blocks kept by another case cannot answer for it.

TEST(KeptPictureStorage, AFreedPictureStorageServesTheNextPictureOfItsSize) {
  const TRgba* first;
  {
    TPixels p(301, 300, false, kRed);
    first = p.Data().data();
  }
  TPixels again(301, 300, true, kBlue);
  EXPECT_EQ(again.Data().data(), first);
  EXPECT_EQ(again, TPixels(301, 300, true, kBlue)) << "a kept block brings no old pixels along";
  // While it is in use nobody else gets it: a copy and a second picture of that size have their
  // own storage.
  const TPixels copy(again);
  const TPixels other(301, 300, false, kRed);
  EXPECT_NE(copy.Data().data(), first);
  EXPECT_NE(other.Data().data(), first);
  EXPECT_NE(other.Data().data(), copy.Data().data());
  EXPECT_EQ(copy, again);
}

TEST(KeptPictureStorage, ASmallerPictureTakesABlockOnlyWithinAQuarterOfItsSize) {
  const TRgba* block;
  {
    TPixels p(400, 400, false, kRed);
    block = p.Data().data();
  }
  const TPixels half(400, 200, false, kBlue);  // the block is twice its size: not taken
  EXPECT_NE(half.Data().data(), block);
  TPixels near(400, 340, false, kBlue);
  ASSERT_EQ(near.Data().data(), block);
  EXPECT_EQ(near.Data().size(), size_t{400} * 340);
  EXPECT_EQ(near.At(399, 339), kBlue);
#ifdef VEL_ADDRESS_SANITIZER
  // The rest of the block stays out of bounds for the picture.
  EXPECT_FALSE(__asan_address_is_poisoned(&near.At(399, 339)));
  EXPECT_TRUE(__asan_address_is_poisoned(near.Data().data() + near.PixelCount()));
#endif
}

TEST(KeptPictureStorage, KeptBlocksAreOutOfBoundsUntilTakenAgain) {
#ifndef VEL_ADDRESS_SANITIZER
  GTEST_SKIP() << "only AddressSanitizer tells";
#else
  const TRgba* block;
  {
    TPixels p(290, 333, false, kRed);
    block = p.Data().data();
  }
  EXPECT_TRUE(__asan_address_is_poisoned(block));
  TPixels again(290, 333, false, kRed);
  ASSERT_EQ(again.Data().data(), block);
  EXPECT_FALSE(__asan_address_is_poisoned(block));
#endif
}

TEST(KeptPictureStorage, WhatIsKeptStaysWithinItsBound) {
  {
    std::vector<TPixels> big;
    for (int i = 0; i < 10; ++i) big.emplace_back(1024, 1023, false, kRed);  // 4 MiB less a row
  }
  EXPECT_LE(ui::KeptPictureBytes(), ui::kMaxKeptPictureBytes);
  EXPECT_GE(ui::KeptPictureBytes(), 3 * size_t{1024} * 1023 * 4) << "the last ones freed are kept";
  const size_t kept = ui::KeptPictureBytes();
  { TPixels larger(4096, 1100, false, kRed); }  // over the bound by itself: freed at once
  EXPECT_EQ(ui::KeptPictureBytes(), kept);
  {
    std::vector<TPixels> many;
    for (int i = 0; i < 20; ++i) many.emplace_back(150 + i, 150, false, kBlue);
  }
  EXPECT_LE(ui::KeptPictureBytes(), 8 * size_t{169} * 150 * 4) << "at most eight blocks are kept";
}

}  // namespace
