// The plug-in descriptor, its registration with the host while the module is active, and the
// plug-in list.
#include "ficha/ZARPPluginFicha.h"

#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "runtime/HostGuard.h"

namespace zarp {

namespace {
std::vector<TPluginFicha*>* listaPlugins = nullptr;
}  // namespace

// --- The plug-in list ----------------------------------------------------------------------

void CriarListaPlugins() {
  if (!listaPlugins) listaPlugins = new std::vector<TPluginFicha*>();
}

void LiberarListaPlugins() {
  if (!listaPlugins) return;
  std::vector<TPluginFicha*>& lista = *listaPlugins;
  while (!lista.empty()) {
    TPluginFicha* plugin = lista.back();
    plugin->Free();  // its destructor takes it out of the list
    // One already being destroyed further up the stack is left to finish; it leaves here.
    if (!lista.empty() && lista.back() == plugin) lista.pop_back();
  }
  delete listaPlugins;
  listaPlugins = nullptr;
}

const std::vector<TPluginFicha*>& ListaPlugins() {
  static const std::vector<TPluginFicha*> vazia;
  return listaPlugins ? *listaPlugins : vazia;
}

// --- The descriptor ------------------------------------------------------------------------

TPluginFicha* TPluginFicha::Create(std::u16string_view nomePlugin,
                                   std::u16string_view descricaoPlugin,
                                   std::u16string_view idPlugin, TZARPFichaClass classeFicha) {
  return rt::TInterfacedBase::Create<TPluginFicha>(nomePlugin, descricaoPlugin, idPlugin,
                                                   classeFicha);
}

TPluginFicha::TPluginFicha(rt::Constructing c, std::u16string_view nomePlugin,
                           std::u16string_view descricaoPlugin, std::u16string_view idPlugin,
                           TZARPFichaClass classeFicha)
    : TInterfacedObject(c),
      FZARPNomePlugin(rt::ToAnsi(nomePlugin)),
      FZARPDescricaoPlugin(rt::ToAnsi(descricaoPlugin)),
      FZARPIDPlugin(rt::ToAnsi(idPlugin)),
      FFichaClass(classeFicha) {
  TNativoZARPModulo* modulo = ModuloNativo();
  if (!listaPlugins || !modulo)
    throw rt::Exception(u"A plug-in descriptor needs the library to be started");
  listaPlugins->push_back(this);
  try {
    modulo->RegistrarMetodoNotify(Metodo());
  } catch (...) {
    // A descriptor that was never made must leave nothing that points at it: the module's
    // callback goes (and with it, while active, a registration the host may have taken).
    try {
      modulo->DesregistrarMetodoNotify(Metodo());
    } catch (...) {
    }
    SairDaLista();
    throw;
  }
}

TPluginFicha::~TPluginFicha() {
  if (TNativoZARPModulo* modulo = ModuloNativo()) {
    try {
      modulo->DesregistrarMetodoNotify(Metodo());
    } catch (...) {
      // A destructor has no caller to tell; the descriptor still leaves the list.
    }
  }
  SairDaLista();
}

TMetodoNotificarModulo TPluginFicha::Metodo() {
  return MetodoNotificar<&TPluginFicha::NotificarModulo>(this);
}

void TPluginFicha::SairDaLista() {
  if (!listaPlugins) return;
  for (auto it = listaPlugins->begin(); it != listaPlugins->end(); ++it) {
    if (*it == this) {
      listaPlugins->erase(it);
      return;
    }
  }
}

const char* TPluginFicha::ObterNome() {
  return rt::GuardHostCall([&] { return FZARPNomePlugin.c_str(); });
}

const char* TPluginFicha::ObterDescricao() {
  return rt::GuardHostCall([&] { return FZARPDescricaoPlugin.c_str(); });
}

const char* TPluginFicha::ObterID() {
  return rt::GuardHostCall([&] { return FZARPIDPlugin.c_str(); });
}

void TPluginFicha::CriarFicha(IZARPFicha** ficha) {
  rt::GuardHostCall([&] {
    if (!ficha) return;  // nowhere to hand a document: none is made that nobody could free
    *ficha = nullptr;
    if (!FFichaClass) return;
    TZARPFicha* documento = FFichaClass->Create(nullptr);
    void* p = nullptr;
    documento->QueryInterface(IZARPFicha::IID, &p);
    *ficha = static_cast<IZARPFicha*>(p);
  });
}

void TPluginFicha::NotificarModulo(bool ativar) {
  TNativoZARPModulo* modulo = ModuloNativo();
  IZARPCentral* central = modulo ? modulo->Central() : nullptr;
  if (!central) return;
  void* p = nullptr;
  if (central->QueryInterface(IZARPRegistroPlugins::IID, &p) != rt::kOk || !p) return;
  // Asked afresh each time and released straight after the call, even a failing one.
  auto registro = rt::ComPtr<IZARPRegistroPlugins>::Adopt(static_cast<IZARPRegistroPlugins*>(p));
  if (ativar)
    registro->RegistrarPlugin(this);
  else
    registro->DesregistrarPlugin(this);
}

}  // namespace zarp
