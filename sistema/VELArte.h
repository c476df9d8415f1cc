// The sheet's artwork, carried inside the library: the bytes of each picture file, as
// tools/vel-artwork drew them into sistema/artwork.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zarp::vel {

struct ArquivoEmbutido {
  std::string_view Nome;
  std::span<const uint8_t> Dados;
};

// Every picture file, by file name.
std::span<const ArquivoEmbutido> ArquivosDaArte();

// The file bytes of the picture kFiguras[indice]; empty when the library carries no such file.
std::span<const uint8_t> BytesDaFigura(int indice);

}  // namespace zarp::vel
