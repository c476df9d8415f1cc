// Static text: a caption shown on its parent, never focused.
#pragma once

#include "ui/Control.h"

namespace ui {

class TLabel : public TWinControl {
 public:
  RT_CLASS_NAME(TLabel)
  explicit TLabel(rt::TComponent* owner);

  NativeKind Kind() const override { return NativeKind::Label; }

  // A transparent label shows its parent's background around its text.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  TControlFlags SupportedFlags() const override;
  void SetStoredFlags(TControlFlags flags) override;

 private:
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

}  // namespace ui
