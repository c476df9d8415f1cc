// The VEL sheet edited through its view, on the offscreen backend over a real document with a
// host controller: what a new and a loaded sheet show, what the boxes accept and refuse, where a
// typed value lands and who hears of it, and what a read-only sheet does with keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dbui/DBCtrlGrid.h"
#include "dbui/DBEdits.h"
#include "runtime/CodePage.h"
#include "sistema/VELlayout.h"
#include "tests/sistema/LayoutComparacao.h"
#include "tests/sistema/VisaoVEL.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/offscreen/Offscreen.h"

namespace vel::test {
namespace {

using db::TDataSetState;
using dbui::TDBCtrlGrid;
using dbui::TDBEdit;
using dbui::TDBMemo;
using ui::offscreen::PressKey;
using ui::offscreen::TypeText;
using zarp::vel::Linha;
using zarp::vel::TipoControle;

class VelEdicao : public VisaoVEL {
 protected:
  VelEdicao() : VisaoVEL(900, 700) {}

  // Focuses a box and types into it, as the keyboard does.
  void Digitar(ui::TWinControl& box, std::u16string_view texto) {
    ASSERT_TRUE(ui::offscreen::Focus(box));
    TypeText(box, texto);
  }
  // The focus moves to a box that commits nothing (the "Divindade" box of an empty sheet).
  void Sair() { ui::offscreen::Focus(C(u"DBEdit45")); }
  ui::TWinControl* Foco() const { return ui::Application().FocusedControl(); }
  // A sheet with its one record in each sheet dataset and the level boxes "3" and "2", so that
  // equipment calculations succeed.
  void FichaComRegistros() {
    for (zarp::TZARPDataSet* ds : {doc->DATAA1, doc->DATAA2, doc->DATAA3, doc->DATAA7}) {
      ds->Append();
      ds->Post();
    }
    doc->DATAA4->Append();
    doc->DATAA4toptopmid->SetAsString("3");
    doc->DATAA4toptopmidb->SetAsString("2");
    doc->DATAA4->Post();
    controller->Reset();
  }
};

// --- What the view is bound to -----------------------------------------------------------------

// Each bound box reaches, through the data source its row names, a field of that name in the
// document's dataset of that name; each grid its list.
TEST_F(VelEdicao, EveryBoundBoxAndGridReachesItsFieldInTheDocumentsDataset) {
  int caixas = 0;
  for (const Linha& l : zarp::vel::kPagina) {
    if (l.Tipo != TipoControle::Edit && l.Tipo != TipoControle::Memo &&
        l.Tipo != TipoControle::Grade)
      continue;
    const std::u16string nomeDataSet(
        l.FonteDados.substr(std::u16string_view(u"DataSource").size()));
    auto* esperado = doc->FindComponent(nomeDataSet);
    ASSERT_NE(esperado, nullptr) << rt::Utf16ToUtf8(l.FonteDados);
    if (l.Tipo == TipoControle::Grade) {
      EXPECT_EQ(C<TDBCtrlGrid>(l.Nome).DataSet(), esperado);
      continue;
    }
    const db::TField* f =
        l.Tipo == TipoControle::Edit ? C<TDBEdit>(l.Nome).Field() : C<TDBMemo>(l.Nome).Field();
    ASSERT_NE(f, nullptr) << rt::Utf16ToUtf8(l.Nome) << " has no field "
                          << rt::Utf16ToUtf8(l.Campo);
    EXPECT_EQ(f->DataSet(), esperado) << rt::Utf16ToUtf8(l.Nome);
    EXPECT_EQ(f->FieldName(), l.Campo);
    ++caixas;
  }
  int transcritas = 0;
  for (const Controle& c : LerTranscricao()) transcritas += c.tipo == "edit" || c.tipo == "memo";
  EXPECT_EQ(caixas, transcritas);
}

// --- What a sheet shows --------------------------------------------------------------------------

TEST_F(VelEdicao, ANewSheetShowsEmptyBoxesEmptyListsAndClearedCheckBoxes) {
  for (const Linha& l : zarp::vel::kPagina) {
    if (l.Tipo == TipoControle::Edit || l.Tipo == TipoControle::Memo) {
      EXPECT_EQ(C<ui::TCustomEdit>(l.Nome).Text(), u"") << rt::Utf16ToUtf8(l.Nome);
    }
    if (l.Tipo == TipoControle::Grade) {
      auto& grade = C<TDBCtrlGrid>(l.Nome);
      EXPECT_EQ(grade.VisibleRecords(), 0);
      EXPECT_FALSE(grade.Panel().Visible());
    }
  }
  for (int i = 1; i <= 10; ++i)
    EXPECT_FALSE(C<ui::TCheckBox>(u"CheckBox" + rt::Utf8ToUtf16(std::to_string(i))).Checked());
}

// The check boxes belong to the view alone: a new view starts with all ten cleared.
TEST_F(VelEdicao, TheCheckBoxesStartClearedInEveryNewView) {
  C<ui::TCheckBox>(u"CheckBox1").WndToggle();
  C<ui::TCheckBox>(u"CheckBox10").SetChecked(true);
  ASSERT_TRUE(C<ui::TCheckBox>(u"CheckBox1").Checked());
  EXPECT_EQ(C<ui::TCheckBox>(u"CheckBox1").Cursor(), ui::TCursor::crCross);
  doc->LiberarVisao();
  Abrir();
  for (int i = 1; i <= 10; ++i)
    EXPECT_FALSE(C<ui::TCheckBox>(u"CheckBox" + rt::Utf8ToUtf16(std::to_string(i))).Checked());
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

// A sheet loaded while its view is open: each box shows its own field, the derived boxes the
// values the equipment list computed, the lists their records (the live panel in its boxes, the
// others painted).
TEST_F(VelEdicao, ALoadedSheetShowsItsValuesAndDerivedValuesInTheirBoxes) {
  Documento amostra;
  PreencherAmostra(*amostra);
  doc.Carregar(amostra.Salvar());
  EXPECT_EQ(C(u"DBEdit3").Text(), u"4");
  EXPECT_EQ(C(u"DBEdit11").Text(), u"-7");
  EXPECT_EQ(C(u"DBEdit9").Text(), u"PM");
  EXPECT_EQ(C<TDBMemo>(u"DBMemo10").Text(), u"Ayla da Torre Cinzenta");
  EXPECT_EQ(C(u"DBEdit23").Text(), u"\u00D3culos de bronze");
  EXPECT_EQ(C(u"DBEdit63").Text(), u"Ferreiro");
  EXPECT_EQ(C(u"DBEdit93").Text(), C(u"DBEdit51").Text());
  // Derived: machua = 25 div 2, Aa = 5 div 2 + 1, fortitude = 3 + 4 + 5 div 2, xpcb = 40.
  EXPECT_EQ(C(u"DBEdit35").Text(), u"12");
  EXPECT_EQ(C(u"DBEdit40").Text(), u"0");
  EXPECT_EQ(C(u"DBEdit14").Text(), u"3");
  EXPECT_EQ(C(u"DBEdit32").Text(), u"9");
  EXPECT_EQ(C(u"DBEdit64").Text(), u"40");
  // The "Cap. Carga" row of the current equipment record.
  const int32_t qpa = doc->DATAA6qpa->AsInteger();
  ASSERT_NE(qpa, 0);
  EXPECT_EQ(C(u"DBEdit72").Text(), rt::Utf8ToUtf16(std::to_string(qpa)));
  EXPECT_EQ(C(u"DBEdit74").Text(), rt::Utf8ToUtf16(std::to_string(2 * qpa)));
  EXPECT_EQ(C(u"DBEdit92").Text(), rt::Utf8ToUtf16(std::to_string(3 * qpa)));
  // The skills list: two panels, the current record live, the other painted with its name.
  auto& skills = C<TDBCtrlGrid>(u"DBCtrlGrid1");
  ASSERT_EQ(skills.VisibleRecords(), 2);
  EXPECT_EQ(C(u"DBEdit54").Text(), rt::FromAnsi(doc->DATAA5habilname->AsString()));
  std::vector<std::u16string> pintados;
  for (const auto& op : backend.Paint(skills))
    if (op.What == ui::offscreen::PaintOp::Text) pintados.push_back(op.String);
  // Every box of the other panel shows that record: level, name, page and remark.
  const std::u16string vivo = C(u"DBEdit54").Text();
  std::vector<std::u16string> outro;
  for (doc->DATAA5->First(); !doc->DATAA5->Eof(); doc->DATAA5->Next())
    if (rt::FromAnsi(doc->DATAA5habilname->AsString()) != vivo)
      outro = {rt::FromAnsi(doc->DATAA5sksty->AsString()),
               rt::FromAnsi(doc->DATAA5habilname->AsString()),
               rt::FromAnsi(doc->DATAA5pgref->AsString()),
               rt::FromAnsi(doc->DATAA5eqpdef->AsString())};
  ASSERT_EQ(outro.size(), 4u);
  for (const std::u16string& texto : outro)
    EXPECT_NE(std::find(pintados.begin(), pintados.end(), texto), pintados.end())
        << rt::Utf16ToUtf8(texto);
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

// --- Whole-number boxes ----------------------------------------------------------------------

TEST_F(VelEdicao, ALetterInStaminaBeepsAndChangesNothing) {
  FichaComRegistros();
  Digitar(C(u"DBEdit3"), u"a");
  EXPECT_EQ(backend.Beeps(), 1);
  EXPECT_EQ(C(u"DBEdit3").Text(), u"");
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
}

// 1000 is out of stamina's range: leaving shows the range message, and the focus comes back to
// the box with its text selected, the record still being edited.
TEST_F(VelEdicao, AValueOutOfRangeIsRefusedOnLeavingAndTheFocusStays) {
  FichaComRegistros();
  auto& stamina = C(u"DBEdit3");
  Digitar(stamina, u"1000");
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsEdit);
  Sair();
  EXPECT_EQ(Mensagens(), (std::vector<std::u16string>{
                             u"1000 is not a valid value for field 'stamina'. The allowed range "
                             u"is -999 to 999"}));
  EXPECT_EQ(Foco(), &stamina);
  EXPECT_EQ(stamina.SelLength(), 4);
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsEdit);
  EXPECT_EQ(doc->DATAA1stamina->AsInteger(), 0);
  // A value in range then goes through.
  TypeText(stamina, u"-12");
  Sair();
  EXPECT_EQ(doc->DATAA1stamina->AsInteger(), -12);
  EXPECT_EQ(backend.Messages().size(), 1u);
}

TEST_F(VelEdicao, ClearingAWholeNumberBoxStoresNoValue) {
  FichaComRegistros();
  doc->DATAA1->Edit();
  doc->DATAA1pva->SetAsInteger(20);
  doc->DATAA1->Post();
  auto& pva = C(u"DBEdit7");
  ASSERT_EQ(pva.Text(), u"20");
  ASSERT_TRUE(ui::offscreen::Focus(pva));
  pva.SelectAll();
  PressKey(pva, ui::vkDelete);
  EXPECT_EQ(pva.Text(), u"");
  Sair();
  EXPECT_TRUE(doc->DATAA1pva->IsNull());
  EXPECT_EQ(doc->DATAA1pva->AsInteger(), 0);
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

// --- Text boxes --------------------------------------------------------------------------------

TEST_F(VelEdicao, TextBoxesTakeNoMoreCharactersThanTheirFieldHolds) {
  Digitar(C(u"DBEdit1"), u"ab");
  EXPECT_EQ(C(u"DBEdit1").Text(), u"a");
  Digitar(C(u"DBEdit43"), u"123");
  EXPECT_EQ(C(u"DBEdit43").Text(), u"12");
  Sair();
  EXPECT_EQ(doc->DATAA1superior1->AsString(), "a");
  EXPECT_EQ(doc->DATAA4toptopmid->AsString(), "12");
}

// The first key in an empty sheet dataset makes its one record; the host hears of it once, and
// not again for the next keys or the commit.
TEST_F(VelEdicao, TheFirstKeyInAnEmptySheetDatasetInsertsItsRecordAndTheHostHearsOnce) {
  ASSERT_EQ(doc->DATAA4->RecordCount(), 0);
  Digitar(C(u"DBEdit43"), u"4");
  EXPECT_EQ(doc->DATAA4->State(), TDataSetState::dsInsert);
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
  TypeText(C(u"DBEdit43"), u"2");
  Sair();
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
  EXPECT_EQ(doc->DATAA4toptopmid->AsString(), "42");
  // Saving posts it: the sheet dataset has its record.
  EXPECT_FALSE(doc.Salvar().empty());
  EXPECT_EQ(doc->DATAA4->RecordCount(), 1);
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
}

// The third attack block's reference lives in two boxes, one hidden under a memo: both show
// what is typed into either, and Tab passes through both.
TEST_F(VelEdicao, TheTwoBoxesOfTheThirdReferenceShowOneValueAndBothTakeTheFocus) {
  FichaComRegistros();
  auto &oculto = C(u"DBEdit51"), &visivel = C(u"DBEdit93");
  Digitar(visivel, u"p. 12");
  Sair();
  EXPECT_EQ(oculto.Text(), u"p. 12");
  EXPECT_EQ(doc->DATAA3attexc->AsString(), "p. 12");
  ASSERT_TRUE(ui::offscreen::Focus(C(u"DBEdit49")));
  PressKey(C(u"DBEdit49"), ui::vkTab);
  EXPECT_EQ(Foco(), &oculto);
  ASSERT_TRUE(ui::offscreen::Focus(C(u"DBEdit92")));
  PressKey(C(u"DBEdit92"), ui::vkTab);  // past the credits panel, which takes no focus
  EXPECT_EQ(Foco(), &visivel);
}

// --- The "Cap. Carga" row -----------------------------------------------------------------------

// The first key in the qpa box of an empty equipment list starts its record; the calculated
// boxes never start editing and follow the values the list derives.
TEST_F(VelEdicao, TheCalculatedBoxesNeverEditAndFollowTheDerivedValues) {
  FichaComRegistros();
  Digitar(C(u"DBEdit74"), u"5");
  EXPECT_EQ(C(u"DBEdit74").Text(), u"");
  EXPECT_EQ(doc->DATAA6->RecordCount(), 0);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);

  Digitar(C(u"DBEdit72"), u"7");
  EXPECT_EQ(doc->DATAA6->State(), TDataSetState::dsInsert);
  Sair();
  EXPECT_EQ(C(u"DBEdit74").Text(), u"14");
  EXPECT_EQ(C(u"DBEdit92").Text(), u"21");
  doc->DATAA6->Post();
  Digitar(C(u"DBEdit92"), u"9");
  EXPECT_EQ(doc->DATAA6->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(C(u"DBEdit92").Text(), u"21");
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

// --- A read-only sheet -------------------------------------------------------------------------

TEST_F(VelEdicao, AReadOnlySheetDropsKeysSilently) {
  FichaComRegistros();
  doc->SetFichaSomenteLeitura(true);
  for (std::u16string_view nome : {u"DBEdit3", u"DBEdit44", u"DBEdit72"}) {
    Digitar(C(nome), u"5");
    EXPECT_EQ(C(nome).Text(), u"") << rt::Utf16ToUtf8(nome);
  }
  Digitar(C<TDBMemo>(u"DBMemo1"), u"x");
  EXPECT_EQ(C<TDBMemo>(u"DBMemo1").Text(), u"");
  Sair();
  EXPECT_EQ(doc->DATAA1->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(doc->DATAA6->RecordCount(), 0);
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
  EXPECT_EQ(backend.Beeps(), 0);
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

}  // namespace
}  // namespace vel::test
