// The library's start-up and shutdown with the VEL plug-in: one descriptor in the list, quiet
// until the host activates the module, registered once, making VEL documents, and gone at
// deactivation or shutdown.
#include "sistema/Biblioteca.h"

#include <gtest/gtest.h>

#include "ficha/ZARPPluginFicha.h"
#include "host/Central.h"
#include "modulo/ZARPModuloDLL.h"
#include "runtime/CodePage.h"
#include "sistema/VELvisao.h"

namespace {

using zarp::ListaPlugins;
using zarp::ModuloNativo;

class Biblioteca : public ::testing::Test {
 protected:
  void SetUp() override { zarp::IniciarBiblioteca(); }
  void TearDown() override {
    zarp::FinalizarBiblioteca();
    EXPECT_EQ(ModuloNativo(), nullptr);
    EXPECT_TRUE(ListaPlugins().empty());
  }
  host::TRegistroPlugins& Registro() { return *central->Registro(); }

  rt::ComPtr<host::TCentral> central = rt::MakeCounted<host::TCentral>();
};

TEST_F(Biblioteca, StartUpLeavesOneQuietVELDescriptorInTheList) {
  ASSERT_EQ(ListaPlugins().size(), 1u);
  zarp::TPluginFicha* plugin = ListaPlugins()[0];
  EXPECT_STREQ(plugin->ObterNome(), "VEL-Sistema");
  EXPECT_STREQ(plugin->ObterID(), "ZARP.VELSISTEMA.PLUGIN");
  EXPECT_EQ(plugin->ZARPDescricaoPlugin(), rt::ToAnsi(zarp::kDescricaoPluginVEL));
  EXPECT_FALSE(plugin->ZARPDescricaoPlugin().empty());
  EXPECT_EQ(plugin->ZARPDescricaoPlugin().find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(plugin->FichaClass(), zarp::ClasseFicha<zarp::TZARPFicha1>());
  EXPECT_EQ(plugin->RefCount(), 0);  // the library keeps no counted reference
  ASSERT_NE(ModuloNativo(), nullptr);
  EXPECT_FALSE(ModuloNativo()->Ativo());
  EXPECT_EQ(ModuloNativo()->MetodosNotifyCount(), 1);

  zarp::IniciarBiblioteca();  // a second start-up while the library is up adds nothing
  EXPECT_EQ(ListaPlugins().size(), 1u);
}

TEST_F(Biblioteca, ActivationRegistersTheSheetOnceAndItMakesVELDocuments) {
  ModuloNativo()->SetCentral(central.Get());
  ModuloNativo()->AtivarModulo();
  ModuloNativo()->AtivarModulo();
  ASSERT_EQ(Registro().Count("RegistrarPlugin"), 1);
  ASSERT_EQ(Registro().PluginCount(), 1);
  EXPECT_EQ(Registro().Calls()[0].nome, "VEL-Sistema");
  EXPECT_EQ(Registro().Calls()[0].countAtCall, 0);
  zarp::IZARPPlugin* plugin = Registro().Plugin(0);
  EXPECT_STREQ(plugin->ObterID(), "ZARP.VELSISTEMA.PLUGIN");

  zarp::IZARPFicha* ficha = nullptr;
  plugin->CriarFicha(&ficha);
  ASSERT_NE(ficha, nullptr);
  void* p = nullptr;
  ASSERT_EQ(ficha->QueryInterface(zarp::IZARPFichaVisao::IID, &p), rt::kOk);
  EXPECT_EQ(static_cast<zarp::IZARPFichaVisao*>(p)->Release(), 1u);
  EXPECT_EQ(ficha->Release(), 0u);

  // The registry's reference was the last one: unregistering ends the descriptor.
  ModuloNativo()->DesativarModulo();
  EXPECT_EQ(Registro().Count("DesregistrarPlugin"), 1);
  EXPECT_EQ(Registro().PluginCount(), 0);
  EXPECT_TRUE(ListaPlugins().empty());
  EXPECT_EQ(ModuloNativo()->MetodosNotifyCount(), 0);
  ModuloNativo()->SetCentral(nullptr);
}

TEST_F(Biblioteca, ShutdownWhileActiveUnregistersAndDestroysTheDescriptor) {
  ModuloNativo()->SetCentral(central.Get());
  ModuloNativo()->AtivarModulo();
  ASSERT_EQ(Registro().PluginCount(), 1);

  zarp::FinalizarBiblioteca();
  EXPECT_TRUE(ListaPlugins().empty());
  EXPECT_EQ(Registro().Count("DesregistrarPlugin"), 1);
  EXPECT_EQ(Registro().PluginCount(), 0);
  EXPECT_EQ(central->RefCount(), 1);  // the module let go of it
}

TEST_F(Biblioteca, ShutdownOfAnInactiveLibraryTellsTheHostNothing) {
  ModuloNativo()->SetCentral(central.Get());
  zarp::FinalizarBiblioteca();
  EXPECT_TRUE(ListaPlugins().empty());
  EXPECT_TRUE(Registro().Calls().empty());
  EXPECT_EQ(central->RegistroQueries(), 0);
}

}  // namespace
