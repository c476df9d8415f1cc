// The PNG reader. A first pass walks the chunks, checks every CRC and the chunk order and reads
// the header, so a damaged or unsupported file fails before anything is allocated; the second
// inflates the IDAT chunks in place, a batch of rows at a time, and reconstructs each batch
// straight into the picture.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "ui/picture/PictureError.h"
#include "ui/picture/Png.h"
#include "ui/picture/PngFormat.h"
#include "ui/picture/Zlib.h"

namespace ui {
namespace {

using png::Be32;
using png::ChunkName;
using png::Paeth;

[[noreturn]] void Damaged(const std::string& what) {
  throw EPictureError(rt::Utf8ToUtf16("PNG picture: " + what));
}

[[noreturn]] void Unsupported(const std::string& what) {
  throw EPictureUnsupported(rt::Utf8ToUtf16(
      "PNG picture: " + what + " is not supported (only 8-bit RGB and RGBA, not interlaced)"));
}

struct Chunk {
  uint32_t Type = 0;
  const uint8_t* Data = nullptr;
  uint32_t Length = 0;
};

// Walks the chunks of a file whose signature has been checked. Each step advances by at least
// the 12 bytes of a chunk's frame, so the walk ends on every input.
class ChunkWalker {
 public:
  // A walker over chunks checked once already need not check their CRCs again.
  ChunkWalker(std::span<const uint8_t> file, size_t position, bool checkCrc)
      : file_(file), position_(position), checkCrc_(checkCrc) {}

  // The next chunk, its frame (and CRC) checked; false when the file ends exactly here.
  bool Next(Chunk& chunk) {
    if (position_ == file_.size()) return false;
    const size_t left = file_.size() - position_;
    if (left < 8) Damaged("the file ends inside a chunk header at byte " + At(position_));
    const uint8_t* p = file_.data() + position_;
    chunk.Length = Be32(p);
    chunk.Type = Be32(p + 4);
    if (!png::ValidChunkType(chunk.Type)) {
      Damaged("a chunk at byte " + At(position_) + " has the invalid type " +
              ChunkName(chunk.Type));
    }
    if (chunk.Length > png::kMaxChunkLength) {
      Damaged("chunk " + ChunkName(chunk.Type) + " at byte " + At(position_) +
              " claims a length of " + std::to_string(chunk.Length) + " bytes");
    }
    if (left < 12 || left - 12 < chunk.Length) {
      Damaged("the file ends inside chunk " + ChunkName(chunk.Type) + " at byte " + At(position_) +
              " (it needs " + std::to_string(uint64_t{chunk.Length} + 12) + " bytes, " +
              std::to_string(left) + " are left)");
    }
    chunk.Data = p + 8;
    const uint32_t stored = Be32(chunk.Data + chunk.Length);
    if (checkCrc_ && zlib::Crc(zlib::Crc(0, p + 4, 4), chunk.Data, chunk.Length) != stored) {
      Damaged("the CRC of chunk " + ChunkName(chunk.Type) + " at byte " + At(position_) +
              " does not match its data");
    }
    position_ += size_t{chunk.Length} + 12;
    return true;
  }

  size_t Position() const { return position_; }

 private:
  static std::string At(size_t position) { return std::to_string(position); }

