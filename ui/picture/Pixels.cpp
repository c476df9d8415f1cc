// Pixel storage and the size limits every decoder shares.
#include "ui/picture/Pixels.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

#include "runtime/Sanitizer.h"
#include "ui/picture/PictureError.h"

namespace ui {
namespace {

// Frees storage whatever part of it is marked as not to be touched.
void FreeStorage(TRgba* data, size_t bytes) {
  rt::UnpoisonMemory(data, bytes);
  delete[] data;
}

// The storage of the last pictures freed, kept for the next ones. A picture is large, and a heap
// may give a large block back to the system as soon as it is freed (Wine's does, with blocks
// from some tens of KiB up, depending on what lies around them): every page of the next picture
// then faults in afresh, and where a fault is slow (on our virtual build machines, about 14 µs a
// page) that costs more than decoding the picture. A view closed and opened again thus decodes
// its pictures into memory the program still has. glibc's malloc keeps blocks of these sizes
// itself, so natively this changes little.
class TKeptStorage {
 public:
  ~TKeptStorage() {
    closed = true;
    for (size_t i = 0; i < count_; ++i) FreeStorage(blocks_[i].Data, blocks_[i].Bytes);
  }

  // The smallest kept block of at least `bytes` and at most a quarter more, taken out of the
  // store; null when none fits.
  TRgba* Take(size_t bytes, size_t& capacity) {
    std::lock_guard lock(mutex_);
    size_t best = count_;
    for (size_t i = 0; i < count_; ++i) {
      const size_t have = blocks_[i].Bytes;
      if (have >= bytes && have - bytes <= bytes / 4 &&
          (best == count_ || have < blocks_[best].Bytes)) {
        best = i;
      }
    }
    if (best == count_) return nullptr;
    const Block block = Remove(best);
    capacity = block.Bytes;
    rt::UnpoisonMemory(block.Data, bytes);
    return block.Data;
  }

  // Keeps a freed block (the oldest kept ones make room), or answers false for the caller to
  // free it: blocks of a few pages, cheap to fault in again, and blocks beyond the bound.
  bool Keep(TRgba* data, size_t bytes) {
    if (bytes < kMinKept || bytes > kMaxKeptPictureBytes) return false;
    std::lock_guard lock(mutex_);
    while (count_ == kMaxBlocks || kept_ + bytes > kMaxKeptPictureBytes) {
      const Block oldest = Remove(0);
      FreeStorage(oldest.Data, oldest.Bytes);
    }
    rt::PoisonMemory(data, bytes);
    blocks_[count_++] = {data, bytes};
    kept_ += bytes;
    return true;
  }

  size_t Kept() {
    std::lock_guard lock(mutex_);
    return kept_;
  }

  // Set once the store is gone, at the program's (or the library's) end: storage freed later
  // is freed at once. A plain flag, which outlives every object with a destructor.
  static constinit inline bool closed = false;

 private:
  static constexpr size_t kMinKept = size_t{16} << 10;
  static constexpr size_t kMaxBlocks = 8;

  struct Block {
    TRgba* Data = nullptr;
    size_t Bytes = 0;
  };

  Block Remove(size_t i) {
    const Block block = blocks_[i];
    std::move(blocks_.begin() + static_cast<ptrdiff_t>(i) + 1,
              blocks_.begin() + static_cast<ptrdiff_t>(count_),
              blocks_.begin() + static_cast<ptrdiff_t>(i));
    --count_;
    kept_ -= block.Bytes;
    return block;
  }

  std::mutex mutex_;
  std::array<Block, kMaxBlocks> blocks_{};
  size_t count_ = 0;
  size_t kept_ = 0;
};

TKeptStorage& Kept() {
  static TKeptStorage kept;
  return kept;
}

}  // namespace

size_t KeptPictureBytes() {
  return TKeptStorage::closed ? 0 : Kept().Kept();
}

std::unique_ptr<TRgba[], TPixelStorage> TPixels::NewStorage(size_t pixels) {
  const size_t bytes = pixels * sizeof(TRgba);
  size_t capacity = 0;
  if (!TKeptStorage::closed) {
    if (TRgba* data = Kept().Take(bytes, capacity)) {
      return std::unique_ptr<TRgba[], TPixelStorage>(data, TPixelStorage{capacity});
    }
  }
  return std::unique_ptr<TRgba[], TPixelStorage>(new TRgba[pixels], TPixelStorage{bytes});
}

void TPixelStorage::operator()(TRgba* data) const {
  if (TKeptStorage::closed || !Kept().Keep(data, Bytes)) FreeStorage(data, Bytes);
}

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
  p.data_ = NewStorage(p.PixelCount());
  return p;
}

TPixels::TPixels(int width, int height, bool hasAlpha, TRgba fill)
    : TPixels(Uninitialized(width, height, hasAlpha)) {
  std::fill_n(data_.get(), PixelCount(), fill);
}

TPixels::TPixels(const TPixels& other)
    : width_(other.width_), height_(other.height_), hasAlpha_(other.hasAlpha_) {
  if (other.data_) {
    data_ = NewStorage(PixelCount());
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
