// The registry of carried pictures. Everything runs on the user-interface thread, as the rest
// of the toolkit does, so the registry takes no lock.
#include "ui/picture/Resources.h"

#include <map>
#include <string>

#include "ui/picture/Picture.h"
#include "ui/picture/PictureError.h"

namespace ui {
namespace {

struct Entry {
  std::span<const uint8_t> Bytes;
  std::weak_ptr<const TPixels> Decoded;
};

std::map<std::u16string, Entry, std::less<>>& Registry() {
  static std::map<std::u16string, Entry, std::less<>> registry;
  return registry;
}

}  // namespace

void RegisterPictureResource(std::u16string_view name, std::span<const uint8_t> bytes) {
  Entry& entry = Registry()[std::u16string(name)];
  // The same bytes again keep their decoded picture, which views showing it still share.
  if (entry.Bytes.data() == bytes.data() && entry.Bytes.size() == bytes.size()) return;
  entry = Entry{bytes, {}};
}

void ClearPictureResources() {
  Registry().clear();
}

std::shared_ptr<const TPixels> PictureResource(std::u16string_view name) {
  auto it = Registry().find(name);
  if (it == Registry().end()) {
    throw EPictureError(u"No picture named \"" + std::u16string(name) + u"\" is registered");
  }
  if (auto held = it->second.Decoded.lock()) return held;
  auto decoded = std::make_shared<const TPixels>(DecodePicture(it->second.Bytes));
  it->second.Decoded = decoded;
  return decoded;
}

}  // namespace ui
