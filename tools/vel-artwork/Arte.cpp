// Drawing the seven pictures. Black panels with softly rounded corners carry the white captions;
// each edit or memo that sits on a picture gets a white box with a grey line two pixels outside
// it, so an edit without a frame still reads as a box to write in; black "/" captions get a white
// bridge between the boxes they separate. Everything is placed from the layout rows.
#include "tools/vel-artwork/Arte.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vel::arte {
namespace {

using zarp::vel::kFiguras;
using zarp::vel::kPagina;
using zarp::vel::Linha;
using zarp::vel::TipoControle;

// Paints `c` over the pixel with the given coverage (0 to 1), in straight alpha.
void Pintar(Quadro& q, int x, int y, Cor c, double cobertura) {
  if (x < 0 || y < 0 || x >= q.Width() || y >= q.Height() || cobertura <= 0) return;
  const double a = std::min(cobertura, 1.0) * c.A / 255.0;
  Cor& d = q.At(x, y);
  const double ad = d.A / 255.0;
  const double ao = a + ad * (1 - a);
  if (ao <= 0) return;
  auto mistura = [&](uint8_t s, uint8_t t) {
    return static_cast<uint8_t>(std::lround((s * a + t * ad * (1 - a)) / ao));
  };
  d = {mistura(c.R, d.R), mistura(c.G, d.G), mistura(c.B, d.B),
       static_cast<uint8_t>(std::lround(ao * 255))};
}

void Preencher(Quadro& q, Retangulo r, Cor c) {
  for (int y = std::max(r.Y0, 0); y < std::min(r.Y1, q.Height()); ++y)
    for (int x = std::max(r.X0, 0); x < std::min(r.X1, q.Width()); ++x) q.At(x, y) = c;
}

// A filled rectangle with rounded corners, anti-aliased along the arcs.
void Arredondado(Quadro& q, Retangulo r, double raio, Cor c) {
  for (int y = std::max(r.Y0, 0); y < std::min(r.Y1, q.Height()); ++y) {
    for (int x = std::max(r.X0, 0); x < std::min(r.X1, q.Width()); ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double dx = std::max({r.X0 + raio - cx, cx - (r.X1 - raio), 0.0});
      const double dy = std::max({r.Y0 + raio - cy, cy - (r.Y1 - raio), 0.0});
      double cobertura = 1;
      if (dx > 0 && dy > 0) cobertura = std::clamp(raio - std::hypot(dx, dy) + 0.5, 0.0, 1.0);
      Pintar(q, x, y, c, cobertura);
    }
  }
}

// A filled polygon, 4 x 4 samples per pixel.
void Poligono(Quadro& q, std::initializer_list<std::pair<double, double>> pontos, Cor c) {
  std::vector<std::pair<double, double>> p(pontos);
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (auto [x, y] : p) {
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  }
  auto dentro = [&p](double x, double y) {
    bool d = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      auto [xi, yi] = p[i];
      auto [xj, yj] = p[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) d = !d;
    }
    return d;
  };
  for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y) {
    for (int x = static_cast<int>(x0); x <= static_cast<int>(x1); ++x) {
      int n = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) n += dentro(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
      Pintar(q, x, y, c, n / 16.0);
    }
  }
}

const Linha& ImagemDe(int indice) {
  for (const Linha& l : kPagina)
    if (l.Tipo == TipoControle::Imagem && l.Figura == indice) return l;
  return kPagina.front();
}

bool Cruza(Retangulo a, Retangulo b) {
  return a.X0 < b.X1 && b.X0 < a.X1 && a.Y0 < b.Y1 && b.Y0 < a.Y1;
}

// The white bridge under a black "/" caption: the caption's cell, as wide as the gap between
// the boxes beside it. A "/" of character height h sits in a cell of about 0.4 h by 1.3 h.
Retangulo Ponte(const Linha& l) {
  const int h = -l.Fonte.Altura;
  return {l.Left, l.Top, l.Left + (h * 4 + 9) / 10, l.Top + (h * 13 + 9) / 10};
}

