// The scrolling sheet view.
#include "visao/ZARPVisaoFicha.h"

#include "ui/Application.h"
#include "ui/Edits.h"

namespace zarp {

const ui::FormDescription TfrmVisaoFicha::kDescription{
    .Name = u"frmVisaoFicha",
    .BorderStyle = ui::TBorderStyle::bsNone,
    .Left = 509,
    .Top = 206,
    .ClientWidth = 472,
    .ClientHeight = 243,
    .Caption = u"frmVisaoFicha",
    .Color = ui::clBtnFace,
    .Font = {.Name = u"Tahoma",
             .Height = -11,
             .Color = ui::clWindowText,
             .Style = 0,
             .Charset = ui::kDefaultCharset},
    .PixelsPerInch = 96,
    .TextHeight = 13,
};

TfrmVisaoFicha::TfrmVisaoFicha(rt::TComponent* owner, uint32_t acoplarEm)
    : TFrmBaseVisaoFicha(owner, acoplarEm) {
  ApplyDescription(kDescription);
}

bool TfrmVisaoFicha::DoMouseWheel(ui::TShiftState shift, int delta, ui::TPoint pos) {
  const bool handled = TFrmBaseVisaoFicha::DoMouseWheel(shift, delta, pos);
  const int q = delta / 10;  // truncates toward zero: -9..9 give 0, which scrolls up
  if (!dynamic_cast<ui::TCustomMemo*>(ui::Application().FocusedControl()))
    Perform(ui::msgVScroll, q < 0 ? ui::sbLineDown : ui::sbLineUp, 0);
  return handled;
}

}  // namespace zarp
