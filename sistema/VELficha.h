// The unit of the VEL view: TfrmVELsistema, the fixed page that shows a VEL sheet inside the
// host's window and scrolls there.
#pragma once

#include <cstdint>

#include "ui/Description.h"
#include "visao/ZARPVisaoFicha.h"

namespace zarp {

// The form of the page: 1375 x 909 on white, in the sheet's default font, opening scrolled down
// by 19 pixels (the position at which its stored control positions were taken). Its controls,
// artwork and lists come with the page's layout.
class TfrmVELsistema : public TfrmVisaoFicha {
 public:
  ZARP_VISAO_CLASS(TfrmVELsistema)
  TfrmVELsistema(rt::TComponent* owner, uint32_t acoplarEm);

  static const ui::FormDescription kDescription;
};

}  // namespace zarp
