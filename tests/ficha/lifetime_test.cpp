// The document's own count: shared by its three interfaces, held through construction and the
// creation event, and ending the document (view, datasets, controller, in that order) at 0.
#include <gtest/gtest.h>

#include "dataset/ZARPOwnerDatasets.h"
#include "tests/ficha/Fichas.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using fichas::Nova;
using fichas::Obter;
using fichas::Registro;
using fichas::TTestFicha;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;
using zarp::IZARPOwnerDatasets;

class Lifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    Registro::Limpar();
    TTestFicha::aoCriar = nullptr;
    objects = ui::CurrentBackend().NativeObjectCount();
  }
  void TearDown() override {
    TTestFicha::aoCriar = nullptr;
    EXPECT_EQ(Registro::fichasVivas, 0);
    EXPECT_EQ(Registro::visoesVivas, 0);
    EXPECT_EQ(ui::CurrentBackend().NativeObjectCount(), objects);
  }
  size_t objects = 0;
};

TEST_F(Lifetime, ANewDocumentHasNoReferenceAndTheFirstOneOwnsIt) {
  TTestFicha* doc = Nova();
  EXPECT_EQ(doc->RefCount(), 0);
  auto ficha = Obter<IZARPFicha>(*doc);
  EXPECT_EQ(doc->RefCount(), 1);
  EXPECT_EQ(Registro::fichasVivas, 1);
  ficha.Reset();
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Lifetime, TheThreeInterfacesShareOneCount) {
  TTestFicha* doc = Nova();
  auto ficha = Obter<IZARPFicha>(*doc);
  auto visao = Obter<IZARPFichaVisao>(*doc);
  auto owner = Obter<IZARPOwnerDatasets>(*doc);
  EXPECT_EQ(doc->RefCount(), 3);

  EXPECT_EQ(ficha->AddRef(), 4u);
  EXPECT_EQ(visao->Release(), 3u);  // added through one, dropped through another
  EXPECT_EQ(owner->AddRef(), 4u);
  EXPECT_EQ(ficha->Release(), 3u);
  EXPECT_EQ(doc->RefCount(), 3);

  owner.Reset();
  visao.Reset();
  EXPECT_EQ(Registro::fichasVivas, 1);
  ficha.Reset();
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Lifetime, QueryInterfaceAnswersEachIdentityWithOneReference) {
  TTestFicha* doc = Nova();
  auto ficha = Obter<IZARPFicha>(*doc);

  void* p = nullptr;
  ASSERT_EQ(ficha->QueryInterface(IZARPFichaVisao::IID, &p), rt::kOk);
  auto visao = rt::ComPtr<IZARPFichaVisao>::Adopt(static_cast<IZARPFichaVisao*>(p));
  EXPECT_NE(static_cast<void*>(visao.Get()), static_cast<void*>(ficha.Get()));
  EXPECT_EQ(doc->RefCount(), 2);

  // Back from the view interface: the same IZARPFicha pointer, one more reference.
  ASSERT_EQ(visao->QueryInterface(IZARPFicha::IID, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<void*>(ficha.Get()));
  EXPECT_EQ(doc->RefCount(), 3);
  ficha->Release();

  // The base identity is the IZARPFicha pointer, and it is counted like the others.
  ASSERT_EQ(visao->QueryInterface(rt::IID_IUnknown, &p), rt::kOk);
  EXPECT_EQ(p, static_cast<void*>(ficha.Get()));
  EXPECT_EQ(doc->RefCount(), 3);
  static_cast<rt::IUnknown*>(p)->Release();

  // Anything else: no interface, a null pointer and no reference.
  p = &p;
  EXPECT_EQ(ficha->QueryInterface(zarp::IZARPPlugin::IID, &p), rt::kNoInterface);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(ficha->QueryInterface(IZARPFicha::IID, nullptr), rt::kNoInterface);
  EXPECT_EQ(doc->RefCount(), 2);
}

TEST_F(Lifetime, ConstructionAndTheCreationEventRunWithOneReference) {
  int32_t countInEvent = -1;
  TTestFicha::aoCriar = [&](TTestFicha& doc) {
    countInEvent = doc.RefCount();
    // An interface reference taken and dropped here must not free the half-made document...
    Obter<IZARPFicha>(doc).Reset();
    // ...nor may a dataset's notice, which reaches the document through the same count.
    doc.DATA1->Insert();
    doc.DATA1->Cancel();
  };
  TTestFicha* doc = Nova();
  EXPECT_EQ(countInEvent, 1);
  EXPECT_EQ(Registro::fichasVivas, 1);
  EXPECT_EQ(doc->RefCount(), 0);
  EXPECT_TRUE(doc->DATA1->Active());
  Obter<IZARPFicha>(*doc).Reset();
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Lifetime, AFailingCreationEventFreesTheDocument) {
  TTestFicha::aoCriar = [](TTestFicha&) { throw rt::Exception(u"no sheet today"); };
  EXPECT_THROW(Nova(), rt::Exception);
  EXPECT_EQ(Registro::fichasVivas, 0);
}

TEST_F(Lifetime, TheLastReleaseFreesTheDocumentAndItsView) {
  TTestFicha* doc = Nova();
  auto ficha = Obter<IZARPFicha>(*doc);
  Obter<IZARPFichaVisao>(*doc)->AcoplarVisao(0x1001);
  ASSERT_NE(doc->Visao(), nullptr);
  EXPECT_EQ(Registro::visoesVivas, 1);
  EXPECT_GT(ui::CurrentBackend().NativeObjectCount(), objects);
  ficha.Reset();
  EXPECT_EQ(Registro::fichasVivas, 0);
  EXPECT_EQ(Registro::visoesVivas, 0);
}

TEST_F(Lifetime, DestructionRunsTheEventThenFreesTheViewThenTheDatasetsThenTheController) {
  auto controller = rt::MakeCounted<fichas::TControllerTeste>();
  TTestFicha* doc = Nova();
  auto visao = Obter<IZARPFichaVisao>(*doc);
  visao->AcoplarVisao(0x1001);
  visao->SetFichaVisaoController(controller.Get());
  Registro::Limpar();
  visao.Reset();
  EXPECT_EQ(Registro::log,
            (std::vector<std::string>{"destroy event", "view freed", "dataset freed: DATA2",
                                      "dataset freed: DATA1", "controller released"}));
  EXPECT_EQ(controller->RefCount(), 1);
}

TEST_F(Lifetime, AReferenceTakenAndDroppedWhileTheDocumentGoesDoesNotFreeItAgain) {
  TTestFicha* doc = Nova();
  doc->OnDestroy = [doc](rt::TComponent*) {
    Registro::log.push_back("destroy event");
    Obter<IZARPFichaVisao>(*doc).Reset();
  };
  Obter<IZARPFicha>(*doc).Reset();
  EXPECT_EQ(Registro::fichasVivas, 0);
  EXPECT_EQ(std::count(Registro::log.begin(), Registro::log.end(), "destroy event"), 1);
}

TEST_F(Lifetime, AnOwnedDocumentGoesWithItsOwner) {
  {
    rt::TComponent owner(nullptr);
    zarp::ClasseFicha<TTestFicha>()->Create(&owner);
    EXPECT_EQ(Registro::fichasVivas, 1);
  }
  EXPECT_EQ(Registro::fichasVivas, 0);
}

}  // namespace
