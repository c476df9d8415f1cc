// Pictures whichever their format: the reader tells PNG from bitmap by the file's signature,
// the writer takes the format by name or by a file's extension.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/picture/Pixels.h"

namespace ui {

enum class TPictureFormat : uint8_t { Png, Bmp };

// Raises EPictureError for bytes of neither format, or whatever their format's reader raises.
TPixels DecodePicture(std::span<const uint8_t> bytes);
inline TPixels DecodePicture(std::string_view bytes) {
  return DecodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}
// PNG at its default options, or a bitmap.
std::vector<uint8_t> EncodePicture(const TPixels& pixels, TPictureFormat format);

// Files. Raise rt::EReadError / rt::EWriteError when the file cannot be read or written, and
// EPictureError for a name that ends neither in .png nor in .bmp (either case).
TPixels LoadPictureFile(const std::string& path);
void SavePictureFile(const TPixels& pixels, const std::string& path);

}  // namespace ui
