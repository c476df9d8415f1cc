// The plug-in descriptor: registration with the host's registry following the module's
// activation, new documents, its texts, its lifetime by count and the plug-in list at shutdown.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ficha/ZARPPluginFicha.h"
#include "host/Central.h"
#include "modulo/ZARPModuloDLL.h"
#include "sistema/Biblioteca.h"
#include "tests/ficha/Fichas.h"

namespace {

using fichas::Registro;
using fichas::TTestFicha;
using zarp::IZARPFicha;
using zarp::IZARPPlugin;
using zarp::TPluginFicha;

// A descriptor that logs its destruction.
class TPluginEspiao : public TPluginFicha {
 public:
  TPluginEspiao(rt::Constructing c, std::u16string_view nome)
      : TPluginFicha(c, nome, u"", u"", zarp::ClasseFicha<TTestFicha>()) {}
  static TPluginEspiao* Criar(std::u16string_view nome) {
    return rt::TInterfacedBase::Create<TPluginEspiao>(nome);
  }

 protected:
  ~TPluginEspiao() override { Registro::log.push_back("freed " + ZARPNomePlugin()); }
};

class Plugin : public ::testing::Test {
 protected:
  void SetUp() override {
    Registro::Limpar();
    modulo = zarp::CriarModuloNativo();
    zarp::CriarListaPlugins();
  }
  void TearDown() override {
    // As a host does before it unloads the library: deactivate, let go.
    modulo->DesativarModulo();
    registro->ReleaseAll();
    zarp::LiberarListaPlugins();
    zarp::LimparLookupVisao();
    zarp::LiberarModuloNativo();
    EXPECT_EQ(Registro::fichasVivas, 0);
  }
  IZARPPlugin* Interface(TPluginFicha* plugin) { return plugin; }
  int Calls(std::string_view metodo) { return registro->Count(metodo); }

