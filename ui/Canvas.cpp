// The paint context's translation and clipping; drawing itself belongs to the backends.
#include "ui/Canvas.h"

namespace ui {

void TCanvas::FillRect(const TRect& rect, TColor color) {
  const TRect r = Intersect(Offset(rect, origin_.X, origin_.Y), clip_);
  if (!IsEmpty(r)) DoFillRect(r, color);
}

void TCanvas::FrameRect(const TRect& rect, TColor color) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
  FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
  FillRect({rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1}, color);
  FillRect({rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom - 1}, color);
}

void TCanvas::Line(TPoint from, TPoint to, TColor color) {
  if (IsEmpty(clip_)) return;
  DoLine({from.X + origin_.X, from.Y + origin_.Y}, {to.X + origin_.X, to.Y + origin_.Y}, color,
         clip_);
}

void TCanvas::TextOut(TPoint at, std::u16string_view text, const TFont& font, bool opaque,
                      TColor background) {
  if (opaque) {
    const TSize size = TextExtent(font, text);
    FillRect({at.X, at.Y, at.X + size.Width, at.Y + size.Height}, background);
  }
  if (text.empty() || IsEmpty(clip_)) return;
  DoTextOut({at.X + origin_.X, at.Y + origin_.Y}, text, font, clip_);
}

void TCanvas::Draw(TPoint at, const TPixels& picture) {
  if (picture.Empty()) return;
  const TPoint device{at.X + origin_.X, at.Y + origin_.Y};
  const TRect r = Intersect(
      {device.X, device.Y, device.X + picture.Width(), device.Y + picture.Height()}, clip_);
  if (!IsEmpty(r)) DoDraw(device, picture, r);
}

TSize TCanvas::TextExtent(const TFont& font, std::u16string_view text) {
  return DoTextExtent(font, text);
}

TCanvas::Scope::Scope(TCanvas& canvas, TPoint origin, TRect clip, const TControl* painter)
    : canvas_(canvas), origin_(canvas.origin_), clip_(canvas.clip_), painter_(canvas.painter_) {
  canvas.origin_ = {origin_.X + origin.X, origin_.Y + origin.Y};
  canvas.clip_ = Intersect(clip_, Offset(clip, canvas.origin_.X, canvas.origin_.Y));
  canvas.painter_ = painter;
}

TCanvas::Scope::~Scope() {
  canvas_.origin_ = origin_;
  canvas_.clip_ = clip_;
  canvas_.painter_ = painter_;
}

}  // namespace ui
