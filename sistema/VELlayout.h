// The page of the VEL view as data: its pictures, and every image, label, edit, memo, panel,
// check box and grid, one row per control in creation order, with the positions, sizes, fonts,
// flags and tab numbers the sheet was designed with. Nothing here knows a control class: the
// view is built from these rows, and the artwork generator draws its boxes from the same rows,
// so a box always lies under its edit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/Types.h"

namespace zarp::vel {

enum class TipoControle : uint8_t { Imagem, Rotulo, Edit, Memo, Painel, CheckBox, Grade };

// A font a row sets; a row with an empty face keeps its parent's font (the sheet default).
struct FonteControle {
  std::u16string_view Nome{};
  int Altura = 0;
  bool Negrito = false;
  ui::TColor Cor = ui::clBlack;
  constexpr bool Padrao() const { return Nome.empty(); }
  friend constexpr bool operator==(const FonteControle&, const FonteControle&) = default;
};

inline constexpr FonteControle kPadrao{};
inline constexpr FonteControle kB16{u"Tahoma", -16, true};
inline constexpr FonteControle kB16Times{u"Times New Roman", -16, true};
inline constexpr FonteControle kB16Janela{u"Tahoma", -16, true, ui::clWindowText};
inline constexpr FonteControle kB13{u"Tahoma", -13, true};
inline constexpr FonteControle kR13{u"Tahoma", -13, false};
inline constexpr FonteControle kR13Janela{u"Tahoma", -13, false, ui::clWindowText};
inline constexpr FonteControle kB11{u"Tahoma", -11, true};

// Label styles: a font and a background (none: transparent over the artwork).
struct Estilo {
  FonteControle Texto;
  std::optional<ui::TColor> Fundo{};
};

inline constexpr Estilo W16{{u"Tahoma", -16, true, ui::clWhite}};
inline constexpr Estilo W15{{u"Tahoma", -15, true, ui::clWhite}};
inline constexpr Estilo S16{{u"Tahoma", -16, true}, ui::clWhite};
inline constexpr Estilo S20{{u"Tahoma", -20, true}, ui::clWhite};
inline constexpr Estilo S29{{u"Tahoma", -29, true}, ui::clWhite};
inline constexpr Estilo B16{{u"Tahoma", -16, true}};
inline constexpr Estilo kAviso{{u"Tahoma", -15, true, ui::clWhite}, ui::clBlack};
inline constexpr Estilo kCreditos{{u"Tahoma", -16, true, ui::clWhite}, ui::clBlack};

using FlagsControle = uint16_t;
inline constexpr FlagsControle kSemBorda = 1u << 0;         // an edit or memo without a frame
inline constexpr FlagsControle kDireitaEsquerda = 1u << 1;  // reading order right to left
inline constexpr FlagsControle kDesabilitado = 1u << 2;     // never takes the focus, shows greyed
inline constexpr FlagsControle kSomenteLeitura = 1u << 3;
inline constexpr FlagsControle kBarraVertical = 1u << 4;  // memos: a vertical scroll bar
inline constexpr FlagsControle kBordaSimples = 1u << 5;   // panels: a single line instead of raised
inline constexpr FlagsControle kCentro = 1u << 6;  // images: the picture centred in the control
inline constexpr FlagsControle kCruz = 1u << 7;    // the cross-hair mouse pointer
inline constexpr FlagsControle kTamanhoFixo = 1u
                                              << 8;  // a label that keeps its size (no auto-size)

// The artwork: seven pictures, drawn by tools/vel-artwork from these rows and embedded in the
// library. A picture's size is its own; the image control showing it may be larger.
enum class FormatoFigura : uint8_t { PngRgb, PngRgba, Bmp24 };

struct Figura {
  std::u16string_view Imagem;  // the image control that shows it
  std::string_view Arquivo;
  int Largura;
  int Altura;
  FormatoFigura Formato;
};

// In the order of the image controls.
inline constexpr std::array kFiguras{
    Figura{u"Image5", "identidade.png", 450, 324, FormatoFigura::PngRgba},
    Figura{u"Image2", "personagem.png", 545, 344, FormatoFigura::PngRgb},
    Figura{u"Image1", "cabecalho.png", 1354, 27, FormatoFigura::PngRgba},
    Figura{u"Image6", "emblema.bmp", 200, 70, FormatoFigura::Bmp24},
    Figura{u"Image3", "conjunto.png", 545, 252, FormatoFigura::PngRgb},
    Figura{u"Image4", "ataques.png", 544, 472, FormatoFigura::PngRgba},
    Figura{u"Image7", "carga.png", 450, 35, FormatoFigura::PngRgb},
};

struct Linha {
  TipoControle Tipo = TipoControle::Rotulo;
  std::u16string_view Nome{};  // the component name; empty for labels
  std::u16string_view Pai{};   // the container's reference; empty: the form
  int Left = 0;
  int Top = 0;
  int Width = 0;  // 0 x 0: a label that sizes itself to its caption
  int Height = 0;
  FonteControle Fonte{};
  std::optional<ui::TColor> Cor{};  // the control's colour (a label's opaque background)
  FlagsControle Flags = 0;
  int Tab = -1;  // -1: no tab number of its own (labels, images, frames)
  std::u16string_view FonteDados{};
  std::u16string_view Campo{};
  std::u16string_view Texto{};
  int Figura = -1;  // images: index into kFiguras
  // Grids: panel layout and context menu.
  int Colunas = 0;
  int Linhas = 0;
  int PainelLargura = 0;
  int PainelAltura = 0;
  std::u16string_view Menu{};
  // The name children give as their Pai: the component name, or for the one panel without a
  // name a key of the layout's own.
  std::u16string_view Chave{};

