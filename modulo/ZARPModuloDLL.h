// The library's module object, the activation callbacks that plug-in descriptors register with it,
// and the one export through which a host obtains it.
#pragma once

#include <vector>

#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace zarp {

// A procedure (Ativar: bool) bound to an object: two words, the code and the object. Two are
// equal when both words are equal, so the same method bound to two objects is two callbacks.
struct TMetodoNotificarModulo {
  using CodeProc = void (*)(void* self, bool ativar);
  CodeProc Code = nullptr;
  void* Data = nullptr;

  void operator()(bool ativar) const { Code(Data, ativar); }
  friend bool operator==(const TMetodoNotificarModulo&, const TMetodoNotificarModulo&) = default;
};

// Binds a member function to an object: MetodoNotificar<&TPluginFicha::NotificarModulo>(this).
// A virtual method is called virtually.
template <auto Method, class T>
TMetodoNotificarModulo MetodoNotificar(T* object) {
  return {[](void* self, bool ativar) { (static_cast<T*>(self)->*Method)(ativar); }, object};
}

class TNativoZARPModulo : public rt::TInterfacedObject<IZARPModulo> {
 public:
  explicit TNativoZARPModulo(rt::Constructing c);

  // IZARPModulo, called by the host.
  void ZARP_STDCALL SetCentral(IZARPCentral* central) override;
  void ZARP_STDCALL AtivarModulo() override;
  void ZARP_STDCALL DesativarModulo() override;

  // Used by plug-in descriptors; not on the interface. A callback registered while the module is
  // active is called at once with true; one unregistered while active is called with false.
  void RegistrarMetodoNotify(TMetodoNotificarModulo metodo);
  void DesregistrarMetodoNotify(TMetodoNotificarModulo metodo);

  IZARPCentral* Central() const { return FCentral.Get(); }
  bool Ativo() const { return FAtivo; }
  int MetodosNotifyCount() const { return static_cast<int>(FMetodosNotify.size()); }

 protected:
  // Calls every callback with false, newest first, if the module is still active.
  ~TNativoZARPModulo() override;

 private:
  void Notificar(bool ativar);
  bool Registrado(const TMetodoNotificarModulo& metodo) const;

  bool FAtivo = false;
  rt::ComPtr<IZARPCentral> FCentral;
  std::vector<TMetodoNotificarModulo> FMetodosNotify;
};

// The library's module object, or null before start-up and after it is destroyed.
TNativoZARPModulo* ModuloNativo();

// Start-up: creates the module object, stores it in the module-wide variable and adds the
// library's own reference (count 1).
TNativoZARPModulo* CriarModuloNativo();
// Shutdown: drops the library's reference; if the object survives that (a host still holds
// references), destroys it anyway, since its code is about to be unloaded.
void LiberarModuloNativo();

}  // namespace zarp

// The library's only export (ordinal 1): stores the module's IZARPModulo, with one reference added
// for the caller, or null once the module is gone. Whatever *modulo held is not released.
extern "C" void ZARP_STDCALL EntryPointZARPModulo(zarp::IZARPModulo** modulo);
