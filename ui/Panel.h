// A plain container: children are placed relative to it and move with it. It never takes the
// focus itself; its tab order only places its children in the form's order.
#pragma once

#include "ui/Control.h"

namespace ui {

class TPanel : public TWinControl {
 public:
  RT_CLASS_NAME(TPanel)
  using TWinControl::TWinControl;
};

}  // namespace ui
