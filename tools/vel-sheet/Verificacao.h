// What the sheet keeps of a stream: the stream loaded into a new sheet through the library, saved
// again, and compared with what it held. Each difference the sheet's rules made (a section or
// column that no dataset or field takes, a value a field refused, a text cut to its field's size)
// is one finding, named by dataset, record and field. Values the sheet derives itself, recomputed
// on loading, are no finding.
#pragma once

#include <string>
#include <vector>

#include "tools/sessao/SessaoVEL.h"
#include "tools/vel-sheet/SecoesFicha.h"

namespace vel::ferramenta {

struct Verificacao {
  bool carregou = true;
  std::string falha;                 // when the load failed: the library's message
  std::vector<std::string> achados;  // one line each
  Bytes salvo;                       // what the sheet saves after the load
};

// `secoes` are the sections that `bytes` holds (or the part of them that could be read).
Verificacao Verificar(const sessao::TBiblioteca& biblioteca, const std::vector<Secao>& secoes,
                      const Bytes& bytes);

}  // namespace vel::ferramenta
