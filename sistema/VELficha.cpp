// The unit of the VEL view: the page's stored definition, made once from the layout rows of
// sistema/VELlayout (one control description per row, in the rows' order), and the data sources
// that bind its controls to the document that creates the view.
#include "sistema/VELficha.h"

#include <string>
#include <vector>

#include "db/DataSource.h"
#include "runtime/Exception.h"
#include "sistema/VELlayout.h"
#include "ui/Edits.h"
#include "ui/Label.h"
#include "ui/Menus.h"
#include "ui/Panel.h"

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

// The lists' context menus; their items belong to the list commands.
rt::TComponent* CriarMenu(rt::TComponent* owner, std::span<const ui::StoredProperty> propriedades) {
  if (!propriedades.empty()) throw rt::Exception(u"A context menu takes no stored properties");
  return new ui::TPopupMenu(owner);
}

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

ui::ControlFactory Classe(TipoControle tipo) {
  switch (tipo) {
    case TipoControle::Rotulo:
      return ui::ControlOf<ui::TLabel>;
    case TipoControle::Edit:
      return ui::ControlOf<ui::TEdit>;
    case TipoControle::Memo:
      return ui::ControlOf<ui::TMemo>;
    case TipoControle::Painel:
      return ui::ControlOf<ui::TPanel>;
    case TipoControle::Imagem:
    case TipoControle::CheckBox:
    case TipoControle::Grade:
      break;
  }
  return nullptr;
}

ui::ControlDescription Descrever(const Linha& l) {
  ui::ControlDescription d{.Create = Classe(l.Tipo),
                           .Name = l.Referencia(),
                           .Parent = l.Pai,
                           .Left = l.Left,
                           .Top = l.Top,
                           .Width = l.Width,
                           .Height = l.Height,
                           .Font = Fonte(l.Fonte),
                           .Color = l.Cor,
                           .Flags = Flags(l)};
  if (l.Tipo == TipoControle::Rotulo) d.Text = l.Texto;
  if (l.Tab >= 0) d.TabOrder = l.Tab;
  return d;
}

struct Definicao {
  std::vector<ui::StoredProperty> fontes;
  std::vector<ui::ComponentDescription> componentes;
  std::vector<ui::ControlDescription> controles;
};

const Definicao& Pagina() {
  static const Definicao d = [] {
    Definicao d;
    d.fontes.reserve(vel::kFontesDeDados.size());
    for (const vel::FonteDeDados& f : vel::kFontesDeDados) {
      d.fontes.push_back({u"DataSet", f.DataSet});
      d.componentes.push_back({CriarFonteDeDados, f.Nome, {&d.fontes.back(), 1}});
    }
    for (std::u16string_view menu : vel::kMenus) d.componentes.push_back({CriarMenu, menu, {}});
    // A kind the toolkit has no class for leaves out its row and the rows inside it.
    std::vector<std::u16string_view> omitidos;
    for (const Linha& l : vel::kPagina) {
      bool omitir = !Classe(l.Tipo);
      for (std::u16string_view o : omitidos) omitir = omitir || o == l.Pai;
      if (omitir) {
        if (!l.Referencia().empty()) omitidos.push_back(l.Referencia());
        continue;
      }
      d.controles.push_back(Descrever(l));
    }
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

}  // namespace zarp
