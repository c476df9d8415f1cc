// Graphic controls: repainting through their container.
#include "ui/GraphicControl.h"

namespace ui {

TGraphicControl::TGraphicControl(rt::TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() {
  // The container must no longer show what this control painted.
  if (Parent() && Visible()) Parent()->InvalidateRect(BoundsRect());
}

void TGraphicControl::Invalidate() {
  if (Parent()) Parent()->InvalidateRect(BoundsRect());
}

void TGraphicControl::Changed(Aspect aspect) {
  if (aspect != Aspect::Bounds) Invalidate();
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
  const TRect before = BoundsRect();
  TControl::SetBounds(left, top, width, height);
  if (BoundsRect() == before || !Parent() || !Visible()) return;
  Parent()->InvalidateRect(before);
  Parent()->InvalidateRect(BoundsRect());
}

}  // namespace ui
