// The sheet tool: a sheet stream to JSON and back byte for byte for every value kind; building
// through a sheet names each value the sheet would not keep by dataset, record and field; checking
// and salvaging truncated and hostile streams; the JSON error paths; and the command line's exit
// statuses, leaving files untouched when a command fails.
#include <gtest/gtest.h>

#include <cstring>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tools/sessao/SessaoVEL.h"
#include "tools/vel-sheet/JsonFicha.h"
#include "tools/vel-sheet/SecoesFicha.h"
#include "tools/vel-sheet/Verificacao.h"

namespace vel::ferramenta {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

Bytes Ler(const fs::path& caminho) {
  std::ifstream f(caminho, std::ios::binary);
  EXPECT_TRUE(f.good()) << caminho;
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

fs::path Fonte(const std::string& relativo) {
  return fs::path(VEL_SOURCE_DIR) / relativo;
}

// Every stream the tree keeps: the golden files, the examples and the fuzz seeds (which hold
// every value kind the stream encodes, blobs and memos among them).
std::vector<fs::path> StreamsGuardados() {
  std::vector<fs::path> todos;
  for (const char* pasta : {"tests/data", "examples", "fuzz/corpus/fuzz_carregar"}) {
    if (!fs::exists(Fonte(pasta))) continue;
    for (const auto& e : fs::directory_iterator(Fonte(pasta)))
      if (e.path().extension() == ".zarp" || e.path().extension() == ".bin")
        todos.push_back(e.path());
  }
  return todos;
}

Bytes PorJson(const Bytes& bytes) {
  const Leitura l = LerSecoes(bytes);
  EXPECT_FALSE(l.dano);
  return EscreverSecoes(DeTextoJson(ParaJson(l.secoes).dump(2)));
}

std::vector<Secao> Secoes(const std::string& json) {
  return DeTextoJson(json);
}

class Ferramenta : public ::testing::Test {
 protected:
  sessao::TBiblioteca biblioteca;
};

TEST(JsonDaFicha, EveryWholeStreamOfTheTreeComesBackByteForByte) {
  const auto todos = StreamsGuardados();
  ASSERT_GE(todos.size(), 5u);
  for (const fs::path& p : todos) {
    const Bytes bytes = Ler(p);
    if (LerSecoes(bytes).dano) continue;  // the damaged seeds have their own test below
    EXPECT_EQ(PorJson(bytes), bytes) << p;
  }
}

TEST(JsonDaFicha, ValuesOfEveryKindKeepTheirExactBits) {
  const std::string json = R"({"sections": [{"name": "T\u00c9", "columns": [
      {"name": "i16", "type": 2}, {"name": "i32", "type": 3}, {"name": "f", "type": 4},
      {"name": "d", "type": 5}, {"name": "c", "type": 6}, {"name": "dt", "type": 7},
      {"name": "b", "type": 11}, {"name": "i8", "type": 16}, {"name": "u8", "type": 17},
      {"name": "u16", "type": 18}, {"name": "i64", "type": 20}, {"name": "s", "type": 256},
      {"name": "m", "type": 8192}, {"name": "auto", "type": 13}],
    "records": [
      [-32768, -2147483648, 0.1, 0.1, "-922337203685477.5808", 36526.25, true, -128, 255, 65535,
       -9223372036854775808, "a\u20ac\u0081", "", true],
      [32767, 2147483647, "NaN", "-Infinity", "922337203685477.5807", -693593, false, 127, 0, 0,
       9223372036854775807, "", "memo", null]],
    "record_number": 1}]})";
  const Bytes bytes = EscreverSecoes(Secoes(json));
  const Leitura l = LerSecoes(bytes);
  ASSERT_FALSE(l.dano);
  ASSERT_EQ(l.secoes.size(), 1u);
  EXPECT_EQ(l.secoes[0].nome, "T\xC9");
  const auto& r = l.secoes[0].registros;
  EXPECT_EQ(r[0][4].AsCurrency(), INT64_MIN);
  EXPECT_EQ(r[1][4].AsCurrency(), INT64_MAX);
  EXPECT_EQ(r[0][11].RawString(), "a\x80\x81");
  EXPECT_FALSE(r[0][13].IsNull());  // present, without content
  EXPECT_TRUE(r[1][13].IsNull());
  EXPECT_EQ(EscreverSecoes(DeTextoJson(ParaJson(l.secoes).dump())), bytes);
  // The payload of one present value of a code without encoding is its presence byte alone.
  EXPECT_EQ(ParaJson(l.secoes)["sections"][0]["records"][0]["auto"], true);
}

