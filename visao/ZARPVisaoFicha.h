// The scrolling sheet view: the stored definition every sheet view shares (borderless, Tahoma
// 8 pt on the button face) and the mouse wheel that scrolls the sheet one line per notification.
#pragma once

#include "ui/Description.h"
#include "visao/ZARPBaseVisaoFicha.h"

namespace zarp {

class TfrmVisaoFicha : public TFrmBaseVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmVisaoFicha)
  TfrmVisaoFicha(rt::TComponent* owner, uint32_t acoplarEm);

  // Runs the standard handling and returns its result; in between scrolls the sheet one line
  // (down for a negative delta div 10, up otherwise) unless a memo anywhere in the application
  // has the focus, since the memo scrolls its own text.
  bool DoMouseWheel(ui::TShiftState shift, int delta, ui::TPoint pos) override;

  static const ui::FormDescription kDescription;
};

}  // namespace zarp
