// Windows bitmap files ("BM"): the reader takes 24-bit uncompressed bitmaps, bottom-up or
// top-down, with a BITMAPINFOHEADER or one of its longer successors; the writer stores 24-bit
// bottom-up bitmaps with a BITMAPINFOHEADER. Rows are padded to four bytes either way.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ui/picture/Pixels.h"

namespace ui {

// Whether the bytes start with the bitmap file signature "BM".
bool IsBmp(std::span<const uint8_t> bytes);

// Raises EPictureUnsupported for a well-formed bitmap of another kind, EPictureError for a
// damaged one. The picture has no alpha.
TPixels DecodeBmp(std::span<const uint8_t> bytes);
inline TPixels DecodeBmp(std::string_view bytes) {
  return DecodeBmp({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

// Raises EPictureError for an empty picture, or one with a pixel that is not opaque: a 24-bit
// bitmap has nowhere to keep its transparency.
std::vector<uint8_t> EncodeBmp(const TPixels& pixels);

}  // namespace ui
