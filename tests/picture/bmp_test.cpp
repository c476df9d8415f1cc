// 24-bit bitmaps: row padding and bottom-up order both ways, the longer headers other writers
// use, and one clear error for each way a file can be damaged or unsupported.
#include "ui/picture/Bmp.h"

#include <gtest/gtest.h>

#include "tests/picture/Pictures.h"

namespace {

using namespace picture_test;
using ui::DecodeBmp;
using ui::EncodeBmp;
using ui::EPictureError;
using ui::EPictureUnsupported;
using ui::TPixels;
using ui::TRgba;

void PutLe(Bytes& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

// A copy of `b` with one field changed.
Bytes With(Bytes b, size_t at, uint32_t v, int bytes) {
  PutLe(b, at, v, bytes);
  return b;
}

// A BITMAPINFOHEADER file of the given size with rows of `stride` bytes, filled by the test.
Bytes BitmapFile(int32_t width, int32_t height, uint32_t stride, uint16_t bits = 24) {
  const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
  Bytes b(54 + size_t{stride} * rows);
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, 54, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, static_cast<uint32_t>(width), 4);
  PutLe(b, 22, static_cast<uint32_t>(height), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, bits, 2);
  return b;
}

void ExpectPattern(const TPixels& p) {
  ASSERT_EQ(p.Width(), kFixtureWidth);
  ASSERT_EQ(p.Height(), kFixtureHeight);
  EXPECT_FALSE(p.HasAlpha());
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x)
      ASSERT_EQ(p.At(x, y), Pattern(x, y, false)) << x << ", " << y;
  }
}

TEST(BmpRead, FilesOfAnIndependentWriterWithEitherHeader) {
  // 37 pixels make 111 bytes a row, padded to 112; ImageMagick's default header is a V5.
  ExpectPattern(DecodeBmp(Fixture("rgb.bmp")));
  ExpectPattern(DecodeBmp(Fixture("rgb-v5.bmp")));
}

TEST(BmpRead, RowsAreBottomUpInBlueGreenRedOrderAndPaddedToFourBytes) {
  Bytes b = BitmapFile(1, 2, 4);
  // The first row in the file is the picture's bottom row; its padding byte is ignored.
  const uint8_t rows[] = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};
  std::copy(std::begin(rows), std::end(rows), b.begin() + 54);
  const TPixels p = DecodeBmp(b);
  EXPECT_EQ(p.At(0, 0), (TRgba{6, 5, 4, 255}));
  EXPECT_EQ(p.At(0, 1), (TRgba{3, 2, 1, 255}));
}

TEST(BmpRead, ANegativeHeightStoresRowsTopDown) {
  Bytes b = BitmapFile(1, -2, 4);
  const uint8_t rows[] = {1, 2, 3, 0, 4, 5, 6, 0};
  std::copy(std::begin(rows), std::end(rows), b.begin() + 54);
  const TPixels p = DecodeBmp(b);
  EXPECT_EQ(p.At(0, 0), (TRgba{3, 2, 1, 255}));
  EXPECT_EQ(p.At(0, 1), (TRgba{6, 5, 4, 255}));
}

TEST(BmpRead, TheLastRowsPaddingMayBeMissing) {
  Bytes b = BitmapFile(1, 2, 4);
  b.pop_back();
  EXPECT_NO_THROW(DecodeBmp(b));
  b.pop_back();
  EXPECT_NE(ErrorOf<EPictureError>([&] {
              DecodeBmp(b);
            }).find("the file ends inside the pixel data (after 1 of 2 rows)"),
            std::string::npos);
}

