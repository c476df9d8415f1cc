// The substitute host's central services: its only job is to hand out the plug-in registry, and a
// test can make it refuse to.
#pragma once

#include "host/RegistroPlugins.h"
#include "modulo/ZARPModulo.h"
#include "runtime/Interfaced.h"

namespace host {

class TCentral : public rt::TInterfacedObject<zarp::IZARPCentral> {
 public:
  // Without a registry of its own it makes one.
  explicit TCentral(rt::Constructing c, rt::ComPtr<TRegistroPlugins> registro = {});

  rt::HRESULT ZARP_STDCALL QueryInterface(const rt::GUID& iid, void** obj) override;

  TRegistroPlugins* Registro() const { return registro_.Get(); }
  void SetRecusarRegistro(bool recusar) { recusarRegistro_ = recusar; }
  int RegistroQueries() const { return registroQueries_; }

 private:
  rt::ComPtr<TRegistroPlugins> registro_;
  bool recusarRegistro_ = false;
  int registroQueries_ = 0;
};

}  // namespace host
