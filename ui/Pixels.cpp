// Pixel buffers.
#include "ui/Pixels.h"

namespace ui {

uint64_t TPixelBuffer::NextSerial() {
  static uint64_t next = 0;  // the window layer runs on one thread
  return ++next;
}

TPixelBuffer::TPixelBuffer(int width, int height, TPixel fill)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      hasAlpha_((fill >> 24) != 255),
      serial_(NextSerial()),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

TPixelBuffer::TPixelBuffer(const TPixelBuffer& other)
    : width_(other.width_),
      height_(other.height_),
      hasAlpha_(other.hasAlpha_),
      serial_(NextSerial()),
      pixels_(other.pixels_) {}

TPixelBuffer& TPixelBuffer::operator=(const TPixelBuffer& other) {
  if (this == &other) return *this;
  width_ = other.width_;
  height_ = other.height_;
  hasAlpha_ = other.hasAlpha_;
  pixels_ = other.pixels_;
  serial_ = NextSerial();
  return *this;
}

}  // namespace ui
