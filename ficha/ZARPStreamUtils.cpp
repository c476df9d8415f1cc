// The sheet stream's primitives: the exact writes of the format and the bounded, buffered reader.
#include "ficha/ZARPStreamUtils.h"

#include <algorithm>
#include <limits>

#include "dataset/ZARPBaseDataSet.h"
#include "db/Field.h"
#include "runtime/Numbers.h"

namespace zarp {

EStreamFicha::EStreamFicha(TFalha falha, std::u16string detalhe, std::u16string mensagem)
    : db::EDatabaseError(std::move(mensagem)), falha_(falha), detalhe_(std::move(detalhe)) {}

namespace {

[[noreturn]] void FalharFim(std::u16string detalhe) {
  std::u16string mensagem = u"Sheet stream ends early";
  if (!detalhe.empty()) mensagem += u": " + detalhe;
  throw EStreamFicha(EStreamFicha::TFalha::Fim, std::move(detalhe), std::move(mensagem));
}

// Little-endian bytes of the low `n` bytes of a value.
template <int n>
void Bytes(uint8_t (&b)[n], uint64_t v) {
  for (int i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
}

template <int n>
void EscreverLE(IZARPStream* stream, uint64_t v) {
  uint8_t b[n];
  Bytes<n>(b, v);
  stream->Write(b, n);
}

uint64_t BitsDe(double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  return v;
}

double DoubleDe(uint64_t v) {
  double d;
  std::memcpy(&d, &v, 8);
  return d;
}

}  // namespace

// --- Writing ------------------------------------------------------------------------------------

void EscreverInt32(IZARPStream* stream, int32_t valor) {
  EscreverLE<4>(stream, static_cast<uint32_t>(valor));
}

void EscreverUInt16(IZARPStream* stream, uint16_t valor) {
  EscreverLE<2>(stream, valor);
}

void EscreverString(IZARPStream* stream, std::string_view texto) {
  if (texto.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw db::EDatabaseError(rt::Format(u"A text of %d bytes does not fit in a sheet stream",
                                        {static_cast<int64_t>(texto.size())}));
  auto n = static_cast<int32_t>(texto.size());
  EscreverInt32(stream, n);
  stream->Write(texto.data(), n);
}

uint16_t TipoDaColuna(const db::TField& field) {
  uint16_t tipo = TipoVariantDoCampo(field.DataType());
  if (field.IsBlob() && tipo != rt::varString && tipo != rt::varArray) return rt::varString;
  return tipo;
}

namespace {

constexpr uint8_t kAusente = 0, kPresente = 1;

// A text value from its own bytes when it is one; anything else converted first.
void EscreverTexto(IZARPStream* stream, const rt::Variant& v) {
  if (v.Type() == rt::varString)
    EscreverString(stream, v.RawString());
  else
    EscreverString(stream, v.AsString());
}

// The value as the dataset holds it, of the field's own kind: nothing is copied or converted.
void EscreverArmazenado(IZARPStream* stream, const db::TStoredValue& v) {
  if (v.type == rt::varNull) {
    stream->Write(&kAusente, 1);
    return;
  }
  stream->Write(&kPresente, 1);
  switch (v.type) {
    case rt::varString:
      EscreverString(stream, v.text);
      break;
    case rt::varSmallint:
    case rt::varWord:
      EscreverLE<2>(stream, static_cast<uint64_t>(v.integer));
      break;
    case rt::varInteger:
      EscreverLE<4>(stream, static_cast<uint64_t>(v.integer));
      break;
    case rt::varInt64:
      EscreverLE<8>(stream, static_cast<uint64_t>(v.integer));
      break;
    case rt::varBoolean:
      EscreverLE<2>(stream, v.integer ? 0xFFFFu : 0u);
      break;
    case rt::varDouble:
      EscreverLE<8>(stream, BitsDe(v.real));
      break;
    default:
      break;
  }
}

}  // namespace

void EscreverValorCampo(IZARPStream* stream, const db::TField& field) {
  // Read in place where the dataset can; otherwise the field's own value.
  db::TStoredValue armazenado;
  if (field.DataSet() && field.DataSet()->StoredFieldValue(&field, armazenado)) {
    EscreverArmazenado(stream, armazenado);
    return;
  }
  const rt::Variant v = field.AsVariant();
  if (field.IsBlob() && !v.IsNull()) {
    // The content's bytes, one character per byte, whatever the column's code.
    stream->Write(&kPresente, 1);
    EscreverTexto(stream, v);
    return;
  }
  EscreverValor(stream, TipoVariantDoCampo(field.DataType()), v);
}

void EscreverValor(IZARPStream* stream, uint16_t tipo, const rt::Variant& v) {
  if (v.IsNull()) {
    stream->Write(&kAusente, 1);
    return;
  }
  stream->Write(&kPresente, 1);
  switch (tipo) {
    case rt::varSmallint:
    case rt::varWord:
      EscreverLE<2>(stream, static_cast<uint64_t>(v.AsInt64()));
      break;
    case rt::varInteger:
      EscreverLE<4>(stream, static_cast<uint64_t>(v.AsInt64()));
      break;
    case rt::varShortInt:
    case rt::varByte:
      EscreverLE<1>(stream, static_cast<uint64_t>(v.AsInt64()));
      break;
    case rt::varInt64:
      EscreverLE<8>(stream, static_cast<uint64_t>(v.AsInt64()));
      break;
    case rt::varSingle: {
      auto f = static_cast<float>(v.AsDouble());
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      EscreverLE<4>(stream, bits);
      break;
    }
    case rt::varDouble:
    case rt::varDate:
      EscreverLE<8>(stream, BitsDe(v.AsDouble()));
      break;
    case rt::varCurrency:
      EscreverLE<8>(stream, static_cast<uint64_t>(v.AsCurrency()));
      break;
    case rt::varBoolean:
      EscreverLE<2>(stream, v.AsBoolean() ? 0xFFFFu : 0u);
      break;
    case rt::varString:
    case rt::varArray:  // memo columns, which readers take as text
      EscreverTexto(stream, v);
      break;
    default:
      // A kind without an encoding is stored as present or absent only.
      break;
  }
}

// --- Reading ------------------------------------------------------------------------------------

void TLeitorStream::ExigirItens(int64_t count, int64_t minimo, int64_t depois,
                                std::u16string_view oQue) const {
  if (count < 0) {
    std::u16string detalhe = rt::Format(u"%d %s", {count, oQue});
    throw EStreamFicha(EStreamFicha::TFalha::Invalido, detalhe,
                       u"Sheet stream is damaged: " + detalhe);
  }
  int64_t livres = Restantes() - depois;
  if (minimo > 0 && (livres < 0 || count > livres / minimo)) {
    std::u16string detalhe =
        rt::Format(u"%d %s claimed, %d bytes left", {count, oQue, Restantes()});
    throw EStreamFicha(EStreamFicha::TFalha::Contagem, detalhe,
                       u"Sheet stream ends early: " + detalhe);
  }
}

void TLeitorStream::Sincronizar(int64_t restantesNoHost) {
  if (restantesNoHost < 0) restantesNoHost = 0;
  if (sincronizado_ && restantesNoHost != noHost_) {
    std::u16string detalhe = rt::Format(u"the host reports %d bytes left where its reads leave %d",
                                        {restantesNoHost, noHost_});
    throw EStreamFicha(EStreamFicha::TFalha::Host, detalhe,
                       u"Sheet stream cannot be trusted: " + detalhe);
  }
  noHost_ = restantesNoHost;
  sincronizado_ = true;
}

void TLeitorStream::Transferir(void* destino, int64_t n) {
  if (n <= 0) return;
  // Whatever the host answers, and whatever a short read leaves, the bytes are defined.
  std::memset(destino, 0, static_cast<size_t>(n));
  auto* p = static_cast<uint8_t*>(destino);
  while (n > 0) {
    auto parte = static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
    stream_->Read(p, parte);
    p += parte;
    n -= parte;
    noHost_ -= parte;
  }
}

void TLeitorStream::LerDoHost(void* destino, int64_t n) {
  if (n < 0 || n > Restantes())
    FalharFim(rt::Format(u"%d bytes needed, %d left", {n, Restantes()}));
  auto* p = static_cast<uint8_t*>(destino);
  size_t emMao = fim_ - pos_;
  if (emMao) std::memcpy(p, buffer_.data() + pos_, emMao);
  p += emMao;
  n -= static_cast<int64_t>(emMao);
  pos_ = fim_ = 0;
  if (n >= kBloco) {
    // A long text goes straight into its destination.
    Transferir(p, n);
    return;
  }
  auto bloco = static_cast<size_t>(std::min(kBloco, noHost_));
  if (buffer_.size() < bloco) buffer_.resize(bloco);
  Transferir(buffer_.data(), static_cast<int64_t>(bloco));
  fim_ = bloco;
  std::memcpy(p, buffer_.data(), static_cast<size_t>(n));
  pos_ = static_cast<size_t>(n);
}

void ExigirRegistros(TLeitorStream& leitor, int32_t registros, int32_t colunas) {
  // Only a dataset without data fields writes a section without columns, and such a dataset has
  // no controls to add records through: a real sheet's are empty, and a thousand is already far
  // past them.
  constexpr int32_t kMaxRegistrosSemColunas = 1024;
  // Each record holds at least one presence byte per column; the record number follows.
  leitor.ExigirItens(registros, colunas, 4, u"records");
  if (colunas == 0 && registros > kMaxRegistrosSemColunas) {
    std::u16string detalhe = rt::Format(u"%d records claimed without columns", {registros});
    throw EStreamFicha(EStreamFicha::TFalha::Invalido, detalhe,
                       u"Sheet stream is damaged: " + detalhe);
  }
}

std::string LerString(TLeitorStream& leitor) {
  std::string texto;
  LerStringEm(leitor, texto);
  return texto;
}

void LerStringEm(TLeitorStream& leitor, std::string& texto) {
  int32_t n = leitor.LerInt32();
  // Asked for every text of a load: only a count that cannot be right goes on to be reported.
  if (n < 0 || n > leitor.Restantes()) leitor.ExigirItens(n, 1, 0, u"text bytes");
  leitor.LerTexto(texto, n);
}

void LerValorCampo(TLeitorStream& leitor, uint16_t tipo, rt::Variant& valor) {
  if (leitor.LerByte() == 0) {
    valor = rt::Variant::Null();
    return;
  }
  switch (tipo) {
    case rt::varSmallint:
      valor = rt::Variant::OfInteger(tipo, static_cast<int16_t>(leitor.LerUInt16()));
      break;
    case rt::varWord:
      valor = rt::Variant::OfInteger(tipo, leitor.LerUInt16());
      break;
    case rt::varInteger:
      valor = rt::Variant(leitor.LerInt32());
      break;
    case rt::varShortInt:
      valor = rt::Variant::OfInteger(tipo, static_cast<int8_t>(leitor.LerByte()));
      break;
    case rt::varByte:
      valor = rt::Variant::OfInteger(tipo, leitor.LerByte());
      break;
    case rt::varInt64:
      valor = rt::Variant(static_cast<int64_t>(leitor.LerUInt64()));
      break;
    case rt::varSingle: {
      auto bits = static_cast<uint32_t>(leitor.LerInt32());
      float f;
      std::memcpy(&f, &bits, 4);
      valor = rt::Variant::OfFloat(tipo, f);
      break;
    }
    case rt::varDouble:
    case rt::varDate:
      valor = rt::Variant::OfFloat(tipo, DoubleDe(leitor.LerUInt64()));
      break;
    case rt::varCurrency:
      valor = rt::Variant::Currency(static_cast<int64_t>(leitor.LerUInt64()));
      break;
    case rt::varBoolean:
      valor = rt::Variant(leitor.LerUInt16() != 0);
      break;
    case rt::varString:
    case rt::varArray:
      LerStringEm(leitor, valor.TextBuffer());
      break;
    default:
      // No bytes follow; handing on null leaves the field as the insert made it.
      valor = rt::Variant::Null();
      break;
  }
}

}  // namespace zarp
