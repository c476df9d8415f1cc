// The VEL view over a real document, on the offscreen backend: its control tree against the
// transcription of the sheet's tables, the geometry a host sees, the bindings, and the sheet's
// behaviour as a player meets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dbui/DBCtrlGrid.h"
#include "dbui/DBEdits.h"
#include "sistema/VELficha.h"
#include "tests/sistema/LayoutComparacao.h"
#include "tests/sistema/VisaoVEL.h"
#include "ui/CheckBox.h"
#include "ui/Edits.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace vel::test {
namespace {

std::string Utf8(std::u16string_view s) {
  return rt::Utf16ToUtf8(s);
}

// A control's container as the tables name it: the form, a grid for the controls of its panel
// template (which sit on the grid's live panel), or a panel.
std::string NomeDoPai(const ui::TControl& c, const ui::TForm& form) {
  const ui::TWinControl* pai = c.Parent();
  if (auto* painel = dynamic_cast<const dbui::TDBCtrlPanel*>(pai)) pai = &painel->Grid();
  if (pai == &form) return "-";
  return pai->Name().empty() ? "(unnamed)" : Utf8(pai->Name());
}

// A control of the view in the notation of the transcription.
Controle DoControle(const ui::TControl& c, const ui::TForm& form) {
  Controle r;
  r.pai = NomeDoPai(c, form);
  r.nome = c.Name().empty() ? "(unnamed)" : Utf8(c.Name());
  r.left = c.Left();
  r.top = c.Top();
  r.width = c.Width();
  r.height = c.Height();
  const std::string fonte = c.ParentFont()
                                ? "default"
                                : Fonte(Utf8(c.Font().Name), c.Font().Height,
                                        (c.Font().Style & ui::fsBold) != 0, c.Font().Color);
  std::set<std::string> flags;
  if (!c.Enabled()) flags.insert("disabled");
  if (c.BiDiMode() == ui::TBiDiMode::bdRightToLeft) flags.insert("right-to-left");
  if (c.Cursor() == ui::TCursor::crCross) flags.insert("cross-hair");
  auto* w = dynamic_cast<const ui::TWinControl*>(&c);
  if (w) r.tab = w->TabOrder();
  if (dynamic_cast<const ui::TImage*>(&c)) {
    r.tipo = "image";
  } else if (auto* l = dynamic_cast<const ui::TLabel*>(&c)) {
    r.tipo = "label";
    const bool nosso = r.pai == "Panel17";
    r.nome = nosso ? "*" : '"' + Utf8(l->Caption()) + '"';
    if (nosso) {
      flags.insert("fixed size");
    } else {
      r.width = r.height = -1;
    }
    r.fonte = fonte;
    r.fundo = l->Transparent() ? "transparent" : NomeDaCor(l->Color());
  } else if (auto* e = dynamic_cast<const ui::TCustomEdit*>(&c)) {
    r.tipo = dynamic_cast<const ui::TCustomMemo*>(&c) ? "memo" : "edit";
    r.fonte = fonte;
    if (e->BorderStyle() == ui::TBorderStyle::bsNone) flags.insert("no border");
    if (e->ReadOnly()) flags.insert("read-only");
    if (auto* m = dynamic_cast<const ui::TCustomMemo*>(&c);
        m && m->ScrollBars() == ui::TScrollStyle::ssVertical)
      flags.insert("vertical scroll bar");
    if (c.Color() == ui::clWhite) r.fundo = "white";
    const db::TDataSource* fonteDados = nullptr;
    std::u16string campo;
    if (auto* de = dynamic_cast<const dbui::TDBEdit*>(&c)) {
      fonteDados = de->DataSource();
      campo = de->DataField();
    } else if (auto* dm = dynamic_cast<const dbui::TDBMemo*>(&c)) {
      fonteDados = dm->DataSource();
      campo = dm->DataField();
    }
    r.dados = (fonteDados ? Utf8(fonteDados->Name()) : "(unbound)") + '.' + Utf8(campo);
  } else if (auto* p = dynamic_cast<const ui::TPanel*>(&c)) {
    const bool preto = c.Color() == ui::clBlack;
    r.tipo = preto ? "panel" : "frame";
    r.fundo = !preto                                           ? "face"
              : p->BorderStyle() == ui::TBorderStyle::bsSingle ? "black-single"
                                                               : "black";
    if (!preto) r.tab = -1;
  } else if (dynamic_cast<const ui::TCheckBox*>(&c)) {
    r.tipo = "checkbox";
    r.fundo = NomeDaCor(c.Color());
  } else if (auto* g = dynamic_cast<const dbui::TDBCtrlGrid*>(&c)) {
    r.tipo = "grid";
    r.fundo = NomeDaCor(c.Color());
    r.dados = (g->DataSource() ? Utf8(g->DataSource()->Name()) : "(unbound)") + ' ' +
              std::to_string(g->ColCount()) + 'x' + std::to_string(g->RowCount()) + ' ' +
              std::to_string(g->PanelWidth()) + 'x' + std::to_string(g->PanelHeight()) + ' ' +
              (c.PopupMenu() ? Utf8(c.PopupMenu()->Name()) : "(no menu)");
  } else {
    r.tipo = "?";
    r.nome = Utf8(c.ClassName()) + " " + Utf8(c.Name());
  }
  if (!w || r.tipo == "label" || r.tipo == "image") r.tab = -1;
  r.flags = Juntar(flags);
  return r;
}

// Every control of the view, depth first in creation order. A grid's live panel is the grid's
// own part: its controls count as the grid's.
void Percorrer(const ui::TWinControl& w, std::vector<const ui::TControl*>& todos) {
  for (int i = 0; i < w.ControlCount(); ++i) {
    const ui::TControl* c = w.Controls(i);
    if (auto* painel = dynamic_cast<const dbui::TDBCtrlPanel*>(c)) {
      Percorrer(*painel, todos);
      continue;
    }
    todos.push_back(c);
    if (auto* filho = dynamic_cast<const ui::TWinControl*>(c)) Percorrer(*filho, todos);
  }
}

// What identifies a transcription line among the view's controls: the name, or for a label its
// container, caption and position.
std::string Chave(const Controle& c) {
  if (c.tipo != "label") return c.nome;
  return c.pai + "|" + c.nome + "|" + std::to_string(c.left) + "," + std::to_string(c.top);
}

class VelVisao : public VisaoVEL {
 protected:
  VelVisao() : VisaoVEL(900, 700) {}