TEST(JsonDaFicha, RecordsAreObjectsUnlessAColumnNameRepeats) {
  const Bytes bytes =
      EscreverSecoes(Secoes(R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 3},
                {"name": "x", "type": 256}], "records": [[1, "um"]]}]})"));
  const Json j = ParaJson(LerSecoes(bytes).secoes);
  EXPECT_TRUE(j["sections"][0]["records"][0].is_array());
  EXPECT_EQ(EscreverSecoes(DeTextoJson(j.dump())), bytes);
  // A missing member of an object record is null; a missing record number is the last record's.
  const auto s = Secoes(R"({"sections": [{"name": "B", "columns": [{"name": "x", "type": 3},
                          {"name": "y", "type": 3}], "records": [{"y": 2}, {}]}]})");
  EXPECT_TRUE(s[0].registros[0][0].IsNull());
  EXPECT_EQ(s[0].registros[0][1].AsInt32(), 2);
  EXPECT_EQ(s[0].numeroRegistro, 1);
  // Currency may also be given as a number of units.
  const auto m = Secoes(R"({"sections": [{"name": "C", "columns": [{"name": "c", "type": 6}],
                          "records": [[12.5], [-3], ["0.0001"]]}]})");
  EXPECT_EQ(m[0].registros[0][0].AsCurrency(), 125000);
  EXPECT_EQ(m[0].registros[1][0].AsCurrency(), -30000);
  EXPECT_EQ(m[0].registros[2][0].AsCurrency(), 1);
}

TEST(JsonDaFicha, EveryMistakeIsNamedByItsPlace) {
  const struct {
    const char* json;
    const char* mensagem;
  } casos[] = {
      {"{\"sections\": [", "not readable as JSON"},
      {"58e558e5", "not readable as JSON"},  // a number no double holds
      {"[1, 2]", "the document: expected an object"},
      {"{}", "\"sections\" is missing"},
      {R"({"sections": [{"columns": []}]})", "sections[0]: \"name\" is missing"},
      {R"({"sections": [{"name": "A", "rows": []}]})", "unknown member \"rows\""},
      {R"({"sections": [{"name": 5}]})", "sections[0].name: expected a text, found 5"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": -1}]}]})",
       "sections[0].columns[0].type: expected a type code"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 3}],
           "records": [{"x": "7"}]}]})",
       "sections[0].records[0].x: expected a 32-bit whole number, found \"7\""},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 3}],
           "records": [{"x": 2147483648}]}]})",
       "sections[0].records[0].x: expected a 32-bit whole number"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 2}],
           "records": [[1.5]]}]})",
       "sections[0].records[0][0]: expected a whole number from -32768 to 32767"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 3}],
           "records": [[1, 2]]}]})",
       "sections[0].records[0]: 2 values for 1 columns"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 3}],
           "records": [{"y": 1}]}]})",
       "\"y\" is not a column of the section"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 256}],
           "records": [["\u0101"]]}]})",
       "sections[0].records[0][0]: the text has characters that the sheet's 8-bit code page"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 6}],
           "records": [["1.23456"]]}]})",
       "expected a currency of at most four decimals"},
      {R"({"sections": [{"name": "A", "columns": [{"name": "x", "type": 11}],
           "records": [[[[[1]]]]]}]})",
       "expected true or false, found a list"},
      {R"({"sections": [{"name": "A", "record_number": 4294967295}]})",
       "sections[0].record_number: expected a 32-bit whole number"},
  };
  for (const auto& c : casos) {
    try {
      DeTextoJson(c.json);
      ADD_FAILURE() << "accepted: " << c.json;
    } catch (const EJsonFicha& e) {
      EXPECT_NE(std::string(e.what()).find(c.mensagem), std::string::npos)
          << e.what() << "\n  expected: " << c.mensagem;
    }
  }
}

