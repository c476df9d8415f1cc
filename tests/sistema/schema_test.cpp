// The VEL sheet's schema: its datasets and fields against the sheet's tables (kept here as a
// second, independent transcription), the members that name them, the ranges and text sizes
// the fields enforce, and the document's name and view class.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "runtime/Exception.h"
#include "sistema/VELficha.h"
#include "tests/sistema/FichaVEL.h"

namespace vel::test {
namespace {

// Per dataset, in component order, its fields in order: "name:S<size>" (text), "name:S<size>w<w>"
// (text with a display width), "name:I" (any integer), "name:I<min>..<max>", "name:C"
// (calculated integer).
struct DataSetEsperado {
  const char* nome;
  const char* campos;
};

const DataSetEsperado kEsquema[] = {
    {"DATAA1",
     "superior2:S1 superior1:S1 stamina:I-999..999 destreza:I-999..999 intelecto:I-999..999 "
     "carisma:I-999..999 opbs:S9999 pva:I0..99999999 pvb:I0..99999999 pxm:S2 pma:I0..99999999 "
     "pmb:I esquiva:I Dl:I Aa:I fortitude:I vontade:I machub:I fera:I ferb:I incaa:I incab:I "
     "PV:S2 machua:I"},
    {"DATAA2",
     "acca:S16w14 accb:S16w14 olhos:S16w14 face:S16w14 pescoco:S16w14 ombro:S16w14 "
     "vestes:S16w14 peitoral:S16w14 pulsos:S16w14 maos:S16w14 dedos:S16w14 calcas:S16w14 "
     "joelhos:S16w14 cintura:S16w14 pes:S16w14 cabeca:S16w14"},
    {"DATAA3",
     "atka:S30 atkb:S30 atkc:S30 atkd:S30 atta:S30 attab:S30 attb:S30 attbb:S30 attc:S30 "
     "attcb:S30 attd:S30 attdb:S30 attexa:S30 attexb:S30 attexc:S30 attexd:S30 atkmidaa:S999 "
     "atkmidab:S999 atkmidba:S999 atkmidbb:S999 atkmidca:S999 atkmidcb:S999 atkmidda:S999 "
     "atkmiddb:S999"},
    {"DATAA4",
     "toptopmid:S2 nomenome:S9999 descript:S99999 habillfiledsa:S15 divindade:S10 "
     "descripthabil:S99999 xpppa:I xppb:I xpca:I xpcb:I toptopmidb:S2"},
    {"DATAPHOTO", ""},
    {"DATAB0", ""},
    {"DATAA5", "sksty:S2 pgref:I0..999 habilname:S999 eqpdef:S9999"},
    {"DATAA6",
     "ajxbn:S2 eqpname:S15 qrtt:I qpa:I qpb:C qpc:C habildefinition:S999 habildefinitionb:S999 "
     "habildefinitionc:S999"},
    {"DATAA7",
     "ofleft:S13 ofright:S13 Lefta:S15 leftb:S15 leftc:S15 leftd:S15 lefte:S15 leftf:S15 "
     "righta:S15 rightb:S15 rightc:S15 rightd:S15 righte:S15 rightf:S15"},
    {"DATAA8", "dbleft:S2 dbright:S99999"},
    {"DATAA9", "ebleft:S2 ebright:S99999"},
};

// A dataset's fields in the notation of kEsquema.
std::string Descrever(const db::TDataSet& ds) {
  std::ostringstream out;
  for (const db::TField* f : ds.Fields()) {
    if (out.tellp() > 0) out << ' ';
    out << rt::Utf16ToUtf8(f->FieldName()) << ':';
    if (const auto* s = dynamic_cast<const db::TStringField*>(f)) {
      out << 'S' << s->Size();
      if (s->DisplayWidth() != s->Size()) out << 'w' << s->DisplayWidth();
    } else if (const auto* i = dynamic_cast<const db::TIntegerField*>(f);
               i && i->DataType() == db::TFieldType::ftInteger) {
      if (i->Calculated()) {
        out << 'C';
        if (i->MinValue() != 0 || i->MaxValue() != 0) out << "?range";
      } else {
        out << 'I';
        if (i->MinValue() != 0 || i->MaxValue() != 0) out << i->MinValue() << ".." << i->MaxValue();
      }
    } else {
      out << '?' << rt::Utf16ToUtf8(f->ClassName());
    }
    if (f->FieldKind() == db::TFieldKind::fkLookup) out << "?lookup";
  }
  return out.str();
}

TEST(Esquema, ElevenOpenEmptyDatasetsInComponentOrderWithEveryFieldAsTheTablesDeclareIt) {
  Documento doc;
  std::vector<zarp::TZARPDataSet*> dataSets;
  for (int i = 0; i < doc->ComponentCount(); ++i)
    if (auto* ds = dynamic_cast<zarp::TZARPDataSet*>(doc->Components(i))) dataSets.push_back(ds);
  ASSERT_EQ(dataSets.size(), std::size(kEsquema));

  for (size_t i = 0; i < dataSets.size(); ++i) {
    zarp::TZARPDataSet& ds = *dataSets[i];
    SCOPED_TRACE(kEsquema[i].nome);
    EXPECT_EQ(rt::Utf16ToUtf8(ds.Name()), kEsquema[i].nome);
    EXPECT_EQ(Descrever(ds), kEsquema[i].campos);
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.State(), db::TDataSetState::dsBrowse);
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_FALSE(ds.SomenteLeitura());
    // The fields belong to the document, named dataset + field.
    for (const db::TField* f : ds.Fields()) {
      EXPECT_EQ(f->Owner(), &*doc);
      EXPECT_EQ(f->Name(), ds.Name() + f->FieldName());
    }
  }
}

TEST(Esquema, EveryMemberNamesItsOwnDatasetOrField) {
  Documento doc;
#define VEL_DATASET(ds) EXPECT_EQ(doc->ds, doc->FindComponent(u## #ds)) << #ds;
#define VEL_CAMPO(ds, campo)                                                    \
  ASSERT_NE(doc->ds##campo, nullptr) << #ds #campo;                             \
  EXPECT_EQ(doc->ds##campo, doc->ds->Fields().FindField(u## #campo)) << #campo; \
  EXPECT_EQ(doc->ds##campo->FieldName(), u## #campo);
#define VEL_TEXTO(ds, campo, size) VEL_CAMPO(ds, campo)
#define VEL_TEXTO_LARGURA(ds, campo, size, largura) VEL_CAMPO(ds, campo)
#define VEL_INTEIRO(ds, campo) VEL_CAMPO(ds, campo)
#define VEL_INTEIRO_FAIXA(ds, campo, min, max) VEL_CAMPO(ds, campo)
#define VEL_CALCULADO(ds, campo) VEL_CAMPO(ds, campo)
#include "sistema/VELcampos.inc"
#undef VEL_CAMPO
}

TEST(Esquema, TheDocumentIsZARPFicha1AndNamesTheVELView) {
  Documento doc;
  EXPECT_EQ(doc->Name(), u"ZARPFicha1");
  EXPECT_EQ(doc->ClassName(), u"TZARPFicha1");
  EXPECT_EQ(doc->ObterClasseVisao(), zarp::ClasseVisao<zarp::TfrmVELsistema>());
  EXPECT_EQ(doc->ObterClasseVisao()->ClassName, u"TfrmVELsistema");
  EXPECT_EQ(doc->RefCount(), 1);  // the test's own
}

TEST(Esquema, UnassignedFieldsReadAsZeroAndEmptyText) {
  Documento doc;
  doc->DATAA1->Append();
  doc->DATAA4->Append();
  EXPECT_EQ(doc->DATAA1pvb->AsInteger(), 0);
  EXPECT_TRUE(doc->DATAA1pvb->IsNull());
  EXPECT_EQ(doc->DATAA4nomenome->AsString(), "");
}

// --- Ranges ---------------------------------------------------------------------------------

struct Recusa {
  db::TIntegerField* TZARPFicha1::*campo;
  int32_t valor;
  const char16_t* mensagem;
};

TEST(Faixas, OutOfRangeValuesAreRefusedWithTheRangeMessageAndNothingIsStored) {
  const Recusa recusas[] = {
      {&TZARPFicha1::DATAA1stamina, 1000,
       u"1000 is not a valid value for field 'stamina'. The allowed range is -999 to 999"},
      {&TZARPFicha1::DATAA1carisma, -1000,
       u"-1000 is not a valid value for field 'carisma'. The allowed range is -999 to 999"},
      {&TZARPFicha1::DATAA1pva, -1,
       u"-1 is not a valid value for field 'pva'. The allowed range is 0 to 99999999"},
      {&TZARPFicha1::DATAA1pma, 100000000,
       u"100000000 is not a valid value for field 'pma'. The allowed range is 0 to 99999999"},
      {&TZARPFicha1::DATAA5pgref, 1000,
       u"1000 is not a valid value for field 'pgref'. The allowed range is 0 to 999"},
  };
  Documento doc;
  doc->DATAA1->Append();
  doc->DATAA5->Append();
  for (const Recusa& r : recusas) {
    db::TIntegerField* campo = (*doc).*r.campo;
    SCOPED_TRACE(rt::Utf16ToUtf8(campo->FieldName()));
    campo->SetAsInteger(7);
    try {
      campo->SetAsInteger(r.valor);
      ADD_FAILURE() << "accepted " << r.valor;
    } catch (const db::EDatabaseError& e) {
      EXPECT_EQ(e.Message(), r.mensagem);
    }
    EXPECT_EQ(campo->AsInteger(), 7);
  }
}

TEST(Faixas, BoundsAreAcceptedAndUnrangedFieldsTakeAnyValue) {
  Documento doc;
  doc->DATAA1->Append();
  doc->DATAA1stamina->SetAsInteger(-999);
  EXPECT_EQ(doc->DATAA1stamina->AsInteger(), -999);
  doc->DATAA1pvb->SetAsInteger(99999999);
  EXPECT_EQ(doc->DATAA1pvb->AsInteger(), 99999999);
  doc->DATAA1pva->SetAsInteger(0);
  EXPECT_EQ(doc->DATAA1pva->AsInteger(), 0);
  for (int32_t v : {-1, INT32_MIN, INT32_MAX}) {
    doc->DATAA1pmb->SetAsInteger(v);
    EXPECT_EQ(doc->DATAA1pmb->AsInteger(), v);
    doc->DATAA1esquiva->SetAsInteger(v);
    EXPECT_EQ(doc->DATAA1esquiva->AsInteger(), v);
  }
}

// --- Texts ----------------------------------------------------------------------------------

TEST(Textos, TextsAreCutAtTheirSizeUpTo8192AndKeptWholeAbove) {
  Documento doc;
  doc->DATAA1->Append();
  doc->DATAA3->Append();
  doc->DATAA4->Append();

  doc->DATAA1superior1->SetAsString("ab");
  EXPECT_EQ(doc->DATAA1superior1->AsString(), "a");

  const std::string longo(1200, 'x');
  doc->DATAA3atkmidaa->SetAsString(longo);
  EXPECT_EQ(doc->DATAA3atkmidaa->AsString(), std::string(999, 'x'));

  std::string historia;
  while (historia.size() < 20000) historia += "Era uma vez\xE0 beira-mar. ";
  doc->DATAA4descript->SetAsString(historia);
  EXPECT_EQ(doc->DATAA4descript->AsString(), historia);

  const std::string notas(9999, 'n');
  doc->DATAA1opbs->SetAsString(notas);
  EXPECT_EQ(doc->DATAA1opbs->AsString(), notas);
  const std::string acimaDoCorte(8500, 'm');
  doc->DATAA1opbs->SetAsString(acimaDoCorte);
  EXPECT_EQ(doc->DATAA1opbs->AsString(), acimaDoCorte);
}

// --- The view class -------------------------------------------------------------------------

TEST(Visao, TheVELViewIsABorderlessWhiteScrollingPageInTheSheetFont) {
  Documento doc;
  zarp::TFrmBaseVisaoFicha* visao = doc->ObterVisao(0, true);
  ASSERT_NE(visao, nullptr);
  auto* vel = dynamic_cast<zarp::TfrmVELsistema*>(visao);
  ASSERT_NE(vel, nullptr);
  EXPECT_NE(dynamic_cast<zarp::TfrmVisaoFicha*>(visao), nullptr);
  EXPECT_EQ(vel->Owner(), &*doc);
  EXPECT_EQ(vel->Name(), u"frmVELsistema");
  EXPECT_EQ(vel->BorderStyle(), ui::TBorderStyle::bsNone);
  EXPECT_EQ(vel->Left(), 188);
  EXPECT_EQ(vel->Top(), 114);
  EXPECT_EQ(vel->Width(), 1375);
  EXPECT_EQ(vel->Height(), 909);
  EXPECT_EQ(vel->Color(), ui::clWhite);
  EXPECT_EQ(vel->Font().Name, u"Tahoma");
  EXPECT_EQ(vel->Font().Height, -11);
  EXPECT_EQ(vel->Font().Color, ui::clWindowText);
  EXPECT_EQ(vel->Font().Style, 0);
  EXPECT_TRUE(vel->AutoScroll());
  EXPECT_EQ(vel->PixelsPerInch(), 96);
  EXPECT_EQ(vel->TextHeight(), 13);
  EXPECT_EQ(zarp::TfrmVELsistema::kDescription.VertScrollPosition, 19);
}

}  // namespace
}  // namespace vel::test
