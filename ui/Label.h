// Static text: a caption painted on its container, never focused and without a window. It sizes
// itself to its caption in its font unless AutoSize is cleared.
#pragma once

#include "ui/GraphicControl.h"

namespace ui {

class TLabel : public TGraphicControl {
 public:
  RT_CLASS_NAME(TLabel)
  explicit TLabel(rt::TComponent* owner);

  // A transparent label shows what lies beneath it around its text; an opaque one fills its
  // bounds with its colour.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Where the text sits within the bounds when they are wider than the text.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  void Paint(TCanvas& canvas) override;
  // An auto-sized label keeps the size of its caption wherever it is placed.
  void SetBounds(int left, int top, int width, int height) override;

  TControlFlags SupportedFlags() const override;
  void SetStoredFlags(TControlFlags flags) override;

 protected:
  void TextChanged() override { AdjustSize(); }
  void FontChanged() override;

 private:
  void AdjustSize();

  bool transparent_ = false;
  bool autoSize_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

// The looks of the sheet's labels, at a character height: white bold text on black artwork,
// black bold text, and a black bold "/" in an opaque white box. The face stays the label's.
enum class TLabelLook : uint8_t { WhiteBold, BlackBold, SlashBox };
void ApplyLook(TLabel& label, TLabelLook look, int charHeight);

}  // namespace ui
