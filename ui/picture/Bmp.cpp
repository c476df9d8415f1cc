// Reading and writing 24-bit bitmap files.
#include "ui/picture/Bmp.h"

#include <cstring>
#include <string>

#include "ui/picture/PictureError.h"

namespace ui {
namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;       // BITMAPINFOHEADER
constexpr int32_t kPixelsPerMetre = 3780;  // 96 pixels per inch

[[noreturn]] void Damaged(const std::string& what) {
  throw EPictureError(rt::Utf8ToUtf16("Bitmap: " + what));
}

[[noreturn]] void Unsupported(const std::string& what) {
  throw EPictureUnsupported(
      rt::Utf8ToUtf16("Bitmap: " + what + " is not supported (only uncompressed 24-bit bitmaps)"));
}

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool IsBmp(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

TPixels DecodeBmp(std::span<const uint8_t> bytes) {
  if (!IsBmp(bytes)) Damaged("the file does not start with the signature BM");
  if (bytes.size() < kFileHeader + 4) Damaged("the file ends inside its header");
  const uint8_t* d = bytes.data();
  const uint32_t pixelsAt = Le32(d + 10);
  const uint32_t headerSize = Le32(d + 14);
  if (headerSize == 12 || headerSize == 64) Unsupported("the OS/2 bitmap header");
  // BITMAPINFOHEADER and the V2, V3, V4 and V5 headers that extend it.
  if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124) {
    Damaged("the header size " + std::to_string(headerSize) + " is no bitmap header's");
  }
  if (bytes.size() < kFileHeader + headerSize) Damaged("the file ends inside its header");
  const int64_t width = static_cast<int32_t>(Le32(d + 18));
  const int64_t rawHeight = static_cast<int32_t>(Le32(d + 22));
  const uint16_t planes = Le16(d + 26);
  const uint16_t bits = Le16(d + 28);
  const uint32_t compression = Le32(d + 30);
  if (planes != 1) Damaged("the header gives " + std::to_string(planes) + " planes instead of 1");
  if (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 32) {
    Unsupported("a depth of " + std::to_string(bits) + " bits per pixel");
  }
  if (bits != 24) Damaged("the depth of " + std::to_string(bits) + " bits per pixel is not valid");
  if (compression != 0) Unsupported("compression (method " + std::to_string(compression) + ")");
  // A negative height marks rows stored top-down.
  const bool bottomUp = rawHeight > 0;
  const int64_t height = bottomUp ? rawHeight : -rawHeight;
  if (!PictureSizeAllowed(width, height)) {
    Damaged("the size " + std::to_string(width) + " × " + std::to_string(rawHeight) +
            " is not a picture size it can hold (1 to 16384 on a side, at most 64 MiB of pixels)");
  }
  if (pixelsAt < kFileHeader + headerSize) {
    Damaged("the pixel data at byte " + std::to_string(pixelsAt) + " lies inside the header");
  }
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  const size_t stride = (rowBytes + 3) & ~size_t{3};
  // The last row's padding may be missing, as some writers leave it out.
  const uint64_t needed = uint64_t{stride} * static_cast<uint64_t>(height - 1) + rowBytes;
  if (pixelsAt > bytes.size() || bytes.size() - pixelsAt < needed) {
    const uint64_t have = pixelsAt > bytes.size() ? 0 : (bytes.size() - pixelsAt) / stride;
    Damaged("the file ends inside the pixel data (after " + std::to_string(have) + " of " +
            std::to_string(height) + " rows)");
  }

  TPixels pixels = TPixels::Uninitialized(static_cast<int>(width), static_cast<int>(height), false);
  const uint8_t* src = d + pixelsAt;
  for (int64_t r = 0; r < height; ++r, src += stride) {
    TRgba* out = pixels.Row(static_cast<int>(bottomUp ? height - 1 - r : r));
    const uint8_t* p = src;
    for (int64_t x = 0; x < width; ++x, p += 3) out[x] = {p[2], p[1], p[0], 255};
  }
  return pixels;
}

std::vector<uint8_t> EncodeBmp(const TPixels& pixels) {
  if (pixels.Empty()) throw EPictureError(u"Bitmap writer: the picture is empty");
  if (pixels.HasAlpha()) {
    for (const TRgba& p : pixels.Data()) {
      if (p.A != 255) {
        throw EPictureError(u"Bitmap writer: a 24-bit bitmap cannot keep a picture's transparency");
      }
    }
  }
  const size_t width = static_cast<size_t>(pixels.Width());
  const size_t stride = (width * 3 + 3) & ~size_t{3};
  const size_t imageBytes = stride * static_cast<size_t>(pixels.Height());
  const size_t pixelsAt = kFileHeader + kInfoHeader;
  std::vector<uint8_t> out(pixelsAt + imageBytes);  // the padding stays zero
  uint8_t* d = out.data();
  d[0] = 'B';
  d[1] = 'M';
  PutLe32(d + 2, static_cast<uint32_t>(out.size()));
  PutLe32(d + 10, static_cast<uint32_t>(pixelsAt));
  PutLe32(d + 14, kInfoHeader);
  PutLe32(d + 18, static_cast<uint32_t>(pixels.Width()));
  PutLe32(d + 22, static_cast<uint32_t>(pixels.Height()));
  PutLe16(d + 26, 1);
  PutLe16(d + 28, 24);
  PutLe32(d + 34, static_cast<uint32_t>(imageBytes));
  PutLe32(d + 38, kPixelsPerMetre);
  PutLe32(d + 42, kPixelsPerMetre);
  uint8_t* row = d + pixelsAt;
  for (int y = pixels.Height() - 1; y >= 0; --y, row += stride) {
    const TRgba* src = pixels.Row(y);
    uint8_t* p = row;
    for (size_t x = 0; x < width; ++x, p += 3) {
      p[0] = src[x].B;
      p[1] = src[x].G;
      p[2] = src[x].R;
    }
  }
  return out;
}

}  // namespace ui
