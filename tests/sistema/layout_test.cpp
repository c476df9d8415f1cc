// The page's layout rows against the transcription of the sheet's tables, and the rules the rows
// must keep among themselves: tab numbers, parents, data sources and pictures.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/sistema/LayoutComparacao.h"

namespace vel::test {
namespace {

using namespace zarp::vel;

TEST(Layout, RowsMatchTheTranscriptionOfTheTables) {
  std::vector<Controle> linhas;
  for (const Linha& l : kPagina) linhas.push_back(DaLinha(l));
  CompararListas(LerTranscricao(), linhas);
}

TEST(Layout, TheFormsOwnControlsNumberTheTabOrderZeroTo113Once) {
  std::map<int, std::u16string_view> vistos;
  for (const Linha& l : kPagina) {
    if (!l.Pai.empty() || l.Tab < 0) continue;
    EXPECT_TRUE(vistos.emplace(l.Tab, l.Nome).second) << "tab " << l.Tab << " twice";
  }
  ASSERT_EQ(vistos.size(), 114u);
  EXPECT_EQ(vistos.begin()->first, 0);
  EXPECT_EQ(vistos.rbegin()->first, 113);
}

TEST(Layout, ParentsComeBeforeTheirChildrenAndNamesAreUnique) {
  std::set<std::u16string_view> criados, nomes;
  for (const Linha& l : kPagina) {
    if (!l.Pai.empty()) {
      EXPECT_TRUE(criados.count(l.Pai)) << "parent created after its child";
    }
    if (!l.Referencia().empty()) {
      criados.insert(l.Referencia());
      EXPECT_TRUE(nomes.insert(l.Referencia()).second) << "a name used twice";
    }
  }
}

TEST(Layout, BoundControlsNameADataSourceOfThePageAndGridsAMenu) {
  for (const Linha& l : kPagina) {
    if (l.Tipo != TipoControle::Edit && l.Tipo != TipoControle::Memo &&
        l.Tipo != TipoControle::Grade)
      continue;
    bool fonte = false;
    for (const FonteDeDados& f : kFontesDeDados) fonte = fonte || f.Nome == l.FonteDados;
    EXPECT_TRUE(fonte) << "a bound control without a data source";
    if (l.Tipo == TipoControle::Grade) {
      bool menu = false;
      for (auto m : kMenus) menu = menu || m == l.Menu;
      EXPECT_TRUE(menu);
    } else {
      EXPECT_FALSE(l.Campo.empty());
    }
  }
}

TEST(Layout, EveryImageShowsOnePictureThatFitsIt) {
  std::set<int> usadas;
  for (const Linha& l : kPagina) {
    if (l.Tipo != TipoControle::Imagem) continue;
    ASSERT_GE(l.Figura, 0);
    const Figura& f = kFiguras[static_cast<size_t>(l.Figura)];
    EXPECT_EQ(f.Imagem, l.Nome);
    EXPECT_LE(f.Largura, l.Width);
    EXPECT_LE(f.Altura, l.Height);
    usadas.insert(l.Figura);
  }
  EXPECT_EQ(usadas.size(), kFiguras.size());
}

TEST(Layout, TheContentSpansTheLowestAndRightmostControlEdges) {
  int direita = 0, baixo = 0;
  for (const Linha& l : kPagina) {
    if (!l.Pai.empty()) continue;
    direita = std::max(direita, l.Left + l.Width);
    baixo = std::max(baixo, l.Top + l.Height);
  }
  EXPECT_EQ(direita, kConteudoLargura);
  EXPECT_EQ(baixo + kPosicaoVertical, kConteudoAltura);
}

}  // namespace
}  // namespace vel::test
