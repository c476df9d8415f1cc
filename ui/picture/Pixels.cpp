// Pixel storage and the size limits every decoder shares.
#include "ui/picture/Pixels.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "ui/picture/PictureError.h"

namespace ui {

bool PictureSizeAllowed(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return false;
  }
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * sizeof(TRgba) <=
         kMaxPictureBytes;
}

uint64_t TPixels::NextSerial() {
  static uint64_t next = 0;  // pictures are made and drawn on the user-interface thread
  return ++next;
}

TPixels TPixels::Uninitialized(int width, int height, bool hasAlpha) {
  if (!PictureSizeAllowed(width, height)) {
    throw EPictureError(rt::Utf8ToUtf16(
        "A picture of " + std::to_string(width) + " × " + std::to_string(height) +
        " pixels is outside the limits (1 to 16384 on a side, at most 64 MiB of pixels)"));
  }
  TPixels p;
  p.width_ = width;
  p.height_ = height;
  p.hasAlpha_ = hasAlpha;
  p.data_ = std::make_unique_for_overwrite<TRgba[]>(p.PixelCount());
  return p;
}

TPixels::TPixels(int width, int height, bool hasAlpha, TRgba fill)
    : TPixels(Uninitialized(width, height, hasAlpha)) {
  std::fill_n(data_.get(), PixelCount(), fill);
}

TPixels::TPixels(const TPixels& other)
    : width_(other.width_), height_(other.height_), hasAlpha_(other.hasAlpha_) {
  if (other.data_) {
    data_ = std::make_unique_for_overwrite<TRgba[]>(PixelCount());
    std::memcpy(data_.get(), other.data_.get(), PixelCount() * sizeof(TRgba));
  }
}

TPixels& TPixels::operator=(const TPixels& other) {
  if (this != &other) *this = TPixels(other);
  return *this;
}

TPixels::TPixels(TPixels&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      hasAlpha_(std::exchange(other.hasAlpha_, false)),
      serial_(std::exchange(other.serial_, NextSerial())),
      data_(std::move(other.data_)) {}

TPixels& TPixels::operator=(TPixels&& other) noexcept {
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  hasAlpha_ = std::exchange(other.hasAlpha_, false);
  serial_ = std::exchange(other.serial_, NextSerial());
  data_ = std::move(other.data_);
  return *this;
}

bool operator==(const TPixels& a, const TPixels& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_ || a.hasAlpha_ != b.hasAlpha_) return false;
  return a.PixelCount() == 0 ||
         std::memcmp(a.data_.get(), b.data_.get(), a.PixelCount() * sizeof(TRgba)) == 0;
}

}  // namespace ui
