// One reference-counted cache of GDI objects (fonts, brushes, pens, bitmaps) keyed by their
// description: every window and paint that needs a font of one face, height and style shares
// one HFONT, which is deleted when the last reference goes.
#pragma once

#include <windows.h>

#include <compare>
#include <cstdint>
#include <map>
#include <string>

#include "ui/Backend.h"
#include "ui/Types.h"
#include "ui/picture/Pixels.h"

namespace ui::win32 {

class GdiCache;

enum class GdiKind : uint8_t { Font, Brush, Pen, Bitmap };

struct GdiKey {
  GdiKind Kind = GdiKind::Font;
  std::u16string Name;  // a font's face
  int Value = 0;        // a font's height; a brush's or pen's colour
  int Style = 0;        // a font's style and character set
  uint64_t Serial = 0;  // a bitmap's picture
  auto operator<=>(const GdiKey&) const = default;
};

struct GdiEntry {
  HGDIOBJ Object = nullptr;
  int References = 0;
  bool Alpha = false;  // a bitmap to blend
};

// A counted reference to one cached object; empty when the object could not be created.
class GdiRef {
 public:
  GdiRef() = default;
  GdiRef(const GdiRef& other);
  GdiRef& operator=(const GdiRef& other);
  GdiRef(GdiRef&& other) noexcept;
  GdiRef& operator=(GdiRef&& other) noexcept;
  ~GdiRef();

  explicit operator bool() const { return cache_ != nullptr; }
  HGDIOBJ Object() const { return cache_ ? it_->second.Object : nullptr; }
  HFONT Font() const { return static_cast<HFONT>(Object()); }
  HBRUSH Brush() const { return static_cast<HBRUSH>(Object()); }
  HPEN Pen() const { return static_cast<HPEN>(Object()); }
  HBITMAP Bitmap() const { return static_cast<HBITMAP>(Object()); }
  bool Alpha() const { return cache_ && it_->second.Alpha; }
  // The description it was made from.
  const GdiKey& Key() const { return it_->first; }

 private:
  friend class GdiCache;
  using Iterator = std::map<GdiKey, GdiEntry>::iterator;
  GdiRef(GdiCache* cache, Iterator it);
  void Release();

  GdiCache* cache_ = nullptr;
  Iterator it_{};
};

class GdiCache {
 public:
  GdiCache() = default;
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;

  GdiRef Font(const TFont& font);
  GdiRef Brush(COLORREF color);
  GdiRef Pen(COLORREF color);
  // A 32-bit top-down DIB section of the picture, premultiplied for AlphaBlend.
  GdiRef Bitmap(const TPixels& picture);

  // Objects held now, by kind, into `counts`.
  void Count(NativeObjectCounts& counts) const;

 private:
  friend class GdiRef;
  template <class Make>
  GdiRef Acquire(GdiKey key, Make&& make);
  void Release(GdiRef::Iterator it);

  std::map<GdiKey, GdiEntry> entries_;
};

COLORREF ToColorRef(TColor color);

}  // namespace ui::win32