  std::span<const uint8_t> file_;
  size_t position_;
  bool checkCrc_;
};

struct Header {
  uint32_t Width = 0;
  uint32_t Height = 0;
  bool Alpha = false;  // colour type 6
  int Bpp = 3;
  // A tRNS colour key of an RGB picture: pixels of exactly this colour are transparent.
  bool HasKey = false;
  TRgba Key{};
  size_t FirstIdat = 0;    // file offset of the first IDAT chunk
  uint64_t IdatBytes = 0;  // their data, summed
};

void ReadIhdr(const Chunk& c, Header& h) {
  if (c.Length != 13) Damaged("IHDR has " + std::to_string(c.Length) + " bytes instead of 13");
  const uint8_t* d = c.Data;
  h.Width = Be32(d);
  h.Height = Be32(d + 4);
  const uint8_t depth = d[8];
  const uint8_t colour = d[9];
  if (h.Width == 0 || h.Height == 0 || h.Width > png::kMaxChunkLength ||
      h.Height > png::kMaxChunkLength) {
    Damaged("the size " + std::to_string(h.Width) + " × " + std::to_string(h.Height) +
            " is not a valid picture size");
  }
  switch (colour) {
    case 0:
      Unsupported("greyscale (colour type 0)");
    case 3:
      Unsupported("a palette (colour type 3)");
    case 4:
      Unsupported("greyscale with alpha (colour type 4)");
    case 2:
    case 6:
      break;
    default:
      Damaged("the colour type " + std::to_string(colour) + " does not exist");
  }
  if (depth == 16) Unsupported("a depth of 16 bits per sample");
  if (depth != 8) {
    Damaged("the bit depth " + std::to_string(depth) + " is not valid for colour type " +
            std::to_string(colour));
  }
  if (d[10] != 0) Damaged("the compression method " + std::to_string(d[10]) + " does not exist");
  if (d[11] != 0) Damaged("the filter method " + std::to_string(d[11]) + " does not exist");
  if (d[12] == 1) Unsupported("interlacing (Adam7)");
  if (d[12] != 0) Damaged("the interlace method " + std::to_string(d[12]) + " does not exist");
  if (!PictureSizeAllowed(h.Width, h.Height)) {
    throw EPictureError(rt::Utf8ToUtf16(
        "PNG picture: " + std::to_string(h.Width) + " × " + std::to_string(h.Height) +
        " pixels is larger than a picture may be (16384 on a side, 64 MiB of pixels)"));
  }
  h.Alpha = colour == 6;
  h.Bpp = h.Alpha ? 4 : 3;
}

// The first pass: everything but the image data itself.
Header ReadStructure(std::span<const uint8_t> file) {
  if (!IsPng(file)) Damaged("the file does not start with the PNG signature");
  ChunkWalker walker(file, sizeof png::kSignature, true);
  Header h;
  Chunk c;
  if (!walker.Next(c)) Damaged("the file ends after the signature");
  if (c.Type != png::kIHDR) Damaged("the first chunk is " + ChunkName(c.Type) + ", not IHDR");
  ReadIhdr(c, h);
  bool idatSeen = false;
  bool idatEnded = false;
  for (;;) {
    const size_t at = walker.Position();
    if (!walker.Next(c)) Damaged("the file ends without an IEND chunk");
    if (c.Type == png::kIDAT) {
      if (idatEnded) Damaged("the IDAT chunks are not consecutive");
      if (!idatSeen) h.FirstIdat = at;
      idatSeen = true;
      h.IdatBytes += c.Length;
      continue;
    }
    if (idatSeen) idatEnded = true;
    if (c.Type == png::kIEND) break;
    if (c.Type == png::kIHDR) Damaged("the file has a second IHDR chunk");
    if (c.Type == png::kTRNS && !h.Alpha && !idatSeen) {
      if (c.Length != 6) Damaged("tRNS has " + std::to_string(c.Length) + " bytes instead of 6");
      // A key sample above 255 matches no 8-bit pixel: the picture stays opaque.
      const uint16_t r = png::Be16(c.Data), g = png::Be16(c.Data + 2), b = png::Be16(c.Data + 4);
      h.HasKey = r <= 255 && g <= 255 && b <= 255;
      h.Key = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255};
      continue;
    }
    // A suggested palette is allowed in a true-colour picture and means nothing to us; any
    // other critical chunk changes how the picture reads, so it cannot be skipped.
    if (png::IsCritical(c.Type) && c.Type != png::kPLTE) {
      Unsupported("the critical chunk " + ChunkName(c.Type));
    }
  }
  if (!idatSeen) Damaged("the file has no IDAT chunk");
  // Deflate expands at most 1032 times, so too little data is known to be truncated before the
  // picture's memory is taken.
  const uint64_t filtered = uint64_t{h.Height} * (uint64_t{h.Width} * h.Bpp + 1);
  if (filtered > h.IdatBytes * 1032 + 1032) {
    Damaged("the image data of " + std::to_string(h.IdatBytes) + " bytes is far too short for " +
            std::to_string(h.Width) + " × " + std::to_string(h.Height) + " pixels");
  }
  return h;
}

// Reconstructs one row of n bytes; `out` may be `in` itself. `prior` is the row above,
// reconstructed (zeros above the first row).
template <int Bpp>
void Unfilter(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* out, size_t n) {
  switch (filter) {
    case 0:
      if (out != in) std::memcpy(out, in, n);
      return;
    case 1:
      for (size_t i = 0; i < Bpp; ++i) out[i] = in[i];
      for (size_t i = Bpp; i < n; ++i) out[i] = static_cast<uint8_t>(in[i] + out[i - Bpp]);
      return;
    case 2:
      for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(in[i] + prior[i]);
      return;
    case 3:
      for (size_t i = 0; i < Bpp; ++i) out[i] = static_cast<uint8_t>(in[i] + (prior[i] >> 1));
      for (size_t i = Bpp; i < n; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + ((out[i - Bpp] + prior[i]) >> 1));
      }
      return;
    case 4:
      for (size_t i = 0; i < Bpp; ++i) out[i] = static_cast<uint8_t>(in[i] + prior[i]);
      for (size_t i = Bpp; i < n; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + Paeth(out[i - Bpp], prior[i], prior[i - Bpp]));
      }
      return;
  }
}

