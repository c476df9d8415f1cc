// What the host drives through the document's interfaces: read-only state over every host-bound
// dataset, the controller and the change notices it receives, and the events around loading,
// saving and clearing (whose dataset work belongs to the persistence).
#include <gtest/gtest.h>

#include "host/Streams.h"
#include "tests/ficha/Fichas.h"

namespace {

using db::TDataSetState;
using fichas::Nova;
using fichas::Obter;
using fichas::Registro;
using fichas::TTestFicha;
using zarp::IZARPFicha;
using zarp::IZARPFichaVisao;

class State : public ::testing::Test {
 protected:
  void SetUp() override {
    Registro::Limpar();
    doc = Nova();
    ficha = Obter<IZARPFicha>(*doc);
    visao = Obter<IZARPFichaVisao>(*doc);
    visao->SetFichaVisaoController(controller.Get());
    auto log = [](const char* what) {
      return [what](db::TDataSet* ds) {
        Registro::log.push_back(std::string(what) + " " + rt::Utf16ToUtf8(ds->Name()));
      };
    };
    doc->DATA1->AfterCancel = log("cancel");
    doc->DATA2->AfterCancel = log("cancel");
    doc->OnSetSomenteLeitura = [](bool value) {
      Registro::log.push_back(value ? "read-only true" : "read-only false");
    };
  }
  void TearDown() override {
    ficha.Reset();
    visao.Reset();
    EXPECT_EQ(Registro::fichasVivas, 0);
    EXPECT_EQ(controller->RefCount(), 1);
  }

  rt::ComPtr<host::TController> controller = rt::MakeCounted<host::TController>();
  TTestFicha* doc = nullptr;
  rt::ComPtr<IZARPFicha> ficha;
  rt::ComPtr<IZARPFichaVisao> visao;
};

TEST_F(State, ReadOnlySetsEveryDatasetOnEachCallAndCancelsPendingEdits) {
  for (int round = 0; round < 2; ++round) {
    doc->DATA1->Insert();
    doc->DATA2->Insert();
    ficha->SetFichaSomenteLeitura(false);  // the same value as before: still applied in full
    EXPECT_EQ(doc->DATA1->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(doc->DATA2->State(), TDataSetState::dsBrowse);
  }
  EXPECT_EQ(Registro::log,
            (std::vector<std::string>{"cancel DATA1", "cancel DATA2", "read-only false",
                                      "cancel DATA1", "cancel DATA2", "read-only false"}));

  Registro::Limpar();
  ficha->SetFichaSomenteLeitura(true);
  ficha->SetFichaSomenteLeitura(true);
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"read-only true", "read-only true"}));
  EXPECT_TRUE(doc->FichaSomenteLeitura());
  EXPECT_TRUE(doc->DATA1->SomenteLeitura());
  EXPECT_TRUE(doc->DATA2->SomenteLeitura());
  EXPECT_THROW(doc->DATA1->Insert(), zarp::EZARPSomenteLeitura);

  ficha->SetFichaSomenteLeitura(false);
  EXPECT_FALSE(doc->DATA2->SomenteLeitura());
  doc->DATA2->Insert();
  EXPECT_EQ(doc->DATA2->State(), TDataSetState::dsInsert);
}

TEST(ReadOnly, ADocumentWithoutDatasetsOnlyStoresTheFlagAndFiresTheEvent) {
  fichas::TFichaSemVisao* doc = Nova<fichas::TFichaSemVisao>();
  auto ficha = Obter<IZARPFicha>(*doc);
  std::vector<bool> fired;
  doc->OnSetSomenteLeitura = [&](bool value) { fired.push_back(value); };
  ficha->SetFichaSomenteLeitura(true);
  EXPECT_TRUE(doc->FichaSomenteLeitura());
  ficha->SetFichaSomenteLeitura(false);
  EXPECT_FALSE(doc->FichaSomenteLeitura());
  EXPECT_EQ(fired, (std::vector<bool>{true, false}));
  ficha->SetFichaSomenteLeitura(true);  // no event handler: the flag alone
  EXPECT_TRUE(doc->FichaSomenteLeitura());
}

TEST_F(State, EveryNoticeOfADatasetReachesTheHostsControllerOnce) {
  doc->DATA1->Insert();  // the insert begins
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
  doc->DATA1num->SetAsInteger(7);
  doc->DATA1->Post();  // a post sends no notice
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
  doc->DATA1->Edit();
  EXPECT_EQ(controller->FichaAlteradaCount(), 2);
  doc->DATA1->Cancel();
  EXPECT_EQ(controller->FichaAlteradaCount(), 3);
  doc->DATA1->Delete();
  EXPECT_EQ(controller->FichaAlteradaCount(), 4);
}

