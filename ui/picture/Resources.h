// Pictures a program carries inside itself, by name: the file bytes are registered once (they
// live as long as the program), decoded when first asked for and shared while anyone holds
// them, so every view showing the same picture shares one copy of its pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ui/picture/Pixels.h"

namespace ui {

// Registers (or replaces) the bytes of a PNG or bitmap file under `name`. The bytes are not
// copied: they must outlive every later lookup. Registering the same bytes again changes nothing.
void RegisterPictureResource(std::u16string_view name, std::span<const uint8_t> bytes);
// Forgets every registered picture (a library's unload); pictures still held stay valid.
void ClearPictureResources();

// The decoded picture of `name`. Raises EPictureError for a name never registered, or the
// reader's error for bytes that do not read (each call tries again).
std::shared_ptr<const TPixels> PictureResource(std::u16string_view name);

}  // namespace ui
