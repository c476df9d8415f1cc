// The sheet's artwork: each picture drawn at its size and format with a box under every edit
// that sits on it, and the files the library carries being those pictures.
#include "tools/vel-artwork/Arte.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "sistema/VELArte.h"
#include "sistema/VELlayout.h"
#include "ui/picture/Bmp.h"
#include "ui/picture/Picture.h"
#include "ui/picture/Png.h"

namespace vel::test {
namespace {

using namespace zarp::vel;
using arte::Quadro;
using arte::Retangulo;

const Linha& ImagemDaFigura(size_t indice) {
  for (const Linha& l : kPagina)
    if (l.Tipo == TipoControle::Imagem && l.Figura == static_cast<int>(indice)) return l;
  throw std::logic_error("no image shows this picture");
}

bool Dentro(const Quadro& q, int x, int y) {
  return x >= 0 && y >= 0 && x < q.Width() && y < q.Height();
}

TEST(Artwork, EachPictureHasItsSizeAndFormat) {
  for (size_t i = 0; i < kFiguras.size(); ++i) {
    const Quadro q = arte::Desenhar(static_cast<int>(i));
    EXPECT_EQ(q.Width(), kFiguras[i].Largura) << kFiguras[i].Arquivo;
    EXPECT_EQ(q.Height(), kFiguras[i].Altura) << kFiguras[i].Arquivo;
    EXPECT_EQ(q.HasAlpha(), kFiguras[i].Formato == FormatoFigura::PngRgba) << kFiguras[i].Arquivo;
    if (!q.HasAlpha()) {
      for (const arte::Cor& c : q.Data()) ASSERT_EQ(c.A, 255) << kFiguras[i].Arquivo;
    }
  }
}

// Every edit and memo of the form that sits on a picture lies on white, inside a grey line two
// pixels out; boxes that touch share their inside, so the line shows on at least one side.
TEST(Artwork, EveryEditOnAPictureLiesInAGreyOutlinedWhiteBox) {
  std::set<std::u16string_view> comCaixa;
  for (size_t i = 0; i < kFiguras.size(); ++i) {
    const Quadro q = arte::Desenhar(static_cast<int>(i));
    const Linha& imagem = ImagemDaFigura(i);
    if (imagem.Nome == u"Image1" || imagem.Nome == u"Image6") continue;
    for (const Linha& l : kPagina) {
      if (!l.Pai.empty() || (l.Tipo != TipoControle::Edit && l.Tipo != TipoControle::Memo))
        continue;
      const Retangulo r = arte::NaFigura(l, imagem);
      if (r.X1 <= 0 || r.Y1 <= 0 || r.X0 >= q.Width() || r.Y0 >= q.Height()) continue;
      comCaixa.insert(l.Nome);
      for (int y = r.Y0 - 1; y < r.Y1 + 1; ++y)
        for (int x = r.X0 - 1; x < r.X1 + 1; ++x)
          if (Dentro(q, x, y)) {
            ASSERT_EQ(q.At(x, y), arte::kBranco)
                << kFiguras[i].Arquivo << " under " << std::string(l.Nome.begin(), l.Nome.end())
                << " at " << x << "," << y;
          }
      int cinza = 0;
      const Retangulo anel = r.Inflado(arte::kMargemCaixa);
      for (int x = anel.X0; x < anel.X1; ++x)
        for (int y : {anel.Y0, anel.Y1 - 1})
          if (Dentro(q, x, y)) cinza += q.At(x, y) == arte::kCinza;
      for (int y = anel.Y0; y < anel.Y1; ++y)
        for (int x : {anel.X0, anel.X1 - 1})
          if (Dentro(q, x, y)) cinza += q.At(x, y) == arte::kCinza;
      // DBEdit51 lies beneath DBMemo5, between the memo's box and its twin's.
      if (l.Nome != u"DBEdit51") {
        EXPECT_GT(cinza, 0) << "no grey line round " << std::string(l.Nome.begin(), l.Nome.end());
      }
    }
  }
  // Every edit and memo of the form sits on artwork, except the "Oficios" block's, which lie on
  // its black panels.
  for (const Linha& l : kPagina) {
    if (!l.Pai.empty() || (l.Tipo != TipoControle::Edit && l.Tipo != TipoControle::Memo)) continue;
    EXPECT_EQ(comCaixa.count(l.Nome), l.FonteDados == u"DataSourceDATAA7" ? 0u : 1u)
        << std::string(l.Nome.begin(), l.Nome.end());
  }
}

TEST(Artwork, TheHeaderStripLeavesAGapForTheEmblem) {
  const Linha& faixa = *Procurar(u"Image1");
  const Linha& emblema = *Procurar(u"Image6");
  size_t indice = static_cast<size_t>(faixa.Figura);
  const Quadro q = arte::Desenhar(static_cast<int>(indice));
  const int meio = q.Height() / 2;
  // Black bars on both sides, nothing in the gap the emblem covers.
  EXPECT_EQ(q.At(100, meio), arte::kPreto);
  EXPECT_EQ(q.At(q.Width() - 100, meio), arte::kPreto);
  const int centro = emblema.Left + emblema.Width / 2 - faixa.Left;
  for (int x = centro - 80; x < centro + 80; ++x) EXPECT_EQ(q.At(x, meio).A, 0) << x;
}

// The files the library carries are the generator's pictures as it draws them now, in the
// formats of the artwork table: run tools/vel-artwork into sistema/artwork after a layout change.
TEST(Artwork, TheLibraryCarriesThePicturesTheGeneratorDraws) {
  for (size_t i = 0; i < kFiguras.size(); ++i) {
    const auto bytes = BytesDaFigura(static_cast<int>(i));
    ASSERT_FALSE(bytes.empty()) << kFiguras[i].Arquivo;
    EXPECT_EQ(ui::IsBmp(bytes), kFiguras[i].Formato == FormatoFigura::Bmp24);
    EXPECT_EQ(ui::IsPng(bytes), kFiguras[i].Formato != FormatoFigura::Bmp24);
    const ui::TPixels lida = ui::DecodePicture(bytes);
    EXPECT_TRUE(lida == arte::Desenhar(static_cast<int>(i)))
        << kFiguras[i].Arquivo << " differs from what tools/vel-artwork draws";
  }
  EXPECT_TRUE(BytesDaFigura(-1).empty());
  EXPECT_TRUE(BytesDaFigura(static_cast<int>(kFiguras.size())).empty());
}

}  // namespace
}  // namespace vel::test
