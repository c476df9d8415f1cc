// The module object: activation state, the host's central services and the activation callbacks.
#include "modulo/ZARPModuloDLL.h"

#include <algorithm>

#include "runtime/HostGuard.h"

namespace zarp {

namespace {
TNativoZARPModulo* moduloNativo = nullptr;
}  // namespace

TNativoZARPModulo::TNativoZARPModulo(rt::Constructing c) : TInterfacedObject(c) {}

TNativoZARPModulo::~TNativoZARPModulo() {
  if (moduloNativo == this) moduloNativo = nullptr;
  if (FAtivo) {
    std::vector<TMetodoNotificarModulo> entries = FMetodosNotify;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (!Registrado(*it)) continue;
      try {
        (*it)(false);
      } catch (...) {
        // A destructor has no caller to tell; the remaining callbacks still hear of it.
      }
    }
  }
  FMetodosNotify.clear();
}

void TNativoZARPModulo::SetCentral(IZARPCentral* central) {
  rt::GuardHostCall([&] { FCentral = central; });
}

void TNativoZARPModulo::AtivarModulo() {
  rt::GuardHostCall([&] {
    if (FAtivo) return;
    FAtivo = true;
    Notificar(true);
  });
}

void TNativoZARPModulo::DesativarModulo() {
  rt::GuardHostCall([&] {
    if (!FAtivo) return;
    FAtivo = false;
    Notificar(false);
  });
}

// Visits the entries present when the notification starts, in order: one registered by a callback
// meanwhile has already been called by its own registration. A callback may also unregister
// entries (a plug-in destroyed when the host's registry lets go of it): those are skipped rather
// than called after their object is gone, and the entries after them still hear of the change.
void TNativoZARPModulo::Notificar(bool ativar) {
  std::vector<TMetodoNotificarModulo> entries = FMetodosNotify;
  for (const TMetodoNotificarModulo& metodo : entries) {
    if (Registrado(metodo)) metodo(ativar);
  }
}

bool TNativoZARPModulo::Registrado(const TMetodoNotificarModulo& metodo) const {
  return std::find(FMetodosNotify.begin(), FMetodosNotify.end(), metodo) != FMetodosNotify.end();
}

void TNativoZARPModulo::RegistrarMetodoNotify(TMetodoNotificarModulo metodo) {
  FMetodosNotify.push_back(metodo);
  if (FAtivo) metodo(true);
}

void TNativoZARPModulo::DesregistrarMetodoNotify(TMetodoNotificarModulo metodo) {
  // The newest copy goes; the order of the rest stays.
  auto found = std::find(FMetodosNotify.rbegin(), FMetodosNotify.rend(), metodo);
  if (found != FMetodosNotify.rend()) FMetodosNotify.erase(std::next(found).base());
  if (FAtivo) metodo(false);
}

TNativoZARPModulo* ModuloNativo() {
  return moduloNativo;
}

TNativoZARPModulo* CriarModuloNativo() {
  moduloNativo = rt::TInterfacedBase::Create<TNativoZARPModulo>();
  moduloNativo->AddRef();
  return moduloNativo;
}

void LiberarModuloNativo() {
  if (!moduloNativo) return;
  moduloNativo->Release();
  if (moduloNativo) moduloNativo->Free();
}

}  // namespace zarp

extern "C" void ZARP_STDCALL EntryPointZARPModulo(zarp::IZARPModulo** modulo) {
  rt::GuardHostCall([&] {
    if (!modulo) return;
    *modulo = nullptr;
    if (zarp::TNativoZARPModulo* m = zarp::ModuloNativo()) {
      *modulo = m;
      m->AddRef();
    }
  });
}
