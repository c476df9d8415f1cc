// The fuzz target's property (fuzz::Conferir) on its own seeds, under the native sanitizers:
// whatever loads saves, and that save loads into a fresh sheet and saves again to the same bytes.
// With VEL_WRITE_SEEDS set in the environment it first writes the seeds into
// fuzz/corpus/fuzz_carregar/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "FichaTeste.h"
#include "ficha/ZARPStreamUtils.h"
#include "fuzz/FichaFuzz.h"

namespace zarp::test {
namespace {

using fuzz::FichaFuzz;
namespace fs = std::filesystem;

const fs::path kCorpus = VEL_FUZZ_CORPUS;

Bytes SalvarFicha(int variante) {
  FichaFuzz ficha;
  ficha.Preencher(variante);
  return Salvar(ficha);
}

// Streams worth starting from: whole sheets, a damaged one, and one that exercises the matching.
std::map<std::string, Bytes> Sementes() {
  std::map<std::string, Bytes> s;
  for (int v : {0, 1, 2}) s["ficha-" + std::to_string(v)] = SalvarFicha(v);
  Bytes cheia = SalvarFicha(2);
  s["cortada"] = Bytes(cheia.begin(), cheia.begin() + static_cast<ptrdiff_t>(cheia.size() / 2));

  Escritor e;
  e.Str("lista").I32(4).Coluna("NOME", 256).Coluna("qtd", 256).Coluna("sumiu", 13);
  e.Coluna("dobro", 3).I32(2);
  e.Texto("um").Texto("5000").U8(1).Int(1);  // 5000 is refused by qtd
  e.Texto("dois").Texto("12").Nulo().Nulo();
  e.I32(0);
  e.Str("NINGUEM").I32(1).Coluna("x", 5).I32(1).U8(1).I64(0).I32(0);
  e.Str("TIPOS").I32(2).Coluna("memo", 8192).Coluna("blob", 256).I32(1);
  e.Texto("nota").Texto("bytes").I32(0);
  e.Str("LISTA").I32(1).Coluna("qtd", 3).I32(1).Int(-7).I32(5);
  s["misturada"] = e.bytes;
  return s;
}

TEST(FuzzSeeds, EverySeedSavesAndReloadsToTheSameBytes) {
  if (std::getenv("VEL_WRITE_SEEDS")) {
    fs::create_directories(kCorpus);
    for (auto& [nome, bytes] : Sementes()) {
      std::ofstream f(kCorpus / (nome + ".bin"), std::ios::binary);
      f.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    }
  }
  std::map<std::string, Bytes> sementes = Sementes();
  if (fs::is_directory(kCorpus)) {
    for (const auto& entrada : fs::directory_iterator(kCorpus)) {
      std::ifstream f(entrada.path(), std::ios::binary);
      sementes[entrada.path().filename().string()] =
          Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
  }
  for (auto& [nome, bytes] : sementes) EXPECT_EQ(fuzz::Conferir(bytes), "") << nome;
  Caixas().ClearMessages();
}

TEST(FuzzSeeds, TheMixedSeedLoadsWhatItNames) {
  FichaFuzz ficha;
  test::Carregar(ficha, Sementes()["misturada"]);
  EXPECT_EQ(Registros(*ficha.lista),
            (std::vector<std::string>{"um|<null>", "dois|12", "<null>|-7"}));
  ASSERT_EQ(Caixas().Messages().size(), 1u);
  EXPECT_EQ(Caixas().Messages()[0].Text,
            u"Carregando field qtd: 5000 is not a valid value for field 'qtd'. The allowed range "
            u"is -999 to 999");
  ficha.tipos->First();
  EXPECT_EQ(ficha.memo->AsString(), "nota");
  EXPECT_EQ(ficha.blob->AsString(), "bytes");
  Caixas().ClearMessages();
}

// The sheet's own tables load by direct appends; the fuzz sheet must keep one table that does,
// or the fuzzer would never reach that path.
TEST(FuzzSeeds, TheDirectTableLoadsByDirectAppends) {
  FichaFuzz ficha;
  ficha.direta->DisableControls();
  EXPECT_TRUE(ficha.direta->PodeAnexarDireto({ficha.rotulo, ficha.pontos, ficha.curto}));
  ficha.direta->EnableControls();

  FichaFuzz outra;
  outra.Preencher(2);
  test::Carregar(ficha, Salvar(outra));
  EXPECT_EQ(Registros(*ficha.direta), (std::vector<std::string>{"golpe0|-999|-32768",
                                                                "|-998|-32768", "golpe2|<null>|-32768",
                                                                "golpe3|-996|-32768"}));
  EXPECT_TRUE(Caixas().Messages().empty());
}

}  // namespace
}  // namespace zarp::test
