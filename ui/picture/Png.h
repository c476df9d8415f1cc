// PNG pictures: the reader and the writer. The reader takes non-interlaced 8-bit RGB (colour
// type 2, with an optional tRNS colour key) and RGBA (colour type 6): every row filter, image
// data across any number of IDAT chunks, every chunk's CRC and the zlib stream's end and Adler
// checksum checked, ancillary chunks skipped. Anything else is refused with an error that names
// it. The writer stores RGB or RGBA (by the picture's HasAlpha) through zlib's deflate.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ui/picture/Pixels.h"

namespace ui {

// Whether the bytes start with the PNG signature.
bool IsPng(std::span<const uint8_t> bytes);

// Raises EPictureUnsupported for a well-formed picture of another kind, EPictureError for a
// damaged one; either way nothing is kept.
TPixels DecodePng(std::span<const uint8_t> bytes);
inline TPixels DecodePng(std::string_view bytes) {
  return DecodePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

// The row filter a writer puts before each row. Adaptive chooses per row the filter whose
// output has the smallest sum of magnitudes, which suits drawn artwork and screenshots alike.
enum class TPngFilter : uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4, Adaptive };

struct TPngOptions {
  int Level = 9;  // zlib's compression level, 0 (stored) to 9 (smallest)
  TPngFilter Filter = TPngFilter::Adaptive;
  // Image data longer than this is split into several IDAT chunks (at least 1 byte).
  uint32_t IdatChunkSize = 65536;
};

// Raises EPictureError for an empty picture or options out of range.
std::vector<uint8_t> EncodePng(const TPixels& pixels, const TPngOptions& options = {});

}  // namespace ui
