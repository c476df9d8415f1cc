// The sheet tool's build path on arbitrary text: JSON that is no sheet must end in the tool's own
// error; JSON that is a sheet must write a stream that the tool reads back as the same sections,
// and that a VEL sheet loads (or refuses with its error) and saves into a stream that loads again
// with nothing lost.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/sessao/SessaoVEL.h"
#include "tools/vel-sheet/JsonFicha.h"
#include "tools/vel-sheet/SecoesFicha.h"
#include "tools/vel-sheet/Verificacao.h"

namespace {

[[noreturn]] void Achado(const char* oQue) {
  std::fprintf(stderr, "fuzz_build_json: %s\n", oQue);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vel::sessao::TBiblioteca biblioteca;
  using namespace vel::ferramenta;
  std::vector<Secao> secoes;
  try {
    secoes = DeTextoJson(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EJsonFicha&) {
    return 0;
  }
  const Bytes bytes = EscreverSecoes(secoes);
  const Leitura lida = LerSecoes(bytes);
  if (lida.dano) Achado("a stream the tool wrote does not read back");
  if (EscreverSecoes(lida.secoes) != bytes) Achado("the sections read back write other bytes");
  const Verificacao v = Verificar(biblioteca, secoes, bytes);
  const Leitura salva = LerSecoes(v.salvo);
  if (salva.dano) Achado("the sheet saved a stream that does not read back");
  // A second round loses nothing: the sheet loads what it saved, and no value, column or section
  // of it is refused, cut or dropped. The sheet may still show boxes for values it kept: a level
  // box whose text is no number fails the derived values on every record of the equipment list
  // loaded after it, which the saved stream's order can change.
  const Verificacao again = Verificar(biblioteca, salva.secoes, v.salvo);
  if (!again.carregou) Achado("what the sheet saved does not load");
  for (const std::string& a : again.achados)
    if (a.rfind("Carregando field ", 0) != 0)
      Achado("what the sheet saved loses more when loaded again");
  return 0;
}
