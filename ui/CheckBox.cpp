// Check boxes.
#include "ui/CheckBox.h"

namespace ui {

TCheckBox::TCheckBox(rt::TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed(Aspect::State);
  if (OnClick) OnClick(this);
}

void TCheckBox::WndToggle() {
  if (Enabled()) SetChecked(!checked_);
}

}  // namespace ui