// Inflates the IDAT chunks into the picture. The buffer holds a batch of whole filtered rows,
// followed by one reconstructed row: the row above the batch (zeros above the first row).
class ImageInflater {
 public:
  ImageInflater(const Header& h, TPixels& pixels)
      : h_(h),
        pixels_(pixels),
        rowBytes_(size_t{h.Width} * h.Bpp),
        stride_(rowBytes_ + 1),
        batchRows_(std::clamp<size_t>(kBatchBytes / stride_, 1, h.Height)) {
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(batchRows_ * stride_ + rowBytes_);
    above_ = buffer_.get() + batchRows_ * stride_;
    std::memset(above_, 0, rowBytes_);
    zs_ = zlib::NewStream();
    if (inflateInit(&zs_) != Z_OK) throw std::bad_alloc();
    StartBatch();
  }
  ~ImageInflater() { inflateEnd(&zs_); }
  ImageInflater(const ImageInflater&) = delete;
  ImageInflater& operator=(const ImageInflater&) = delete;

  void Feed(const uint8_t* data, uint32_t length) {
    zs_.next_in = const_cast<Bytef*>(data);
    zs_.avail_in = length;
    // Every call has input and room, so each one consumes input or makes output: the loop ends.
    // Bytes after the end of the zlib stream are ignored, as other readers ignore them.
    while (zs_.avail_in > 0 && !ended_) {
      uint8_t spare;
      if (rowsLeft_ == 0) {
        // Every row is complete: what follows must be the stream's end, with no more output.
        zs_.next_out = &spare;
        zs_.avail_out = 1;
      } else {
        zs_.next_out = buffer_.get() + fill_;
        zs_.avail_out = static_cast<uInt>(batchBytes_ - fill_);
      }
      const int status = inflate(&zs_, Z_NO_FLUSH);
      if (status == Z_STREAM_END) {
        ended_ = true;
      } else if (status == Z_MEM_ERROR) {
        throw std::bad_alloc();
      } else if (status == Z_NEED_DICT) {
        Damaged("the image data asks for a preset zlib dictionary");
      } else if (status != Z_OK) {
        const std::string reason = zs_.msg ? zs_.msg : "zlib error " + std::to_string(status);
        if (reason == "incorrect data check") {
          Damaged("the Adler-32 checksum of the image data does not match");
        }
        Damaged("the image data is damaged (zlib: " + reason + ")");
      }
      if (rowsLeft_ == 0) {
        if (zs_.avail_out == 0) Damaged("the image data holds more than " + Size() + " pixels");
        continue;
      }
      fill_ = batchBytes_ - zs_.avail_out;
      if (fill_ == batchBytes_) {
        Reconstruct();
        StartBatch();
      }
    }
  }

  void Finish() {
    if (rowsLeft_ > 0) {
      Damaged("the image data ends in row " + std::to_string(row_ + fill_ / stride_ + 1) + " of " +
              std::to_string(h_.Height));
    }
    if (!ended_) Damaged("the image data stops before the end of its zlib stream and checksum");
  }

