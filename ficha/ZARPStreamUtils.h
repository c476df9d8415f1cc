// The sheet stream's primitives: counts, type codes, strings and single field values, all
// little-endian whatever the platform, moved through the host stream's Read and Write only.
//
// Writing issues exactly the calls of the format (a string is one Write of its 4-byte count, then
// one Write of its bytes). Reading goes through TLeitorStream, which never believes what the
// host's Read answers: it knows from the stream's size and position how many bytes remain, and
// refuses any read, count or length that the rest of the stream cannot hold.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "db/DBTypes.h"
#include "modulo/ZARPModulo.h"
#include "runtime/Variant.h"

namespace db {
class TField;
}

namespace zarp {

// A sheet stream that ends before a value it promises, or carries a count that cannot be right.
// Detalhe() says what was wrong, without the place; the loader names the place.
class EStreamFicha : public db::EDatabaseError {
 public:
  enum class TFalha : uint8_t {
    Fim,       // the stream ends before the bytes that a read needs
    Contagem,  // a count claims more items than the rest of the stream can hold
    Invalido,  // a negative count or length, or one no sheet can hold
    Host,      // the host's size and position do not follow the reads made
  };
  EStreamFicha(TFalha falha, std::u16string detalhe, std::u16string mensagem);
  TFalha Falha() const { return falha_; }
  const std::u16string& Detalhe() const { return detalhe_; }

 private:
  TFalha falha_;
  std::u16string detalhe_;
};

// --- Writing ------------------------------------------------------------------------------------

void EscreverInt32(IZARPStream* stream, int32_t valor);
void EscreverUInt16(IZARPStream* stream, uint16_t valor);
// Count, then bytes; the empty string is a Write of 0 bytes after its count.
void EscreverString(IZARPStream* stream, std::string_view texto);
// The current value of one field of its dataset's current record: a presence byte, then the
// encoding of the field's column code. Blob fields write their content as a string.
void EscreverValorCampo(IZARPStream* stream, const db::TField& field);
// One value labelled with `tipo`: a presence byte, then the code's encoding (nothing for a code
// without one). The field writer above and the sheet tool share it.
void EscreverValor(IZARPStream* stream, uint16_t tipo, const rt::Variant& valor);

// The code that labels a field's column. It is the field's storage code, except for blob kinds
// whose code carries no value encoding (13): their content is written as a string, so their
// column says 256 and reads back. Memo fields keep 8192, which readers take as a string.
uint16_t TipoDaColuna(const db::TField& field);

// --- Reading ------------------------------------------------------------------------------------

// Reads a sheet stream in blocks, never past the bytes that the host says remain. The owner tells
// it, at the start and after each section, how many bytes the host reports after its position
// (Sincronizar); from then on it counts every byte itself. A host whose report disagrees with the
// reads made since (its position did not follow them, or its size changed) fails there, so a
// host that stops moving can never keep a load going. What a short host read leaves is zeros,
// never old memory.
class TLeitorStream {
 public:
  explicit TLeitorStream(IZARPStream* stream) : stream_(stream) {}
  TLeitorStream(const TLeitorStream&) = delete;
  TLeitorStream& operator=(const TLeitorStream&) = delete;

  IZARPStream* Stream() const { return stream_; }
  // The host's own count of bytes after its position. After the first call it must equal what
  // the reads since leave; otherwise EStreamFicha (Host).
  void Sincronizar(int64_t restantesNoHost);
  // Bytes still to be read: those in hand and those the host still has.
  int64_t Restantes() const { return noHost_ + static_cast<int64_t>(fim_ - pos_); }

  // Raises EStreamFicha (Fim) when fewer than n bytes remain; nothing is consumed then.
  void Ler(void* destino, int64_t n) {
    if (static_cast<uint64_t>(n) <= fim_ - pos_) {  // a negative n goes the long way and fails
      if (n == 0) return;
      std::memcpy(destino, buffer_.data() + pos_, static_cast<size_t>(n));
      pos_ += static_cast<size_t>(n);
      return;
    }
    LerDoHost(destino, n);
  }
  // n bytes as the whole content of `texto` (n not negative): taken from the bytes in hand when
  // they hold them, without first filling the text.
  void LerTexto(std::string& texto, int32_t n) {
    if (static_cast<uint32_t>(n) <= fim_ - pos_) {
      texto.assign(reinterpret_cast<const char*>(buffer_.data()) + pos_, static_cast<size_t>(n));
      pos_ += static_cast<size_t>(n);
      return;
    }
    texto.resize(static_cast<size_t>(n));
    Ler(texto.data(), n);
  }
  uint8_t LerByte() {
    if (pos_ < fim_) return buffer_[pos_++];
    uint8_t b;
    LerDoHost(&b, 1);
    return b;
  }
  int32_t LerInt32() {
    uint8_t b[4];
    Ler(b, 4);
    return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 |
                                uint32_t{b[3]} << 24);
  }
  uint16_t LerUInt16() {
    uint8_t b[2];
    Ler(b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
  }
  uint64_t LerUInt64() {
    uint8_t b[8];
    Ler(b, 8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | b[i];
    return v;
  }

  // Raises EStreamFicha unless `count` items of at least `minimo` bytes each, then `depois`
  // bytes, can still follow: a hostile count fails here, before anything is allocated for it.
  // `oQue` names the items in the message ("records").
  void ExigirItens(int64_t count, int64_t minimo, int64_t depois, std::u16string_view oQue) const;

 private:
  void LerDoHost(void* destino, int64_t n);
  // Delivers n bytes straight from the host into `destino`, which is zeroed first.
  void Transferir(void* destino, int64_t n);

  static constexpr int64_t kBloco = 64 * 1024;
  IZARPStream* stream_;
  int64_t noHost_ = 0;
  bool sincronizado_ = false;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0;
  size_t fim_ = 0;
};

// Raises EStreamFicha unless `registros` records of `colunas` columns, then the record number,
// can follow. A section without columns has no bytes per record to bound its count, so a limit
// far past any real sheet's stands in for them.
void ExigirRegistros(TLeitorStream& leitor, int32_t registros, int32_t colunas);

// A count followed by that many bytes; a negative count or one past the end of the stream fails
// before the text is allocated.
std::string LerString(TLeitorStream& leitor);
// The same into `texto`, whose storage is reused.
void LerStringEm(TLeitorStream& leitor, std::string& texto);
// One value that the stream labels with `tipo`: null for a presence byte of 0; otherwise tagged
// with the code (an 8-bit string for 256 and for memo columns, 8192). A present value of a code
// without an encoding has no bytes after its presence byte and reads as null. A text read into a
// value that already holds text reuses its storage.
void LerValorCampo(TLeitorStream& leitor, uint16_t tipo, rt::Variant& valor);

}  // namespace zarp
