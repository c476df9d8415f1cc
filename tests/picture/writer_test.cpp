// The writers: what they write reads back through our reader and through an independent one
// (ImageMagick, where it is installed), in every filter and level; options out of range and
// pictures a format cannot hold are refused; picture files by extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "runtime/Stream.h"
#include "tests/picture/Pictures.h"
#include "ui/picture/Bmp.h"
#include "ui/picture/Picture.h"
#include "ui/picture/Png.h"

namespace {

using namespace picture_test;
using ui::EncodePng;
using ui::EPictureError;
using ui::TPixels;
using ui::TPngFilter;

std::filesystem::path TempDir() {
  const auto dir =
      std::filesystem::temp_directory_path() /
      ("vel-picture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return dir;
}

// Counts the IDAT chunks of a file our writer made.
int IdatChunks(const Bytes& png) {
  int count = 0;
  for (size_t at = 8; at + 8 <= png.size();) {
    const uint32_t length = uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 |
                            uint32_t{png[at + 2]} << 8 | png[at + 3];
    if (std::equal(png.begin() + at + 4, png.begin() + at + 8, "IDAT")) ++count;
    at += length + 12;
  }
  return count;
}

TEST(PngWrite, EveryFilterAndLevelReadsBack) {
  for (bool alpha : {false, true}) {
    const TPixels p = PatternPixels(61, 17, alpha);
    for (TPngFilter f : {TPngFilter::None, TPngFilter::Sub, TPngFilter::Up, TPngFilter::Average,
                         TPngFilter::Paeth, TPngFilter::Adaptive}) {
      for (int level : {0, 1, 9}) {
        EXPECT_EQ(ui::DecodePng(EncodePng(p, {.Level = level, .Filter = f})), p)
            << "filter " << int(f) << " level " << level << (alpha ? " RGBA" : " RGB");
      }
    }
  }
}

TEST(PngWrite, ColourTypeFollowsTheAlphaChannelAndTinyPicturesWork) {
  const Bytes rgb = EncodePng(PatternPixels(1, 1, false));
  const Bytes rgba = EncodePng(PatternPixels(1, 1, true));
  EXPECT_EQ(rgb[8 + 8 + 9], 2);
  EXPECT_EQ(rgba[8 + 8 + 9], 6);
  EXPECT_EQ(ui::DecodePng(rgba), PatternPixels(1, 1, true));
}

TEST(PngWrite, ImageDataIsSplitIntoChunksOfTheGivenSize) {
  const TPixels p = PatternPixels(40, 40, true);
  const Bytes one = EncodePng(p);
  EXPECT_EQ(IdatChunks(one), 1);
  const Bytes many = EncodePng(p, {.IdatChunkSize = 100});
  EXPECT_GE(IdatChunks(many), 5);
  EXPECT_EQ(ui::DecodePng(many), p);
  EXPECT_EQ(ui::DecodePng(EncodePng(p, {.IdatChunkSize = 1})), p);
}

TEST(PngWrite, RefusesEmptyPicturesAndOptionsOutOfRange) {
  const TPixels p = PatternPixels(2, 2, false);
  EXPECT_NE(ErrorOf<EPictureError>([] { EncodePng(TPixels()); }).find("empty"), std::string::npos);
  EXPECT_NE(ErrorOf<EPictureError>([&] { EncodePng(p, {.Level = 10}); }).find("level 10"),
            std::string::npos);
  EXPECT_NE(ErrorOf<EPictureError>([&] { EncodePng(p, {.IdatChunkSize = 0}); }).find("chunk size"),
            std::string::npos);
}

#ifndef _WIN32
// What ImageMagick reads from a file: its size, and its pixels as RGBA bytes.
Bytes ReadWithImageMagick(const std::filesystem::path& file, std::string& size) {
  const std::string identify = "identify -format '%w %h' '" + file.string() + "' 2>/dev/null";
  if (FILE* p = popen(identify.c_str(), "r")) {
    char line[64] = {};
    if (fgets(line, sizeof line, p)) size = line;
    pclose(p);
  }
  Bytes pixels;
  const std::string convert = "convert '" + file.string() + "' -depth 8 rgba:- 2>/dev/null";
  if (FILE* p = popen(convert.c_str(), "r")) {
    uint8_t buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) {
      pixels.insert(pixels.end(), buffer, buffer + n);
    }
    pclose(p);
  }
  return pixels;
}

TEST(IndependentReader, ImageMagickReadsWhatWeWrite) {
  if (std::system("identify -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  const auto dir = TempDir();
  const std::pair<const char*, TPixels> pictures[] = {
      {"rgba.png", PatternPixels(45, 19, true)},
      {"rgb.png", PatternPixels(45, 19, false)},
      {"rgb.bmp", PatternPixels(45, 19, false)},
  };
  for (const auto& [name, p] : pictures) {
    SCOPED_TRACE(name);
    ui::SavePictureFile(p, (dir / name).string());
    std::string size;
    const Bytes read = ReadWithImageMagick(dir / name, size);
    EXPECT_EQ(size, "45 19");
    ASSERT_EQ(read.size(), p.PixelCount() * 4);
    EXPECT_EQ(std::memcmp(read.data(), p.Data().data(), read.size()), 0);
  }
  std::filesystem::remove_all(dir);
}
#endif

TEST(PictureFiles, SavedByExtensionAndLoadedByContent) {
  const auto dir = TempDir();
  const TPixels rgba = PatternPixels(9, 4, true);
  const TPixels rgb = PatternPixels(9, 4, false);
  ui::SavePictureFile(rgba, (dir / "a.PNG").string());
  ui::SavePictureFile(rgb, (dir / "b.Bmp").string());
  EXPECT_EQ(ui::LoadPictureFile((dir / "a.PNG").string()), rgba);
  EXPECT_EQ(ui::LoadPictureFile((dir / "b.Bmp").string()), rgb);
  EXPECT_NE(ErrorOf<EPictureError>([&] {
              ui::SavePictureFile(rgb, (dir / "c.gif").string());
            }).find("ends neither in .png nor in .bmp"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "c.gif"));
  EXPECT_THROW(ui::LoadPictureFile((dir / "missing.png").string()), rt::EReadError);
  EXPECT_THROW(ui::SavePictureFile(rgb, (dir / "no-such-dir" / "x.png").string()), rt::EWriteError);
  EXPECT_NE(ErrorOf<EPictureError>([] {
              ui::DecodePicture(std::string_view("GIF89a"));
            }).find("neither a PNG picture nor a bitmap"),
            std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
