// The window side of a repeating control grid: a windowed control with a vertical scroll bar of
// its own at the right, which moves through items rather than pixels. The data-aware grid
// (dbui/DBCtrlGrid.h) says what the bar shows; the peers only mirror it and report its use as
// msgVScroll through Perform.
#pragma once

#include "ui/Control.h"

namespace ui {

inline constexpr PeerKind kCtrlGridKind{"CtrlGrid"};

// What the vertical scroll bar shows: positions 0 .. Range-1, a thumb of Page of them.
struct TGridScroll {
  int Range = 0;
  int Page = 1;
  int Position = 0;
  friend bool operator==(const TGridScroll&, const TGridScroll&) = default;
};

class TCustomCtrlGrid : public TWinControl {
 public:
  RT_CLASS_NAME(TCustomCtrlGrid)
  using TWinControl::TWinControl;

  // The scroll bar's width, at the right, always shown.
  static constexpr int kScrollBarWidth = 16;

  const PeerKind& Kind() const override { return kCtrlGridKind; }
  TRect ClientRect() const override {
    return {0, 0, Width() > kScrollBarWidth ? Width() - kScrollBarWidth : 0, Height()};
  }
  virtual TGridScroll VertScroll() const = 0;
};

}  // namespace ui
