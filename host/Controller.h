// The substitute host's sheet controller: counts the change notices a sheet sends.
#pragma once

#include <functional>

#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace host {

class TController : public rt::TInterfacedObject<zarp::IZARPFichaVisaoController> {
 public:
  explicit TController(rt::Constructing c) : TInterfacedObject(c) {}

  rt::HRESULT ZARP_STDCALL FichaAlterada() override {
    ++fichaAlterada_;
    if (onFichaAlterada) onFichaAlterada();
    return rt::kOk;
  }

  int FichaAlteradaCount() const { return fichaAlterada_; }
  void Reset() { fichaAlterada_ = 0; }

  // Optional: lets a test observe the moment of each notice.
  std::function<void()> onFichaAlterada;

 private:
  int fichaAlterada_ = 0;
};

}  // namespace host