  zarp::TNativoZARPModulo* modulo = nullptr;
  rt::ComPtr<host::TCentral> central = rt::MakeCounted<host::TCentral>();
  host::TRegistroPlugins* registro = central->Registro();
};

TEST_F(Plugin, ActivationWithoutACentralRegistersNothingAndSetCentralAloneDoesNotEither) {
  rt::ComPtr<IZARPPlugin> held(TPluginFicha::Create(u"A", u"", u"", nullptr));
  modulo->AtivarModulo();
  modulo->SetCentral(central.Get());
  EXPECT_EQ(registro->Calls().size(), 0u);
  EXPECT_EQ(central->RegistroQueries(), 0);
  modulo->DesativarModulo();  // told, though never registered
  modulo->AtivarModulo();
  EXPECT_EQ(Calls("DesregistrarPlugin"), 1);
  EXPECT_EQ(Calls("RegistrarPlugin"), 1);
  EXPECT_EQ(registro->Calls().back().metodo, "RegistrarPlugin");
}

TEST_F(Plugin, ActivationRegistersOnceAndDeactivationUnregistersOnceWithTheSameInterface) {
  TPluginFicha* plugin = TPluginFicha::Create(u"VEL-Sistema", u"", u"ZARP.VELSISTEMA.PLUGIN",
                                              zarp::ClasseFicha<TTestFicha>());
  rt::ComPtr<IZARPPlugin> held(plugin);
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  ASSERT_EQ(registro->Calls().size(), 1u);
  EXPECT_EQ(registro->Calls()[0].metodo, "RegistrarPlugin");
  EXPECT_EQ(registro->Calls()[0].plugin, Interface(plugin));
  EXPECT_EQ(registro->Calls()[0].nome, "VEL-Sistema");
  EXPECT_EQ(plugin->RefCount(), 2);  // the host's registry and the test

  modulo->DesativarModulo();
  ASSERT_EQ(registro->Calls().size(), 2u);
  EXPECT_EQ(registro->Calls()[1].metodo, "DesregistrarPlugin");
  EXPECT_EQ(registro->Calls()[1].plugin, Interface(plugin));
  EXPECT_EQ(plugin->RefCount(), 1);
  EXPECT_EQ(central->RegistroQueries(), 2);
  EXPECT_EQ(central->RefCount(), 2);  // the registry was released after each call
}

TEST_F(Plugin, TheHostsRegistryKeepsADescriptorAliveAndItsLastReleaseEndsIt) {
  TPluginEspiao::Criar(u"A");
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  EXPECT_EQ(zarp::ListaPlugins().size(), 1u);
  modulo->DesativarModulo();  // the registry lets go of the only reference
  EXPECT_EQ(Registro::log, std::vector<std::string>{"freed A"});
  EXPECT_TRUE(zarp::ListaPlugins().empty());
  EXPECT_EQ(modulo->MetodosNotifyCount(), 0);
  modulo->AtivarModulo();
  EXPECT_EQ(Calls("RegistrarPlugin"), 1);
}

TEST_F(Plugin, ADescriptorCreatedWhileActiveRegistersDuringItsConstruction) {
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  TPluginFicha* plugin = TPluginFicha::Create(u"A", u"", u"", nullptr);
  ASSERT_EQ(Calls("RegistrarPlugin"), 1);
  EXPECT_EQ(registro->Calls()[0].countAtCall, 1);  // construction's own reference
  EXPECT_EQ(plugin->RefCount(), 1);                // the registry's, and nobody else's
  EXPECT_EQ(registro->Plugin(0), Interface(plugin));
}

TEST_F(Plugin, WithoutTheRegistryNothingIsRegistered) {
  central->SetRecusarRegistro(true);
  rt::ComPtr<IZARPPlugin> held(TPluginFicha::Create(u"A", u"", u"", nullptr));
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  modulo->DesativarModulo();
  EXPECT_EQ(central->RegistroQueries(), 2);
  EXPECT_TRUE(registro->Calls().empty());
}

TEST_F(Plugin, CriarFichaTwiceGivesTwoDocumentsEachHeldOnlyByTheHost) {
  rt::ComPtr<IZARPPlugin> plugin(
      TPluginFicha::Create(u"A", u"", u"", zarp::ClasseFicha<TTestFicha>()));
  IZARPFicha* a = nullptr;
  IZARPFicha* b = nullptr;
  plugin->CriarFicha(&a);
  plugin->CriarFicha(&b);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(Registro::fichasVivas, 2);
  EXPECT_EQ(a->AddRef(), 2u);
  EXPECT_EQ(a->Release(), 1u);
  EXPECT_EQ(b->AddRef(), 2u);
  EXPECT_EQ(b->Release(), 1u);
  void* visao = nullptr;
  a->QueryInterface(zarp::IZARPFichaVisao::IID, &visao);
  static_cast<zarp::IZARPFichaVisao*>(visao)->AcoplarVisao(0x1001);
  static_cast<zarp::IZARPFichaVisao*>(visao)->Release();
  EXPECT_EQ(Registro::visoesVivas, 1);
  a->Release();  // the one reference CriarFicha handed out: the document goes, and its view
  EXPECT_EQ(Registro::fichasVivas, 1);
  EXPECT_EQ(Registro::visoesVivas, 0);
  b->Release();
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Plugin, CriarFichaWithoutASheetClassGivesNullWithoutReleasingTheOldValue) {
  rt::ComPtr<IZARPPlugin> plugin(TPluginFicha::Create(u"A", u"", u"", nullptr));
  // Never a live reference: releasing it would crash.
  auto* ficha = reinterpret_cast<IZARPFicha*>(uintptr_t{0x10});
  plugin->CriarFicha(&ficha);
  EXPECT_EQ(ficha, nullptr);
}

TEST_F(Plugin, CriarFichaWithNoPlaceForTheSheetMakesNone) {
  rt::ComPtr<IZARPPlugin> plugin(
      TPluginFicha::Create(u"A", u"", u"", zarp::ClasseFicha<TTestFicha>()));
  plugin->CriarFicha(nullptr);
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Plugin, TheTextsAreTheStoredEightBitStringsAndNeverNull) {
  TPluginFicha* plugin = TPluginFicha::Create(u"", u"Per\u00edcias \u00e9 cr\u00e9dito",
                                              u"ZARP.VELSISTEMA.PLUGIN", nullptr);
  rt::ComPtr<IZARPPlugin> held(plugin);
  ASSERT_NE(held->ObterNome(), nullptr);
  EXPECT_STREQ(held->ObterNome(), "");
  EXPECT_STREQ(held->ObterDescricao(),
               "Per\xed"
               "cias \xe9 cr\xe9"
               "dito");
  EXPECT_STREQ(held->ObterID(), "ZARP.VELSISTEMA.PLUGIN");
  // The text itself, not a copy: it follows the property.
  plugin->SetZARPNomePlugin("Outro");
  EXPECT_EQ(held->ObterNome(), plugin->ZARPNomePlugin().c_str());
  EXPECT_STREQ(held->ObterNome(), "Outro");
  EXPECT_EQ(plugin->FichaClass(), nullptr);
}

TEST_F(Plugin, DestructionWhileInactiveMakesNoHostCall) {
  modulo->SetCentral(central.Get());
  rt::ComPtr<IZARPPlugin> held(TPluginEspiao::Criar(u"A"));
  EXPECT_EQ(modulo->MetodosNotifyCount(), 1);
  held.Reset();
  EXPECT_EQ(Registro::log, std::vector<std::string>{"freed A"});
  EXPECT_EQ(central->RegistroQueries(), 0);
  EXPECT_EQ(modulo->MetodosNotifyCount(), 0);
  EXPECT_TRUE(zarp::ListaPlugins().empty());
}

TEST_F(Plugin, DestructionWhileActiveUnregistersOnceAndTheRegistrysProbeDoesNotFreeItTwice) {
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  TPluginEspiao* plugin = TPluginEspiao::Criar(u"A");
  IZARPPlugin* asHost = plugin;
  registro->ClearCalls();
  // The host lets go without deactivating: the descriptor, at count 0, unregisters itself, and
  // the registry adds and drops a reference while it is being destroyed.
  registro->ReleaseAll();
  ASSERT_EQ(registro->Calls().size(), 1u);
  EXPECT_EQ(registro->Calls()[0].metodo, "DesregistrarPlugin");
  EXPECT_EQ(registro->Calls()[0].plugin, asHost);
  EXPECT_EQ(registro->Calls()[0].countAtCall, 0);
  EXPECT_EQ(Registro::log, std::vector<std::string>{"freed A"});
  EXPECT_EQ(modulo->MetodosNotifyCount(), 0);
}

TEST_F(Plugin, ShutdownDestroysTheRemainingDescriptorsFromTheLastToTheFirst) {
  modulo->SetCentral(central.Get());
  TPluginEspiao* a = TPluginEspiao::Criar(u"A");
  TPluginEspiao::Criar(u"B");
  TPluginEspiao::Criar(u"C")->AddRef();  // a host that never lets go
  a->AddRef();
  a->Release();  // back to 0: freed, out of the list
  EXPECT_EQ(zarp::ListaPlugins().size(), 2u);
  TPluginEspiao::Criar(u"D");
  modulo->AtivarModulo();  // the registry now holds B, C and D
  Registro::Limpar();
  registro->ClearCalls();

  zarp::LiberarListaPlugins();
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"freed D", "freed C", "freed B"}));
  ASSERT_EQ(Calls("DesregistrarPlugin"), 3);
  EXPECT_EQ(registro->Calls()[0].nome, "D");
  EXPECT_EQ(registro->Calls()[2].nome, "B");
  EXPECT_EQ(registro->PluginCount(), 0);
  EXPECT_EQ(modulo->MetodosNotifyCount(), 0);
  EXPECT_TRUE(zarp::ListaPlugins().empty());
}

