// The document's view: made on demand for the sheet class's view class, embedded into and moved
// between host windows, released, limited in size; and the module-name lookup through which a
// view being built finds the document that builds it.
#include <gtest/gtest.h>

#include "runtime/CodePage.h"
#include "tests/ficha/Fichas.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using fichas::Nova;
using fichas::Obter;
using fichas::Registro;
using fichas::TTestFicha;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;

constexpr uint32_t W1 = 0x1001;
constexpr uint32_t W2 = 0x2002;

class View : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.SetHostClientSize(W1, 640, 480);
    backend.SetHostClientSize(W2, 500, 300);
    objects = backend.NativeObjectCount();
    fichas::referencias.clear();
    Registro::Limpar();
  }
  void TearDown() override {
    host.Reset();
    fichas::referencias.clear();
    EXPECT_EQ(Registro::fichasVivas, 0);
    EXPECT_EQ(Registro::visoesVivas, 0);
    EXPECT_EQ(backend.NativeObjectCount(), objects);
    EXPECT_EQ(rt::FindGlobalComponent(u"TestFicha"), nullptr);
  }
  // A new document, held by the test as a host holds it.
  template <class T = TTestFicha>
  T* Abrir() {
    T* doc = Nova<T>();
    host = Obter<IZARPFichaVisao>(*doc);
    return doc;
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  size_t objects = 0;
  rt::ComPtr<IZARPFichaVisao> host;
};

TEST_F(View, EmbeddingMakesTheViewAndShowsItFillingTheHostWindow) {
  TTestFicha* doc = Abrir();
  EXPECT_EQ(doc->VisaoInstanciada(), nullptr);
  host->AcoplarVisao(W1);
  fichas::TfrmTeste* view = doc->Visao();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Owner(), doc);
  EXPECT_EQ(view->AcoplarEm(), W1);
  EXPECT_EQ(backend.HostOf(*view), W1);
  EXPECT_TRUE(view->Visible());
  EXPECT_TRUE(backend.NativeVisible(*view));
  EXPECT_EQ(view->Align(), ui::TAlign::alClient);
  EXPECT_EQ(view->BoundsRect(), (ui::TRect{0, 0, 640, 480}));
}

TEST_F(View, EmbeddingAgainMovesTheSameViewIntoTheNewWindow) {
  TTestFicha* doc = Abrir();
  host->AcoplarVisao(W1);
  fichas::TfrmTeste* view = doc->Visao();
  const int created = backend.HandlesCreated();
  host->AcoplarVisao(W2);
  EXPECT_EQ(doc->Visao(), view);
  EXPECT_EQ(Registro::visoesVivas, 1);
  EXPECT_EQ(backend.HandlesCreated(), created);
  EXPECT_EQ(backend.HostOf(*view), W2);
  EXPECT_EQ(view->AcoplarEm(), W1);  // built for the first window, and still telling it
  EXPECT_EQ(view->BoundsRect(), (ui::TRect{0, 0, 500, 300}));
}

TEST_F(View, ReleasingTheViewAndEmbeddingAgainMakesANewOne) {
  TTestFicha* doc = Abrir();
  host->LiberarVisao();  // nothing to release yet
  host->AcoplarVisao(W1);
  host->LiberarVisao();
  EXPECT_EQ(doc->VisaoInstanciada(), nullptr);
  EXPECT_EQ(Registro::visoesVivas, 0);
  EXPECT_EQ(backend.NativeObjectCount(), objects);
  EXPECT_EQ(Registro::log, std::vector<std::string>{"view freed"});

  host->AcoplarVisao(W2);
  ASSERT_NE(doc->Visao(), nullptr);
  EXPECT_EQ(doc->Visao()->AcoplarEm(), W2);
  EXPECT_EQ(Registro::visoesVivas, 1);
}

TEST_F(View, ObterVisaoCreatesOnlyWhenAsked) {
  TTestFicha* doc = Abrir();
  EXPECT_EQ(doc->ObterVisao(W1, false), nullptr);
  zarp::TFrmBaseVisaoFicha* view = doc->ObterVisao(W1, true);
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->HandleAllocated());  // made, not embedded
  EXPECT_EQ(doc->ObterVisao(W2, true), view);
  EXPECT_EQ(doc->ObterVisao(0, false), view);
}

TEST_F(View, ConstraintsBeforeAnyViewDoNothingAndAreNotKept) {
  TTestFicha* doc = Abrir();
  host->SetVisaoConstraints(300, 200);
  EXPECT_EQ(doc->VisaoInstanciada(), nullptr);
  EXPECT_EQ(backend.NativeObjectCount(), objects);
  host->AcoplarVisao(W1);
  EXPECT_EQ(doc->Visao()->Constraints().MaxWidth(), 0);
  EXPECT_EQ(doc->Visao()->Constraints().MaxHeight(), 0);
  EXPECT_EQ(doc->Visao()->BoundsRect(), (ui::TRect{0, 0, 640, 480}));
}

TEST_F(View, ConstraintsLimitTheEmbeddedViewAndZeroRemovesTheLimits) {
  TTestFicha* doc = Abrir();
  host->AcoplarVisao(W1);
  fichas::TfrmTeste* view = doc->Visao();
  view->Constraints().SetMinWidth(50);
  host->SetVisaoConstraints(300, 200);
  EXPECT_EQ(view->Constraints().MaxWidth(), 300);
  EXPECT_EQ(view->Constraints().MaxHeight(), 200);
  EXPECT_EQ(view->Width(), 300);
  EXPECT_EQ(view->Height(), 200);
  host->SetVisaoConstraints(0, 0);
  EXPECT_EQ(view->Constraints().MaxWidth(), 0);
  EXPECT_EQ(view->Constraints().MaxHeight(), 0);
  EXPECT_EQ(view->Constraints().MinWidth(), 50);  // the minimums are not touched
  EXPECT_EQ(view->BoundsRect(), (ui::TRect{0, 0, 640, 480}));
}

