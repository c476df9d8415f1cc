// A sheet stream as the sheet tool sees it: the sections exactly as they stand, whatever they
// name, read without a document and written back byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Variant.h"

namespace vel::ferramenta {

using Bytes = std::vector<uint8_t>;

struct Coluna {
  std::string nome;  // 8-bit, as the stream spells it
  uint16_t tipo = 0;
};

struct Secao {
  std::string nome;
  std::vector<Coluna> colunas;
  // One value per column: null, a value tagged with the column's code, or (for a code without an
  // encoding) a present value that carries only its tag.
  std::vector<std::vector<rt::Variant>> registros;
  int32_t numeroRegistro = -1;
};

// Where and why a stream could not be read to its end.
struct Dano {
  int64_t offset = 0;  // the start of the section that could not be read
  std::string secao;   // its name, when it could be read
  int32_t registrosLidos = 0;
  int32_t registros = -1;  // the count it claims, when it could be read
  std::string mensagem;    // what the reader found, UTF-8
};

struct Leitura {
  std::vector<Secao> secoes;  // every section before the damage
  std::optional<Dano> dano;
};

// Codes whose values carry bytes after the presence byte (8192 is taken as text).
bool TemCodificacao(uint16_t tipo);

// Reads every section; stops at the first one that cannot be read and says why. Never throws for
// what the bytes hold.
Leitura LerSecoes(const Bytes& bytes);

// The stream of these sections, as the library writes them. Throws db::EDatabaseError for a
// value that its column's code cannot hold.
Bytes EscreverSecoes(const std::vector<Secao>& secoes);

}  // namespace vel::ferramenta
