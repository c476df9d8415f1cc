// A sheet view taller than its host: an edit and a memo at the top, an edit at content row
// 1122, stored at a vertical scroll position of 19 as the sheet views are. Shared by the wheel
// tests of both builds.
#pragma once

#include "ui/Edits.h"
#include "visao/ZARPVisaoFicha.h"

namespace testviews {

inline const ui::ControlDescription kTallRows[] = {
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Edit",
     .Left = 7,
     .Top = 10,
     .Width = 41,
     .Height = 27,
     .TabOrder = 0},
    {.Create = ui::ControlOf<ui::TMemo>,
     .Name = u"Memo",
     .Left = 60,
     .Top = 10,
     .Width = 200,
     .Height = 78,
     .Flags = ui::cfVertScrollBar,
     .TabOrder = 1},
    {.Create = ui::ControlOf<ui::TEdit>,
     .Name = u"Last",
     .Left = 7,
     .Top = 1103,
     .Width = 41,
     .Height = 19,
     .TabOrder = 2},
};

class TfrmAlta : public zarp::TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmAlta)
  TfrmAlta(rt::TComponent* owner, uint32_t acoplarEm) : TfrmVisaoFicha(owner, acoplarEm) {
    ApplyDescription(
        {.Width = 600, .Height = 909, .VertScrollPosition = 19, .Controls = kTallRows});
  }
};

}  // namespace testviews