  template <class T = ui::TControl>
  T& Achar(std::u16string_view nome) {
    return C<T>(nome);
  }
};

TEST_F(VelVisao, EveryControlStandsAsTheTablesPlaceIt) {
  std::vector<const ui::TControl*> todos;
  Percorrer(*view, todos);
  std::map<std::string, std::vector<Controle>> porChave;
  for (const ui::TControl* c : todos) {
    Controle r = DoControle(*c, *view);
    porChave[Chave(r)].push_back(r);
  }
  const std::vector<Controle> esperado = LerTranscricao();
  std::vector<Controle> obtido;
  for (const Controle& e : esperado) {
    auto it = porChave.find(Chave(e));
    if (it == porChave.end() || it->second.empty()) {
      ADD_FAILURE() << "missing: " << e.Texto();
      continue;
    }
    obtido.push_back(it->second.front());
    it->second.erase(it->second.begin());
    EXPECT_EQ(e.Texto(), obtido.back().Texto());
  }
  for (const auto& [chave, sobra] : porChave)
    for (const Controle& c : sobra) ADD_FAILURE() << "not in the tables: " << c.Texto();
  EXPECT_EQ(todos.size(), esperado.size());
}

// Within each container, windowed controls lie above one another and graphic ones are painted
// over one another in creation order: the order of the tables' rows.
TEST_F(VelVisao, ControlsAreCreatedInTheTablesOrderWithinEachContainer) {
  std::map<std::string, std::vector<std::string>> esperado, obtido;
  for (const Controle& e : LerTranscricao()) esperado[e.pai].push_back(Chave(e));
  std::vector<const ui::TControl*> todos;
  Percorrer(*view, todos);
  for (const ui::TControl* c : todos) {
    Controle r = DoControle(*c, *view);
    obtido[r.pai].push_back(Chave(r));
  }
  EXPECT_EQ(esperado, obtido);
}

// The form's own controls are numbered 0 to 113 across all regions; the view's tab order follows
// those numbers.
TEST_F(VelVisao, TheFormsOwnControlsFollowTheirTabNumbers) {
  std::map<int, std::string> porNumero;
  std::set<int> numeros;
  for (const Controle& c : LerTranscricao()) {
    if (c.pai != "-" || c.tab < 0) continue;
    EXPECT_TRUE(numeros.insert(c.tab).second) << c.tab;
    porNumero[c.tab] = c.nome;
  }
  EXPECT_EQ(numeros.size(), 114u);
  EXPECT_EQ(*numeros.begin(), 0);
  EXPECT_EQ(*numeros.rbegin(), 113);
  std::vector<std::string> esperado, obtido;
  for (const auto& [numero, nome] : porNumero) esperado.push_back(nome);
  for (ui::TWinControl* w : view->TabList())
    obtido.push_back(w->Name().empty() ? "(unnamed)" : Utf8(w->Name()));
  EXPECT_EQ(esperado, obtido);
}

TEST_F(VelVisao, AHostSeesEachControlAtItsTablePositionWithTheContentScrollable) {
  EXPECT_EQ(view->VertScrollBar().Position(), 19);
  EXPECT_EQ(view->HorzScrollBar().Position(), 0);
  // The content: rows 0 to 1141, columns 0 to 1366.
  EXPECT_EQ(view->VertScrollBar().Range(), 1141);
  EXPECT_EQ(view->HorzScrollBar().Range(), 1366);
  EXPECT_TRUE(view->VertScrollBar().IsScrollBarVisible());
  EXPECT_TRUE(view->HorzScrollBar().IsScrollBarVisible());
  auto& stamina = Achar(u"DBEdit3");
  EXPECT_EQ(stamina.BoundsRect(), (ui::TRect{7, 125, 48, 152}));
  // Scrolled to the top, the content's row 0 is the client's first row.
  view->VertScrollBar().SetPosition(0);
  EXPECT_EQ(stamina.Top(), 125 + 19);
  view->VertScrollBar().SetPosition(19);
  EXPECT_EQ(stamina.Top(), 125);
}

// The wheel over the sheet: one line down per notch while an edit has the focus, nothing while a
// memo has it (the memo scrolls its own text).
TEST_F(VelVisao, TheWheelScrollsTheSheetUnlessAMemoHasTheFocus) {
  auto& memo = Achar<ui::TWinControl>(u"DBMemo1");
  auto& stamina = Achar<ui::TWinControl>(u"DBEdit3");
  auto rolar = [](ui::TWinControl& alvo, int delta) { ui::offscreen::SendMouseWheel(alvo, delta); };
  memo.SetFocus();
  rolar(memo, -120);
  EXPECT_EQ(view->VertScrollBar().Position(), 19);
  stamina.SetFocus();
  rolar(stamina, -120);
  EXPECT_EQ(view->VertScrollBar().Position(), 27);
  rolar(stamina, 120);
  rolar(stamina, 120);
  EXPECT_EQ(view->VertScrollBar().Position(), 11);
  EXPECT_EQ(stamina.Top(), 125 + 8);
}

}  // namespace
}  // namespace vel::test