TEST_F(Ferramenta, AValidSheetBuildsThroughTheSheetToTheSameBytes) {
  for (const char* nome : {"tests/data/vel-sample-resaved.zarp", "tests/data/vel-new.zarp"}) {
    const Bytes bytes = Ler(Fonte(nome));
    const auto secoes = DeTextoJson(ParaJson(LerSecoes(bytes).secoes).dump());
    const Verificacao v = Verificar(biblioteca, secoes, EscreverSecoes(secoes));
    EXPECT_TRUE(v.carregou);
    EXPECT_TRUE(v.achados.empty()) << v.achados.front();
    EXPECT_EQ(v.salvo, bytes) << nome;
  }
}

TEST_F(Ferramenta, DerivedValuesRecomputedOnLoadingAreNoFinding) {
  const Bytes velho = Ler(Fonte("tests/data/vel-sample-old.zarp"));
  const Verificacao v = Verificar(biblioteca, LerSecoes(velho).secoes, velho);
  EXPECT_TRUE(v.achados.empty()) << v.achados.front();
  EXPECT_EQ(v.salvo, Ler(Fonte("tests/data/vel-sample-resaved.zarp")));
}

TEST_F(Ferramenta, WhatTheSheetWouldNotKeepIsNamedByDatasetRecordAndField) {
  const auto secoes = Secoes(R"({"sections": [
      {"name": "DATAA1", "columns": [{"name": "stamina", "type": 3}, {"name": "SUPERIOR1",
        "type": 256}, {"name": "pva", "type": 256}, {"name": "sobra", "type": 3}],
       "records": [{"stamina": 5, "SUPERIOR1": "ab", "pva": "12"}]},
      {"name": "DATAA5", "columns": [{"name": "pgref", "type": 3}, {"name": "sksty", "type": 256}],
       "records": [{"pgref": 1}, {"pgref": 1000}, {"pgref": -1, "sksty": "A"}]},
      {"name": "DATAA5", "columns": [{"name": "habilname", "type": 3}],
       "records": [{"habilname": 3}]},
      {"name": "OUTRA", "columns": [{"name": "x", "type": 3}], "records": [[1], [2]]},
      {"name": "DATAA6", "columns": [{"name": "qpb", "type": 3}], "records": [[9]]}]})");
  const Verificacao v = Verificar(biblioteca, secoes, EscreverSecoes(secoes));
  ASSERT_TRUE(v.carregou) << v.falha;
  const std::vector<std::string> esperados = {
      "DATAA1, column sobra: no stored field of the dataset has this name; its values are dropped",
      "DATAA1, record 1, field SUPERIOR1: a text of 2 characters is cut to 1",
      "DATAA5, record 2, field pgref: 1000 is not a valid value for field 'pgref'. The allowed "
      "range is 0 to 999",
      "DATAA5, record 3, field pgref: -1 is not a valid value for field 'pgref'. The allowed "
      "range is 0 to 999",
      "section OUTRA: no dataset of the sheet has this name; 2 records are dropped",
      "DATAA6, column qpb: no stored field of the dataset has this name; its values are dropped",
  };
  EXPECT_EQ(v.achados, esperados);
  // A text that is a number goes into an integer field, and the second DATAA5 section appends.
  const auto guardadas = LerSecoes(v.salvo).secoes;
  EXPECT_EQ(guardadas[6].registros.size(), 4u);
}

TEST_F(Ferramenta, EveryCutOfASheetIsReportedAndWhatPrecedesItIsSalvaged) {
  const Bytes inteiro = Ler(Fonte("tests/data/vel-sample-resaved.zarp"));
  const auto secoesInteiras = LerSecoes(inteiro).secoes;
  for (size_t corte = 0; corte < inteiro.size(); corte += 97) {
    const Bytes parte(inteiro.begin(), inteiro.begin() + static_cast<long>(corte));
    const Leitura l = LerSecoes(parte);
    const Verificacao v = Verificar(biblioteca, l.secoes, parte);
    SCOPED_TRACE(corte);
    // The tool's reader and the sheet agree on where the damage is.
    EXPECT_EQ(v.carregou, !l.dano);
    if (!l.dano) continue;
    EXPECT_NE(v.falha.find("Sheet stream ends"), std::string::npos) << v.falha;
    // The salvaged sheet holds exactly the sections before the damage, and loads cleanly.
    const Leitura salva = LerSecoes(v.salvo);
    ASSERT_FALSE(salva.dano);
    size_t registros = 0;
    for (const Secao& s : salva.secoes) registros += s.registros.size();
    size_t antes = 0;
    for (const Secao& s : l.secoes) antes += s.registros.size();
    EXPECT_EQ(registros, antes);
    EXPECT_TRUE(Verificar(biblioteca, salva.secoes, v.salvo).achados.empty());
  }
}

