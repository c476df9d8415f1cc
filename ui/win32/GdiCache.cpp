// The GDI object cache.
#include "ui/win32/GdiCache.h"

namespace ui::win32 {

COLORREF ToColorRef(TColor color) {
  return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF))
                              : static_cast<COLORREF>(color & 0xFFFFFF);
}

GdiRef::GdiRef(GdiCache* cache, Iterator it) : cache_(cache), it_(it) {
  ++it_->second.References;
}

GdiRef::GdiRef(const GdiRef& other) : cache_(other.cache_), it_(other.it_) {
  if (cache_) ++it_->second.References;
}

GdiRef& GdiRef::operator=(const GdiRef& other) {
  if (this == &other) return *this;
  GdiRef copy(other);
  *this = std::move(copy);
  return *this;
}

GdiRef::GdiRef(GdiRef&& other) noexcept : cache_(other.cache_), it_(other.it_) {
  other.cache_ = nullptr;
}

GdiRef& GdiRef::operator=(GdiRef&& other) noexcept {
  if (this == &other) return *this;
  Release();
  cache_ = other.cache_;
  it_ = other.it_;
  other.cache_ = nullptr;
  return *this;
}

GdiRef::~GdiRef() {
  Release();
}

void GdiRef::Release() {
  if (!cache_) return;
  GdiCache* cache = cache_;
  cache_ = nullptr;
  cache->Release(it_);
}

template <class Make>
GdiRef GdiCache::Acquire(GdiKey key, Make&& make) {
  auto it = entries_.find(key);
  if (it == entries_.end()) {
    GdiEntry entry;
    make(entry);
    if (!entry.Object) return {};  // the caller keeps the system's default
    it = entries_.emplace(std::move(key), entry).first;
  }
  return GdiRef(this, it);
}

void GdiCache::Release(GdiRef::Iterator it) {
  if (--it->second.References > 0) return;
  DeleteObject(it->second.Object);
  entries_.erase(it);
}

GdiRef GdiCache::Font(const TFont& f) {
  GdiKey key{GdiKind::Font, f.Name, f.Height, (f.Style << 8) | f.Charset, 0};
  return Acquire(std::move(key), [&](GdiEntry& e) {
    const std::wstring face(f.Name.begin(), f.Name.end());
    e.Object = CreateFontW(
        f.Height, 0, 0, 0, (f.Style & fsBold) ? FW_BOLD : FW_NORMAL, (f.Style & fsItalic) != 0,
        (f.Style & fsUnderline) != 0, (f.Style & fsStrikeOut) != 0, f.Charset, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  });
}

GdiRef GdiCache::Brush(COLORREF color) {
  return Acquire(GdiKey{GdiKind::Brush, {}, static_cast<int>(color), 0, 0},
                 [&](GdiEntry& e) { e.Object = CreateSolidBrush(color); });
}

GdiRef GdiCache::Pen(COLORREF color) {
  return Acquire(GdiKey{GdiKind::Pen, {}, static_cast<int>(color), 0, 0},
                 [&](GdiEntry& e) { e.Object = CreatePen(PS_SOLID, 1, color); });
}

GdiRef GdiCache::Bitmap(const TPixels& picture) {
  return Acquire(GdiKey{GdiKind::Bitmap, {}, 0, 0, picture.Serial()}, [&](GdiEntry& e) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width();
    info.bmiHeader.biHeight = -picture.Height();  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
      if (bitmap) DeleteObject(bitmap);
      return;
    }
    auto* out = static_cast<uint8_t*>(bits);  // B, G, R, A per pixel
    for (const TRgba& p : picture.Data()) {
      const unsigned a = picture.HasAlpha() ? p.A : 255;
      out[0] = static_cast<uint8_t>((p.B * a + 127) / 255);
      out[1] = static_cast<uint8_t>((p.G * a + 127) / 255);
      out[2] = static_cast<uint8_t>((p.R * a + 127) / 255);
      out[3] = static_cast<uint8_t>(a);
      out += 4;
    }
    e.Object = bitmap;
    e.Alpha = picture.HasAlpha();
  });
}

void GdiCache::Count(NativeObjectCounts& counts) const {
  for (const auto& [key, entry] : entries_) {
    switch (key.Kind) {
      case GdiKind::Font:
        ++counts.Fonts;
        break;
      case GdiKind::Brush:
        ++counts.Brushes;
        break;
      case GdiKind::Pen:
        ++counts.Pens;
        break;
      case GdiKind::Bitmap:
        ++counts.Bitmaps;
        break;
    }
  }
}

}  // namespace ui::win32
