// vel-sheet: the VEL sheet on the command line, for people who keep, back up or repair sheets
// outside a host. Every command that needs the sheet drives the library as a host does: through
// its export, the plug-in it registers and a sheet's IZARPFicha.
//
//   vel-sheet dump FILE [--json] [--pretty]   the sections, columns and records of FILE
//   vel-sheet build JSON -o FILE              a sheet stream from JSON, through a sheet
//   vel-sheet check FILE                      what would not load cleanly, one line each
//   vel-sheet salvage IN OUT                  what loads of a damaged sheet, saved again
//   vel-sheet new FILE                        an empty sheet, as a new character is saved
//   vel-sheet resave IN OUT                   IN loaded into a new sheet and saved to OUT
//   vel-sheet write-sample FILE               the sample character of the golden files (native)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/sessao/SessaoVEL.h"
#include "tools/vel-sheet/JsonFicha.h"
#include "tools/vel-sheet/SecoesFicha.h"
#include "tools/vel-sheet/Verificacao.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include "tools/vel-sheet/AmostraVEL.h"
#endif

namespace {

using vel::ferramenta::Bytes;
using vel::ferramenta::Secao;

int Uso() {
  std::fputs(
      "usage: vel-sheet COMMAND ...\n"
      "  dump FILE [--json] [--pretty]  prints the sections, columns and records of a sheet\n"
      "  build JSON -o FILE             writes the sheet that JSON describes, through a sheet\n"
      "  check FILE                     lists what would not load cleanly; exit 0 if nothing\n"
      "  salvage IN OUT                 saves what loads of a damaged sheet, says what is lost\n"
      "  new FILE                       writes an empty VEL sheet\n"
      "  resave IN OUT                  loads IN into a new sheet and saves it to OUT\n"
#ifndef _WIN32
      "  write-sample FILE              writes the sample character with stale derived values\n"
#endif
      ,
      stderr);
  return 2;
}

// A failure that ends the command with a message and status 1.
struct Erro : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Bytes LerArquivo(const std::string& caminho) {
  std::error_code ec;
  if (std::filesystem::is_directory(caminho, ec)) throw Erro(caminho + ": is a folder");
  std::ifstream f(caminho, std::ios::binary);
  if (!f) throw Erro(caminho + ": cannot open the file");
  Bytes bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (f.bad()) throw Erro(caminho + ": cannot read the file");
  return bytes;
}

// Written beside the target first and moved over it, so a failed write leaves the old file.
void GravarArquivo(const std::string& caminho, const Bytes& bytes) {
  const std::string temporario = caminho + ".vel-sheet-tmp";
  {
    std::ofstream f(temporario, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    f.flush();
    if (!f) {
      f.close();
      std::remove(temporario.c_str());
      throw Erro(caminho + ": cannot write the file");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporario, caminho, ec);
  if (ec) {
    std::remove(temporario.c_str());
    throw Erro(caminho + ": cannot replace the file (" + ec.message() + ")");
  }
  std::printf("%s: %zu bytes\n", caminho.c_str(), bytes.size());
}

// A text as the plain dump shows it: quoted, control and non-ASCII bytes escaped, long ones cut.
std::string Citar(const std::string& s) {
  constexpr size_t kMax = 60;
  std::string out = "\"";
  for (size_t i = 0; i < s.size() && i < kMax; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  out += '"';
  if (s.size() > kMax) out += " ... (" + std::to_string(s.size()) + " bytes)";
  return out;
}

std::string Valor(const rt::Variant& v, uint16_t tipo) {
  if (v.IsNull()) return "null";
  if (tipo == rt::varString || tipo == rt::varArray) return Citar(v.RawString());
  if (!vel::ferramenta::TemCodificacao(tipo)) return "present";
  return v.AsString();
}

std::string Plural(size_t n, const char* palavra) {
  return std::to_string(n) + " " + palavra + (n == 1 ? "" : "s");
}

std::string DescreverDano(const vel::ferramenta::Dano& d) {
  std::string lugar = "offset " + std::to_string(d.offset);
  if (!d.secao.empty()) {
    lugar += ", section " + vel::ferramenta::AnsiParaUtf8(d.secao);
    if (d.registros >= 0)
      lugar += " (" + std::to_string(d.registrosLidos) + " of " + Plural(d.registros, "record") +
               " readable)";
  }
  return lugar + ": " + d.mensagem;
}

int Despejar(const std::string& arquivo, bool json, bool bonito) {
  const vel::ferramenta::Leitura leitura = vel::ferramenta::LerSecoes(LerArquivo(arquivo));
  if (json) {
    if (leitura.dano) throw Erro(arquivo + ": not a whole sheet: " + DescreverDano(*leitura.dano));
    std::puts(vel::ferramenta::ParaJson(leitura.secoes).dump(bonito ? 2 : -1).c_str());
    return 0;
  }
  for (const Secao& s : leitura.secoes) {
    std::printf("section %s: %s, %s\n", Citar(s.nome).c_str(),
                Plural(s.colunas.size(), "column").c_str(),
                Plural(s.registros.size(), "record").c_str());
    for (const auto& c : s.colunas) std::printf("  column %s (type %u)\n", c.nome.c_str(), c.tipo);
    for (size_t r = 0; r < s.registros.size(); ++r) {
      std::printf("  record %zu\n", r);
      for (size_t c = 0; c < s.colunas.size(); ++c)
        std::printf("    %s = %s\n", s.colunas[c].nome.c_str(),
                    Valor(s.registros[r][c], s.colunas[c].tipo).c_str());
    }
    std::printf("  current record number: %d\n", s.numeroRegistro);
  }
  if (leitura.dano) throw Erro(arquivo + ": " + DescreverDano(*leitura.dano));
  return 0;
}

int Construir(const std::string& json, const std::string& saida) {
  const Bytes texto = LerArquivo(json);
  std::vector<Secao> secoes;
  try {
    secoes = vel::ferramenta::DeTextoJson(
        std::string_view(reinterpret_cast<const char*>(texto.data()), texto.size()));
  } catch (const vel::ferramenta::EJsonFicha& e) {
    throw Erro(json + ": " + e.what());
  }
  const Bytes bytes = vel::ferramenta::EscreverSecoes(secoes);
  vel::sessao::TBiblioteca biblioteca;
  const auto v = vel::ferramenta::Verificar(biblioteca, secoes, bytes);
  if (!v.carregou) throw Erro(json + ": the sheet does not load: " + v.falha);
  for (const std::string& a : v.achados) std::printf("%s\n", a.c_str());
  if (!v.achados.empty())
    throw Erro(json + ": " + Plural(v.achados.size(), "finding") + "; " + saida +
               " is not written");
  GravarArquivo(saida, v.salvo);
  return 0;
}

int Verificar(const std::string& arquivo) {
  const Bytes bytes = LerArquivo(arquivo);
  const vel::ferramenta::Leitura leitura = vel::ferramenta::LerSecoes(bytes);
  vel::sessao::TBiblioteca biblioteca;
  const auto v = vel::ferramenta::Verificar(biblioteca, leitura.secoes, bytes);
  std::vector<std::string> achados = v.achados;
  if (leitura.dano || !v.carregou) {
    std::string linha = leitura.dano ? "offset " + std::to_string(leitura.dano->offset) + ": " : "";
    linha += v.carregou ? leitura.dano->mensagem : "the sheet does not load: " + v.falha;
    achados.push_back(linha);
  }
  for (const std::string& a : achados) std::printf("%s\n", a.c_str());
  if (!achados.empty()) return 1;
  size_t registros = 0;
  for (const Secao& s : leitura.secoes) registros += s.registros.size();
  std::printf("%s: loads cleanly (%s, %s)\n", arquivo.c_str(),
              Plural(leitura.secoes.size(), "section").c_str(),
              Plural(registros, "record").c_str());
  return 0;
}

// A command that reads one file and writes another never writes over what it reads: a damaged
// sheet is worth keeping as it is.
void ExigirOutro(const std::string& entrada, const std::string& saida) {
  std::error_code ec;
  if (std::filesystem::equivalent(entrada, saida, ec))
    throw Erro(saida + ": is the file being read; give another name");
}

int Salvar(const std::string& entrada, const std::string& saida) {
  ExigirOutro(entrada, saida);
  const Bytes bytes = LerArquivo(entrada);
  const vel::ferramenta::Leitura leitura = vel::ferramenta::LerSecoes(bytes);
  vel::sessao::TBiblioteca biblioteca;
  const auto v = vel::ferramenta::Verificar(biblioteca, leitura.secoes, bytes);
  GravarArquivo(saida, v.salvo);
  if (leitura.dano) {
    const auto& d = *leitura.dano;
    std::printf("lost: %s\n", DescreverDano(d).c_str());
    std::printf("lost: the %lld bytes from offset %lld to the end\n",
                static_cast<long long>(bytes.size()) - static_cast<long long>(d.offset),
                static_cast<long long>(d.offset));
  } else if (!v.carregou) {
    std::printf("lost: %s\n", v.falha.c_str());
  }
  for (const std::string& a : v.achados) std::printf("lost: %s\n", a.c_str());
  std::printf("kept: %s before the damage\n", Plural(leitura.secoes.size(), "section").c_str());
  return 0;
}

int Regravar(const std::string& entrada, const std::string& saida) {
  if (!entrada.empty()) ExigirOutro(entrada, saida);
  const Bytes bytes = entrada.empty() ? Bytes() : LerArquivo(entrada);
  vel::sessao::TBiblioteca biblioteca;
  rt::ComPtr<zarp::IZARPFicha> ficha = biblioteca.CriarFicha();
  const vel::sessao::ResultadoCarga carga = vel::sessao::Carregar(ficha.Get(), bytes);
  for (const std::string& c : carga.caixas) std::fprintf(stderr, "message: %s\n", c.c_str());
  if (!carga.ok) throw Erro(entrada + ": the sheet does not load: " + carga.falha.mensagem);
  GravarArquivo(saida, vel::sessao::Salvar(ficha.Get()));
  return 0;
}

int Executar(const std::vector<std::string>& args) {
  const std::string& comando = args[0];
  const size_t n = args.size();
  if (comando == "dump" && n >= 2 && n <= 4) {
    bool json = false, bonito = false;
    for (size_t i = 2; i < n; ++i) {
      if (args[i] == "--json")
        json = true;
      else if (args[i] == "--pretty")
        bonito = json = true;
      else
        return Uso();
    }
    return Despejar(args[1], json, bonito);
  }
  if (comando == "build" && n == 4 && args[2] == "-o") return Construir(args[1], args[3]);
  if (comando == "check" && n == 2) return Verificar(args[1]);
  if (comando == "salvage" && n == 3) return Salvar(args[1], args[2]);
  if (comando == "new" && n == 2) return Regravar("", args[1]);
  if (comando == "resave" && n == 3) return Regravar(args[1], args[2]);
#ifndef _WIN32
  if (comando == "write-sample" && n == 2) {
    GravarArquivo(args[1], vel::BytesAmostraAntiga());
    return 0;
  }
#endif
  return Uso();
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Line ends as the tool writes them, so a dump is the same file on every system.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  if (argc < 2) return Uso();
  try {
    return Executar(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vel-sheet: %s\n", e.what());
    return 1;
  }
}
