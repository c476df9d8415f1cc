// The unit of the VEL view: the page's stored definition, made once from the layout rows of
// sistema/VELlayout (one control description per row, in the rows' order), and the data sources
// that bind its controls to the document that creates the view.
#include "sistema/VELficha.h"

#include <array>
#include <cstdio>
#include <deque>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/DataSource.h"
#include "dbui/DBCtrlGrid.h"
#include "dbui/DBEdits.h"
#include "runtime/Exception.h"
#include "sistema/VELArte.h"
#include "sistema/VELlayout.h"
#include "ui/CheckBox.h"
#include "ui/Edits.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/picture/Resources.h"

namespace zarp {
namespace {

using vel::Linha;
using vel::TipoControle;

// A data source whose "DataSet" names a dataset of another module ("ZARPFicha1.DATAA1"): the
// module name resolves, while the view is being created, to the document creating it.
rt::TComponent* CriarFonteDeDados(rt::TComponent* owner,
                                  std::span<const ui::StoredProperty> propriedades) {
  auto* fonte = new db::TDataSource(owner);
  try {
    for (const ui::StoredProperty& p : propriedades) {
      if (p.Name != u"DataSet")
        throw rt::Exception(u"Unknown property '" + std::u16string(p.Name) + u"' of a data source");
      auto* ds = dynamic_cast<db::TDataSet*>(rt::ResolveComponentReference(p.Value, owner));
      if (!ds) throw rt::Exception(u"Dataset '" + std::u16string(p.Value) + u"' not found");
      fonte->SetDataSet(ds);
    }
  } catch (...) {
    delete fonte;
    throw;
  }
  return fonte;
}

// The lists' context menus.
rt::TComponent* CriarMenu(rt::TComponent* owner, std::span<const ui::StoredProperty> propriedades) {
  if (!propriedades.empty()) throw rt::Exception(u"A context menu takes no stored properties");
  return new ui::TPopupMenu(owner);
}

// An item of a context menu: "Menu" (an earlier component), "Caption", and "OnClick", the name of
// one of the view's handlers.
rt::TComponent* CriarItem(rt::TComponent* owner, std::span<const ui::StoredProperty> propriedades) {
  auto item = std::make_unique<ui::TMenuItem>(owner);
  for (const ui::StoredProperty& p : propriedades) {
    if (p.Name == u"Menu") {
      ui::StoredReference<ui::TPopupMenu>(p.Name, p.Value, owner).Add(item.get());
    } else if (p.Name == u"Caption") {
      item->SetCaption(p.Value);
    } else if (p.Name == u"OnClick") {
      auto* visao = dynamic_cast<TfrmVELsistema*>(owner);
      const TfrmVELsistema::TManipulador m = TfrmVELsistema::Manipulador(p.Value);
      if (!visao || !m) ui::BadStoredValue(p.Name, p.Value, u"names no handler of the view");
      item->OnClick = [visao, m](rt::TComponent* sender) { (visao->*m)(sender); };
    } else {
      throw rt::Exception(u"Unknown property '" + std::u16string(p.Name) + u"' of a menu item");
    }
  }
  return item.release();
}

// The items of the lists' menus, insert first: menu, item, caption, handler. The equipment
// menu's items carry their handlers' names.
struct ItemDeMenu {
  std::u16string_view Menu, Nome, Caption, Manipulador;
};

constexpr ItemDeMenu kItens[] = {
    {u"PopupSkills", u"mitInserirSkill", u"Inserir Habilidade", u"mitInserirSkillClick"},
    {u"PopupSkills", u"mitRemoverSkillaa", u"Excluir Habilidade", u"mitRemoverSkillClick"},
    {u"Popupequips", u"mitInserirEquipClick", u"Inserir Equipamento", u"mitInserirEquipClick"},
    {u"Popupequips", u"mitRemoverEquipClick", u"Excluir Equipamento", u"mitRemoverEquipClick"},
    {u"PopupDOnS", u"InserirDon1", u"Inserir Don", u"mitInserirDonsClick"},
    {u"PopupDOnS", u"RemoverDon1", u"Remover Don", u"mitRemoverDonsClick"},
    {u"Popupperr", u"MenuItem1", u"Inserir Perícia", u"mitInserirPerrClick"},
    {u"Popupperr", u"MenuItem2", u"Remover Perícia", u"mitRemoverPerrClick"},
};

ui::FontDescription Fonte(const vel::FonteControle& f) {
  if (f.Padrao()) return {};
  return {.Name = f.Nome,
          .Height = f.Altura,
          .Color = f.Cor,
          .Style = f.Negrito ? ui::fsBold : ui::TFontStyles{0}};
}

ui::TControlFlags Flags(const Linha& l) {
  ui::TControlFlags f = 0;
  if (l.Flags & vel::kSemBorda) f |= ui::cfNoBorder;
  if (l.Flags & vel::kDireitaEsquerda) f |= ui::cfRightToLeft;
  if (l.Flags & vel::kDesabilitado) f |= ui::cfDisabled;
  if (l.Flags & vel::kSomenteLeitura) f |= ui::cfReadOnly;
  if (l.Flags & vel::kBarraVertical) f |= ui::cfVertScrollBar;
  if (l.Transparente()) f |= ui::cfTransparent;
  return f;
}

ui::ControlFactory Classe(const Linha& l) {
  switch (l.Tipo) {
    case TipoControle::Imagem:
      return ui::ControlOf<ui::TImage>;
    case TipoControle::Rotulo:
      return ui::ControlOf<ui::TLabel>;
    case TipoControle::Edit:
      return l.Campo.empty() ? ui::ControlOf<ui::TEdit> : ui::ControlOf<dbui::TDBEdit>;
    case TipoControle::Memo:
      return l.Campo.empty() ? ui::ControlOf<ui::TMemo> : ui::ControlOf<dbui::TDBMemo>;
    case TipoControle::Painel:
      return ui::ControlOf<ui::TPanel>;
    case TipoControle::CheckBox:
      return ui::ControlOf<ui::TCheckBox>;
    case TipoControle::Grade:
      return ui::ControlOf<dbui::TDBCtrlGrid>;
  }
  return nullptr;
}

// The page's stored definition. Property values that are not in the rows as text (numbers,
// picture names) are kept here, beside the descriptions that point at them.
struct Definicao {
  std::vector<ui::StoredProperty> fontes;
  std::vector<std::array<ui::StoredProperty, 3>> itens;
  std::vector<ui::ComponentDescription> componentes;
  std::vector<ui::ControlDescription> controles;
  std::deque<std::u16string> textos;