// A registry that refuses every registration by failing.
class TRegistroFalho : public host::TRegistroPlugins {
 public:
  using TRegistroPlugins::TRegistroPlugins;
  rt::HRESULT ZARP_STDCALL RegistrarPlugin(IZARPPlugin* plugin) override {
    TRegistroPlugins::RegistrarPlugin(plugin);
    throw std::runtime_error("registry down");
  }
};

TEST_F(Plugin, ADescriptorWhoseRegistrationFailsLeavesNothingBehind) {
  rt::ComPtr<host::TRegistroPlugins> recusa(rt::TInterfacedBase::Create<TRegistroFalho>());
  auto falho = rt::MakeCounted<host::TCentral>(recusa);
  modulo->SetCentral(falho.Get());
  modulo->AtivarModulo();
  EXPECT_THROW(TPluginFicha::Create(u"A", u"", u"", nullptr), std::runtime_error);
  EXPECT_TRUE(zarp::ListaPlugins().empty());
  EXPECT_EQ(modulo->MetodosNotifyCount(), 0);
  EXPECT_EQ(falho->Registro()->PluginCount(), 0);  // the half-made registration was undone
  modulo->DesativarModulo();
}

TEST(PluginList, ADescriptorNeedsTheLibraryStarted) {
  EXPECT_TRUE(zarp::ListaPlugins().empty());
  EXPECT_THROW(TPluginFicha::Create(u"A", u"", u"", nullptr), rt::Exception);
}

TEST(Library, StartUpMakesTheListAndShutdownDestroysWhatIsLeftInIt) {
  Registro::Limpar();
  zarp::IniciarBiblioteca();
  const size_t before = zarp::ListaPlugins().size();
  TPluginEspiao::Criar(u"Z");
  EXPECT_EQ(zarp::ListaPlugins().size(), before + 1);
  EXPECT_EQ(zarp::ListaPlugins().back()->ZARPNomePlugin(), "Z");
  zarp::FinalizarBiblioteca();
  EXPECT_EQ(Registro::log, std::vector<std::string>{"freed Z"});
  EXPECT_TRUE(zarp::ListaPlugins().empty());
  EXPECT_EQ(zarp::ModuloNativo(), nullptr);
}

}  // namespace
