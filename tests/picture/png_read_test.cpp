// The PNG reader: pixels from independent encoders and hand-made rows, image data in many
// chunks, and one clear error for each way a file can be damaged or unsupported.
#include <gtest/gtest.h>

#include "tests/picture/Pictures.h"
#include "ui/picture/Png.h"

namespace {

using namespace picture_test;
using ui::DecodePng;
using ui::EPictureError;
using ui::EPictureUnsupported;
using ui::TPixels;
using ui::TRgba;

void ExpectPattern(const TPixels& p, bool alpha) {
  ASSERT_EQ(p.Width(), kFixtureWidth);
  ASSERT_EQ(p.Height(), kFixtureHeight);
  EXPECT_EQ(p.HasAlpha(), alpha);
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      ASSERT_EQ(p.At(x, y), Pattern(x, y, alpha)) << "pixel " << x << ", " << y;
    }
  }
}

// A 3 × 4 RGB picture whose rows use Sub, Up, Average and Paeth in turn: Sub and Up wrap past
// 255, Average needs nine bits (20 + 240), and Paeth picks each of left, above and above-left,
// with both of its tie rules (above over above-left; left over above-left).
const Bytes kHandRows = {
    1, 200, 5,  30,  156, 245, 246, 159, 6,   235,  // Sub
    2, 1,   1,  1,   246, 246, 246, 125, 128, 129,  // Up
    3, 166, 17, 15,  226, 136, 30,  202, 192, 227,  // Average
    4, 0,   5,  236, 57,  10,  10,  180, 238, 209,  // Paeth
};
const TRgba kHandPixels[4][3] = {
    {{200, 5, 30, 255}, {100, 250, 20, 255}, {3, 0, 255, 255}},
    {{201, 6, 31, 255}, {90, 240, 10, 255}, {128, 128, 128, 255}},
    {{10, 20, 30, 255}, {20, 10, 50, 255}, {20, 5, 60, 255}},
    {{10, 25, 10, 255}, {77, 20, 40, 255}, {1, 2, 3, 255}},
};

Bytes HandPicture() {
  return PngBuilder().Ihdr(3, 4, 2).Idat(Zlib(kHandRows)).Iend().Get();
}

// A valid 2 × 2 RGBA picture with unfiltered rows; tests damage it one piece at a time.
const Bytes kSmallRows = {0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 13, 14, 15, 16};

TEST(PngFilters, EachFilterFromAnIndependentEncoderGivesTheSamePixels) {
  for (bool alpha : {false, true}) {
    for (int f = 0; f < 5; ++f) {
      const std::string name =
          std::string(alpha ? "rgba" : "rgb") + "-filter" + std::to_string(f) + ".png";
      SCOPED_TRACE(name);
      ExpectPattern(DecodePng(Fixture(name)), alpha);
    }
  }
}

TEST(PngFilters, HandMadeRowsOfEveryFilterGiveTheirPixels) {
  const TPixels p = DecodePng(HandPicture());
  ASSERT_EQ(p.Width(), 3);
  ASSERT_EQ(p.Height(), 4);
  EXPECT_FALSE(p.HasAlpha());
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(p.At(x, y), kHandPixels[y][x]) << x << ", " << y;
  }
}

TEST(PngFilters, RowsSpanningManyBatchesReconstructFromTheRowAbove) {
  // Tall pictures cross the reader's batches of rows; Up and Paeth read the row above across
  // each boundary, for RGB (reconstructed in the batch) and RGBA (in the picture) alike.
  for (bool alpha : {false, true}) {
    for (ui::TPngFilter f : {ui::TPngFilter::Up, ui::TPngFilter::Paeth}) {
      const TPixels original = PatternPixels(300, 400, alpha);
      EXPECT_EQ(DecodePng(ui::EncodePng(original, {.Level = 1, .Filter = f})), original);
    }
  }
}

TEST(PngKinds, RgbAndRgbaWithAncillaryChunksSkipped) {
  // ImageMagick's files carry gAMA, cHRM, bKGD, tIME and tEXt, before and after the data.
  ExpectPattern(DecodePng(Fixture("rgb-imagemagick.png")), false);
  ExpectPattern(DecodePng(Fixture("rgba-imagemagick.png")), true);
}

TEST(PngKinds, AColourKeyMakesExactlyItsColourTransparent) {
  const TPixels p = DecodePng(Fixture("rgb-key.png"));
  EXPECT_TRUE(p.HasAlpha());
  EXPECT_EQ(p.At(0, 0), (TRgba{0, 0, 5, 0}));
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      if (x == 0 && y == 0) continue;
      ASSERT_EQ(p.At(x, y), Pattern(x, y, false)) << x << ", " << y;
    }
  }
  // A key sample beyond eight bits matches nothing: the picture stays opaque.
  Bytes key;
  for (uint16_t v : {256, 0, 5}) key.insert(key.end(), {uint8_t(v >> 8), uint8_t(v)});
  const TPixels opaque =
      DecodePng(PngBuilder().Ihdr(3, 4, 2).Chunk("tRNS", key).Idat(Zlib(kHandRows)).Iend().Get());
  EXPECT_FALSE(opaque.HasAlpha());
}

