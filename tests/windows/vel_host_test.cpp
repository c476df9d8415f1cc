// The VEL sheet through the real VELSistema.dll, driven only as a host drives it: LoadLibrary,
// the export, the substitute host's central services, registry, streams and controller, and a
// host window for the view. Nothing of the library is linked into this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/windows/ui_test_host.h"
#include "tests/windows/vel_dll_host.h"

namespace {

using testhost::Bytes;
using testhost::Consultar;
using testhost::Dados;
using testhost::LerArquivo;
using testhost::VelHost;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;
using zarp::IZARPModulo;
using zarp::IZARPPlugin;

TEST_F(VelHost, TheHostSequenceEndToEnd) {
  rt::ComPtr<IZARPModulo> modulo = Modulo();
  ASSERT_TRUE(modulo);
  modulo->SetCentral(central.Get());

  // Activation registers the VEL sheet once.
  modulo->AtivarModulo();
  ASSERT_EQ(Registro().Count("RegistrarPlugin"), 1);
  ASSERT_EQ(Registro().PluginCount(), 1);
  EXPECT_EQ(Registro().Calls()[0].nome, "VEL-Sistema");
  EXPECT_EQ(Registro().Calls()[0].countAtCall, 0);  // nothing but the registry holds it
  IZARPPlugin* plugin = Registro().Plugin(0);
  plugin->AddRef();  // the test's own, to watch the descriptor end
  EXPECT_STREQ(plugin->ObterNome(), "VEL-Sistema");
  EXPECT_STREQ(plugin->ObterID(), "ZARP.VELSISTEMA.PLUGIN");
  EXPECT_GT(std::string(plugin->ObterDescricao()).size(), 0u);

  // A document, with its controller.
  IZARPFicha* novaFicha = nullptr;
  plugin->CriarFicha(&novaFicha);
  ASSERT_NE(novaFicha, nullptr);
  auto ficha = rt::ComPtr<IZARPFicha>::Adopt(novaFicha);
  auto visao = Consultar<IZARPFichaVisao>(ficha.Get());
  auto controller = rt::MakeCounted<host::TController>();
  visao->SetFichaVisaoController(controller.Get());

  // The stored sheet loads (one notice per record inserted, none for the derived values), and
  // saves as the golden file: its stale derived values recomputed by the equipment list.
  const Bytes golden = LerArquivo("vel-sample-resaved.zarp");
  auto carregar = [&] {
    auto arquivo = rt::MakeCounted<host::TFileStream>(Dados("vel-sample-old.zarp"),
                                                      host::TFileStream::Mode::Read);
    ficha->CarregarFicha(arquivo.Get());
  };
  auto salvar = [&] {
    auto saida = rt::MakeCounted<host::TMemoryStream>();
    ficha->SalvarFicha(saida.Get());
    return saida->Bytes();
  };
  carregar();
  EXPECT_EQ(controller->FichaAlteradaCount(), 11);
  EXPECT_EQ(salvar(), golden);

  // Read-only: nothing is told to the host, and a read-only sheet still loads and derives.
  controller->Reset();
  ficha->SetFichaSomenteLeitura(true);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
  carregar();
  EXPECT_EQ(salvar(), golden);
  ficha->LimparFicha();
  EXPECT_EQ(salvar(), LerArquivo("vel-new.zarp"));
  carregar();
  controller->Reset();
  ficha->SetFichaSomenteLeitura(false);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
  EXPECT_EQ(salvar(), golden);

  // The view in a host window, then released.
  HWND janela = testhost::CreateHostWindow(800, 600);
  visao->AcoplarVisao(testhost::AsHost(janela));
  HWND view = GetWindow(janela, GW_CHILD);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(IsWindowVisible(view));
  testhost::Pump();
  visao->LiberarVisao();
  EXPECT_FALSE(IsWindow(view));
  DestroyWindow(janela);
  testhost::Pump();

  // The last release of the document ends it; the controller goes with it.
  visao.Reset();
  EXPECT_EQ(ficha->AddRef(), 2u);
  EXPECT_EQ(ficha->Release(), 1u);
  ficha.Reset();
  EXPECT_EQ(controller->RefCount(), 1);

  // Deactivation unregisters once; the registry lets go, and the test's reference is the last.
  modulo->DesativarModulo();
  ASSERT_EQ(Registro().Count("DesregistrarPlugin"), 1);
  EXPECT_EQ(Registro().Calls()[1].countAtCall, 2);  // the registry's and the test's
  EXPECT_EQ(Registro().PluginCount(), 0);
  EXPECT_EQ(plugin->AddRef(), 2u);
  EXPECT_EQ(plugin->Release(), 1u);
  EXPECT_EQ(plugin->Release(), 0u);  // the descriptor destroys itself here
  modulo->SetCentral(nullptr);
  modulo.Reset();

  // Unloading: nothing of the host is held any more, and the library loads afresh.
  FreeLibrary(library);
  library = nullptr;
  EXPECT_EQ(central->RefCount(), 1);
  SetUp();
  rt::ComPtr<IZARPModulo> deNovo = Modulo();
  deNovo->SetCentral(central.Get());
  deNovo->AtivarModulo();
  EXPECT_EQ(Registro().Count("RegistrarPlugin"), 2);
  deNovo->DesativarModulo();
  deNovo->SetCentral(nullptr);
}

TEST_F(VelHost, ASheetWrittenByTheDllLoadsBackIntoAFreshDocumentUnchanged) {
  rt::ComPtr<IZARPModulo> modulo = Modulo();
  modulo->SetCentral(central.Get());
  modulo->AtivarModulo();
  IZARPPlugin* plugin = Registro().Plugin(0);
  auto nova = [&] {
    IZARPFicha* f = nullptr;
    plugin->CriarFicha(&f);
    return rt::ComPtr<IZARPFicha>::Adopt(f);
  };

  auto primeira = nova();
  auto arquivo = rt::MakeCounted<host::TMemoryStream>(LerArquivo("vel-sample-resaved.zarp"));
  primeira->CarregarFicha(arquivo.Get());
  // Into a file, as a host keeps it, then into a fresh document.
  const std::string caminho = "vel_host_test_roundtrip.zarp";
  {
    auto saida = rt::MakeCounted<host::TFileStream>(caminho, host::TFileStream::Mode::Create);
    primeira->SalvarFicha(saida.Get());
  }
  auto segunda = nova();
  {
    auto entrada = rt::MakeCounted<host::TFileStream>(caminho, host::TFileStream::Mode::Read);
    segunda->CarregarFicha(entrada.Get());
  }
  DeleteFileA(caminho.c_str());
  auto a = rt::MakeCounted<host::TMemoryStream>(), b = rt::MakeCounted<host::TMemoryStream>();
  primeira->SalvarFicha(a.Get());
  segunda->SalvarFicha(b.Get());
  EXPECT_EQ(a->Bytes(), LerArquivo("vel-sample-resaved.zarp"));
  EXPECT_EQ(b->Bytes(), a->Bytes());

  primeira.Reset();
  segunda.Reset();
  modulo->DesativarModulo();
  modulo->SetCentral(nullptr);
}

}  // namespace
