// The values the VEL sheet derives in DATAA6's calculated-fields event: each step's arithmetic,
// the level boxes read as whole numbers and what a failing one leaves, where the writes into
// DATAA1 and DATAA4 land in each of their states, and the moments the engine runs the event.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "db/DataSource.h"
#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "tests/sistema/FichaVEL.h"

namespace vel::test {
namespace {

using db::TDataSetState;

constexpr int32_t kMarca = -111;  // what an output holds until a step writes it

// A sheet with one record in DATAA1 (empty), DATAA4 (level boxes "3" and "2") and DATAA6.
class Derivados : public ::testing::Test {
 protected:
  void SetUp() override {
    Caixas().ClearMessages();
    doc->DATAA4->Append();
    doc->DATAA4toptopmid->SetAsString("3");
    doc->DATAA4toptopmidb->SetAsString("2");
    doc->DATAA4->Post();
    doc->DATAA1->Append();
    doc->DATAA1->Post();
    doc->DATAA6->Append();
    doc->DATAA6->Post();
  }

  // What a committed change of the current equipment record does: one stored field assigned.
  void Calcular() { doc->DATAA6qrtt->SetAsInteger(doc->DATAA6qrtt->AsInteger() + 1); }

  // Every sheet output back to kMarca, written straight into the stored records.
  void Marcar() {
    for (db::TIntegerField* f :
         {doc->DATAA1machua, doc->DATAA1fera, doc->DATAA1incaa, doc->DATAA1fortitude,
          doc->DATAA1vontade, doc->DATAA1machub, doc->DATAA1ferb, doc->DATAA1incab, doc->DATAA4xpcb,
          doc->DATAA4xpppa, doc->DATAA1Aa})
      f->SetAsInteger(kMarca);
  }

  // The sheet outputs in step order: machua fera incaa fortitude vontade machub ferb incab xpcb
  // xpppa Aa.
  std::vector<int32_t> Saidas() const {
    return {doc->DATAA1machua->AsInteger(),  doc->DATAA1fera->AsInteger(),
            doc->DATAA1incaa->AsInteger(),   doc->DATAA1fortitude->AsInteger(),
            doc->DATAA1vontade->AsInteger(), doc->DATAA1machub->AsInteger(),
            doc->DATAA1ferb->AsInteger(),    doc->DATAA1incab->AsInteger(),
            doc->DATAA4xpcb->AsInteger(),    doc->DATAA4xpppa->AsInteger(),
            doc->DATAA1Aa->AsInteger()};
  }

  Documento doc;
};

// --- The steps ------------------------------------------------------------------------------

TEST_F(Derivados, ThresholdsDivideTheirBaseTruncatingTowardZero) {
  doc->DATAA1pvb->SetAsInteger(25);
  doc->DATAA1pmb->SetAsInteger(-7);
  Calcular();
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 12);
  EXPECT_EQ(doc->DATAA1fera->AsInteger(), 6);
  EXPECT_EQ(doc->DATAA1incaa->AsInteger(), 3);
  EXPECT_EQ(doc->DATAA1machub->AsInteger(), -3);
  EXPECT_EQ(doc->DATAA1ferb->AsInteger(), -1);
  EXPECT_EQ(doc->DATAA1incab->AsInteger(), 0);

  doc->DATAA1pmb->SetAsInteger(INT32_MIN);
  Calcular();
  EXPECT_EQ(doc->DATAA1machub->AsInteger(), -1073741824);
  EXPECT_EQ(doc->DATAA1ferb->AsInteger(), -536870912);
  EXPECT_EQ(doc->DATAA1incab->AsInteger(), -268435456);
}

TEST_F(Derivados, AaIsHalfTheDestrezaPlusOne) {
  Calcular();
  EXPECT_EQ(doc->DATAA1Aa->AsInteger(), 1);  // destreza never assigned
  doc->DATAA1destreza->SetAsInteger(5);
  Calcular();
  EXPECT_EQ(doc->DATAA1Aa->AsInteger(), 3);
  doc->DATAA1destreza->SetAsInteger(-3);
  Calcular();
  EXPECT_EQ(doc->DATAA1Aa->AsInteger(), 0);
}

TEST_F(Derivados, BaseTestsAndExperienceTargetsFollowTheLevelBoxes) {
  doc->DATAA1stamina->SetAsInteger(4);
  doc->DATAA1intelecto->SetAsInteger(5);
  Calcular();
  EXPECT_EQ(doc->DATAA1fortitude->AsInteger(), 9);
  EXPECT_EQ(doc->DATAA1vontade->AsInteger(), 9);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 40);
  EXPECT_EQ(doc->DATAA4xpppa->AsInteger(), 30);