// The boxes of one picture: under every edit and memo of the form that reaches onto it, and
// under every black caption on it. Grey lines first, white insides after, so that boxes which
// touch merge into one.
void Caixas(Quadro& q, const Linha& imagem) {
  std::vector<Retangulo> caixas;
  const Retangulo area{0, 0, q.Width(), q.Height()};
  for (const Linha& l : kPagina) {
    if (!l.Pai.empty()) continue;
    Retangulo r;
    if (l.Tipo == TipoControle::Edit || l.Tipo == TipoControle::Memo) {
      r = NaFigura(l, imagem);
    } else if (l.Tipo == TipoControle::Rotulo && l.Transparente() && l.Fonte.Cor == ui::clBlack) {
      Linha ponte = l;
      Retangulo p = Ponte(l);
      ponte.Left = p.X0, ponte.Top = p.Y0, ponte.Width = p.X1 - p.X0, ponte.Height = p.Y1 - p.Y0;
      r = NaFigura(ponte, imagem);
    } else {
      continue;
    }
    if (Cruza(r.Inflado(kMargemCaixa), area)) caixas.push_back(r);
  }
  for (const Retangulo& r : caixas) Preencher(q, r.Inflado(kMargemCaixa), kCinza);
  for (const Retangulo& r : caixas) Preencher(q, r.Inflado(kMargemCaixa - 1), kBranco);
}

// A picture of the page in its own coordinates from form coordinates.
Retangulo DoForm(const Linha& imagem, int x0, int y0, int x1, int y1) {
  return {x0 - imagem.Left, y0 - imagem.Top, x1 - imagem.Left, y1 - imagem.Top};
}

// A thin white rule across a panel, in form rows.
void Regua(Quadro& q, const Linha& imagem, int x0, int x1, int y) {
  Preencher(q, DoForm(imagem, x0, y, x1, y + 1), kBranco);
}

void Identidade(Quadro& q, const Linha& im) {
  // Its left columns lie under the character block's picture, which is painted over them.
  Arredondado(q, DoForm(im, 545, 49, 989, 371), 8, kPreto);
}

void Personagem(Quadro& q, const Linha& im) {
  Arredondado(q, DoForm(im, 1, 49, 542, 391), 8, kPreto);
  Regua(q, im, 8, 536, 90);   // under the title row
  Regua(q, im, 8, 536, 243);  // above "Vitalidade"
}

// Two black bars with a gap for the emblem, each a bold bar over a thin rule.
void Cabecalho(Quadro& q, const Linha&) {
  const int meio0 = 584, meio1 = 776;
  for (auto [x0, x1] : {std::pair{6, meio0}, std::pair{meio1, q.Width() - 6}}) {
    Arredondado(q, {x0, 5, x1, 19}, 7, kPreto);
    Preencher(q, {x0 + 4, 22, x1 - 4, 24}, kPreto);
  }
}

// A black capsule with "VEL" in white, joined to the header bars on either side.
void Emblema(Quadro& q, const Linha&) {
  // The bars of the header strip cross the emblem's rows 31 to 44 (the strip lies 26 rows
  // lower on the page than the emblem's top); the stubs meet them.
  Preencher(q, {0, 31, 40, 45}, kPreto);
  Preencher(q, {q.Width() - 40, 31, q.Width(), 45}, kPreto);
  Preencher(q, {0, 48, 40, 50}, kPreto);
  Preencher(q, {q.Width() - 40, 48, q.Width(), 50}, kPreto);
  Arredondado(q, {14, 16, 186, 64}, 24, kPreto);
  // A white line inside the capsule's edge.
  Arredondado(q, {18, 20, 182, 60}, 20, kBranco);
  Arredondado(q, {20, 22, 180, 58}, 18, kPreto);
  // V, E, L: letters 30 rows high, strokes 7 wide, centred on column 100, row 40.
  Poligono(q, {{62, 25}, {70, 25}, {75, 46}, {80, 25}, {88, 25}, {79, 55}, {71, 55}}, kBranco);
  Preencher(q, {94, 25, 101, 55}, kBranco);
  Preencher(q, {94, 25, 114, 31}, kBranco);
  Preencher(q, {94, 37, 111, 43}, kBranco);
  Preencher(q, {94, 49, 114, 55}, kBranco);
  Preencher(q, {120, 25, 127, 55}, kBranco);
  Preencher(q, {120, 49, 138, 55}, kBranco);
  for (double cx : {40.0, 160.0})
    Poligono(q, {{cx - 6, 40}, {cx, 34}, {cx + 6, 40}, {cx, 46}}, kBranco);
}

void Conjunto(Quadro& q, const Linha& im) {
  Arredondado(q, DoForm(im, 1, 871, 542, 1121), 8, kPreto);
  Regua(q, im, 10, 533, 901);  // under the title
}

