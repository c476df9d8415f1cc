// The VEL view over a real document, on the offscreen backend: its control tree against the
// transcription of the sheet's tables, the geometry a host sees, the bindings, and the sheet's
// behaviour as a player meets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sistema/VELficha.h"
#include "tests/sistema/FichaVEL.h"
#include "tests/sistema/LayoutComparacao.h"
#include "ui/Edits.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/offscreen/Offscreen.h"

namespace vel::test {
namespace {

constexpr uint32_t kHost = 0x5001;

// The kinds the toolkit has no control class for yet: the view leaves out their rows and the
// rows inside them, and its edits and memos are not yet bound to their fields. Everything else
// of the tables is compared whole.
const std::set<std::string> kSemClasse = {"image", "checkbox", "grid"};
constexpr bool kControlesVinculados = false;
// Nor do its panels have border styles yet (the credits panel's single line).
constexpr bool kBordasDePainel = false;

// The transcription's rows that the view builds, in the tables' order.
std::vector<Controle> Esperado() {
  std::vector<Controle> r;
  std::set<std::string> omitidos;
  for (Controle c : LerTranscricao()) {
    if (kSemClasse.count(c.tipo) || omitidos.count(c.pai)) {
      omitidos.insert(c.nome);
      continue;
    }
    if (!kControlesVinculados && (c.tipo == "edit" || c.tipo == "memo")) c.dados.clear();
    if (!kBordasDePainel && c.fundo == "black-single") c.fundo = "black";
    r.push_back(c);
  }
  // A container's tab order numbers its controls from 0: the form's, with rows left out, by the
  // rank of their tables' numbers.
  std::set<int> numeros;
  for (const Controle& c : r)
    if (c.pai == "-" && c.tab >= 0) numeros.insert(c.tab);
  for (Controle& c : r)
    if (c.pai == "-" && c.tab >= 0)
      c.tab = static_cast<int>(std::distance(numeros.begin(), numeros.find(c.tab)));
  return r;
}

std::string Utf8(std::u16string_view s) {
  return rt::Utf16ToUtf8(s);
}

// A control of the view in the notation of the transcription.
Controle DoControle(const ui::TControl& c, const ui::TForm& form) {
  Controle r;
  const ui::TWinControl* pai = c.Parent();
  r.pai = pai == &form ? "-" : pai->Name().empty() ? "(unnamed)" : Utf8(pai->Name());
  r.left = c.Left();
  r.top = c.Top();
  r.width = c.Width();
  r.height = c.Height();
  r.fonte = c.ParentFont() ? "default"
                           : Fonte(Utf8(c.Font().Name), c.Font().Height,
                                   (c.Font().Style & ui::fsBold) != 0, c.Font().Color);
  std::set<std::string> flags;
  if (!c.Enabled()) flags.insert("disabled");
  if (c.BiDiMode() == ui::TBiDiMode::bdRightToLeft) flags.insert("right-to-left");
  if (auto* w = dynamic_cast<const ui::TWinControl*>(&c)) r.tab = w->TabOrder();
  if (auto* l = dynamic_cast<const ui::TLabel*>(&c)) {
    r.tipo = "label";
    const bool nosso = pai->Name() == u"Panel17";
    r.nome = nosso ? "*" : '"' + Utf8(l->Caption()) + '"';
    if (nosso) {
      flags.insert("fixed size");
    } else {
      r.width = r.height = -1;
    }
    r.fundo = l->Transparent() ? "transparent" : NomeDaCor(l->Color());
    r.tab = -1;
  } else if (auto* e = dynamic_cast<const ui::TCustomEdit*>(&c)) {
    r.tipo = dynamic_cast<const ui::TCustomMemo*>(&c) ? "memo" : "edit";
    r.nome = Utf8(c.Name());
    if (e->BorderStyle() == ui::TBorderStyle::bsNone) flags.insert("no border");
    if (e->ReadOnly()) flags.insert("read-only");
    if (auto* m = dynamic_cast<const ui::TCustomMemo*>(&c);
        m && m->ScrollBars() == ui::TScrollStyle::ssVertical)
      flags.insert("vertical scroll bar");
    if (c.Color() == ui::clWhite) r.fundo = "white";
  } else if (dynamic_cast<const ui::TPanel*>(&c)) {
    r.nome = c.Name().empty() ? "(unnamed)" : Utf8(c.Name());
    const bool preto = c.Color() == ui::clBlack;
    r.tipo = preto ? "panel" : "frame";
    r.fonte.clear();  // panels show no text of their own
    r.fundo = preto ? "black" : "face";
    if (!preto) r.tab = -1;
  } else {
    r.tipo = "?";
    r.nome = Utf8(c.ClassName()) + " " + Utf8(c.Name());
  }
  r.flags = Juntar(flags);
  return r;
}

void Percorrer(const ui::TWinControl& w, std::vector<const ui::TControl*>& todos) {
  for (int i = 0; i < w.ControlCount(); ++i) {
    const ui::TControl* c = w.Controls(i);
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

class VelVisao : public ::testing::Test {
 protected:
  void SetUp() override {
    backend.SetHostClientSize(kHost, 900, 700);
    doc->AcoplarVisao(kHost);
    view = dynamic_cast<zarp::TfrmVELsistema*>(doc->VisaoInstanciada());
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override { doc->LiberarVisao(); }

  template <class T = ui::TControl>
  T& Achar(std::u16string_view nome) {
    return view->Find<T>(nome);
  }

  ui::offscreen::OffscreenBackend& backend = ui::offscreen::Instance();
  Documento doc;
  zarp::TfrmVELsistema* view = nullptr;
};

TEST_F(VelVisao, EveryControlStandsAsTheTablesPlaceIt) {
  std::vector<const ui::TControl*> todos;
  Percorrer(*view, todos);
  std::map<std::string, std::vector<Controle>> porChave;
  for (const ui::TControl* c : todos) {
    Controle r = DoControle(*c, *view);
    porChave[Chave(r)].push_back(r);
  }
  const std::vector<Controle> esperado = Esperado();
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
  for (const Controle& e : Esperado()) esperado[e.pai].push_back(Chave(e));
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
    if (!kSemClasse.count(c.tipo)) porNumero[c.tab] = c.nome;
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
  // The content reaches the lowest and rightmost edges of the controls the view builds (with the
  // whole page: rows 0 to 1141, columns 0 to 1366).
  int direita = 0, baixo = 0;
  for (const Controle& c : Esperado()) {
    if (c.pai != "-" || c.width < 0) continue;
    direita = std::max(direita, c.left + c.width);
    baixo = std::max(baixo, c.top + c.height + 19);
  }
  EXPECT_EQ(view->VertScrollBar().Range(), baixo);
  EXPECT_EQ(view->HorzScrollBar().Range(), direita);
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