 private:
  static constexpr size_t kBatchBytes = 32768;

  std::string Size() const { return std::to_string(h_.Width) + " × " + std::to_string(h_.Height); }

  void StartBatch() {
    rowsLeft_ = h_.Height - row_;
    batchBytes_ = std::min<size_t>(batchRows_, rowsLeft_) * stride_;
    fill_ = 0;
  }

  void Reconstruct() {
    const size_t rows = batchBytes_ / stride_;
    for (size_t i = 0; i < rows; ++i) {
      uint8_t* filtered = buffer_.get() + i * stride_;
      const uint8_t filter = filtered[0];
      const int y = static_cast<int>(row_ + i);
      if (filter > 4) {
        Damaged("row " + std::to_string(y + 1) + " has the unknown filter " +
                std::to_string(filter));
      }
      if (h_.Alpha) {
        // RGBA rows are the picture's own layout: reconstructed straight into it.
        auto* out = reinterpret_cast<uint8_t*>(pixels_.Row(y));
        const auto* prior = y == 0 ? above_ : reinterpret_cast<const uint8_t*>(pixels_.Row(y - 1));
        Unfilter<4>(filter, filtered + 1, prior, out, rowBytes_);
      } else {
        const uint8_t* prior = i == 0 ? above_ : filtered - stride_ + 1;
        Unfilter<3>(filter, filtered + 1, prior, filtered + 1, rowBytes_);
        Expand(filtered + 1, pixels_.Row(y));
      }
    }
    if (!h_.Alpha) std::memcpy(above_, buffer_.get() + (rows - 1) * stride_ + 1, rowBytes_);
    row_ += rows;
  }

  // Widens reconstructed RGB to RGBA. Each pixel is read as four bytes: the byte after a row's
  // last pixel is still inside the buffer (the next row's filter byte, or the row above).
  void Expand(const uint8_t* rgb, TRgba* out) const {
    const size_t width = h_.Width;
    if (!h_.HasKey) {
      for (size_t x = 0; x < width; ++x, rgb += 3) {
        uint32_t v;
        std::memcpy(&v, rgb, 4);
        v = ToRgba(v);
        std::memcpy(out + x, &v, 4);
      }
      return;
    }
    const TRgba key = h_.Key;
    for (size_t x = 0; x < width; ++x, rgb += 3) {
      const bool hit = rgb[0] == key.R && rgb[1] == key.G && rgb[2] == key.B;
      out[x] = {rgb[0], rgb[1], rgb[2], static_cast<uint8_t>(hit ? 0 : 255)};
    }
  }

  // Four bytes R, G, B, next as a native word, made R, G, B, 255 in memory order.
  static uint32_t ToRgba(uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) return v | 0xFF000000u;
    return v | 0xFFu;
  }

  const Header& h_;
  TPixels& pixels_;
  const size_t rowBytes_;
  const size_t stride_;
  const size_t batchRows_;
  std::unique_ptr<uint8_t[]> buffer_;
  uint8_t* above_ = nullptr;
  z_stream zs_;
  size_t row_ = 0;       // first row of the batch being filled
  size_t rowsLeft_ = 0;  // rows from the batch being filled to the end of the picture
  size_t batchBytes_ = 0;
  size_t fill_ = 0;
  bool ended_ = false;
};

}  // namespace

bool IsPng(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof png::kSignature &&
         std::memcmp(bytes.data(), png::kSignature, sizeof png::kSignature) == 0;
}

TPixels DecodePng(std::span<const uint8_t> bytes) {
  const Header h = ReadStructure(bytes);
  TPixels pixels = TPixels::Uninitialized(static_cast<int>(h.Width), static_cast<int>(h.Height),
                                          h.Alpha || h.HasKey);
  ImageInflater inflater(h, pixels);
  ChunkWalker walker(bytes, h.FirstIdat, false);
  Chunk c;
  // The first pass checked the frames and CRCs, and that the IDAT chunks are consecutive.
  while (walker.Next(c) && c.Type == png::kIDAT) inflater.Feed(c.Data, c.Length);
  inflater.Finish();
  return pixels;
}

}  // namespace ui
