// The sheet document on real windows, reached as a host reaches it: documents from a descriptor,
// driven through their interface pointers and slots; views embedded into host windows, moved,
// scrolled by the wheel and released; and nothing native left after a thousand of them.
#include <gtest/gtest.h>
#include <windows.h>

#include "ficha/ZARPPluginFicha.h"
#include "modulo/ZARPModuloDLL.h"
#include "tests/ficha/Fichas.h"
#include "tests/visao/tall_view.h"
#include "tests/windows/ui_test_host.h"
#include "ui/Backend.h"

namespace {

using fichas::Registro;
using fichas::TTestFicha;
using testhost::AsHost;
using testhost::AsHwnd;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;

// A sheet whose view is taller than its host.
class TFichaAlta : public TTestFicha {
 public:
  ZARP_FICHA_CLASS(TFichaAlta)
  explicit TFichaAlta(rt::TComponent* owner) : TTestFicha(owner) {
    classeVisao = zarp::ClasseVisao<testviews::TfrmAlta>();
  }
};

class FichaWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    Registro::Limpar();
    zarp::CriarModuloNativo();
    zarp::CriarListaPlugins();
    plugin = zarp::TPluginFicha::Create(u"Teste", u"", u"", zarp::ClasseFicha<TTestFicha>());
    plugin->AddRef();
    objects = ui::CurrentBackend().NativeObjectCount();
    w1 = testhost::CreateHostWindow(500, 300);
    w2 = testhost::CreateHostWindow(400, 250);
  }
  void TearDown() override {
    DestroyWindow(w1);
    DestroyWindow(w2);
    testhost::Pump();
    plugin->Release();
    zarp::LiberarListaPlugins();
    zarp::LimparLookupVisao();
    zarp::LiberarModuloNativo();
    EXPECT_EQ(Registro::fichasVivas, 0);
    EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
    EXPECT_EQ(testhost::CountThreadWindowsOtherThan(nullptr, nullptr), 0);
  }

  // A new document as the host gets it: its IZARPFicha, with the only reference.
  rt::ComPtr<IZARPFicha> NovaFicha() {
    IZARPFicha* ficha = nullptr;
    plugin->CriarFicha(&ficha);
    return rt::ComPtr<IZARPFicha>::Adopt(ficha);
  }
  static rt::ComPtr<IZARPFichaVisao> Visao(IZARPFicha* ficha) {
    void* p = nullptr;
    ficha->QueryInterface(IZARPFichaVisao::IID, &p);
    return rt::ComPtr<IZARPFichaVisao>::Adopt(static_cast<IZARPFichaVisao*>(p));
  }

  zarp::TPluginFicha* plugin = nullptr;
  size_t objects = 0;
  HWND w1 = nullptr, w2 = nullptr;
};

TEST_F(FichaWin32, TheViewEmbedsIntoARealHostWindowMovesAndIsDestroyedOnRelease) {
  auto ficha = NovaFicha();
  auto visao = Visao(ficha.Get());
  visao->AcoplarVisao(AsHost(w1));
  HWND view = GetWindow(w1, GW_CHILD);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(GetParent(view), w1);
  EXPECT_TRUE(IsWindowVisible(view));
  RECT r;
  GetClientRect(view, &r);
  EXPECT_EQ(r.right, 500);
  EXPECT_EQ(r.bottom, 300);

  visao->AcoplarVisao(AsHost(w2));
  EXPECT_EQ(GetWindow(w1, GW_CHILD), nullptr);
  EXPECT_EQ(GetWindow(w2, GW_CHILD), view);  // the same window, moved
  EXPECT_EQ(GetParent(view), w2);
  EXPECT_TRUE(IsWindowVisible(view));
  GetClientRect(view, &r);
  EXPECT_EQ(r.right, 400);

  visao->SetVisaoConstraints(300, 200);
  GetClientRect(view, &r);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);

  visao->LiberarVisao();
  EXPECT_FALSE(IsWindow(view));
  EXPECT_EQ(GetWindow(w2, GW_CHILD), nullptr);
  EXPECT_EQ(Registro::visoesVivas, 0);
}