TEST_F(View, ASheetWithoutAViewClassEmbedsAndLimitsNothing) {
  fichas::TFichaSemVisao* doc = Abrir<fichas::TFichaSemVisao>();
  const int created = backend.HandlesCreated();
  host->AcoplarVisao(W1);
  host->SetVisaoConstraints(300, 200);
  host->LiberarVisao();
  EXPECT_EQ(doc->ObterVisao(W1, true), nullptr);
  EXPECT_EQ(doc->ComponentCount(), 0);
  EXPECT_EQ(backend.HandlesCreated(), created);
}

TEST_F(View, AViewThatFailsToBuildLeavesNoViewAndNoResolver) {
  TTestFicha* doc = Abrir();
  doc->classeVisao = zarp::ClasseVisao<fichas::TfrmFalha>();
  fichas::referencias = {u"TestFicha.Something"};
  EXPECT_THROW(doc->AcoplarVisao(W1), rt::Exception);
  EXPECT_EQ(doc->VisaoInstanciada(), nullptr);
  EXPECT_EQ(doc->ComponentCount(), 5);  // two datasets, their fields and Something
  EXPECT_EQ(rt::ResolveComponentReference(u"TestFicha.Something", nullptr), nullptr);

  doc->classeVisao = zarp::ClasseVisao<fichas::TfrmTeste>();
  host->AcoplarVisao(W1);
  EXPECT_EQ(doc->Visao()->Sonda().resolvidos[0], doc->Something);
}

// --- The lookup --------------------------------------------------------------------------------

TEST(LookupName, DropsALeadingCapitalTAndUpperCasesTheRest) {
  EXPECT_EQ(zarp::NomeLookupVisao(u"TZARPFicha1"), u"ZARPFICHA1");
  EXPECT_EQ(zarp::NomeLookupVisao(u"TTestFicha"), u"TESTFICHA");
  EXPECT_EQ(zarp::NomeLookupVisao(u"tfichaMinuscula"), u"TFICHAMINUSCULA");
  EXPECT_EQ(zarp::NomeLookupVisao(u"Ficha\u00e7"), u"FICHA\u00e7");  // ASCII letters only
  EXPECT_EQ(zarp::NomeLookupVisao(u"T"), u"");
  EXPECT_EQ(zarp::NomeLookupVisao(u""), u"");
}

TEST_F(View, WhileTheViewIsBuiltTheSheetsModuleNameResolvesToItsDocumentInAnyCase) {
  fichas::referencias = {u"TestFicha.Something", u"testficha.something",  u"TESTFICHA.DATA2",
                         u"tESTfICHA.data1num",  u"TTestFicha.Something", u"TestFicha1.Something",
                         u"ZARPFicha1.Something"};
  TTestFicha* doc = Abrir();
  host->AcoplarVisao(W1);
  EXPECT_EQ(doc->Visao()->Sonda().resolvidos,
            (std::vector<rt::TComponent*>{doc->Something, doc->Something, doc->DATA2, doc->DATA1num,
                                          nullptr, nullptr, nullptr}));
  // Only while the view is built.
  EXPECT_EQ(rt::ResolveComponentReference(u"TestFicha.Something", nullptr), nullptr);
}

TEST_F(View, AClassNameWithALowerCaseTKeepsItInTheModuleName) {
  fichas::referencias = {u"tfichaMinuscula.Something", u"TFICHAMINUSCULA.Something",
                         u"fichaMinuscula.Something"};
  fichas::tfichaMinuscula* doc = Abrir<fichas::tfichaMinuscula>();
  host->AcoplarVisao(W1);
  EXPECT_EQ(doc->Visao()->Sonda().resolvidos,
            (std::vector<rt::TComponent*>{doc->Something, doc->Something, nullptr}));
}

rt::TComponent* decoy = nullptr;
rt::TComponent* ResolverAntigo(std::u16string_view nome) {
  return rt::SameTextAscii(nome, u"TestFicha") ? decoy : nullptr;
}

TEST_F(View, TwoOpenDocumentsOfOneClassEachBindTheirOwnView) {
  // An older resolver that answers the same module name is asked after the document's.
  rt::TComponent outro(nullptr);
  rt::TComponent algo(&outro);
  algo.SetName(u"Something");
  decoy = &outro;
  rt::RegisterFindGlobalComponentProc(ResolverAntigo);

  fichas::referencias = {u"TestFicha.Something", u"TestFicha.DATA1"};
  TTestFicha* a = Abrir();
  auto hostA = host;
  TTestFicha* b = Abrir();
  host->AcoplarVisao(W2);
  hostA->AcoplarVisao(W1);

  EXPECT_EQ(a->Visao()->Sonda().resolvidos, (std::vector<rt::TComponent*>{a->Something, a->DATA1}));
  EXPECT_EQ(b->Visao()->Sonda().resolvidos, (std::vector<rt::TComponent*>{b->Something, b->DATA1}));
  EXPECT_EQ(rt::ResolveComponentReference(u"TestFicha.Something", nullptr), &algo);

  rt::UnregisterFindGlobalComponentProc(ResolverAntigo);
  hostA.Reset();
  EXPECT_EQ(Registro::fichasVivas, 1);
}

}  // namespace
