// The paint context on a device context.
#include "ui/win32/Win32Canvas.h"

#include <string>

namespace ui::win32 {

Win32Canvas::Win32Canvas(HDC dc, TRect clip, GdiCache& cache, std::vector<GdiRef>& used)
    : TCanvas(clip), dc_(dc), cache_(cache), used_(used) {}

const GdiRef& Win32Canvas::Use(GdiRef ref) {
  for (const GdiRef& r : used_)
    if (r.Object() == ref.Object()) return r;
  used_.push_back(std::move(ref));
  return used_.back();
}

void Win32Canvas::Clip(const TRect& clip) {
  SelectClipRgn(dc_, nullptr);
  // In logical units, as everything here: the DC's origin maps them to the device. (A paint of
  // part of a window moves that origin; a clip in device units would then miss the lines and
  // texts it should keep.)
  IntersectClipRect(dc_, clip.Left, clip.Top, clip.Right, clip.Bottom);
}

void Win32Canvas::DoFillRect(const TRect& r, TColor color) {
  const GdiRef& brush = Use(cache_.Brush(ToColorRef(color)));
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  if (brush) ::FillRect(dc_, &rc, brush.Brush());
}

void Win32Canvas::DoLine(TPoint from, TPoint to, TColor color, const TRect& clip) {
  const GdiRef& pen = Use(cache_.Pen(ToColorRef(color)));
  const int saved = SaveDC(dc_);
  Clip(clip);
  if (pen) SelectObject(dc_, pen.Pen());
  MoveToEx(dc_, from.X, from.Y, nullptr);
  LineTo(dc_, to.X, to.Y);
  RestoreDC(dc_, saved);
}

void Win32Canvas::DoTextOut(TPoint at, std::u16string_view text, const TFont& font,
                            const TRect& clip) {
  const GdiRef& f = Use(cache_.Font(font));
  const int saved = SaveDC(dc_);
  Clip(clip);
  if (f) SelectObject(dc_, f.Font());
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, ToColorRef(font.Color));
  const std::wstring wide(text.begin(), text.end());
  ExtTextOutW(dc_, at.X, at.Y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  RestoreDC(dc_, saved);
}

void Win32Canvas::DoDraw(TPoint at, const TPixels& picture, const TRect& clip) {
  const GdiRef& bitmap = Use(cache_.Bitmap(picture));
  if (!bitmap) return;
  HDC source = CreateCompatibleDC(dc_);
  HGDIOBJ old = SelectObject(source, bitmap.Bitmap());
  const int sx = clip.Left - at.X, sy = clip.Top - at.Y;
  if (bitmap.Alpha()) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc_, clip.Left, clip.Top, clip.Width(), clip.Height(), source, sx, sy, clip.Width(),
               clip.Height(), blend);
  } else {
    BitBlt(dc_, clip.Left, clip.Top, clip.Width(), clip.Height(), source, sx, sy, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

TSize Win32Canvas::DoTextExtent(const TFont& font, std::u16string_view text) {
  const GdiRef& f = Use(cache_.Font(font));
  HGDIOBJ old = f ? SelectObject(dc_, f.Font()) : nullptr;
  SIZE size{0, 0};
  const std::wstring wide(text.begin(), text.end());
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  if (old) SelectObject(dc_, old);
  return {size.cx, size.cy};
}

}  // namespace ui::win32