TEST_F(Ferramenta, HostileCountsFailBeforeAnythingIsAllocated) {
  // The streams are written into buffers of their final size: no growth for the optimiser to
  // misread.
  auto le32 = [](uint8_t* at, int32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> 8 * i);
  };
  for (int32_t contagem : {INT32_MAX, -1, 1 << 30}) {
    Bytes b(22);
    le32(&b[0], 6);
    std::memcpy(&b[4], "DATAA1", 6);
    le32(&b[10], 0);         // no columns
    le32(&b[14], contagem);  // records
    le32(&b[18], -1);
    const Leitura l = LerSecoes(b);
    ASSERT_TRUE(l.dano) << contagem;
    EXPECT_EQ(l.dano->secao, "DATAA1");
    EXPECT_EQ(l.dano->offset, 0);
    const Verificacao v = Verificar(biblioteca, l.secoes, b);
    EXPECT_FALSE(v.carregou);
  }
  Bytes nome(4);
  le32(nome.data(), INT32_MAX);  // a name longer than the stream
  EXPECT_TRUE(LerSecoes(nome).dano);
  EXPECT_TRUE(LerSecoes(nome).dano->secao.empty());
}

// --- The command line ---------------------------------------------------------------------------

class LinhaDeComando : public ::testing::Test {
 protected:
  void SetUp() override {
    pasta = fs::temp_directory_path() /
            ("vel-sheet-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(pasta);
    fs::create_directories(pasta);
  }
  void TearDown() override { fs::remove_all(pasta); }

  // The tool beside this program (Windows) or where the build put it.
  static std::string Ferramenta() {
#ifdef _WIN32
    char caminho[MAX_PATH];
    GetModuleFileNameA(nullptr, caminho, MAX_PATH);
    return (fs::path(caminho).parent_path() / "vel-sheet.exe").string();
#else
    return VEL_SHEET_TOOL;
#endif
  }

  int Rodar(const std::string& args) {
    const std::string cmd = Ferramenta() + " " + args + " >" + (pasta / "out.txt").string() +
                            " 2>" + (pasta / "err.txt").string();
    const int status = std::system(cmd.c_str());
#ifdef _WIN32
    return status;
#else
    return WEXITSTATUS(status);
#endif
  }
  std::string Saida(const char* nome = "out.txt") {
    const Bytes b = Ler(pasta / nome);
    return std::string(b.begin(), b.end());
  }
  void Escrever(const fs::path& p, const std::string& texto) {
    std::ofstream(p, std::ios::binary) << texto;
  }

  fs::path pasta;
};

TEST_F(LinhaDeComando, DumpThenBuildGivesTheSameFileAndCheckPasses) {
  const fs::path origem = Fonte("tests/data/vel-sample-resaved.zarp");
  const fs::path json = pasta / "ficha.json", copia = pasta / "copia.zarp";
  ASSERT_EQ(Rodar("dump " + origem.string() + " --pretty"), 0);
  fs::copy_file(pasta / "out.txt", json);
  ASSERT_EQ(Rodar("build " + json.string() + " -o " + copia.string()), 0) << Saida("err.txt");
  EXPECT_EQ(Ler(copia), Ler(origem));
  EXPECT_EQ(Rodar("check " + copia.string()), 0);
  EXPECT_NE(Saida().find("loads cleanly (11 sections, 11 records)"), std::string::npos);
}

TEST_F(LinhaDeComando, TheExamplesAreBuiltFromTheJsonBesideThemAndDumpBackToIt) {
  for (const char* nome : {"examples/ayla", "examples/empty"}) {
    const fs::path json = Fonte(std::string(nome) + ".json"),
                   ficha = Fonte(std::string(nome) + ".zarp");
    const fs::path copia = pasta / "copia.zarp";
    ASSERT_EQ(Rodar("build " + json.string() + " -o " + copia.string()), 0) << Saida("err.txt");
    EXPECT_EQ(Ler(copia), Ler(ficha)) << nome;
    ASSERT_EQ(Rodar("dump " + ficha.string() + " --pretty"), 0);
    EXPECT_EQ(Ler(pasta / "out.txt"), Ler(json)) << nome;
    EXPECT_EQ(Rodar("check " + ficha.string()), 0) << Saida();
  }
  // The filled-in character has entries in every list and every region.
  for (const Secao& s : LerSecoes(Ler(Fonte("examples/ayla.zarp"))).secoes) {
    if (s.nome == "DATAPHOTO" || s.nome == "DATAB0") continue;
    EXPECT_FALSE(s.registros.empty()) << s.nome;
    for (size_t c = 0; c < s.colunas.size(); ++c)
      EXPECT_FALSE(s.registros[0][c].IsNull()) << s.nome << "." << s.colunas[c].nome;
  }
}

TEST_F(LinhaDeComando, AFailedBuildLeavesTheTargetAsItWas) {
  const fs::path json = pasta / "ruim.json", alvo = pasta / "alvo.zarp";
  Escrever(alvo, "old");
  Escrever(json, R"({"sections": [{"name": "DATAA1", "columns": [{"name": "stamina", "type": 3}],
                     "records": [[1000]]}]})");
  EXPECT_EQ(Rodar("build " + json.string() + " -o " + alvo.string()), 1);
  EXPECT_NE(Saida().find("DATAA1, record 1, field stamina: 1000 is not a valid value"),
            std::string::npos)
      << Saida();
  EXPECT_EQ(Saida("err.txt"),
            "vel-sheet: " + json.string() + ": 1 finding; " + alvo.string() + " is not written\n");
  Escrever(json, "{\"sections\": [{\"name\": 1}]}");
  EXPECT_EQ(Rodar("build " + json.string() + " -o " + alvo.string()), 1);
  EXPECT_EQ(Rodar("build " + (pasta / "nenhum.json").string() + " -o " + alvo.string()), 1);
  EXPECT_NE(Saida("err.txt").find("cannot open the file"), std::string::npos);
  EXPECT_EQ(Ler(alvo), Bytes({'o', 'l', 'd'}));
  // No temporary file is left beside the target.
  for (const auto& e : fs::directory_iterator(pasta))
    EXPECT_EQ(e.path().filename().string().find("tmp"), std::string::npos) << e.path();
}

