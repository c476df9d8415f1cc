// Static text.
#include "ui/Label.h"

#include "ui/Backend.h"
#include "ui/Control.h"

namespace ui {

TLabel::TLabel(rt::TComponent* owner) : TGraphicControl(owner) {}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void ApplyLook(TLabel& label, TLabelLook look, int charHeight) {
  TFont font = label.Font();
  font.Height = -charHeight;
  font.Style = fsBold;
  font.Color = look == TLabelLook::WhiteBold ? clWhite : clBlack;
  label.SetFont(font);
  label.SetTransparent(look != TLabelLook::SlashBox);
  if (look == TLabelLook::SlashBox) {
    label.SetColor(clWhite);
    label.SetCaption(u"/");
  }
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (autoSize_) SetBounds(Left(), Top(), Width(), Height());
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  if (autoSize_) {
    const TSize size = CurrentBackend().Graphics().TextExtent(Font(), Text());
    width = size.Width;
    height = size.Height;
  }
  TGraphicControl::SetBounds(left, top, width, height);
}

void TLabel::Paint(TCanvas& canvas) {
  if (!transparent_) canvas.FillRect({0, 0, Width(), Height()}, Color());
  const TSize size = canvas.TextExtent(Font(), Text());
  int x = 0;
  if (alignment_ == TAlignment::taRightJustify) x = Width() - size.Width;
  if (alignment_ == TAlignment::taCenter) x = (Width() - size.Width) / 2;
  TFont font = Font();
  if (!Enabled()) font.Color = clGrayText;
  canvas.TextOut({x, 0}, Text(), font);
}

TControlFlags TLabel::SupportedFlags() const {
  return TGraphicControl::SupportedFlags() | cfTransparent;
}

void TLabel::SetStoredFlags(TControlFlags flags) {
  TGraphicControl::SetStoredFlags(flags);
  if (flags & cfTransparent) SetTransparent(true);
}

}  // namespace ui