  doc->DATAA1stamina->SetAsInteger(-5);
  doc->DATAA1intelecto->SetAsInteger(-3);
  Calcular();
  EXPECT_EQ(doc->DATAA1fortitude->AsInteger(), 3 - 5 - 1);
  EXPECT_EQ(doc->DATAA1vontade->AsInteger(), 2 - 3 - 2);
}

TEST_F(Derivados, LevelBoxesAreReadAsWholeNumbers) {
  const struct {
    const char* texto;
    int32_t valor;
  } casos[] = {{" 7", 7}, {"$A", 10}, {"-9", -9}, {"+5", 5}, {"x1", 1}, {"07", 7}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.texto);
    doc->DATAA4toptopmid->SetAsString(c.texto);
    doc->DATAA4toptopmidb->SetAsString(c.texto);
    Calcular();
    EXPECT_EQ(doc->DATAA1fortitude->AsInteger(), c.valor);
    EXPECT_EQ(doc->DATAA1vontade->AsInteger(), c.valor);
    EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), (c.valor + 1) * 10);
    EXPECT_EQ(doc->DATAA4xpppa->AsInteger(), (c.valor + 1) * 10);
  }
}

TEST_F(Derivados, ALevelBoxThatIsNoNumberEndsTheRunWithTheStepsBeforeItApplied) {
  doc->DATAA1pvb->SetAsInteger(25);
  doc->DATAA1pmb->SetAsInteger(-7);
  for (const char* texto : {"7 ", "a", ""}) {
    SCOPED_TRACE(std::string("\"") + texto + "\"");
    doc->DATAA4toptopmid->SetAsString(texto);
    Marcar();
    try {
      doc->DATAA6qpa->SetAsInteger(10);
      ADD_FAILURE() << "the run did not fail";
    } catch (const rt::EConvertError& e) {
      EXPECT_EQ(e.Message(), u"''" + rt::FromAnsi(texto) + u"'' is not a valid integer value");
    }
    EXPECT_EQ(doc->DATAA6qpa->AsInteger(), 10);  // the assignment itself is kept
    EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 20);
    EXPECT_EQ(doc->DATAA6qpc->AsInteger(), 30);
    EXPECT_EQ(Saidas(), (std::vector<int32_t>{12, 6, 3, kMarca, kMarca, kMarca, kMarca, kMarca,
                                              kMarca, kMarca, kMarca}));
  }

  // The second box fails at step 7: the first base test is written, nothing after it.
  doc->DATAA4toptopmid->SetAsString("3");
  doc->DATAA4toptopmidb->SetAsString("b");
  Marcar();
  EXPECT_THROW(Calcular(), rt::EConvertError);
  EXPECT_EQ(Saidas(), (std::vector<int32_t>{12, 6, 3, 3, kMarca, kMarca, kMarca, kMarca, kMarca,
                                            kMarca, kMarca}));
}

TEST_F(Derivados, TheCarryingRowWrapsAroundAt32Bits) {
  doc->DATAA6qpa->SetAsInteger(1000000000);
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 2000000000);
  EXPECT_EQ(doc->DATAA6qpc->AsInteger(), -1294967296);
  doc->DATAA6qpa->SetAsInteger(INT32_MIN);
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 0);
  EXPECT_EQ(doc->DATAA6qpc->AsInteger(), INT32_MIN);
  doc->DATAA6qpa->Clear();
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 0);  // never assigned reads as 0
}

TEST_F(Derivados, ChangingABaseAloneRecomputesNothingUntilTheNextEquipmentChange) {
  doc->DATAA1pvb->SetAsInteger(25);
  Calcular();
  ASSERT_EQ(doc->DATAA1machua->AsInteger(), 12);

  doc->DATAA1pvb->SetAsInteger(40);
  doc->DATAA1->Edit();
  doc->DATAA1pvb->SetAsInteger(60);
  doc->DATAA1->Post();
  doc->DATAA4toptopmid->SetAsString("5");
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 12);
  EXPECT_EQ(doc->DATAA1fera->AsInteger(), 6);
  EXPECT_EQ(doc->DATAA1incaa->AsInteger(), 3);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 40);

  doc->DATAA6eqpname->SetAsString("Adaga");
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 30);
  EXPECT_EQ(doc->DATAA1fera->AsInteger(), 15);
  EXPECT_EQ(doc->DATAA1incaa->AsInteger(), 7);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 60);
}

// --- Where the writes land ------------------------------------------------------------------