TEST(BmpErrors, DamagedFilesNameWhatIsWrong) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;
  };
  const Bytes good = BitmapFile(3, 2, 12);
  const Case cases[] = {
      {"no signature", Bytes{'P', 'K', 3, 4}, "does not start with the signature BM"},
      {"short header", Bytes(good.begin(), good.begin() + 30), "ends inside its header"},
      {"header size", With(good, 14, 41, 4), "header size 41 is no bitmap header's"},
      {"planes", With(good, 26, 2, 2), "gives 2 planes instead of 1"},
      {"depth 23", With(good, 28, 23, 2), "depth of 23 bits per pixel is not valid"},
      {"zero width", With(good, 18, 0, 4), "the size 0 × 2"},
      {"too wide", With(good, 18, 16385, 4), "the size 16385 × 2"},
      {"too many pixels", With(With(good, 18, 8192, 4), 22, 2049, 4), "the size 8192 × 2049"},
      {"most negative height", With(good, 22, 0x80000000u, 4), "the size 3 × -2147483648"},
      {"pixels inside the header", With(good, 10, 40, 4), "pixel data at byte 40 lies inside"},
      {"pixels past the end", With(good, 10, 0xFFFFFFF0u, 4), "after 0 of 2 rows"},
      {"truncated pixels", Bytes(good.begin(), good.end() - 13), "after 0 of 2 rows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = ErrorOf<EPictureError>([&] { DecodeBmp(c.bytes); });
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(message.rfind("Bitmap: ", 0), 0u) << message;
  }
  for (size_t n = 0; n < good.size() - 3; ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    ASSERT_FALSE(ErrorOf<EPictureError>([&] { DecodeBmp(cut); }).empty()) << n << " bytes";
  }
}

TEST(BmpErrors, EachUnsupportedKindIsNamed) {
  const Bytes good = BitmapFile(3, 2, 12);
  const std::pair<Bytes, const char*> cases[] = {
      {With(good, 28, 8, 2), "a depth of 8 bits per pixel is not supported"},
      {With(good, 28, 32, 2), "a depth of 32 bits per pixel is not supported"},
      {With(good, 30, 1, 4), "compression (method 1) is not supported"},
      {With(good, 14, 12, 4), "the OS/2 bitmap header is not supported"},
  };
  for (const auto& [bytes, expected] : cases) {
    const std::string message = ErrorOf<EPictureUnsupported>([&] { DecodeBmp(bytes); });
    EXPECT_NE(message.find(expected), std::string::npos) << message;
  }
}

TEST(BmpWrite, AFileOfItsOwnHeaderPaddingAndOrder) {
  TPixels p(2, 2, false, {});
  p.At(0, 0) = {1, 2, 3, 255};
  p.At(1, 0) = {4, 5, 6, 255};
  p.At(0, 1) = {7, 8, 9, 255};
  p.At(1, 1) = {10, 11, 12, 255};
  const Bytes b = EncodeBmp(p);
  ASSERT_EQ(b.size(), 54u + 2 * 8);
  const Bytes header(b.begin(), b.begin() + 30);
  EXPECT_EQ(header, (Bytes{'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                           0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0}));
  // Bottom row first, blue-green-red, two bytes of zero padding per row.
  const Bytes rows(b.begin() + 54, b.end());
  EXPECT_EQ(rows, (Bytes{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(BmpWrite, EveryPaddingReadsBack) {
  for (int width = 1; width <= 6; ++width) {
    const TPixels p = PatternPixels(width, 5, false);
    EXPECT_EQ(DecodeBmp(EncodeBmp(p)), p) << width;
  }
}

TEST(BmpWrite, RefusesWhatABitmapCannotHold) {
  EXPECT_NE(ErrorOf<EPictureError>([] { EncodeBmp(TPixels()); }).find("empty"), std::string::npos);
  TPixels translucent = PatternPixels(3, 3, true);
  EXPECT_NE(ErrorOf<EPictureError>([&] { EncodeBmp(translucent); }).find("transparency"),
            std::string::npos);
  // An alpha channel that is opaque everywhere loses nothing.
  TPixels opaque(3, 3, true, {1, 2, 3, 255});
  EXPECT_EQ(DecodeBmp(EncodeBmp(opaque)).At(2, 2), (TRgba{1, 2, 3, 255}));
}

}  // namespace