  std::u16string_view Texto(std::u16string t) { return textos.emplace_back(std::move(t)); }
  std::u16string_view Numero(int n) { return Texto(rt::Utf8ToUtf16(std::to_string(n))); }
  std::u16string_view Cor(ui::TColor c) {
    char b[12];
    std::snprintf(b, sizeof b, "$%08X", static_cast<unsigned>(c));
    return Texto(rt::Utf8ToUtf16(b));
  }
};

// The artwork's pictures go by their file names among the pictures the program carries.
std::u16string NomeDaFigura(int indice) {
  return rt::Utf8ToUtf16(vel::kFiguras.at(static_cast<size_t>(indice)).Arquivo);
}

void RegistrarFiguras() {
  for (size_t i = 0; i < vel::kFiguras.size(); ++i) {
    const int indice = static_cast<int>(i);
    ui::RegisterPictureResource(NomeDaFigura(indice), vel::BytesDaFigura(indice));
  }
}

ui::ControlDescription Descrever(const Linha& l, Definicao& d) {
  ui::ControlDescription c{.Create = Classe(l),
                           .Name = l.Referencia(),
                           .Parent = l.Pai,
                           .Left = l.Left,
                           .Top = l.Top,
                           .Width = l.Width,
                           .Height = l.Height,
                           .Font = Fonte(l.Fonte),
                           .Color = l.Cor,
                           .Flags = Flags(l)};
  if (l.Tipo == TipoControle::Rotulo) c.Text = l.Texto;
  if (l.Tab >= 0) c.TabOrder = l.Tab;
  if (l.Flags & vel::kCruz) c.Cursor = ui::TCursor::crCross;
  size_t n = 0;
  auto propriedade = [&](std::u16string_view nome, std::u16string_view valor) {
    c.Properties.at(n++) = {nome, valor};
  };
  switch (l.Tipo) {
    case TipoControle::Imagem:
      propriedade(u"Picture", d.Texto(NomeDaFigura(l.Figura)));
      if (l.Flags & vel::kCentro) propriedade(u"Center", u"True");
      break;
    case TipoControle::Edit:
    case TipoControle::Memo:
      if (!l.Campo.empty()) {
        propriedade(u"DataSource", l.FonteDados);
        propriedade(u"DataField", l.Campo);
      }
      break;
    case TipoControle::Painel:
      if (l.Flags & vel::kBordaSimples) propriedade(u"BorderStyle", u"bsSingle");
      break;
    case TipoControle::Grade:
      // The page first: the data source then fills as many panels as the page has.
      propriedade(u"ColCount", d.Numero(l.Colunas));
      propriedade(u"RowCount", d.Numero(l.Linhas));
      propriedade(u"PanelWidth", d.Numero(l.PainelLargura));
      propriedade(u"PanelHeight", d.Numero(l.PainelAltura));
      // The selected panel on the grid's own colour: no panel stands out.
      propriedade(u"SelectedColor", d.Cor(l.Cor.value_or(ui::clWindow)));
      propriedade(u"DataSource", l.FonteDados);
      propriedade(u"PopupMenu", l.Menu);
      break;
    case TipoControle::Rotulo:
    case TipoControle::CheckBox:
      break;
  }
  return c;
}

const Definicao& Pagina() {
  static const Definicao d = [] {
    Definicao d;
    d.fontes.reserve(vel::kFontesDeDados.size());
    for (const vel::FonteDeDados& f : vel::kFontesDeDados) {
      d.fontes.push_back({u"DataSet", f.DataSet});
      d.componentes.push_back({CriarFonteDeDados, f.Nome, {&d.fontes.back(), 1}});
    }
    for (std::u16string_view menu : vel::kMenus) d.componentes.push_back({CriarMenu, menu, {}});
    d.itens.reserve(std::size(kItens));
    for (const ItemDeMenu& i : kItens) {
      d.itens.push_back(
          {{{u"Menu", i.Menu}, {u"Caption", i.Caption}, {u"OnClick", i.Manipulador}}});
      d.componentes.push_back({CriarItem, i.Nome, d.itens.back()});
    }
    for (const Linha& l : vel::kPagina) d.controles.push_back(Descrever(l, d));
    return d;
  }();
  return d;
}

}  // namespace

const ui::FormDescription TfrmVELsistema::kDescription{
    .Name = u"frmVELsistema",
    .Left = 188,
    .Top = 114,
    .Width = 1375,
    .Height = 909,
    .Color = ui::clWhite,
    .Font = {.Name = u"Tahoma",
             .Height = -11,
             .Color = ui::clWindowText,
             .Style = 0,
             .Charset = ui::kDefaultCharset},
    .AutoScroll = true,
    .VertScrollPosition = vel::kPosicaoVertical,
    .PixelsPerInch = 96,
    .TextHeight = 13,
    .Components = Pagina().componentes,
    .Controls = Pagina().controles,
};

TfrmVELsistema::TfrmVELsistema(rt::TComponent* owner, uint32_t acoplarEm)
    : TfrmVisaoFicha(owner, acoplarEm) {
  RegistrarFiguras();
  ApplyDescription(kDescription);
  for (const Linha& l : vel::kPagina) {
    // The panel without a name was found by its key while the rows were applied.
    if (l.Nome.empty() && !l.Chave.empty())
      if (rt::TComponent* c = FindComponent(l.Chave)) c->SetName({});
    // A label that keeps its size: it sized itself to its caption when the caption was set.
    if (l.Tipo == TipoControle::Rotulo && (l.Flags & vel::kTamanhoFixo)) {
      auto& rotulo = Find<ui::TLabel>(l.Nome);
      rotulo.SetAutoSize(false);
      rotulo.SetBounds(l.Left, l.Top, l.Width, l.Height);
    }
  }
}

TfrmVELsistema::TManipulador TfrmVELsistema::Manipulador(std::u16string_view nome) {
  static constexpr std::pair<std::u16string_view, TManipulador> kPublicados[] = {
      {u"mitInserirSkillClick", &TfrmVELsistema::mitInserirSkillClick},
      {u"mitRemoverSkillClick", &TfrmVELsistema::mitRemoverSkillClick},
      {u"mitInserirEquipClick", &TfrmVELsistema::mitInserirEquipClick},
      {u"mitRemoverEquipClick", &TfrmVELsistema::mitRemoverEquipClick},
      {u"mitInserirDonsClick", &TfrmVELsistema::mitInserirDonsClick},
      {u"mitRemoverDonsClick", &TfrmVELsistema::mitRemoverDonsClick},
      {u"mitInserirPerrClick", &TfrmVELsistema::mitInserirPerrClick},
      {u"mitRemoverPerrClick", &TfrmVELsistema::mitRemoverPerrClick},
  };
  for (const auto& [n, m] : kPublicados)
    if (n == nome) return m;
  return nullptr;
}

void TfrmVELsistema::mitInserirSkillClick(rt::TComponent*) {
  InserirRegistro(Fonte(u"DataSourceDATAA5"));
}
void TfrmVELsistema::mitRemoverSkillClick(rt::TComponent*) {
  RemoverRegistro(Fonte(u"DataSourceDATAA5"));
}
void TfrmVELsistema::mitInserirEquipClick(rt::TComponent*) {
  InserirRegistro(Fonte(u"DataSourceDATAA6"));
}
void TfrmVELsistema::mitRemoverEquipClick(rt::TComponent*) {
  RemoverRegistro(Fonte(u"DataSourceDATAA6"));
}
void TfrmVELsistema::mitInserirDonsClick(rt::TComponent*) {
  InserirRegistro(Fonte(u"DataSourceDATAA8"));
}
void TfrmVELsistema::mitRemoverDonsClick(rt::TComponent*) {
  RemoverRegistro(Fonte(u"DataSourceDATAA8"));
}
void TfrmVELsistema::mitInserirPerrClick(rt::TComponent*) {
  InserirRegistro(Fonte(u"DataSourceDATAA9"));
}
void TfrmVELsistema::mitRemoverPerrClick(rt::TComponent*) {
  RemoverRegistro(Fonte(u"DataSourceDATAA9"));
}

db::TDataSource* TfrmVELsistema::Fonte(std::u16string_view nome) const {
  return &Find<db::TDataSource>(nome);
}

void TfrmVELsistema::InserirRegistro(db::TDataSource* fonte) {
  db::TDataSet& ds = *fonte->DataSet();
  using S = db::TDataSetState;
  if (ds.State() == S::dsEdit || ds.State() == S::dsInsert) ds.Post();
  ds.Append();
}

void TfrmVELsistema::RemoverRegistro(db::TDataSource* fonte) {
  db::TDataSet& ds = *fonte->DataSet();
  using S = db::TDataSetState;
  if (ds.State() == S::dsInsert) {
    ds.Cancel();
    return;
  }
  if (ds.State() == S::dsEdit) ds.Cancel();
  // On an empty list this fails with the dataset's own message, before a read-only sheet's
  // silent refusal.
  ds.Delete();
}

}  // namespace zarp
