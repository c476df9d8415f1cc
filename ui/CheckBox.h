// Check boxes: a box and an optional caption. The check mark lives here; the native button
// mirrors it and reports the user's toggles (a click, the space bar) back through WndToggle.
#pragma once

#include "ui/Control.h"

namespace ui {

inline constexpr PeerKind kCheckBoxKind{"CheckBox"};

class TCheckBox : public TWinControl {
 public:
  RT_CLASS_NAME(TCheckBox)
  explicit TCheckBox(rt::TComponent* owner);

  const PeerKind& Kind() const override { return kCheckBoxKind; }

  bool Checked() const { return checked_; }
  // Changes the mark and fires OnClick, whoever changed it.
  void SetChecked(bool value);

  // The user toggled the box (the native button was clicked or took the space bar).
  void WndToggle();

 protected:
  // The mark changes through WndToggle; a mouse click fires OnClick there, once.
  void Click() override {}

 private:
  bool checked_ = false;
};

}  // namespace ui