TEST(PngChunks, ImageDataSplitAcrossManyChunksIncludingEmptyOnes) {
  const Bytes z = Zlib(kHandRows);
  PngBuilder b;
  b.Ihdr(3, 4, 2).Idat({});
  for (uint8_t byte : z) b.Idat({byte}).Idat({});
  const TPixels p = DecodePng(b.Iend().Get());
  EXPECT_EQ(p, DecodePng(HandPicture()));
}

TEST(PngChunks, WhatFollowsIendIsIgnored) {
  Bytes file = HandPicture();
  file.insert(file.end(), {'j', 'u', 'n', 'k'});
  EXPECT_EQ(DecodePng(file), DecodePng(HandPicture()));
}

TEST(PngErrors, DamagedFilesNameWhatIsWrong) {
  const Bytes rows = kSmallRows;
  auto file = [&](auto&& build) {
    PngBuilder b;
    build(b);
    return b.Get();
  };
  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;
  } cases[] = {
      {"no signature", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}, "PNG signature"},
      {"only a signature", PngBuilder().Get(), "ends after the signature"},
      {"IHDR not first", file([&](PngBuilder& b) { b.Chunk("tEXt", {'a'}).Ihdr(2, 2, 6); }),
       "the first chunk is tEXt, not IHDR"},
      {"short IHDR", file([&](PngBuilder& b) { b.Chunk("IHDR", Bytes(12)); }),
       "IHDR has 12 bytes instead of 13"},
      {"zero width", file([&](PngBuilder& b) { b.Ihdr(0, 2, 6); }), "0 × 2 is not a valid"},
      {"colour type 5", file([&](PngBuilder& b) { b.Ihdr(2, 2, 5); }),
       "colour type 5 does not exist"},
      {"depth 4 for RGB", file([&](PngBuilder& b) { b.Ihdr(2, 2, 2, 4); }),
       "bit depth 4 is not valid for colour type 2"},
      {"compression 1", file([&](PngBuilder& b) { b.Ihdr(2, 2, 6, 8, 0, 1); }),
       "compression method 1"},
      {"filter method 1", file([&](PngBuilder& b) { b.Ihdr(2, 2, 6, 8, 0, 0, 1); }),
       "filter method 1"},
      {"interlace 2", file([&](PngBuilder& b) { b.Ihdr(2, 2, 6, 8, 2); }), "interlace method 2"},
      {"second IHDR",
       file([&](PngBuilder& b) { b.Ihdr(2, 2, 6).Ihdr(2, 2, 6).Idat(Zlib(rows)).Iend(); }),
       "second IHDR"},
      {"no IDAT", file([&](PngBuilder& b) { b.Ihdr(2, 2, 6).Iend(); }), "no IDAT chunk"},
      {"no IEND", file([&](PngBuilder& b) { b.Ihdr(2, 2, 6).Idat(Zlib(rows)); }),
       "ends without an IEND"},
      {"IDAT split by another chunk", file([&](PngBuilder& b) {
         const Bytes z = Zlib(rows);
         b.Ihdr(2, 2, 6).Idat({z.begin(), z.begin() + 4}).Chunk("tEXt", {'x'});
         b.Idat({z.begin() + 4, z.end()}).Iend();
       }),
       "IDAT chunks are not consecutive"},
      {"chunk type not letters",
       file([&](PngBuilder& b) { b.Ihdr(2, 2, 6).Chunk("ab1d", {}).Idat(Zlib(rows)).Iend(); }),
       "invalid type 0x61623164"},
      {"bad tRNS", file([&](PngBuilder& b) {
         b.Ihdr(2, 2, 2).Chunk("tRNS", {0, 1});
       }),
       "tRNS has 2 bytes instead of 6"},
      {"unknown row filter", file([&](PngBuilder& b) {
         Bytes bad = rows;
         bad[9] = 5;
         b.Ihdr(2, 2, 6).Idat(Zlib(bad)).Iend();
       }),
       "row 2 has the unknown filter 5"},
      {"data far too short for its size",
       file([&](PngBuilder& b) { b.Ihdr(4096, 4096, 6).Idat(Zlib(rows)).Iend(); }),
       "far too short for 4096 × 4096 pixels"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = ErrorOf<EPictureError>([&] { DecodePng(c.bytes); });
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    EXPECT_EQ(message.rfind("PNG picture: ", 0), 0u) << message;
  }
}

TEST(PngErrors, ACrcMismatchNamesTheChunk) {
  Bytes file = PngBuilder().Ihdr(2, 2, 6).Idat(Zlib(kSmallRows)).Iend().Get();
  file[8 + 25 + 8 + 3] ^= 0x40;  // a byte of the IDAT data
  EXPECT_NE(ErrorOf<EPictureError>([&] { DecodePng(file); }).find("CRC of chunk IDAT at byte 33"),
            std::string::npos);
  Bytes header = PngBuilder().Ihdr(2, 2, 6).Idat(Zlib(kSmallRows)).Iend().Get();
  header[8 + 8 + 12] ^= 1;  // the IHDR's interlace byte: the CRC speaks before the header does
  EXPECT_NE(ErrorOf<EPictureError>([&] { DecodePng(header); }).find("CRC of chunk IHDR"),
            std::string::npos);
}

