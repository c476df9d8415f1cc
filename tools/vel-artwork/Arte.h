// The VEL sheet's artwork, drawn from the page's layout rows: black bands and boxes on white,
// a grey-outlined white box under every edit and memo that sits on a picture, the header strip
// with its gap and the emblem that fills it. Pure pixels; writing files is the caller's job.
#pragma once

#include <cstdint>

#include "sistema/VELlayout.h"
#include "ui/picture/Pixels.h"

namespace vel::arte {

using Cor = ui::TRgba;
// Pictures are the toolkit's: straight RGBA, rows top-down; without alpha every pixel is opaque.
using Quadro = ui::TPixels;

inline constexpr Cor kPreto{0, 0, 0, 255};
inline constexpr Cor kBranco{255, 255, 255, 255};
inline constexpr Cor kCinza{128, 128, 128, 255};
inline constexpr Cor kTransparente{0, 0, 0, 0};

// A rectangle in a picture's pixels, right and bottom exclusive.
struct Retangulo {
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  constexpr Retangulo Inflado(int d) const { return {X0 - d, Y0 - d, X1 + d, Y1 + d}; }
};

// The rectangle of a form-level control row in the coordinates of the picture of `imagem`.
Retangulo NaFigura(const zarp::vel::Linha& controle, const zarp::vel::Linha& imagem);

// How far a box reaches beyond the edit it lies under: a white margin, then the grey line.
inline constexpr int kMargemCaixa = 2;

// The picture of kFiguras[indice], drawn.
Quadro Desenhar(int indice);

// The page's content as its artwork alone makes it: the pictures painted over the white sheet in
// their images' order, at their content positions (columns 0 to 1366, rows 0 to 1141).
Quadro Pagina();

}  // namespace vel::arte
