// Decoded pictures as the window layer draws them: 32-bit pixels, premultiplied alpha, rows top
// down. Each buffer has a serial number, so a backend can make one native bitmap per picture and
// find it again.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/Types.h"

namespace ui {

// 0xAARRGGBB with the colour premultiplied by alpha (in memory: B, G, R, A, as a 32-bit DIB).
using TPixel = uint32_t;

inline constexpr TPixel PixelFromColor(TColor rgb, uint8_t alpha = 255) {
  const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  return (uint32_t{alpha} << 24) | ((r * alpha / 255) << 16) | ((g * alpha / 255) << 8) |
         (b * alpha / 255);
}

// Source over destination, both premultiplied.
inline constexpr TPixel BlendOver(TPixel dst, TPixel src) {
  const uint32_t a = src >> 24;
  if (a == 255) return src;
  if (a == 0) return dst;
  const uint32_t keep = 255 - a;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    out |= ((s + (d * keep + 127) / 255) & 0xFF) << shift;
  }
  return out;
}

class TPixelBuffer {
 public:
  TPixelBuffer() : serial_(NextSerial()) {}
  // A buffer of `width` x `height` pixels of one value. Sizes are not checked here; decoders
  // bound them before they allocate.
  TPixelBuffer(int width, int height, TPixel fill = 0);
  TPixelBuffer(const TPixelBuffer& other);
  TPixelBuffer& operator=(const TPixelBuffer& other);
  TPixelBuffer(TPixelBuffer&&) noexcept = default;
  TPixelBuffer& operator=(TPixelBuffer&&) noexcept = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Whether any pixel is not fully opaque (the backend then blends instead of copying).
  bool HasAlpha() const { return hasAlpha_; }
  void SetHasAlpha(bool value) { hasAlpha_ = value; }
  // Identifies this picture's contents; a copy gets its own number.
  uint64_t Serial() const { return serial_; }

  TPixel At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, TPixel p) { pixels_[Index(x, y)] = p; }
  TPixel* Row(int y) { return pixels_.data() + Index(0, y); }
  const TPixel* Row(int y) const { return pixels_.data() + Index(0, y); }
  const std::vector<TPixel>& Pixels() const { return pixels_; }

 private:
  static uint64_t NextSerial();
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  bool hasAlpha_ = false;
  uint64_t serial_;
  std::vector<TPixel> pixels_;
};

}  // namespace ui