TEST_F(State, TheControllerIsHeldReplacedAndCleared) {
  EXPECT_EQ(doc->FichaVisaoController(), controller.Get());
  EXPECT_EQ(controller->RefCount(), 2);
  visao->SetFichaVisaoController(controller.Get());
  EXPECT_EQ(controller->RefCount(), 2);

  auto second = rt::MakeCounted<host::TController>();
  visao->SetFichaVisaoController(second.Get());
  EXPECT_EQ(controller->RefCount(), 1);
  EXPECT_EQ(second->RefCount(), 2);
  doc->NotificarAlteracao(doc->DATA1);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
  EXPECT_EQ(second->FichaAlteradaCount(), 1);

  visao->SetFichaVisaoController(nullptr);
  EXPECT_EQ(second->RefCount(), 1);
  doc->NotificarAlteracao(nullptr);
  doc->DATA2->Insert();
  EXPECT_EQ(second->FichaAlteradaCount(), 1);
}

TEST_F(State, AControllerClearedByItsOwnNoticeIsNotReleasedUnderIt) {
  auto fugaz = rt::MakeCounted<host::TController>();
  visao->SetFichaVisaoController(fugaz.Get());
  host::TController* raw = fugaz.Get();
  fugaz.Reset();  // the document holds the only reference now
  raw->onFichaAlterada = [this] { visao->SetFichaVisaoController(nullptr); };
  doc->DATA1->Insert();
  EXPECT_EQ(doc->FichaVisaoController(), nullptr);
}

TEST_F(State, LoadingClearsFirstAndEachOperationFiresItsEventsAroundTheWork) {
  auto on = [](const char* name) {
    return [name](rt::TComponent* sender) {
      Registro::log.push_back(std::string(name) +
                              (dynamic_cast<TTestFicha*>(sender) ? "" : " (no sender)"));
    };
  };
  doc->BeforeCarregarFicha = on("BeforeCarregarFicha");
  doc->AfterCaregarFicha = on("AfterCaregarFicha");
  doc->BeforeSalvarFicha = on("BeforeSalvarFicha");
  doc->AfterSalvarFicha = on("AfterSalvarFicha");
  doc->BeforeLimparFicha = on("BeforeLimparFicha");
  doc->AfterLimparFicha = on("AfterLimparFicha");

  auto vazio = rt::MakeCounted<host::TMemoryStream>();
  ficha->CarregarFicha(vazio.Get());
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"BeforeCarregarFicha", "BeforeLimparFicha",
                                                     "AfterLimparFicha", "AfterCaregarFicha"}));

  Registro::Limpar();
  ficha->LimparFicha();
  auto salvo = rt::MakeCounted<host::TMemoryStream>();
  ficha->SalvarFicha(salvo.Get());
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"BeforeLimparFicha", "AfterLimparFicha",
                                                     "BeforeSalvarFicha", "AfterSalvarFicha"}));
}

TEST_F(State, ASavedSheetLoadsBackIntoAFreshDocument) {
  for (int n : {3, 1, 4}) {
    doc->DATA1->Append();
    doc->DATA1num->SetAsInteger(n);
    doc->DATA1->Post();
  }
  doc->DATA2->Insert();
  doc->DATA2num->SetAsInteger(42);  // pending: saving posts it
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  ficha->SalvarFicha(stream.Get());

  TTestFicha* outro = Nova();
  auto outraFicha = Obter<IZARPFicha>(*outro);
  outraFicha->SetFichaSomenteLeitura(true);
  outraFicha->CarregarFicha(stream.Get());
  std::vector<int> nums;
  for (outro->DATA1->First(); !outro->DATA1->Eof(); outro->DATA1->Next())
    nums.push_back(outro->DATA1num->AsInteger());
  EXPECT_EQ(nums, (std::vector<int>{3, 1, 4}));
  EXPECT_EQ(outro->DATA2num->AsInteger(), 42);
  EXPECT_TRUE(outro->DATA1->SomenteLeitura());

  // Clearing empties every dataset, read-only or not.
  outraFicha->LimparFicha();
  EXPECT_TRUE(outro->DATA1->IsEmpty());
  EXPECT_TRUE(outro->DATA2->IsEmpty());
}

// A sheet class that overrides clearing: the host and loading both reach the override.
class TFichaLimpa : public TTestFicha {
 public:
  ZARP_FICHA_CLASS(TFichaLimpa)
  using TTestFicha::TTestFicha;
  void LimparFicha() override {
    Registro::log.push_back("override");
    TTestFicha::LimparFicha();
  }
};

TEST(Operations, LoadingAndTheHostReachAnOverriddenOperation) {
  Registro::Limpar();
  TFichaLimpa* doc = Nova<TFichaLimpa>();
  auto ficha = Obter<IZARPFicha>(*doc);
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  ficha->CarregarFicha(stream.Get());
  ficha->LimparFicha();
  EXPECT_EQ(Registro::log, (std::vector<std::string>{"override", "override"}));
}

TEST(Operations, AFailingBeforeEventEndsTheOperationWithoutItsAfterEvent) {
  Registro::Limpar();
  TTestFicha* doc = Nova();
  auto ficha = Obter<IZARPFicha>(*doc);
  doc->BeforeSalvarFicha = [](rt::TComponent*) { throw rt::Exception(u"not now"); };
  doc->AfterSalvarFicha = [](rt::TComponent*) { Registro::log.push_back("after"); };
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  EXPECT_THROW(doc->SalvarFicha(stream.Get()), rt::Exception);
  EXPECT_TRUE(stream->Bytes().empty());
  EXPECT_TRUE(Registro::log.empty());
}

}  // namespace
