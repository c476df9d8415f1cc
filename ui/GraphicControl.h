// Controls without a window of their own (labels, images): their container paints them beneath
// its windowed children, in creation order, and routes the mouse that falls on them.
#pragma once

#include "ui/Canvas.h"
#include "ui/Control.h"

namespace ui {

class TGraphicControl : public TControl {
 public:
  RT_CLASS_NAME(TGraphicControl)
  explicit TGraphicControl(rt::TComponent* owner);
  ~TGraphicControl() override;

  bool IsGraphic() const override { return true; }
  void Invalidate() override;
  // Paints the control at its own origin; the canvas clips to its bounds.
  virtual void Paint(TCanvas& canvas) = 0;
  // Moving repaints what the control covered and covers now.
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // Any other change of look repaints it.
  void Changed(Aspect aspect) override;
};

}  // namespace ui
