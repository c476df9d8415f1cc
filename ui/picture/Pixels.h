// Decoded pictures in memory: 8-bit red, green, blue and straight (unpremultiplied) alpha per
// pixel, rows top-down and unpadded. Decoders produce them, encoders and the image control take
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace ui {

struct TRgba {
  uint8_t R;
  uint8_t G;
  uint8_t B;
  uint8_t A;
  friend bool operator==(const TRgba&, const TRgba&) = default;
};
static_assert(sizeof(TRgba) == 4);

// The largest picture the toolkit holds: at most this many pixels on a side, and at most this
// many bytes of decoded pixels. Decoders check both before they allocate anything.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr uint64_t kMaxPictureBytes = uint64_t{64} << 20;

// Whether width × height is a size the toolkit can hold; false for zero or negative sides.
bool PictureSizeAllowed(int64_t width, int64_t height);

// The bytes of freed pictures' storage held for the next pictures (see Pixels.cpp); never more
// than kMaxKeptPictureBytes.
inline constexpr size_t kMaxKeptPictureBytes = size_t{16} << 20;
size_t KeptPictureBytes();

// Frees a picture's storage, or hands it back to be kept for the next picture. It knows the
// storage's size, which may exceed the picture's (a freed picture's storage taken again).
struct TPixelStorage {
  size_t Bytes = 0;
  void operator()(TRgba* data) const;
};

class TPixels {
 public:
  TPixels() = default;
  // Every pixel is `fill`. Raises EPictureError for a size PictureSizeAllowed refuses.
  TPixels(int width, int height, bool hasAlpha, TRgba fill);
  TPixels(const TPixels& other);
  TPixels& operator=(const TPixels& other);
  TPixels(TPixels&& other) noexcept;
  TPixels& operator=(TPixels&& other) noexcept;
  ~TPixels() = default;

  // For decoders: the pixels are left unset, to be written before anyone reads them.
  static TPixels Uninitialized(int width, int height, bool hasAlpha);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0; }
  // Whether the picture came with an alpha channel (RGBA); without one every pixel is opaque.
  bool HasAlpha() const { return hasAlpha_; }
  void SetHasAlpha(bool value) { hasAlpha_ = value; }

  TRgba* Row(int y) { return data_.get() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const TRgba* Row(int y) const {
    return data_.get() + static_cast<size_t>(y) * static_cast<size_t>(width_);
  }
  TRgba& At(int x, int y) { return Row(y)[x]; }
  const TRgba& At(int x, int y) const { return Row(y)[x]; }
  size_t PixelCount() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }
  std::span<TRgba> Data() { return {data_.get(), PixelCount()}; }
  std::span<const TRgba> Data() const { return {data_.get(), PixelCount()}; }

  friend bool operator==(const TPixels& a, const TPixels& b);

  // Identifies what the pixels are now, so that a backend makes one native bitmap per picture
  // and finds it again: a copy, an assignment or Changed() gives a new number.
  uint64_t Serial() const { return serial_; }
  // Code that writes into a picture after it was drawn calls this.
  void Changed() { serial_ = NextSerial(); }

 private:
  static uint64_t NextSerial();

  int width_ = 0;
  int height_ = 0;
  bool hasAlpha_ = false;
  uint64_t serial_ = NextSerial();
  std::unique_ptr<TRgba[], TPixelStorage> data_;

  // Storage for `pixels` pixels, left unset: a kept block when one fits, else a new one.
  static std::unique_ptr<TRgba[], TPixelStorage> NewStorage(size_t pixels);
};

}  // namespace ui
