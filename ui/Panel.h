// A plain container: children are placed relative to it and move with it. It never takes the
// focus itself; its tab order only places its children in the form's order. It fills itself
// with its colour and draws its frame (a raised bevel by default, or a single line) beneath its
// labels and windowed children.
#pragma once

#include "ui/Control.h"

namespace ui {

class TPanel : public TWinControl {
 public:
  RT_CLASS_NAME(TPanel)
  explicit TPanel(rt::TComponent* owner);

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  // bsSingle: a one-pixel black line around the panel, inside its bounds.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

  void SetStoredProperty(std::u16string_view name, std::u16string_view value) override;

 protected:
  void Paint(TCanvas& canvas) override;

 private:
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};

}  // namespace ui
