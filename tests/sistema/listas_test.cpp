// The four lists of the VEL sheet edited through their grids, on the offscreen backend over a
// real document with a host controller: the context menus and where they open, what their insert
// and remove items do to a list and what the host hears of it, their refusals, and the grids' own
// keys on long lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbui/DBCtrlGrid.h"
#include "dbui/DBEdits.h"
#include "runtime/CodePage.h"
#include "tests/sistema/VisaoVEL.h"
#include "ui/Application.h"
#include "ui/Menus.h"
#include "ui/offscreen/Offscreen.h"

namespace vel::test {
namespace {

using db::TDataSetState;
using dbui::TDBCtrlGrid;
using dbui::TDBEdit;
using ui::offscreen::PressKey;
using ui::offscreen::TypeText;

constexpr std::u16string_view kVazio = u"Cannot perform this operation on an empty dataset";

// The menus as the sheet's list commands give them: grid, menu, and its two items (name and
// caption), insert first.
struct MenuEsperado {
  std::u16string_view grade, menu, inserir, legendaInserir, remover, legendaRemover;
};
const MenuEsperado kMenus[] = {
    {u"DBCtrlGrid1", u"PopupSkills", u"mitInserirSkill", u"Inserir Habilidade",
     u"mitRemoverSkillaa", u"Excluir Habilidade"},
    {u"DBCtrlGrid2", u"Popupequips", u"mitInserirEquipClick", u"Inserir Equipamento",
     u"mitRemoverEquipClick", u"Excluir Equipamento"},
    {u"DBCtrlGrid3", u"PopupDOnS", u"InserirDon1", u"Inserir Don", u"RemoverDon1", u"Remover Don"},
    {u"DBCtrlGrid4", u"Popupperr", u"MenuItem1", u"Inserir Per\u00EDcia", u"MenuItem2",
     u"Remover Per\u00EDcia"},
};

class VelListas : public VisaoVEL {
 protected:
  VelListas() : VisaoVEL(1400, 1200) {}  // the whole page in view

  TDBCtrlGrid& Grade(std::u16string_view nome) { return C<TDBCtrlGrid>(nome); }

