// The base sheet view.
#include "visao/ZARPBaseVisaoFicha.h"

namespace zarp {

TFrmBaseVisaoFicha::TFrmBaseVisaoFicha(rt::TComponent* owner, uint32_t acoplarEm)
    : ui::TForm(owner), FAcoplarEm(acoplarEm) {}

}  // namespace zarp
