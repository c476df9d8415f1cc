// The paint context on a device context: text, fills, lines and picture blits through the GDI
// object cache. The objects a paint uses are kept in `keep` until the next paint of the same
// window, so repainting never recreates them.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/Canvas.h"
#include "ui/win32/GdiCache.h"

namespace ui::win32 {

class Win32Canvas final : public TCanvas {
 public:
  Win32Canvas(HDC dc, TRect clip, GdiCache& cache, std::vector<GdiRef>& used);

 protected:
  void DoFillRect(const TRect& rect, TColor color) override;
  void DoLine(TPoint from, TPoint to, TColor color, const TRect& clip) override;
  void DoTextOut(TPoint at, std::u16string_view text, const TFont& font,
                 const TRect& clip) override;
  void DoDraw(TPoint at, const TPixels& picture, const TRect& clip) override;
  TSize DoTextExtent(const TFont& font, std::u16string_view text) override;

 private:
  const GdiRef& Use(GdiRef ref);
  void Clip(const TRect& clip);

  HDC dc_;
  GdiCache& cache_;
  std::vector<GdiRef>& used_;
};

}  // namespace ui::win32