  // Chooses an item from the menu that the menu key opens over the focused control.
  void PeloTeclado(ui::TWinControl& foco, std::u16string_view legenda) {
    ASSERT_TRUE(ui::offscreen::Focus(foco));
    backend.AnswerNextMenu(std::u16string(legenda));
    const size_t antes = backend.MenusShown().size();
    PressKey(foco, ui::vkApps);
    ASSERT_EQ(backend.MenusShown().size(), antes + 1) << "no menu opened";
  }
  // Chooses an item from the menu a right click opens at a point of a grid (grid coordinates).
  void PeloClique(TDBCtrlGrid& grade, ui::TPoint ponto, std::u16string_view legenda) {
    backend.AnswerNextMenu(std::u16string(legenda));
    const size_t antes = backend.MenusShown().size();
    ui::offscreen::RightClick(*view, {grade.Left() + ponto.X, grade.Top() + ponto.Y});
    ASSERT_EQ(backend.MenusShown().size(), antes + 1) << "no menu opened";
  }
  // The item chosen on an empty spot of the grid's page (below its panels).
  void Escolher(std::u16string_view grade, std::u16string_view legenda) {
    TDBCtrlGrid& g = Grade(grade);
    PeloClique(g, {4, g.Height() - 2}, legenda);
  }
  void Amostra() {
    PreencherAmostra(*doc);
    Limpar();
  }
  std::vector<std::vector<std::string>> Listas() {
    return {Registros(*doc->DATAA5), Registros(*doc->DATAA6), Registros(*doc->DATAA8),
            Registros(*doc->DATAA9)};
  }
};

// --- The menus ---------------------------------------------------------------------------------

TEST_F(VelListas, EachGridHasItsMenuOfTwoItemsAndEachItemActsOnItsOwnList) {
  const std::vector<zarp::TZARPDataSet*> listas = {doc->DATAA5, doc->DATAA6, doc->DATAA8,
                                                   doc->DATAA9};
  for (size_t i = 0; i < std::size(kMenus); ++i) {
    const MenuEsperado& e = kMenus[i];
    SCOPED_TRACE(rt::Utf16ToUtf8(e.menu));
    auto& menu = C<ui::TPopupMenu>(e.menu);
    EXPECT_EQ(Grade(e.grade).PopupMenu(), &menu);
    ASSERT_EQ(menu.Count(), 2);
    EXPECT_EQ(menu.Items(0)->Name(), e.inserir);
    EXPECT_EQ(menu.Items(0)->Caption(), e.legendaInserir);
    EXPECT_EQ(menu.Items(1)->Name(), e.remover);
    EXPECT_EQ(menu.Items(1)->Caption(), e.legendaRemover);

    Escolher(e.grade, e.legendaInserir);
    for (size_t j = 0; j < listas.size(); ++j)
      EXPECT_EQ(listas[j]->State(), j == i ? TDataSetState::dsInsert : TDataSetState::dsBrowse);
    Escolher(e.grade, e.legendaRemover);
    EXPECT_EQ(listas[i]->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(listas[i]->RecordCount(), 0);
  }
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

// A right click anywhere over a grid opens its menu, over the live panel's boxes and a painted
// panel too, and so does the menu key in the grid or in a box of its panel; no box shows its own
// text menu instead.
TEST_F(VelListas, AMenuOpensOverTheWholeGridAndFromTheKeyboard) {
  Amostra();
  const auto antes = Listas();
  TDBCtrlGrid& skills = Grade(u"DBCtrlGrid1");
  auto& nome = C(u"DBEdit54");  // in Panel2, in the live panel
  const ui::TPoint sobreNome{
      skills.Panel().Left() + C<ui::TControl>(u"Panel2").Left() + nome.Left() + 5,
      skills.Panel().Top() + nome.Top() + 5};
  const int outro = skills.PanelIndex() == 0 ? 1 : 0;
  const ui::TPoint sobrePintado{skills.PanelRect(outro).Left + 150,
                                skills.PanelRect(outro).Top + 10};
  for (ui::TPoint p : {sobreNome, sobrePintado, ui::TPoint{4, skills.Height() - 2}})
    ui::offscreen::RightClick(*view, {skills.Left() + p.X, skills.Top() + p.Y});
  ASSERT_TRUE(ui::offscreen::Focus(skills));
  PressKey(skills, ui::vkApps);
  ASSERT_TRUE(ui::offscreen::Focus(C(u"DBEdit50")));
  PressKey(C(u"DBEdit50"), ui::vkF10, ui::ssShift);
  ASSERT_EQ(backend.MenusShown().size(), 5u);
  for (const auto& m : backend.MenusShown())
    EXPECT_EQ(m.Captions,
              (std::vector<std::u16string>{u"Inserir Habilidade", u"Excluir Habilidade"}));
  EXPECT_EQ(backend.NativeEditMenus(), 0);
  EXPECT_EQ(doc->DATAA5->State(), TDataSetState::dsBrowse);  // every menu was dismissed
  EXPECT_EQ(Listas(), antes);
}

// --- Insert and remove -------------------------------------------------------------------------

// The first insert shows one new, empty panel; the second stores that untouched record as an
// empty skill and starts another after it.
TEST_F(VelListas, InsertingShowsANewPanelAndASecondInsertStoresTheFirstEmpty) {
  TDBCtrlGrid& skills = Grade(u"DBCtrlGrid1");
  Escolher(u"DBCtrlGrid1", u"Inserir Habilidade");
  EXPECT_EQ(doc->DATAA5->State(), TDataSetState::dsInsert);
  EXPECT_EQ(skills.VisibleRecords(), 1);
  EXPECT_EQ(skills.PanelIndex(), 0);
  EXPECT_TRUE(skills.Panel().Visible());
  EXPECT_EQ(C(u"DBEdit54").Text(), u"");
  EXPECT_EQ(doc->DATAA5->RecordCount(), 0);

  Escolher(u"DBCtrlGrid1", u"Inserir Habilidade");
  EXPECT_EQ(doc->DATAA5->State(), TDataSetState::dsInsert);
  EXPECT_EQ(doc->DATAA5->RecordCount(), 1);
  EXPECT_EQ(skills.VisibleRecords(), 2);
  EXPECT_EQ(skills.PanelIndex(), 1);
  doc->DATAA5->Cancel();
  EXPECT_EQ(Registros(*doc->DATAA5), std::vector<std::string>{"<null>|<null>|<null>|<null>"});
}

// What is typed into the new panel is stored by the next insert.
TEST_F(VelListas, AnInsertedRecordKeepsWhatIsTypedIntoItsPanel) {
  Escolher(u"DBCtrlGrid3", u"Inserir Don");
  ASSERT_TRUE(ui::offscreen::Focus(C(u"DBEdit88")));
  TypeText(C(u"DBEdit88"), u"7");
  PeloTeclado(C(u"DBEdit88"), u"Inserir Don");
  EXPECT_EQ(doc->DATAA8->State(), TDataSetState::dsInsert);
  EXPECT_EQ(Grade(u"DBCtrlGrid3").PanelIndex(), 1);
  doc->DATAA8->Cancel();
  EXPECT_EQ(Registros(*doc->DATAA8), std::vector<std::string>{"7|<null>"});
}

TEST_F(VelListas, RemovingRightAfterAnInsertDiscardsTheNewRecordOnly) {
  Amostra();
  const auto antes = Listas();
  Escolher(u"DBCtrlGrid1", u"Inserir Habilidade");
  Escolher(u"DBCtrlGrid1", u"Excluir Habilidade");
  EXPECT_EQ(doc->DATAA5->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Listas(), antes);
}

// A remove while a field of the current equipment is being edited discards the edit and
// deletes the record; the other record stays, as it was.
TEST_F(VelListas, RemovingWhileEditingAnEquipmentFieldDiscardsTheEditAndDeletesTheRecord) {
  Amostra();
  auto& nome = C(u"DBEdit68");
  const std::string atual = doc->DATAA6eqpname->AsString();
  ASSERT_TRUE(ui::offscreen::Focus(nome));
  TypeText(nome, u"X");
  ASSERT_EQ(doc->DATAA6->State(), TDataSetState::dsEdit);
  PeloTeclado(nome, u"Excluir Equipamento");
  EXPECT_EQ(doc->DATAA6->State(), TDataSetState::dsBrowse);
  ASSERT_EQ(doc->DATAA6->RecordCount(), 1);
  const std::string resto = doc->DATAA6eqpname->AsString();
  EXPECT_NE(resto, atual);
  EXPECT_TRUE(resto == "Espada longa" || resto == "Corda (15 m)") << resto;
  EXPECT_EQ(rt::ToAnsi(nome.Text()), resto);
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

TEST_F(VelListas, RemovingFromAnEmptyListShowsTheEmptyDatasetMessage) {
  Escolher(u"DBCtrlGrid3", u"Remover Don");
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{std::u16string(kVazio)});
  EXPECT_EQ(doc->DATAA8->RecordCount(), 0);
  EXPECT_EQ(doc->DATAA8->State(), TDataSetState::dsBrowse);
}

// Read-only: every item leaves every list as it was and says nothing, except a remove on an
// empty list, which still reports the empty list first.
TEST_F(VelListas, OnAReadOnlySheetEveryItemLeavesTheListsUnchanged) {
  Amostra();
  doc->DATAA9->First();
  doc->DATAA9->Delete();  // "Perícias" empty
  doc->SetFichaSomenteLeitura(true);
  Limpar();
  const auto antes = Listas();
  for (const MenuEsperado& e : kMenus) {
    Escolher(e.grade, e.legendaInserir);
    Escolher(e.grade, e.legendaRemover);
  }
  EXPECT_EQ(Listas(), antes);
  for (zarp::TZARPDataSet* ds : {doc->DATAA5, doc->DATAA6, doc->DATAA8, doc->DATAA9})
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{std::u16string(kVazio)});
  EXPECT_EQ(controller->FichaAlteradaCount(), 0);
}

// The host hears once when an insert begins, once after a cancel and once after a delete; the
// post inside an insert says nothing of its own.
TEST_F(VelListas, TheHostHearsOfEachInsertCancelAndDelete) {
  Escolher(u"DBCtrlGrid4", u"Inserir Per\u00EDcia");
  EXPECT_EQ(controller->FichaAlteradaCount(), 1);
  Escolher(u"DBCtrlGrid4", u"Inserir Per\u00EDcia");  // a post, then an insert
  EXPECT_EQ(controller->FichaAlteradaCount(), 2);
  Escolher(u"DBCtrlGrid4", u"Remover Per\u00EDcia");  // the new record cancelled
  EXPECT_EQ(controller->FichaAlteradaCount(), 3);
  Escolher(u"DBCtrlGrid4", u"Remover Per\u00EDcia");  // the stored one deleted
  EXPECT_EQ(controller->FichaAlteradaCount(), 4);
  EXPECT_EQ(doc->DATAA9->RecordCount(), 0);
  Escolher(u"DBCtrlGrid4", u"Remover Per\u00EDcia");  // nothing left: refused
  EXPECT_EQ(controller->FichaAlteradaCount(), 4);
}

// An insert whose post fails (a box's text that the field refuses) shows the error and starts no
// record: the refused record is still the one being inserted, with its text.
TEST_F(VelListas, AnInsertWhosePostFailsStartsNoRecord) {
  Escolher(u"DBCtrlGrid1", u"Inserir Habilidade");
  auto& pagina = C(u"DBEdit50");  // pgref, 0 to 999
  ASSERT_TRUE(ui::offscreen::Focus(pagina));
  TypeText(pagina, u"5000");
  PeloTeclado(pagina, u"Inserir Habilidade");
  EXPECT_EQ(Mensagens(),
            std::vector<std::u16string>{
                u"5000 is not a valid value for field 'pgref'. The allowed range is 0 to 999"});
  EXPECT_EQ(doc->DATAA5->State(), TDataSetState::dsInsert);
  EXPECT_EQ(doc->DATAA5->RecordCount(), 0);
  EXPECT_EQ(Grade(u"DBCtrlGrid1").VisibleRecords(), 1);
  EXPECT_EQ(pagina.Text(), u"5000");
}

// --- The grids' keys ---------------------------------------------------------------------------

// On a "DONs" list of 10^5 records (pages of 2 x 6): the arrows, a page up and down, the ends;
// Insert, Ctrl+Insert, Ctrl+Delete and Escape.
TEST_F(VelListas, TheGridKeysMoveTheCurrentRecordOnAListLongerThanAPage) {
  constexpr int kRegistros = 100000;
  auto* ds = doc->DATAA8;
  ds->DisableControls();
  for (int i = 0; i < kRegistros; ++i) {
    ds->Append();
    doc->DATAA8dbright->SetAsString("don " + std::to_string(i));
    ds->Post();
  }
  ds->First();
  ds->EnableControls();
  Limpar();
  TDBCtrlGrid& dons = Grade(u"DBCtrlGrid3");
  ASSERT_TRUE(ui::offscreen::Focus(dons));
  auto tecla = [&](uint16_t k, ui::TShiftState s = 0) {
    PressKey(dons, k, s);
    return ds->RecNo();
  };
  EXPECT_EQ(tecla(ui::vkRight), 1);
  EXPECT_EQ(tecla(ui::vkDown), 3);
  EXPECT_EQ(tecla(ui::vkLeft), 2);
  EXPECT_EQ(tecla(ui::vkUp), 0);
  EXPECT_EQ(tecla(ui::vkNext), 12);
  EXPECT_EQ(tecla(ui::vkNext), 24);
  EXPECT_EQ(tecla(ui::vkPrior), 12);
  EXPECT_EQ(tecla(ui::vkEnd), kRegistros - 1);
  EXPECT_EQ(dons.VertScroll().Position, kRegistros - 1);
  EXPECT_EQ(C<dbui::TDBMemo>(u"DBMemo15").Text(), u"don 99999");
  EXPECT_EQ(tecla(ui::vkHome), 0);
  EXPECT_EQ(dons.PanelIndex(), 0);

  PressKey(dons, ui::vkInsert);  // a new record here, and the focus into its panel
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
  EXPECT_EQ(ui::Application().FocusedControl(), &C(u"DBEdit88"));
  ASSERT_TRUE(ui::offscreen::Focus(dons));
  PressKey(dons, ui::vkEscape);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  PressKey(dons, ui::vkInsert, ui::ssCtrl);  // at the end
  EXPECT_EQ(dons.VertScroll().Position, kRegistros);
  ASSERT_TRUE(ui::offscreen::Focus(dons));
  PressKey(dons, ui::vkDelete, ui::ssCtrl);  // a new record is cancelled, not deleted
  EXPECT_EQ(ds->RecordCount(), kRegistros);
  PressKey(dons, ui::vkHome);
  PressKey(dons, ui::vkDelete, ui::ssCtrl);
  EXPECT_EQ(ds->RecordCount(), kRegistros - 1);
  EXPECT_EQ(doc->DATAA8dbright->AsString(), "don 1");
  EXPECT_EQ(controller->FichaAlteradaCount(), 5);  // insert, cancel, insert, cancel, delete
  EXPECT_EQ(Mensagens(), std::vector<std::u16string>{});
}

}  // namespace
}  // namespace vel::test