TEST(DerivadosSemRegistro, WithDATAA1EmptyNothingIsStoredThereAndTheRestIsComputed) {
  Documento doc;
  doc->DATAA4->Append();
  doc->DATAA4toptopmid->SetAsString("3");
  doc->DATAA4toptopmidb->SetAsString("2");
  doc->DATAA4->Post();
  doc->DATAA6->Append();
  doc->DATAA6qpa->SetAsInteger(7);
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 14);
  EXPECT_EQ(doc->DATAA6qpc->AsInteger(), 21);
  EXPECT_EQ(doc->DATAA1->RecordCount(), 0);
  EXPECT_TRUE(doc->DATAA1->IsEmpty());
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 40);
  EXPECT_EQ(doc->DATAA4xpppa->AsInteger(), 30);
}

TEST(DerivadosSemRegistro, OnANewSheetEveryCalculationFailsAtTheFirstLevelBox) {
  Documento doc;
  doc->DATAA1->Append();
  doc->DATAA1pvb->SetAsInteger(25);
  doc->DATAA1->Post();
  doc->DATAA6->Append();
  try {
    doc->DATAA6qpa->SetAsInteger(4);
    ADD_FAILURE() << "an empty DATAA4 was read as a number";
  } catch (const rt::EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'''' is not a valid integer value");
  }
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 8);
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 12);
  EXPECT_TRUE(doc->DATAA1fortitude->IsNull());
  EXPECT_EQ(doc->DATAA4->RecordCount(), 0);
}

TEST_F(Derivados, ATargetBeingEditedGetsThePendingChangeWhichPostKeepsAndCancelDrops) {
  doc->DATAA1pvb->SetAsInteger(25);
  Calcular();
  ASSERT_EQ(doc->DATAA1machua->AsInteger(), 12);

  doc->DATAA1->Edit();
  doc->DATAA1pvb->SetAsInteger(50);
  Calcular();
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsEdit);
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 25);
  EXPECT_EQ(doc->DATAA1machua->OldValue().AsInt32(), 12);  // the stored record is untouched
  doc->DATAA1->Cancel();
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 12);

  doc->DATAA1->Edit();
  doc->DATAA1destreza->SetAsInteger(9);
  Calcular();
  doc->DATAA1->Post();
  EXPECT_EQ(doc->DATAA1Aa->AsInteger(), 5);
}

TEST(DerivadosEmInsercao, ATargetBeingInsertedGetsTheValuesInItsNewRecord) {
  Documento doc;
  doc->DATAA6->Append();
  doc->DATAA6->Post();
  doc->DATAA4->Append();
  doc->DATAA4toptopmid->SetAsString("4");
  doc->DATAA4toptopmidb->SetAsString("1");
  doc->DATAA6qrtt->SetAsInteger(1);
  EXPECT_EQ(doc->DATAA4->State(), TDataSetState::dsInsert);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 50);
  EXPECT_EQ(doc->DATAA4xpppa->AsInteger(), 20);
  doc->DATAA4->Post();
  EXPECT_EQ(doc->DATAA4->RecordCount(), 1);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 50);
}

TEST_F(Derivados, ReadOnlyTargetsAreWrittenAndNoWriteTellsTheHost) {
  auto controller = rt::MakeCounted<host::TController>();
  doc->SetFichaVisaoController(controller.Get());
  doc->DATAA1pvb->SetAsInteger(25);
  doc->SetFichaSomenteLeitura(true);

  Calcular();
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 12);
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), 40);
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);

  // A user's edit of the same dataset is still refused, silently, and tells the host nothing.
  EXPECT_THROW(doc->DATAA1->Edit(), zarp::EZARPSomenteLeitura);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
  doc->SetFichaVisaoController(nullptr);
}

TEST_F(Derivados, ControlsBoundToTheCarryingRowHearOfItsNewValues) {
  db::TDataSource fonte(nullptr);
  fonte.SetDataSet(doc->DATAA6);
  db::TFieldDataLink qpb;
  qpb.SetFieldName(u"qpb");
  int avisos = 0;
  qpb.OnDataChange = [&] { ++avisos; };
  qpb.SetDataSource(&fonte);
  avisos = 0;

  doc->DATAA6qpa->SetAsInteger(3);
  EXPECT_GT(avisos, 0);
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 6);
  qpb.SetDataSource(nullptr);
}

// --- When the engine runs the event ---------------------------------------------------------

TEST_F(Derivados, TheEventRunsOnEditOnEachStoredFieldWriteAndOnRefreshOnly) {
  ContadorCalculos contador(*doc);
  auto& ds = *doc->DATAA6;

  // Entering edit: in the calculation state, before the edit state is set.
  ds.Edit();
  ASSERT_EQ(contador.runs, 1);
  EXPECT_EQ(contador.estados.back(), TDataSetState::dsCalcFields);
  EXPECT_EQ(ds.State(), TDataSetState::dsEdit);

  // Each stored field assigned, in the state the dataset is in.
  doc->DATAA6eqpname->SetAsString("Lanca");
  doc->DATAA6qpa->SetAsInteger(2);
  EXPECT_EQ(contador.runs, 3);
  EXPECT_EQ(contador.estados.back(), TDataSetState::dsEdit);
  ds.Post();
  ds.Append();
  EXPECT_EQ(contador.runs, 3);
  doc->DATAA6qpa->SetAsInteger(5);
  EXPECT_EQ(contador.estados.back(), TDataSetState::dsInsert);
  ds.Cancel();
  doc->DATAA6qrtt->Clear();
  EXPECT_EQ(contador.runs, 5);
  EXPECT_EQ(contador.estados.back(), TDataSetState::dsBrowse);

  ds.Refresh();
  EXPECT_EQ(contador.runs, 6);
  EXPECT_EQ(contador.estados.back(), TDataSetState::dsCalcFields);

  // None of these.
  ds.Append();
  doc->DATAA6qpa->SetAsInteger(9);
  ds.Post();
  const int antes = contador.runs;
  ds.First();
  ds.Next();
  ds.Prior();
  ds.Last();
  ds.SetRecNo(0);
  db::TBookmark marca = ds.GetBookmark();
  ds.Last();
  ds.GotoBookmark(marca);
  doc->DATAA1pvb->SetAsInteger(30);
  doc->DATAA1->Edit();
  doc->DATAA1stamina->SetAsInteger(3);
  doc->DATAA1->Post();
  doc->DATAA4toptopmid->SetAsString("4");
  ds.Edit();
  ds.Cancel();  // the edit itself ran it once
  {
    db::TDataSource fonte(nullptr);
    db::TDataLink grade;  // a grid's window of five records fetches them all
    grade.SetBufferCount(5);
    fonte.SetDataSet(&ds);
    grade.SetDataSource(&fonte);
    ds.First();
    ds.Last();
    grade.SetDataSource(nullptr);
  }
  doc.Salvar();
  ds.Last();
  ds.Delete();
  EXPECT_EQ(contador.runs, antes + 1);
}

TEST_F(Derivados, EachEquipmentRecordKeepsTheCarryingRowOfItsLastCalculation) {
  doc->DATAA6qpa->SetAsInteger(4);
  doc->DATAA6->Append();
  doc->DATAA6qpa->SetAsInteger(10);
  doc->DATAA6->Post();
  doc->DATAA6->First();
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 8);
  doc->DATAA6->Next();
  EXPECT_EQ(doc->DATAA6qpb->AsInteger(), 20);
  EXPECT_EQ(doc->DATAA6qpc->AsInteger(), 30);
}

TEST_F(Derivados, AnEditThatCannotCalculateIsRefusedAndLeavesTheRecordAsStored) {
  doc->DATAA6qpa->SetAsInteger(5);
  doc->DATAA4toptopmid->SetAsString("a");
  try {
    doc->DATAA6->Edit();
    ADD_FAILURE() << "the edit began";
  } catch (const rt::EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''a'' is not a valid integer value");
  }
  EXPECT_EQ(doc->DATAA6->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(doc->DATAA6qpa->AsInteger(), 5);

  // The record is the stored one again: a later edit is posted into it.
  doc->DATAA4toptopmid->SetAsString("3");
  doc->DATAA6->Edit();
  doc->DATAA6qpa->SetAsInteger(6);
  doc->DATAA6->Post();
  doc->DATAA6->First();
  EXPECT_EQ(doc->DATAA6->RecordCount(), 1);
  EXPECT_EQ(doc->DATAA6qpa->AsInteger(), 6);
}

TEST_F(Derivados, ACommittedChangeThatCannotCalculateReportsItAndKeepsTheValuePending) {
  doc->DATAA6->Edit();
  doc->DATAA4toptopmidb->SetAsString("?");
  EXPECT_THROW(doc->DATAA6qpa->SetAsInteger(9), rt::EConvertError);
  EXPECT_EQ(doc->DATAA6->State(), TDataSetState::dsEdit);
  EXPECT_EQ(doc->DATAA6qpa->AsInteger(), 9);
  doc->DATAA6->Post();
  EXPECT_EQ(doc->DATAA6qpa->AsInteger(), 9);
}

}  // namespace
}  // namespace vel::test