// The four attack blocks, each its own black panel.
void Ataques(Quadro& q, const Linha& im) {
  for (auto [y0, y1] : {std::pair{396, 508}, {515, 628}, {634, 747}, {756, 866}})
    Arredondado(q, DoForm(im, im.Left, y0, 544, y1), 8, kPreto);
}

void Carga(Quadro& q, const Linha& im) {
  // Its left columns lie over the third attack block's edge, which shows through them.
  Arredondado(q, DoForm(im, 545, 655, 986, 687), 6, kPreto);
}

// Where a picture's top-left corner lies on the form: its image's corner, or centred in it.
std::pair<int, int> Origem(const Linha& imagem, const Quadro& q) {
  if (!(imagem.Flags & zarp::vel::kCentro)) return {imagem.Left, imagem.Top};
  return {imagem.Left + (imagem.Width - q.Width()) / 2,
          imagem.Top + (imagem.Height - q.Height()) / 2};
}

// Paints `figura`, whose corner lies at `origem` on the form, over `destino`, whose corner lies
// at `base`, blending by the picture's alpha.
void Sobrepor(Quadro& destino, std::pair<int, int> base, const Quadro& figura,
              std::pair<int, int> origem) {
  const int dx = origem.first - base.first, dy = origem.second - base.second;
  for (int y = 0; y < figura.Height(); ++y)
    for (int x = 0; x < figura.Width(); ++x) {
      const Cor& c = figura.At(x, y);
      Pintar(destino, dx + x, dy + y, {c.R, c.G, c.B, 255}, c.A / 255.0);
    }
}

}  // namespace

Retangulo NaFigura(const Linha& controle, const Linha& imagem) {
  return {controle.Left - imagem.Left, controle.Top - imagem.Top,
          controle.Left + controle.Width - imagem.Left,
          controle.Top + controle.Height - imagem.Top};
}

namespace {

// Draws kFiguras[indice]; `anteriores` holds the pictures of the images created before it.
Quadro DesenharSobre(int indice, const std::vector<std::pair<const Linha*, Quadro>>& anteriores) {
  const zarp::vel::Figura& f = kFiguras[static_cast<size_t>(indice)];
  const Linha& imagem = ImagemDe(indice);
  const bool alfa = f.Formato == zarp::vel::FormatoFigura::PngRgba;
  Quadro q(f.Largura, f.Altura, alfa, alfa ? kTransparente : kBranco);
  // An opaque picture hides what the images created before it paint; it shows the same there.
  if (!alfa) {
    for (const auto& [l, antes] : anteriores)
      Sobrepor(q, Origem(imagem, q), antes, Origem(*l, antes));
  }
  using Desenho = void (*)(Quadro&, const Linha&);
  constexpr std::array<std::pair<std::u16string_view, Desenho>, 7> kDesenhos{{
      {u"Image5", Identidade},
      {u"Image2", Personagem},
      {u"Image1", Cabecalho},
      {u"Image6", Emblema},
      {u"Image3", Conjunto},
      {u"Image4", Ataques},
      {u"Image7", Carga},
  }};
  for (auto [nome, desenho] : kDesenhos)
    if (nome == f.Imagem) desenho(q, imagem);
  if (f.Imagem != u"Image1" && f.Imagem != u"Image6") Caixas(q, imagem);
  return q;
}

// The seven pictures, each drawn once, in the order of their images.
const std::vector<std::pair<const Linha*, Quadro>>& Todas() {
  static const std::vector<std::pair<const Linha*, Quadro>> todas = [] {
    std::vector<std::pair<const Linha*, Quadro>> t;
    for (const Linha& l : kPagina)
      if (l.Tipo == TipoControle::Imagem) t.emplace_back(&l, DesenharSobre(l.Figura, t));
    return t;
  }();
  return todas;
}
}  // namespace

Quadro Desenhar(int indice) {
  for (const auto& [l, q] : Todas())
    if (l->Figura == indice) return q;
  throw std::out_of_range("no picture of that index");
}

Quadro Pagina() {
  Quadro pagina(zarp::vel::kConteudoLargura, zarp::vel::kConteudoAltura, false, kBranco);
  for (const auto& [l, q] : Todas())
    Sobrepor(pagina, {0, -zarp::vel::kPosicaoVertical}, q, Origem(*l, q));
  return pagina;
}

}  // namespace vel::arte