  constexpr std::u16string_view Referencia() const { return Chave.empty() ? Nome : Chave; }
  constexpr bool Transparente() const { return Tipo == TipoControle::Rotulo && !Cor; }
};

// The nine data sources, in creation order, and the dataset of the document each refers to.
struct FonteDeDados {
  std::u16string_view Nome;
  std::u16string_view DataSet;
};

inline constexpr std::array kFontesDeDados{
    FonteDeDados{u"DataSourceDATAA1", u"ZARPFicha1.DATAA1"},
    FonteDeDados{u"DataSourceDATAA2", u"ZARPFicha1.DATAA2"},
    FonteDeDados{u"DataSourceDATAA3", u"ZARPFicha1.DATAA3"},
    FonteDeDados{u"DataSourceDATAA4", u"ZARPFicha1.DATAA4"},
    FonteDeDados{u"DataSourceDATAA6", u"ZARPFicha1.DATAA6"},
    FonteDeDados{u"DataSourceDATAA5", u"ZARPFicha1.DATAA5"},
    FonteDeDados{u"DataSourceDATAA7", u"ZARPFicha1.DATAA7"},
    FonteDeDados{u"DataSourceDATAA8", u"ZARPFicha1.DATAA8"},
    FonteDeDados{u"DataSourceDATAA9", u"ZARPFicha1.DATAA9"},
};

// The four context menus of the lists; their items belong to the list commands.
inline constexpr std::array<std::u16string_view, 4> kMenus{u"PopupSkills", u"Popupequips",
                                                           u"PopupDOnS", u"Popupperr"};

// The page's controls (the rows of the view's stored definition).
extern const std::span<const Linha> kPagina;

// The row of the control of that name, or null.
const Linha* Procurar(std::u16string_view nome);

// The padded caption of the "Conjunto" title: 44 spaces before the word, 47 after.
extern const std::u16string_view kTituloConjunto;

// The content the page scrolls over: rows 0 to 1141 and columns 0 to 1366, with the stored
// positions taken at vertical position 19.
inline constexpr int kPosicaoVertical = 19;
inline constexpr int kConteudoLargura = 1366;
inline constexpr int kConteudoAltura = 1141;

}  // namespace zarp::vel
