// Static text.
#include "ui/Label.h"

namespace ui {

TLabel::TLabel(rt::TComponent* owner) : TWinControl(owner) {}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed(Aspect::Color);
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(Aspect::Style);
}

TControlFlags TLabel::SupportedFlags() const {
  return TWinControl::SupportedFlags() | cfTransparent;
}

void TLabel::SetStoredFlags(TControlFlags flags) {
  TWinControl::SetStoredFlags(flags);
  if (flags & cfTransparent) SetTransparent(true);
}

}  // namespace ui