TEST_F(LinhaDeComando, CheckAndSalvageOfATruncatedSheet) {
  const Bytes inteiro = Ler(Fonte("tests/data/vel-sample-resaved.zarp"));
  const fs::path cortado = pasta / "cortado.zarp", salvo = pasta / "salvo.zarp";
  Escrever(cortado, std::string(inteiro.begin(), inteiro.begin() + 3000));
  EXPECT_EQ(Rodar("check " + cortado.string()), 1);
  EXPECT_EQ(Saida(),
            "offset 1192: the sheet does not load: Sheet stream ends inside section DATAA4 "
            "(record 1 of 1): 9012 text bytes claimed, 1518 bytes left\n");
  EXPECT_EQ(Rodar("salvage " + cortado.string() + " " + salvo.string()), 0);
  EXPECT_NE(Saida().find("lost: the 1808 bytes from offset 1192 to the end"), std::string::npos);
  EXPECT_NE(Saida().find("kept: 3 sections before the damage"), std::string::npos);
  EXPECT_EQ(Rodar("check " + salvo.string()), 0) << Saida();
  // The damaged sheet itself is never written over.
  EXPECT_EQ(Rodar("salvage " + cortado.string() + " " + cortado.string()), 1);
  EXPECT_EQ(Ler(cortado).size(), 3000u);
  EXPECT_EQ(Rodar("dump " + cortado.string() + " --json"), 1);
  EXPECT_EQ(Rodar("check " + pasta.string()), 1);
  EXPECT_NE(Saida("err.txt").find("is a folder"), std::string::npos);
  EXPECT_EQ(Rodar("frobnicate"), 2);
}

}  // namespace
}  // namespace vel::ferramenta
