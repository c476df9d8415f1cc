// The picture fuzz targets' property on their committed seeds, under the native sanitizers.
// With VEL_WRITE_SEEDS set in the environment it first writes the seeds into
// fuzz/corpus/fuzz_png/ and fuzz/corpus/fuzz_bmp/: pictures of the artwork's formats, from our
// writer and from independent ones, and a few damaged copies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "fuzz/PictureFuzz.h"
#include "tests/picture/Pictures.h"
#include "ui/picture/Bmp.h"
#include "ui/picture/Png.h"

namespace {

using namespace picture_test;
namespace fs = std::filesystem;
using picture_fuzz::Format;

const fs::path kCorpus = VEL_FUZZ_CORPUS;

// Flips one bit and puts the chunk's CRC right again, so only what the bit means is damaged.
Bytes FlipInChunk(Bytes png, size_t chunkAt, size_t offset, uint8_t bit) {
  const uint32_t length = uint32_t{png[chunkAt]} << 24 | uint32_t{png[chunkAt + 1]} << 16 |
                          uint32_t{png[chunkAt + 2]} << 8 | png[chunkAt + 3];
  png[chunkAt + 8 + offset] ^= bit;
  const uint32_t crc =
      static_cast<uint32_t>(crc32(0, png.data() + chunkAt + 4, static_cast<uInt>(length + 4)));
  for (int i = 0; i < 4; ++i)
    png[chunkAt + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

std::map<std::string, Bytes> PngSeeds() {
  const Bytes rgb = ui::EncodePng(PatternPixels(37, 23, false));
  const Bytes rgba = ui::EncodePng(PatternPixels(37, 23, true));
  constexpr size_t kIdat = 33;  // after the signature and IHDR
  Bytes crc = rgba;
  crc[kIdat + 20] ^= 4;
  Bytes filtered = PngBuilder()
                       .Ihdr(2, 2, 6)
                       .Idat(Zlib({0, 1, 2, 3, 4, 5, 6, 7, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16}))
                       .Iend()
                       .Get();
  return {
      {"rgb.png", rgb},
      {"rgba.png", rgba},
      {"rgba-chunks.png", ui::EncodePng(PatternPixels(37, 23, true), {.IdatChunkSize = 64})},
      {"rgb-paeth.png", Fixture("rgb-filter4.png")},
      {"rgb-key.png", Fixture("rgb-key.png")},
      {"rgba-imagemagick.png", Fixture("rgba-imagemagick.png")},
      {"damaged-crc.png", crc},
      {"damaged-cut.png",
       Bytes(rgba.begin(), rgba.begin() + static_cast<ptrdiff_t>(rgba.size() / 2))},
      {"damaged-zlib.png", FlipInChunk(rgb, kIdat, 0, 0x10)},
      {"damaged-adler.png", FlipInChunk(rgb, kIdat, rgb.size() - kIdat - 24 - 1, 1)},
      {"damaged-filter.png", filtered},
  };
}

std::map<std::string, Bytes> BmpSeeds() {
  const Bytes rgb = ui::EncodeBmp(PatternPixels(37, 23, false));
  Bytes topDown = ui::EncodeBmp(PatternPixels(6, 5, false));
  for (int i = 0; i < 4; ++i) topDown[22 + i] = static_cast<uint8_t>(uint32_t(-5) >> (8 * i));
  Bytes depth8 = rgb;
  depth8[28] = 8;
  return {
      {"rgb.bmp", rgb},
      {"rgb-topdown.bmp", topDown},
      {"rgb-v5.bmp", Fixture("rgb-v5.bmp")},
      {"damaged-cut.bmp", Bytes(rgb.begin(), rgb.begin() + 400)},
      {"damaged-depth8.bmp", depth8},
  };
}

void WriteSeeds(const std::string& target, const std::map<std::string, Bytes>& seeds) {
  const fs::path dir = kCorpus / target;
  fs::create_directories(dir);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
}

void CheckCorpus(const std::string& target, Format format, size_t expected) {
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus / target)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(picture_fuzz::Check(format, bytes), "") << entry.path();
    ++count;
  }
  EXPECT_GE(count, expected) << "seeds are missing from " << (kCorpus / target);
}

TEST(PictureFuzzSeeds, EverySeedHoldsTheTargetsProperty) {
  if (std::getenv("VEL_WRITE_SEEDS")) {
    WriteSeeds("fuzz_png", PngSeeds());
    WriteSeeds("fuzz_bmp", BmpSeeds());
  }
  CheckCorpus("fuzz_png", Format::Png, PngSeeds().size());
  CheckCorpus("fuzz_bmp", Format::Bmp, BmpSeeds().size());
}

TEST(PictureFuzzSeeds, TheDamagedSeedsAreDamagedAsNamed) {
  // A seed that stopped being damaged (or broke in another place) would fuzz less than it says.
  const std::map<std::string, const char*> png = {
      {"damaged-crc.png", "CRC of chunk IDAT"},
      {"damaged-cut.png", "ends inside chunk IDAT"},
      {"damaged-zlib.png", "zlib"},
      {"damaged-adler.png", "Adler-32"},
      {"damaged-filter.png", "unknown filter 7"},
  };
  const auto pngSeeds = PngSeeds();
  for (const auto& [name, message] : png) {
    const std::string error = ErrorOf<ui::EPictureError>([&] { ui::DecodePng(pngSeeds.at(name)); });
    EXPECT_NE(error.find(message), std::string::npos) << name << ": " << error;
  }
  const auto bmpSeeds = BmpSeeds();
  EXPECT_NE(ErrorOf<ui::EPictureError>([&] {
              ui::DecodeBmp(bmpSeeds.at("damaged-cut.bmp"));
            }).find("ends inside the pixel data"),
            std::string::npos);
  // The bottom-up rows of the seed, read as top-down, give the picture upside down.
  const ui::TPixels upsideDown = ui::DecodeBmp(bmpSeeds.at("rgb-topdown.bmp"));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(upsideDown.At(x, y), Pattern(x, 4 - y, false));
  }
}

}  // namespace
