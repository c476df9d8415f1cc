// The values of one record's physical fields, packed into a single block of bytes: per value a
// kind byte, then its payload (numbers in their kind's width, texts as a length and their bytes).
// A stored record's block comes from its dataset's arena, so a record costs about the bytes it
// holds and no allocation of its own, and its values are read in place. Reaching value i walks
// the i before it, which the few dozen fields of a sheet's tables keep cheap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "db/DataSet.h"
#include "runtime/Variant.h"

namespace zarp {

// Where a dataset's stored records keep their blocks: chunks handed out in order and taken back
// all together when the dataset closes, so that neither filling nor emptying a table of a million
// records costs an allocation per record. The first chunk is small and each new one doubles the
// one before, up to a fixed size: a table of a few records holds about what they need. A block
// that a record outgrows is not reused.
// Emptying keeps the chunks for the next records: a sheet that is cleared and loaded again (every
// load clears first) then fills memory it already holds instead of asking for it afresh, and
// never holds more than its largest content did. They are freed with the arena.
class TArenaCampos {
 public:
  uint8_t* Alocar(size_t n);
  // Takes back every block handed out; the common chunks are kept for reuse.
  void Esvaziar();
  // Bytes held: chunks in use and kept.
  size_t Reservado() const { return reservado_; }

 private:
  static constexpr size_t kPrimeiroPedaco = 1024;
  static constexpr size_t kPedaco = 64 * 1024;
  struct TPedaco {
    std::unique_ptr<uint8_t[]> bytes;
    size_t tamanho;
  };
  std::vector<TPedaco> pedacos_;  // [0, usados_) in use
  std::vector<std::unique_ptr<uint8_t[]>> grandes_;  // blocks too large for a chunk
  size_t usados_ = 0;
  uint8_t* livre_ = nullptr;
  size_t restante_ = 0;
  size_t reservado_ = 0;
};

class TCampos {
 public:
  TCampos() = default;
  ~TCampos() {
    if (capacidade_) delete[] dados_;
  }
  TCampos(const TCampos& o) { Atribuir(o); }
  TCampos& operator=(const TCampos& o) {
    if (this != &o) Atribuir(o);
    return *this;
  }
  TCampos(TCampos&& o) noexcept { Trocar(o); }
  TCampos& operator=(TCampos&& o) noexcept {
    TCampos vazio;
    vazio.Trocar(o);
    Trocar(vazio);
    return *this;
  }

  // n values, all null; the block's storage is kept for the next ones.
  void Inicializar(int n);
  // The number of values, counted through the block: a stored record keeps no count of its own.
  int Count() const;
  // The same values in a block of exactly their size from `arena`, which must outlive the copy.
  TCampos Compacto(TArenaCampos& arena) const;
  // The n values, as Ler answers them, in a block of exactly their size from `arena`.
  static TCampos Montar(TArenaCampos& arena, const db::TStoredValue* valores, int n);
  size_t Bytes() const { return tamanho_; }

  // Value i in place; false when there is no value i.
  bool Ler(int i, db::TStoredValue& valor) const;
  // Value i as a variant of its kind (null when there is no value i).
  rt::Variant Valor(int i) const;

  // Each replaces value i; nothing happens when there is no value i. A value seen in place is
  // stored as Ler answers it (a wide text's bytes are its units).
  void Gravar(int i, const db::TStoredValue& valor);
  void Gravar(int i, const rt::Variant& valor);
  void GravarTexto(int i, const char* texto, size_t tamanho);

  void Trocar(TCampos& o) noexcept;

 private:
  void Atribuir(const TCampos& o);
  // Where value i starts; kNenhum when there is no value i.
  static constexpr size_t kNenhum = SIZE_MAX;
  size_t Inicio(int i) const;
  // Value i becomes the `n` bytes of a new encoding, written by `escrever` into the space made.
  template <class F>
  void Substituir(int i, size_t n, F&& escrever);
  // Bytes that can be written without a new block: an arena's block cannot grow.
  size_t Espaco() const { return capacidade_ ? capacidade_ : tamanho_; }
  // Makes the block hold at least n bytes, keeping the first `manter` of them.
  void Reservar(size_t n, size_t manter);

  // Owned (and freed here) when capacidade_ is not 0; otherwise a block of an arena, or none.
  uint8_t* dados_ = nullptr;
  uint32_t tamanho_ = 0;
  uint32_t capacidade_ = 0;
};

}  // namespace zarp
