// The VEL sheet saved and loaded: the bytes of a new sheet, a full round trip, calculated fields
// kept out of the stream, derived values loaded as saved or recomputed by the equipment list
// (read-only sheets included, level boxes that are no numbers reported per field), and the
// golden files under tests/data kept equal to what the sheet tool writes today.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/sistema/FichaVEL.h"
#include "tools/vel-sheet/AmostraVEL.h"

namespace vel::test {
namespace {

std::vector<zarp::TZARPDataSet*> DataSets(TZARPFicha1& doc) {
  return {doc.DATAA1, doc.DATAA2, doc.DATAA3, doc.DATAA4, doc.DATAPHOTO, doc.DATAB0,
          doc.DATAA5, doc.DATAA6, doc.DATAA7, doc.DATAA8, doc.DATAA9};
}

bool Contem(const Bytes& bytes, std::string_view texto) {
  return std::search(bytes.begin(), bytes.end(), texto.begin(), texto.end()) != bytes.end();
}

void Le32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

class Persistencia : public ::testing::Test {
 protected:
  void SetUp() override { Caixas().ClearMessages(); }
  void TearDown() override { Caixas().ClearMessages(); }
};

TEST_F(Persistencia, ANewSheetSavesElevenShortSectionsInComponentOrder) {
  Documento doc;
  Bytes esperado;
  for (const char* nome : {"DATAA1", "DATAA2", "DATAA3", "DATAA4", "DATAPHOTO", "DATAB0", "DATAA5",
                           "DATAA6", "DATAA7", "DATAA8", "DATAA9"}) {
    const std::string n(nome);
    Le32(esperado, static_cast<int32_t>(n.size()));
    esperado.insert(esperado.end(), n.begin(), n.end());
    Le32(esperado, 0);
    Le32(esperado, 0);
    Le32(esperado, -1);
  }
  EXPECT_EQ(doc.Salvar(), esperado);
}

TEST_F(Persistencia, ASavedSheetLoadsIntoANewDocumentWithTheSameRecordsEverywhere) {
  Documento origem;
  PreencherAmostra(*origem);
  const Bytes bytes = origem.Salvar();

  Documento copia;
  copia.Carregar(bytes);
  EXPECT_TRUE(Caixas().Messages().empty());
  const auto a = DataSets(*origem), b = DataSets(*copia);
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(rt::Utf16ToUtf8(a[i]->Name()));
    EXPECT_EQ(Registros(*b[i]), Registros(*a[i]));
    EXPECT_EQ(b[i]->RecNo(), a[i]->RecNo());
    EXPECT_EQ(b[i]->State(), db::TDataSetState::dsBrowse);
  }
  EXPECT_EQ(copia->DATAA4descripthabil->AsString(), origem->DATAA4descripthabil->AsString());
  EXPECT_GT(copia->DATAA4descripthabil->AsString().size(), 8192u);
  EXPECT_EQ(copia.Salvar(), bytes);
}

TEST_F(Persistencia, TheCarryingRowIsNeverSavedAndIsRecomputedOnLoad) {
  Documento origem;
  PreencherAmostra(*origem);
  const Bytes bytes = origem.Salvar();
  EXPECT_FALSE(Contem(bytes, "qpb"));
  EXPECT_FALSE(Contem(bytes, "qpc"));
  EXPECT_TRUE(Contem(bytes, "qpa"));

  Documento copia;
  copia.Carregar(bytes);
  copia->DATAA6->First();
  EXPECT_EQ(copia->DATAA6qpb->AsInteger(), 24);
  EXPECT_EQ(copia->DATAA6qpc->AsInteger(), 36);
  copia->DATAA6->Next();
  EXPECT_EQ(copia->DATAA6qpb->AsInteger(), 10);
  EXPECT_EQ(copia->DATAA6qpc->AsInteger(), 15);
}

TEST_F(Persistencia, DerivedValuesSavedWithNoEquipmentLoadExactlyAsSaved) {
  Documento origem;
  origem->DATAA4->Append();
  origem->DATAA4toptopmid->SetAsString("3");
  origem->DATAA4xpcb->SetAsInteger(7777);
  origem->DATAA4xpppa->SetAsInteger(-5);
  origem->DATAA4->Post();
  origem->DATAA1->Append();
  origem->DATAA1pvb->SetAsInteger(25);
  origem->DATAA1machua->SetAsInteger(999);  // not what pvb would give
  origem->DATAA1Aa->SetAsInteger(-42);
  origem->DATAA1fortitude->SetAsInteger(INT32_MIN);
  origem->DATAA1->Post();

  Documento copia;
  ContadorCalculos contador(*copia);
  copia.Carregar(origem.Salvar());
  EXPECT_EQ(contador.runs, 0);
  EXPECT_EQ(copia->DATAA1machua->AsInteger(), 999);
  EXPECT_EQ(copia->DATAA1Aa->AsInteger(), -42);
  EXPECT_EQ(copia->DATAA1fortitude->AsInteger(), INT32_MIN);
  EXPECT_TRUE(copia->DATAA1fera->IsNull());
  EXPECT_EQ(copia->DATAA4xpcb->AsInteger(), 7777);
  EXPECT_EQ(copia->DATAA4xpppa->AsInteger(), -5);
}

// The sample's older save: bases pvb 40, pmb -20, destreza 8, stamina 4, intelecto 5 and level
// boxes "5" and "2", with derived values computed before those bases changed.
void EsperarDerivadosDaAmostraAntiga(TZARPFicha1& doc) {
  EXPECT_EQ(doc.DATAA1machua->AsInteger(), 20);
  EXPECT_EQ(doc.DATAA1fera->AsInteger(), 10);
  EXPECT_EQ(doc.DATAA1incaa->AsInteger(), 5);
  EXPECT_EQ(doc.DATAA1fortitude->AsInteger(), 5 + 4 + 2);
  EXPECT_EQ(doc.DATAA1vontade->AsInteger(), 2 + 5 + 2);
  EXPECT_EQ(doc.DATAA1machub->AsInteger(), -10);
  EXPECT_EQ(doc.DATAA1ferb->AsInteger(), -5);
  EXPECT_EQ(doc.DATAA1incab->AsInteger(), -2);
  EXPECT_EQ(doc.DATAA4xpcb->AsInteger(), 60);
  EXPECT_EQ(doc.DATAA4xpppa->AsInteger(), 30);
  EXPECT_EQ(doc.DATAA1Aa->AsInteger(), 5);
}

TEST_F(Persistencia, LoadingRecomputesTheDerivedValuesOncePerAssignedEquipmentField) {
  Documento doc;
  ContadorCalculos contador(*doc);
  doc.Carregar(BytesAmostraAntiga());
  EXPECT_TRUE(Caixas().Messages().empty());
  // Two equipment records of seven stored columns each.
  EXPECT_EQ(contador.runs, 14);
  for (db::TDataSetState e : contador.estados) EXPECT_EQ(e, db::TDataSetState::dsInsert);
  EsperarDerivadosDaAmostraAntiga(*doc);
}

TEST_F(Persistencia, AReadOnlySheetLoadsWithItsDerivedValuesRecomputedAndStaysReadOnly) {
  Documento doc;
  doc->SetFichaSomenteLeitura(true);
  ContadorCalculos contador(*doc);
  doc.Carregar(BytesAmostraAntiga());
  EXPECT_EQ(contador.runs, 14);
  EsperarDerivadosDaAmostraAntiga(*doc);
  for (zarp::TZARPDataSet* ds : DataSets(*doc)) EXPECT_TRUE(ds->SomenteLeitura());
  EXPECT_EQ(doc->DATAA6->RecordCount(), 2);
}

TEST_F(Persistencia, LevelBoxesThatAreNoNumbersAreReportedForEachAssignedEquipmentField) {
  Documento origem;
  PreencherAmostra(*origem);
  origem->DATAA4toptopmid->SetAsString("a");
  origem->DATAA1pvb->SetAsInteger(60);  // steps before the failure still follow the bases
  const Bytes bytes = origem.Salvar();

  Documento doc;
  doc.Carregar(bytes);
  std::vector<std::u16string> esperadas;
  for (int registro = 0; registro < 2; ++registro)
    for (const char16_t* campo : {u"ajxbn", u"eqpname", u"qrtt", u"qpa", u"habildefinition",
                                  u"habildefinitionb", u"habildefinitionc"})
      esperadas.push_back(u"Carregando field " + std::u16string(campo) +
                          u": ''a'' is not a valid integer value");
  std::vector<std::u16string> mostradas;
  for (const auto& m : Caixas().Messages()) {
    mostradas.push_back(m.Text);
    EXPECT_EQ(m.Type, ui::TMsgDlgType::mtError);
  }
  EXPECT_EQ(mostradas, esperadas);

  // Every value is loaded; the thresholds of pvb follow, the base tests keep what was saved.
  EXPECT_EQ(Registros(*doc->DATAA6), Registros(*origem->DATAA6));
  EXPECT_EQ(doc->DATAA1machua->AsInteger(), 30);
  EXPECT_EQ(doc->DATAA1fortitude->AsInteger(), origem->DATAA1fortitude->AsInteger());
  EXPECT_EQ(doc->DATAA4xpcb->AsInteger(), origem->DATAA4xpcb->AsInteger());
}

// --- The golden files -----------------------------------------------------------------------

Bytes Arquivo(const std::string& nome) {
  std::ifstream f(std::string(VEL_TEST_DATA_DIR) + "/" + nome, std::ios::binary);
  EXPECT_TRUE(f.good()) << nome;
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TEST_F(Persistencia, TheCommittedGoldenFilesAreWhatTheSheetToolWritesToday) {
  const Bytes amostra = Arquivo("vel-sample-old.zarp");
  EXPECT_EQ(amostra, BytesAmostraAntiga())
      << "the sample no longer matches; regenerate it as tests/data/README.md says";
  const Bytes regravada = Arquivo("vel-sample-resaved.zarp");
  EXPECT_EQ(regravada, Regravar(amostra))
      << "the re-saved golden no longer matches; regenerate it as tests/data/README.md says";
  EXPECT_NE(regravada, amostra);  // the load recomputed the stale derived values
  EXPECT_EQ(Arquivo("vel-new.zarp"), Regravar({}));
}

}  // namespace
}  // namespace vel::test
