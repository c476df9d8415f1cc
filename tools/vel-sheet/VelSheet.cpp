// vel-sheet: the VEL sheet on the command line. Writes new and sample sheets, re-saves a sheet
// the way a host does after opening it, and dumps a sheet stream section by section. The golden
// files under tests/data come from it.
//
//   vel-sheet new FILE             an empty sheet, as a new character is saved
//   vel-sheet write-sample FILE    the sample character, saved with stale derived values
//   vel-sheet resave IN OUT        IN loaded into a new document and saved to OUT
//   vel-sheet dump FILE            the sections, columns and records of FILE
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ficha/ZARPPersistencia.h"
#include "ficha/ZARPStreamUtils.h"
#include "host/Streams.h"
#include "runtime/Exception.h"
#include "runtime/Interfaced.h"
#include "runtime/Variant.h"
#include "sistema/Biblioteca.h"
#include "tools/vel-sheet/AmostraVEL.h"
#include "ui/offscreen/Offscreen.h"

namespace {

using Bytes = std::vector<uint8_t>;

int Uso() {
  std::fputs(
      "usage: vel-sheet new FILE | write-sample FILE | resave IN OUT | dump FILE\n"
      "  new           writes an empty VEL sheet\n"
      "  write-sample  writes the sample character with stale derived values\n"
      "  resave        loads IN into a new document and saves it to OUT\n"
      "  dump          prints the sections, columns and records of a sheet\n",
      stderr);
  return 2;
}

Bytes LerArquivo(const std::string& caminho) {
  std::ifstream f(caminho, std::ios::binary);
  if (!f) throw std::runtime_error("cannot open " + caminho);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void GravarArquivo(const std::string& caminho, const Bytes& bytes) {
  std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + caminho);
  std::printf("%s: %zu bytes\n", caminho.c_str(), bytes.size());
}

// Message boxes that a load showed (a field that refused a value), as the user would see them.
void MostrarMensagens() {
  for (const auto& m : ui::offscreen::Instance().Messages())
    std::fprintf(stderr, "message: %s\n", rt::Utf16ToUtf8(m.Text).c_str());
  ui::offscreen::Instance().ClearMessages();
}

// A text as a dump shows it: quoted, control and non-ASCII bytes escaped, long ones shortened.
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

std::string Valor(const rt::Variant& v) {
  if (v.IsNull()) return "null";
  if (v.Type() == rt::varString || v.Type() == rt::varUString) return Citar(v.AsString());
  return v.AsString();
}

// Reads the stream as it stands, with no document: every section, whatever it names.
void Despejar(const Bytes& bytes) {
  auto stream = rt::MakeCounted<host::TMemoryStream>(bytes);
  zarp::TLeitorStream leitor(stream.Get());
  leitor.Sincronizar(zarp::BytesRestantes(stream.Get()));
  while (leitor.Restantes() > 0) {
    const std::string nome = zarp::LerString(leitor);
    const int32_t f = leitor.LerInt32();
    leitor.ExigirItens(f, 6, 8, u"columns");
    struct Coluna {
      std::string nome;
      uint16_t tipo;
    };
    std::vector<Coluna> colunas;
    for (int32_t i = 0; i < f; ++i) {
      std::string n = zarp::LerString(leitor);
      colunas.push_back({std::move(n), leitor.LerUInt16()});
    }
    const int32_t r = leitor.LerInt32();
    leitor.ExigirItens(r, f, 4, u"records");
    std::printf("section %s: %d column%s, %d record%s\n", Citar(nome).c_str(), f, f == 1 ? "" : "s",
                r, r == 1 ? "" : "s");
    for (const Coluna& c : colunas) std::printf("  column %s (type %u)\n", c.nome.c_str(), c.tipo);
    rt::Variant valor;
    for (int32_t i = 0; i < r; ++i) {
      std::printf("  record %d\n", i);
      for (const Coluna& c : colunas) {
        zarp::LerValorCampo(leitor, c.tipo, valor);
        std::printf("    %s = %s\n", c.nome.c_str(), Valor(valor).c_str());
      }
    }
    std::printf("  current record number: %d\n", leitor.LerInt32());
  }
}

int Executar(const std::vector<std::string>& args) {
  const std::string& comando = args[0];
  if (comando == "new" && args.size() == 2) {
    GravarArquivo(args[1], vel::Regravar({}));
  } else if (comando == "write-sample" && args.size() == 2) {
    GravarArquivo(args[1], vel::BytesAmostraAntiga());
  } else if (comando == "resave" && args.size() == 3) {
    const Bytes entrada = LerArquivo(args[1]);
    const Bytes saida = vel::Regravar(entrada);
    MostrarMensagens();
    GravarArquivo(args[2], saida);
  } else if (comando == "dump" && args.size() == 2) {
    Despejar(LerArquivo(args[1]));
  } else {
    return Uso();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Uso();
  // The library as a host finds it: module, plug-in list and the VEL descriptor.
  zarp::IniciarBiblioteca();
  int status;
  try {
    status = Executar(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vel-sheet: %s\n", e.what());
    status = 1;
  }
  zarp::FinalizarBiblioteca();
  return status;
}
