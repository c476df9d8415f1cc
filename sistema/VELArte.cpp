// Finding a picture's bytes among the files the library carries.
#include "sistema/VELArte.h"

#include "sistema/VELlayout.h"

namespace zarp::vel {

std::span<const uint8_t> BytesDaFigura(int indice) {
  if (indice < 0 || static_cast<size_t>(indice) >= kFiguras.size()) return {};
  for (const ArquivoEmbutido& a : ArquivosDaArte())
    if (a.Nome == kFiguras[static_cast<size_t>(indice)].Arquivo) return a.Dados;
  return {};
}

}  // namespace zarp::vel
