// Panels.
#include "ui/Panel.h"

#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "ui/Canvas.h"

namespace ui {

TPanel::TPanel(rt::TComponent* owner) : TWinControl(owner) {}

void TPanel::SetBevelOuter(TPanelBevel value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  Invalidate();
}

void TPanel::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(name, u"BevelOuter")) {
    if (rt::SameTextAscii(value, u"bvNone"))
      SetBevelOuter(TPanelBevel::bvNone);
    else if (rt::SameTextAscii(value, u"bvLowered"))
      SetBevelOuter(TPanelBevel::bvLowered);
    else if (rt::SameTextAscii(value, u"bvRaised"))
      SetBevelOuter(TPanelBevel::bvRaised);
    else
      throw rt::Exception(u"BevelOuter '" + std::u16string(value) + u"' is not known");
    return;
  }
  if (rt::SameTextAscii(name, u"BorderStyle")) {
    if (rt::SameTextAscii(value, u"bsSingle"))
      SetBorderStyle(TBorderStyle::bsSingle);
    else if (rt::SameTextAscii(value, u"bsNone"))
      SetBorderStyle(TBorderStyle::bsNone);
    else
      throw rt::Exception(u"BorderStyle '" + std::u16string(value) + u"' is not known");
    return;
  }
  TWinControl::SetStoredProperty(name, value);
}

void TPanel::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  if (borderStyle_ == TBorderStyle::bsSingle && !IsEmpty(r)) {
    canvas.FrameRect(r, clBlack);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  if (bevelOuter_ != TPanelBevel::bvNone && r.Width() > 1 && r.Height() > 1) {
    const bool raised = bevelOuter_ == TPanelBevel::bvRaised;
    const TColor light = raised ? clBtnHighlight : clBtnShadow;
    const TColor dark = raised ? clBtnShadow : clBtnHighlight;
    canvas.Line({r.Left, r.Top}, {r.Right - 1, r.Top}, light);
    canvas.Line({r.Left, r.Top}, {r.Left, r.Bottom - 1}, light);
    canvas.Line({r.Left, r.Bottom - 1}, {r.Right, r.Bottom - 1}, dark);
    canvas.Line({r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, dark);
  }
  TWinControl::Paint(canvas);
}

}  // namespace ui