TEST_F(FichaWin32, TheWheelScrollsATallViewOneLinePerNotification) {
  plugin->SetFichaClass(zarp::ClasseFicha<TFichaAlta>());
  auto ficha = NovaFicha();
  auto visao = Visao(ficha.Get());
  visao->AcoplarVisao(AsHost(w1));
  HWND view = GetWindow(w1, GW_CHILD);
  ASSERT_NE(view, nullptr);
  SetFocus(view);
  const int start = GetScrollPos(view, SB_VERT);
  for (int delta : {-120, -240, -1}) {
    const int before = GetScrollPos(view, SB_VERT);
    SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(50, 50));
    EXPECT_EQ(GetScrollPos(view, SB_VERT), before + (delta / 10 < 0 ? 8 : -8)) << delta;
  }
  EXPECT_EQ(GetScrollPos(view, SB_VERT), start + 8 + 8 - 8);
}

// Calls slot `slot` of a COM interface through its table, as a host compiled elsewhere does.
template <class R, class... Args>
R Slot(void* itf, int slot, Args... args) {
  using Fn = R(__stdcall*)(void*, Args...);
  void** table = *static_cast<void***>(itf);
  return reinterpret_cast<Fn>(table[slot])(itf, args...);
}

TEST_F(FichaWin32, TheHostsSlotsShareOneCountAndLeadToTheirOperations) {
  TTestFicha* doc = nullptr;
  TTestFicha::aoCriar = [&](TTestFicha& d) { doc = &d; };
  IZARPFicha* ficha = nullptr;
  Slot<void>(static_cast<zarp::IZARPPlugin*>(plugin), 6, &ficha);  // CriarFicha
  TTestFicha::aoCriar = nullptr;
  ASSERT_NE(ficha, nullptr);
  ASSERT_NE(doc, nullptr);
  doc->BeforeLimparFicha = [](rt::TComponent*) { Registro::log.push_back("LimparFicha"); };
  doc->OnSetSomenteLeitura = [](bool value) {
    Registro::log.push_back(value ? "SomenteLeitura true" : "SomenteLeitura false");
  };
  EXPECT_EQ(Slot<uint32_t>(ficha, 1), 2u);  // AddRef

  void* visao = nullptr;
  ASSERT_EQ((Slot<rt::HRESULT, const rt::GUID*, void**>(ficha, 0, &IZARPFichaVisao::IID, &visao)),
            rt::kOk);
  EXPECT_NE(visao, static_cast<void*>(ficha));
  EXPECT_EQ(Slot<uint32_t>(visao, 1), 4u);  // AddRef through the other interface
  EXPECT_EQ(Slot<uint32_t>(ficha, 2), 3u);  // Release through the first
  EXPECT_EQ(Slot<uint32_t>(visao, 2), 2u);

  Slot<void, uint32_t>(visao, 3, AsHost(w1));  // AcoplarVisao
  EXPECT_EQ(GetParent(GetWindow(w1, GW_CHILD)), w1);
  ASSERT_EQ(doc->VisaoInstanciada(), doc->Visao());
  ASSERT_NE(doc->Visao(), nullptr);

  Registro::Limpar();
  Slot<void>(ficha, 5);              // LimparFicha
  Slot<void, BOOL>(ficha, 6, TRUE);  // SetFichaSomenteLeitura
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"LimparFicha", "SomenteLeitura true"}));
  EXPECT_TRUE(doc->DATA1->SomenteLeitura());
  EXPECT_EQ(Slot<uint32_t>(visao, 2), 1u);
  Slot<void>(visao, 4);  // LiberarVisao
  EXPECT_EQ(Registro::visoesVivas, 0);
  EXPECT_EQ(Slot<uint32_t>(ficha, 2), 0u);
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(FichaWin32, AThousandDocumentsWithViewsLeaveNothingNativeBehind) {
  for (int i = 0; i < 1000; ++i) {
    auto ficha = NovaFicha();
    auto visao = Visao(ficha.Get());
    visao->AcoplarVisao(AsHost(i % 2 ? w1 : w2));
    if (i % 3 == 0) visao->AcoplarVisao(AsHost(w1));
    if (i % 5 == 0) visao->LiberarVisao();
    visao.Reset();
    ficha.Reset();
    if (i % 50 == 0) testhost::Pump();
  }
  testhost::Pump();
  EXPECT_EQ(Registro::fichasVivas, 0);
  EXPECT_EQ(Registro::visoesVivas, 0);
  EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
  EXPECT_EQ(GetWindow(w1, GW_CHILD), nullptr);
  EXPECT_EQ(GetWindow(w2, GW_CHILD), nullptr);
  EXPECT_EQ(testhost::CountThreadWindowsOtherThan(w1, w2), 0);
}

}  // namespace
