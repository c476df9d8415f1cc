// The format-neutral entry points and picture files.
#include "ui/picture/Picture.h"

#include <fstream>
#include <iterator>

#include "runtime/Stream.h"
#include "ui/picture/Bmp.h"
#include "ui/picture/PictureError.h"
#include "ui/picture/Png.h"

namespace ui {
namespace {

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = s[s.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

TPixels DecodePicture(std::span<const uint8_t> bytes) {
  if (IsPng(bytes)) return DecodePng(bytes);
  if (IsBmp(bytes)) return DecodeBmp(bytes);
  throw EPictureError(u"The data is neither a PNG picture nor a bitmap");
}

std::vector<uint8_t> EncodePicture(const TPixels& pixels, TPictureFormat format) {
  return format == TPictureFormat::Png ? EncodePng(pixels) : EncodeBmp(pixels);
}

TPixels LoadPictureFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw rt::EReadError(rt::Utf8ToUtf16("Cannot open the picture file " + path));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) throw rt::EReadError(rt::Utf8ToUtf16("Cannot read the picture file " + path));
  return DecodePicture(bytes);
}

void SavePictureFile(const TPixels& pixels, const std::string& path) {
  TPictureFormat format;
  if (EndsWithNoCase(path, ".png")) {
    format = TPictureFormat::Png;
  } else if (EndsWithNoCase(path, ".bmp")) {
    format = TPictureFormat::Bmp;
  } else {
    throw EPictureError(
        rt::Utf8ToUtf16("The picture file " + path + " ends neither in .png nor in .bmp"));
  }
  const std::vector<uint8_t> bytes = EncodePicture(pixels, format);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw rt::EWriteError(rt::Utf8ToUtf16("Cannot write the picture file " + path));
}

}  // namespace ui
