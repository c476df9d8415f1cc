// The unit of the VEL view: the page's stored definition.
#include "sistema/VELficha.h"

namespace zarp {

const ui::FormDescription TfrmVELsistema::kDescription{
    .Name = u"frmVELsistema",
    .Left = 188,
    .Top = 114,
    .Width = 1375,
    .Height = 909,
    .Color = ui::clWhite,
    .Font = {.Name = u"Tahoma",
             .Height = -11,
             .Color = ui::clWindowText,
             .Style = 0,
             .Charset = ui::kDefaultCharset},
    .AutoScroll = true,
    .VertScrollPosition = 19,
    .PixelsPerInch = 96,
    .TextHeight = 13,
};

TfrmVELsistema::TfrmVELsistema(rt::TComponent* owner, uint32_t acoplarEm)
    : TfrmVisaoFicha(owner, acoplarEm) {
  ApplyDescription(kDescription);
}

}  // namespace zarp
