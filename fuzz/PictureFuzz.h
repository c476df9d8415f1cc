// The property both picture fuzz targets hold, shared with the native test that checks it on
// their seeds: a file either fails with a picture error or reads into a picture that our writer
// writes and our reader reads back to the same pixels. Any other exception escapes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ui/picture/Bmp.h"
#include "ui/picture/PictureError.h"
#include "ui/picture/Png.h"

namespace picture_fuzz {

enum class Format { Png, Bmp };

// Empty when the property holds; otherwise what went wrong.
inline std::string Check(Format format, std::span<const uint8_t> bytes) {
  ui::TPixels pixels;
  try {
    pixels = format == Format::Png ? ui::DecodePng(bytes) : ui::DecodeBmp(bytes);
  } catch (const ui::EPictureError&) {
    return {};
  }
  if (pixels.Empty()) return "a picture without pixels was read";
  if (format == Format::Bmp && pixels.HasAlpha()) return "a bitmap was read with alpha";
  const std::vector<uint8_t> again =
      format == Format::Png ? ui::EncodePng(pixels, {.Level = 1}) : ui::EncodeBmp(pixels);
  const ui::TPixels reread = format == Format::Png ? ui::DecodePng(again) : ui::DecodeBmp(again);
  if (!(reread == pixels)) return "the picture written again reads back differently";
  return {};
}

}  // namespace picture_fuzz
