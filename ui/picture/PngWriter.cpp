// The PNG writer: RGB or RGBA rows, each behind the filter chosen for it, deflated by zlib and
// split into IDAT chunks.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "ui/picture/PictureError.h"
#include "ui/picture/Png.h"
#include "ui/picture/PngFormat.h"
#include "ui/picture/Zlib.h"

namespace ui {
namespace {

using png::Paeth;

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

// Appends length, type, data and CRC; the vector has room reserved for it.
void PutChunk(std::vector<uint8_t>& out, uint32_t type, const uint8_t* data, size_t length) {
  const size_t at = out.size();
  out.resize(at + length + 12);
  uint8_t* p = out.data() + at;
  PutBe32(p, static_cast<uint32_t>(length));
  PutBe32(p + 4, type);
  if (length > 0) std::memcpy(p + 8, data, length);
  PutBe32(p + 8 + length, zlib::Crc(0, p + 4, length + 4));
}

// Writes filter byte and filtered row to `out` (n + 1 bytes); answers the sum of the filtered
// bytes' magnitudes as signed values, the usual measure of how well a row will compress.
uint64_t Filter(TPngFilter filter, const uint8_t* row, const uint8_t* prior, size_t n, size_t bpp,
                uint8_t* out) {
  out[0] = static_cast<uint8_t>(filter);
  uint8_t* f = out + 1;
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= bpp ? prior[i - bpp] : 0;
    int predicted = 0;
    switch (filter) {
      case TPngFilter::Sub:
        predicted = a;
        break;
      case TPngFilter::Up:
        predicted = b;
        break;
      case TPngFilter::Average:
        predicted = (a + b) >> 1;
        break;
      case TPngFilter::Paeth:
        predicted = Paeth(a, b, c);
        break;
      default:
        break;
    }
    f[i] = static_cast<uint8_t>(row[i] - predicted);
  }
  uint64_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += f[i] < 128 ? f[i] : 256 - f[i];
  return sum;
}

class Deflater {
 public:
  explicit Deflater(int level) {
    zs_ = zlib::NewStream();
    if (deflateInit(&zs_, level) != Z_OK) throw std::bad_alloc();
  }
  ~Deflater() { deflateEnd(&zs_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  void Put(const uint8_t* data, size_t length, bool last) {
    zs_.next_in = const_cast<Bytef*>(data);
    zs_.avail_in = static_cast<uInt>(length);
    const int flush = last ? Z_FINISH : Z_NO_FLUSH;
    for (;;) {
      if (used_ == out_.size()) out_.resize(out_.empty() ? 65536 : out_.size() * 2);
      zs_.next_out = out_.data() + used_;
      zs_.avail_out = static_cast<uInt>(out_.size() - used_);
      const int status = deflate(&zs_, flush);
      used_ = out_.size() - zs_.avail_out;
      if (status == Z_STREAM_END) return;
      if (status == Z_STREAM_ERROR) throw EPictureError(u"PNG writer: zlib's deflate failed");
      if (!last && zs_.avail_in == 0 && zs_.avail_out > 0) return;
    }
  }

  const uint8_t* Data() const { return out_.data(); }
  size_t Size() const { return used_; }

 private:
  z_stream zs_;
  std::vector<uint8_t> out_;
  size_t used_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodePng(const TPixels& pixels, const TPngOptions& options) {
  if (pixels.Empty()) throw EPictureError(u"PNG writer: the picture is empty");
  if (options.Level < 0 || options.Level > 9) {
    throw EPictureError(rt::Utf8ToUtf16("PNG writer: the compression level " +
                                        std::to_string(options.Level) + " is not 0 to 9"));
  }
  if (options.IdatChunkSize == 0 || options.IdatChunkSize > png::kMaxChunkLength) {
    throw EPictureError(u"PNG writer: the IDAT chunk size must be 1 to 2^31 - 1 bytes");
  }
  if (options.Filter > TPngFilter::Adaptive) throw EPictureError(u"PNG writer: unknown filter");

  const bool alpha = pixels.HasAlpha();
  const size_t bpp = alpha ? 4 : 3;
  const size_t width = static_cast<size_t>(pixels.Width());
  const size_t n = width * bpp;
  const bool adaptive = options.Filter == TPngFilter::Adaptive;
  // Two raw rows (this one and the one above), then one filtered row per candidate filter.
  const size_t candidates = adaptive ? 5 : 1;
  auto work = std::make_unique<uint8_t[]>(2 * n + candidates * (n + 1));
  uint8_t* row = work.get();
  uint8_t* prior = row + n;  // zeros above the first row
  uint8_t* filtered = prior + n;

  Deflater deflater(options.Level);
  for (int y = 0; y < pixels.Height(); ++y) {
    const TRgba* src = pixels.Row(y);
    uint8_t* p = row;
    for (size_t x = 0; x < width; ++x) {
      *p++ = src[x].R;
      *p++ = src[x].G;
      *p++ = src[x].B;
      if (alpha) *p++ = src[x].A;
    }
    const uint8_t* chosen = filtered;
    if (adaptive) {
      uint64_t best = UINT64_MAX;
      for (int f = 0; f < 5; ++f) {
        uint8_t* candidate = filtered + static_cast<size_t>(f) * (n + 1);
        const uint64_t sum = Filter(static_cast<TPngFilter>(f), row, prior, n, bpp, candidate);
        if (sum < best) {
          best = sum;
          chosen = candidate;
        }
      }
    } else {
      Filter(options.Filter, row, prior, n, bpp, filtered);
    }
    deflater.Put(chosen, n + 1, y + 1 == pixels.Height());
    std::swap(row, prior);
  }

  std::vector<uint8_t> out;
  const size_t chunks = deflater.Size() / options.IdatChunkSize + 1;
  out.reserve(sizeof png::kSignature + 25 + deflater.Size() + 12 * chunks + 12);
  out.resize(sizeof png::kSignature);
  std::memcpy(out.data(), png::kSignature, sizeof png::kSignature);
  uint8_t ihdr[13] = {};
  for (int i = 0; i < 4; ++i) {
    ihdr[i] = static_cast<uint8_t>(static_cast<uint32_t>(pixels.Width()) >> (24 - 8 * i));
    ihdr[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(pixels.Height()) >> (24 - 8 * i));
  }
  ihdr[8] = 8;
  ihdr[9] = alpha ? 6 : 2;
  PutChunk(out, png::kIHDR, ihdr, sizeof ihdr);
  for (size_t at = 0; at < deflater.Size(); at += options.IdatChunkSize) {
    PutChunk(out, png::kIDAT, deflater.Data() + at,
             std::min<size_t>(options.IdatChunkSize, deflater.Size() - at));
  }
  PutChunk(out, png::kIEND, nullptr, 0);
  return out;
}

}  // namespace ui
