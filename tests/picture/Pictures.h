// What the picture tests share: the fixtures' pixel pattern and files, a builder of PNG files
// chunk by chunk (so a test can damage exactly one thing), and a check of an error's kind and
// message.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/Exception.h"
#include "ui/picture/PictureError.h"
#include "ui/picture/Pixels.h"

namespace picture_test {

using Bytes = std::vector<uint8_t>;

// The pixels of every fixture in tests/data/pictures, as make-fixtures.py draws them.
inline constexpr int kFixtureWidth = 37;
inline constexpr int kFixtureHeight = 23;
inline ui::TRgba Pattern(int x, int y, bool alpha) {
  return {static_cast<uint8_t>(x * 7 + y * 13), static_cast<uint8_t>(x * x + y * 3),
          static_cast<uint8_t>((x ^ y) * 29 + 5),
          static_cast<uint8_t>(alpha ? (x * 11 + y * 17) % 251 : 255)};
}
inline ui::TPixels PatternPixels(int width, int height, bool alpha) {
  ui::TPixels p(width, height, alpha, {});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) p.At(x, y) = Pattern(x, y, alpha);
  }
  return p;
}

inline Bytes Fixture(const std::string& name) {
  std::ifstream in(std::string(VEL_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
  EXPECT_TRUE(in) << "missing fixture " << name;
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void PutBe32(Bytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
}

// A PNG file built chunk by chunk; every chunk gets its right CRC unless a test breaks it.
class PngBuilder {
 public:
  PngBuilder() { bytes_ = {137, 80, 78, 71, 13, 10, 26, 10}; }

  PngBuilder& Chunk(const char* type, const Bytes& data) {
    PutBe32(bytes_, static_cast<uint32_t>(data.size()));
    const size_t typeAt = bytes_.size();
    bytes_.insert(bytes_.end(), type, type + 4);
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    PutBe32(bytes_, static_cast<uint32_t>(
                        crc32(0, bytes_.data() + typeAt, static_cast<uInt>(data.size() + 4))));
    return *this;
  }
  PngBuilder& Ihdr(uint32_t width, uint32_t height, uint8_t colourType, uint8_t depth = 8,
                   uint8_t interlace = 0, uint8_t compression = 0, uint8_t filter = 0) {
    Bytes d;
    PutBe32(d, width);
    PutBe32(d, height);
    d.insert(d.end(), {depth, colourType, compression, filter, interlace});
    return Chunk("IHDR", d);
  }
  PngBuilder& Idat(const Bytes& zlibData) { return Chunk("IDAT", zlibData); }
  PngBuilder& Iend() { return Chunk("IEND", {}); }
  const Bytes& Get() const { return bytes_; }

 private:
  Bytes bytes_;
};

// Filtered rows (each with its filter byte) as one zlib stream.
inline Bytes Zlib(const Bytes& raw, int level = 9) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level), Z_OK);
  out.resize(size);
  return out;
}

// The message of the error `f` raises, checked to be of kind E (and not of a more special
// kind when E is the damaged-picture error itself); empty when it raises nothing.
template <typename E, typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    if constexpr (std::is_same_v<E, ui::EPictureError>) {
      EXPECT_EQ(dynamic_cast<const ui::EPictureUnsupported*>(&e), nullptr)
          << "a damaged picture reported as unsupported: " << e.what();
    }
    return e.what();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "unexpected error kind: " << e.what();
    return e.what();
  }
  return {};
}

}  // namespace picture_test
