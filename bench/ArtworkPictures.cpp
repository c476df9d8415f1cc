// The artwork stand-ins, the inflate floor and the allocation counter the picture benchmarks
// share natively and under Wine.
#include "bench/ArtworkPictures.h"

#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "ui/picture/Bmp.h"
#include "ui/picture/Png.h"
#include "ui/picture/Zlib.h"

namespace {

std::atomic<uint64_t> allocations{0};
std::atomic<uint64_t> allocatedBytes{0};

}  // namespace

void* operator new(size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  allocatedBytes.fetch_add(size, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  return ::operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}

namespace bench {
namespace {

using ui::TPixels;
using ui::TRgba;

constexpr TRgba kBlack{0, 0, 0, 255};
constexpr TRgba kWhite{255, 255, 255, 255};
constexpr TRgba kGrey{128, 128, 128, 255};
constexpr TRgba kClear{255, 255, 255, 0};

void Fill(TPixels& p, int left, int top, int right, int bottom, TRgba c) {
  for (int y = std::max(top, 0); y < std::min(bottom, p.Height()); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, p.Width()); ++x) p.At(x, y) = c;
  }
}

// A white box with a grey outline, where an edit sits on the artwork.
void Box(TPixels& p, int left, int top, int width, int height) {
  Fill(p, left, top, left + width, top + height, kGrey);
  Fill(p, left + 1, top + 1, left + width - 1, top + height - 1, kWhite);
}

// A black frame with a title band and rows of boxes, as the sheet's blocks are drawn. With
// alpha, the outside is transparent and the frame's outer edge fades over two pixels.
TPixels Block(int width, int height, bool alpha, int seed) {
  TPixels p(width, height, alpha, alpha ? kClear : kWhite);
  const int inset = alpha ? 2 : 0;
  if (alpha) {
    for (int ring = 0; ring < 2; ++ring) {
      const TRgba soft{0, 0, 0, static_cast<uint8_t>(ring == 0 ? 80 : 170)};
      Fill(p, ring, ring, width - ring, height - ring, soft);
    }
  }
  Fill(p, inset, inset, width - inset, height - inset, kBlack);
  Fill(p, inset + 5, inset + 30, width - inset - 5, height - inset - 5, kWhite);
  const int rowHeight = 27 + seed % 5;
  for (int y = inset + 38, row = 0; y + 22 < height - inset - 8; y += rowHeight, ++row) {
    // Each row: a black caption band, then boxes of varying widths.
    Fill(p, inset + 8, y, inset + 8 + 90 + (row * 13 + seed) % 40, y + 21, kBlack);
    for (int x = inset + 140 + (row * 7) % 20, k = 0; x + 30 < width - inset - 10; ++k) {
      const int w = 30 + ((k * 37 + row * 11 + seed) % 70);
      Box(p, x, y, std::min(w, width - inset - 10 - x), 21);
      x += w + 6;
    }
  }
  return p;
}

// The header strip: two black bars with a gap in the middle, transparent around them.
TPixels Strip(int width, int height) {
  TPixels p(width, height, true, kClear);
  const int gap = 220;
  for (int y = 0; y < height; ++y) {
    const uint8_t a = static_cast<uint8_t>(y == 0 || y == height - 1 ? 128 : 255);
    for (int x = 0; x < width; ++x) {
      const bool inGap = x > (width - gap) / 2 && x < (width + gap) / 2;
      if (!inGap && x > 2 && x < width - 3) p.At(x, y) = {0, 0, 0, a};
    }
  }
  return p;
}

// The emblem: rings and diagonal strokes, black on white.
TPixels Emblem(int width, int height) {
  TPixels p(width, height, false, kWhite);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int dx = x - width / 2, dy = (y - height / 2) * 3;
      const int r2 = dx * dx + dy * dy;
      const bool ring = (r2 / 300) % 4 == 0 && r2 < 95 * 95;
      const bool stroke = ((x + y) / 6) % 5 == 0 && r2 >= 95 * 95;
      if (ring || stroke) p.At(x, y) = kBlack;
    }
  }
  return p;
}

std::vector<uint8_t> JoinedImageData(const std::vector<uint8_t>& png) {
  std::vector<uint8_t> data;
  for (size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 |
                            uint32_t{png[at + 2]} << 8 | png[at + 3];
    if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0) {
      data.insert(data.end(), png.begin() + static_cast<ptrdiff_t>(at + 8),
                  png.begin() + static_cast<ptrdiff_t>(at + 8 + length));
    }
    at += size_t{length} + 12;
  }
  return data;
}

ArtworkPicture Make(std::string name, TPixels pixels, bool png) {
  ArtworkPicture a;
  a.Name = std::move(name);
  a.Png = png;
  a.Width = pixels.Width();
  a.Height = pixels.Height();
  a.File = png ? ui::EncodePng(pixels) : ui::EncodeBmp(pixels);
  if (png) a.ImageData = JoinedImageData(a.File);
  return a;
}

}  // namespace

const std::vector<ArtworkPicture>& Artwork() {
  static const std::vector<ArtworkPicture> pictures = [] {
    std::vector<ArtworkPicture> v;
    v.push_back(Make("Image5 450x324 RGBA", Block(450, 324, true, 1), true));
    v.push_back(Make("Image2 545x344 RGB", Block(545, 344, false, 2), true));
    v.push_back(Make("Image1 1354x27 RGBA", Strip(1354, 27), true));
    v.push_back(Make("Image6 200x70 BMP", Emblem(200, 70), false));
    v.push_back(Make("Image3 545x252 RGB", Block(545, 252, false, 3), true));
    v.push_back(Make("Image4 544x472 RGBA", Block(544, 472, true, 4), true));
    v.push_back(Make("Image7 450x35 RGB", Block(450, 35, false, 5), true));
    return v;
  }();
  return pictures;
}

size_t Floor(const ArtworkPicture& picture, std::vector<uint8_t>& out) {
  if (!picture.Png) {
    const size_t bytes = size_t(picture.Width) * 3;
    const size_t stride = (bytes + 3) & ~size_t{3};
    const size_t total = stride * size_t(picture.Height);
    if (out.size() < total) out.resize(total);
    std::memcpy(out.data(), picture.File.data() + 54, total);
    return total;
  }
  const size_t filtered = size_t(picture.Height) * (size_t(picture.Width) * 4 + 1);
  if (out.size() < filtered) out.resize(filtered);
  z_stream zs = ui::zlib::NewStream();
  if (inflateInit(&zs) != Z_OK) throw std::bad_alloc();
  zs.next_in = const_cast<Bytef*>(picture.ImageData.data());
  zs.avail_in = static_cast<uInt>(picture.ImageData.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&zs, Z_FINISH);
  const size_t produced = zs.total_out;
  inflateEnd(&zs);
  if (status != Z_STREAM_END) throw std::runtime_error("the floor's inflate failed");
  return produced;
}

uint64_t AllocationCount() {
  return allocations.load(std::memory_order_relaxed);
}
uint64_t AllocatedBytes() {
  return allocatedBytes.load(std::memory_order_relaxed);
}

}  // namespace bench
