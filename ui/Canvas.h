// The paint context: what a container's paint code draws with. Coordinates are relative to an
// origin that the container moves to each graphic control it paints, and every operation is
// clipped to the current clip rectangle. Backends implement the Do* operations in device
// (container client) coordinates, already translated and with the clip to honour.
#pragma once

#include <string_view>
#include <vector>

#include "ui/Types.h"
#include "ui/picture/Pixels.h"

// <windows.h> renames TextOut to TextOutA or TextOutW; the canvas method keeps its own name in
// every file that includes both, so its callers and its definition agree.
#ifdef TextOut
#undef TextOut
#endif

namespace ui {

class TControl;

inline TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
          a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}
inline bool IsEmpty(const TRect& r) {
  return r.Right <= r.Left || r.Bottom <= r.Top;
}
inline TRect Offset(TRect r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
inline bool Contains(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// An opaque pixel of a colour that is not a system colour (0x00BBGGRR).
inline constexpr TRgba RgbaOf(TColor rgb) {
  return {static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
          static_cast<uint8_t>((rgb >> 16) & 0xFF), 255};
}

// `src` (straight alpha) over an opaque `dst`.
inline constexpr TRgba BlendOver(TRgba dst, TRgba src) {
  const int a = src.A, keep = 255 - a;
  auto mix = [&](uint8_t s, uint8_t d) {
    return static_cast<uint8_t>((s * a + d * keep + 127) / 255);
  };
  return {mix(src.R, dst.R), mix(src.G, dst.G), mix(src.B, dst.B), 255};
}

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  void FillRect(const TRect& rect, TColor color);
  // A one-pixel frame just inside `rect`.
  void FrameRect(const TRect& rect, TColor color);
  // A one-pixel line from `from` up to, not including, `to`.
  void Line(TPoint from, TPoint to, TColor color);
  // One line of text with its top-left corner at `at`; the background stays unless `opaque`,
  // which fills the text's extent with `background` first.
  void TextOut(TPoint at, std::u16string_view text, const TFont& font, bool opaque = false,
               TColor background = clWhite);
  // A picture with its top-left corner at `at`, blended when it has alpha.
  void Draw(TPoint at, const TPixels& picture);
  TSize TextExtent(const TFont& font, std::u16string_view text);

  // The origin and clip rectangle, set by a container around each graphic control: the
  // control paints at (0, 0) and cannot paint outside `clip` (in the new coordinates).
  class Scope {
   public:
    Scope(TCanvas& canvas, TPoint origin, TRect clip, const TControl* painter);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    TCanvas& canvas_;
    TPoint origin_;
    TRect clip_;
    const TControl* painter_;
  };

  // The device rectangle that still needs painting (a backend paints only what is invalid).
  TRect ClipRect() const { return Offset(clip_, -origin_.X, -origin_.Y); }
  // The control whose Paint runs now (null: the container itself).
  const TControl* Painter() const { return painter_; }

 protected:
  explicit TCanvas(TRect deviceClip) : clip_(deviceClip) {}
  TRect DeviceClip() const { return clip_; }
  // Device coordinates; `rect` already clipped and not empty.
  virtual void DoFillRect(const TRect& rect, TColor color) = 0;
  // Device coordinates, not yet clipped.
  virtual void DoLine(TPoint from, TPoint to, TColor color, const TRect& clip) = 0;
  virtual void DoTextOut(TPoint at, std::u16string_view text, const TFont& font,
                         const TRect& clip) = 0;
  virtual void DoDraw(TPoint at, const TPixels& picture, const TRect& clip) = 0;
  virtual TSize DoTextExtent(const TFont& font, std::u16string_view text) = 0;

 private:
  TPoint origin_{};
  TRect clip_;
  const TControl* painter_ = nullptr;
};

}  // namespace ui