TEST(PngErrors, EveryTruncationFailsCleanly) {
  const Bytes whole = HandPicture();
  for (size_t n = 0; n < whole.size(); ++n) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
    const std::string message = ErrorOf<EPictureError>([&] { DecodePng(cut); });
    ASSERT_FALSE(message.empty()) << "a file cut to " << n << " bytes was read";
  }
  const Bytes insideIdat(whole.begin(), whole.begin() + 8 + 25 + 12);
  EXPECT_NE(ErrorOf<EPictureError>([&] { DecodePng(insideIdat); }).find("ends inside chunk IDAT"),
            std::string::npos);
}

TEST(PngErrors, ABadZlibStreamNamesWhatIsWrong) {
  const Bytes z = Zlib(kSmallRows);
  auto read = [](const Bytes& idat) {
    return ErrorOf<EPictureError>(
        [&] { DecodePng(PngBuilder().Ihdr(2, 2, 6).Idat(idat).Iend().Get()); });
  };
  Bytes header = z;
  header[0] = 0x79;  // not a deflate header
  EXPECT_NE(read(header).find("damaged (zlib: incorrect header check)"), std::string::npos);
  Bytes adler = z;
  adler.back() ^= 1;
  EXPECT_NE(read(adler).find("Adler-32 checksum of the image data does not match"),
            std::string::npos);
  const Bytes noAdler(z.begin(), z.end() - 4);
  EXPECT_NE(read(noAdler).find("stops before the end of its zlib stream"), std::string::npos);
  const Bytes half(z.begin(), z.begin() + 6);
  EXPECT_NE(read(half).find("ends in row"), std::string::npos);
  Bytes longer = kSmallRows;
  longer.push_back(0);
  EXPECT_NE(read(Zlib(longer)).find("holds more than 2 × 2 pixels"), std::string::npos);
  const Bytes dictionary = {0x78, 0xBB, 0, 0, 0, 1};  // FDICT set, header check valid
  EXPECT_NE(read(dictionary).find("preset zlib dictionary"), std::string::npos);
}

TEST(PngErrors, SizesBeyondTheLimitsAreRefusedBeforeAnyData) {
  for (auto [w, h] : {std::pair{16385u, 1u}, std::pair{1u, 16385u}, std::pair{8192u, 2049u}}) {
    const Bytes file = PngBuilder().Ihdr(w, h, 6).Idat(Zlib(kSmallRows)).Iend().Get();
    const std::string message = ErrorOf<EPictureError>([&] { DecodePng(file); });
    EXPECT_NE(message.find("is larger than a picture may be"), std::string::npos) << message;
  }
  // Widths past 2^31 break the format itself.
  const Bytes huge = PngBuilder().Ihdr(0x80000000u, 1, 6).Iend().Get();
  EXPECT_NE(ErrorOf<EPictureError>([&] { DecodePng(huge); }).find("not a valid picture size"),
            std::string::npos);
  const Bytes longChunk = [] {
    Bytes b = PngBuilder().Ihdr(2, 2, 6).Get();
    PutBe32(b, 0x80000000u);
    b.insert(b.end(), {'I', 'D', 'A', 'T'});
    return b;
  }();
  EXPECT_NE(ErrorOf<EPictureError>([&] {
              DecodePng(longChunk);
            }).find("claims a length of 2147483648 bytes"),
            std::string::npos);
}

TEST(PngErrors, EachUnsupportedKindIsNamed) {
  struct Case {
    Bytes bytes;
    const char* message;
  } cases[] = {
      {Fixture("unsupported-interlaced.png"), "interlacing (Adam7) is not supported"},
      {Fixture("unsupported-palette.png"), "a palette (colour type 3) is not supported"},
      {Fixture("unsupported-16bit.png"), "a depth of 16 bits per sample is not supported"},
      {Fixture("unsupported-grey.png"), "greyscale (colour type 0) is not supported"},
      {PngBuilder().Ihdr(2, 2, 4).Get(), "greyscale with alpha (colour type 4) is not supported"},
      {PngBuilder().Ihdr(2, 2, 6).Chunk("ZZZZ", {}).Idat(Zlib(kSmallRows)).Iend().Get(),
       "the critical chunk ZZZZ is not supported"},
  };
  for (const Case& c : cases) {
    const std::string message = ErrorOf<EPictureUnsupported>([&] { DecodePng(c.bytes); });
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
  // An unknown ancillary chunk is skipped, and a suggested palette means nothing to RGB.
  EXPECT_NO_THROW(DecodePng(PngBuilder()
                                .Ihdr(2, 2, 6)
                                .Chunk("zzZZ", {1, 2})
                                .Chunk("PLTE", {0, 0, 0})
                                .Idat(Zlib(kSmallRows))
                                .Iend()
                                .Get()));
}

}  // namespace
