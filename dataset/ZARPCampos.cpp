// The packed values of a record: the encoding and the in-place edits of one value.
#include "dataset/ZARPCampos.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zarp {

namespace {

// The kind byte of a value. A type code without a payload of its own (13, 8192, unknown codes)
// is kept as kMarcado followed by the code.
enum TKind : uint8_t {
  kNulo,
  kVazio,
  kSmallint,
  kInteger,
  kSingle,
  kDouble,
  kCurrency,
  kDate,
  kBoolean,
  kShortInt,
  kByte,
  kWord,
  kInt64,
  kString,
  kUString,
  kMarcado,
};

struct TDescricao {
  uint16_t code;
  uint8_t largura;  // payload bytes of a fixed-width kind
};

constexpr TDescricao kDescricoes[] = {
    {rt::varNull, 0},    {rt::varEmpty, 0},    {rt::varSmallint, 2}, {rt::varInteger, 4},
    {rt::varSingle, 8},  {rt::varDouble, 8},   {rt::varCurrency, 8}, {rt::varDate, 8},
    {rt::varBoolean, 1}, {rt::varShortInt, 1}, {rt::varByte, 1},     {rt::varWord, 2},
    {rt::varInt64, 8},   {rt::varString, 0},   {rt::varUString, 0},  {rt::varUnknown, 2},
};

TKind KindDe(uint16_t code) {
  switch (code) {
    case rt::varNull:
      return kNulo;
    case rt::varEmpty:
      return kVazio;
    case rt::varSmallint:
      return kSmallint;
    case rt::varInteger:
      return kInteger;
    case rt::varSingle:
      return kSingle;
    case rt::varDouble:
      return kDouble;
    case rt::varCurrency:
      return kCurrency;
    case rt::varDate:
      return kDate;
    case rt::varBoolean:
      return kBoolean;
    case rt::varShortInt:
      return kShortInt;
    case rt::varByte:
      return kByte;
    case rt::varWord:
      return kWord;
    case rt::varInt64:
      return kInt64;
    case rt::varString:
      return kString;
    case rt::varUString:
      return kUString;
    default:
      return kMarcado;
  }
}

bool Inteiro(TKind k) {
  return k == kSmallint || k == kInteger || k == kCurrency || k == kBoolean || k == kShortInt ||
         k == kByte || k == kWord || k == kInt64;
}

bool Real(TKind k) {
  return k == kSingle || k == kDouble || k == kDate;
}

// Lengths of texts as 7-bit groups, low first: one byte for up to 127.
size_t TamanhoComprimento(size_t n) {
  size_t bytes = 1;
  while (n >= 0x80) {
    n >>= 7;
    ++bytes;
  }
  return bytes;
}

uint8_t* EscreverComprimento(uint8_t* p, size_t n) {
  while (n >= 0x80) {
    *p++ = static_cast<uint8_t>(n | 0x80);
    n >>= 7;
  }
  *p++ = static_cast<uint8_t>(n);
  return p;
}

const uint8_t* LerComprimento(const uint8_t* p, size_t& n) {
  n = 0;
  for (int desloca = 0;; desloca += 7) {
    const uint8_t b = *p++;
    n |= static_cast<size_t>(b & 0x7F) << desloca;
    if (!(b & 0x80)) return p;
  }
}

// Bytes of the value that starts at p.
size_t Tamanho(const uint8_t* p) {
  const auto k = static_cast<TKind>(p[0]);
  if (k == kString || k == kUString) {
    size_t n;
    const uint8_t* dados = LerComprimento(p + 1, n);
    return static_cast<size_t>(dados - p) + (k == kUString ? 2 * n : n);
  }
  return 1 + kDescricoes[k].largura;
}

// The low `largura` bytes of v, little-endian.
void EscreverInteiro(uint8_t* p, int64_t v, int largura) {
  auto u = static_cast<uint64_t>(v);
  for (int i = 0; i < largura; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int64_t LerInteiro(const uint8_t* p, TKind k) {
  uint64_t u = 0;
  const int largura = kDescricoes[k].largura;
  for (int i = largura - 1; i >= 0; --i) u = u << 8 | p[i];
  switch (k) {
    case kSmallint:
      return static_cast<int16_t>(u);
    case kInteger:
      return static_cast<int32_t>(u);
    case kShortInt:
      return static_cast<int8_t>(u);
    default:
      return static_cast<int64_t>(u);
  }
}

// Bytes of the encoding of a value seen in place (a wide text's bytes are its units).
size_t TamanhoCodificado(const db::TStoredValue& v) {
  const TKind k = KindDe(v.type);
  if (k == kString || k == kUString) {
    const size_t n = k == kUString ? v.text.size() / 2 : v.text.size();
    return 1 + TamanhoComprimento(n) + (k == kUString ? 2 * n : n);
  }
  if (k == kMarcado) return 3;
  return 1 + kDescricoes[k].largura;
}

// Writes the encoding at p; answers where it ends.
uint8_t* Codificar(uint8_t* p, const db::TStoredValue& v) {
  const TKind k = KindDe(v.type);
  *p++ = k;
  switch (k) {
    case kString:
    case kUString: {
      const size_t n = k == kUString ? v.text.size() / 2 : v.text.size();
      const size_t bytes = k == kUString ? 2 * n : n;
      p = EscreverComprimento(p, n);
      if (bytes) std::memcpy(p, v.text.data(), bytes);
      return p + bytes;
    }
    case kMarcado:
      p[0] = static_cast<uint8_t>(v.type);
      p[1] = static_cast<uint8_t>(v.type >> 8);
      return p + 2;
    default: {
      const int largura = kDescricoes[k].largura;
      if (Real(k))
        std::memcpy(p, &v.real, 8);
      else if (largura)
        EscreverInteiro(p, v.integer, largura);
      return p + largura;
    }
  }
}

}  // namespace

uint8_t* TArenaCampos::Alocar(size_t n) {
  // Chunks are not zeroed: every block is written whole before it is read, and zeroing a
  // million records' chunks costs as much as filling them.
  if (n > kPedaco / 4) {
    // A large block gets a chunk of its own; the current chunk goes on being filled.
    grandes_.push_back(std::unique_ptr<uint8_t[]>(new uint8_t[n]));
    reservado_ += n;
    return grandes_.back().get();
  }
  while (n > restante_) {
    if (usados_ == pedacos_.size()) {
      const size_t anterior = pedacos_.empty() ? kPrimeiroPedaco / 2 : pedacos_.back().tamanho;
      const size_t tamanho = std::max(std::min(anterior * 2, kPedaco), n);
      pedacos_.push_back({std::unique_ptr<uint8_t[]>(new uint8_t[tamanho]), tamanho});
      reservado_ += tamanho;
    }
    // A kept chunk too small for this block is passed over until the next emptying.
    livre_ = pedacos_[usados_].bytes.get();
    restante_ = pedacos_[usados_++].tamanho;
  }
  uint8_t* p = livre_;
  livre_ += n;
  restante_ -= n;
  return p;
}

void TArenaCampos::Esvaziar() {
  grandes_.clear();
  grandes_.shrink_to_fit();
  usados_ = 0;
  livre_ = nullptr;
  restante_ = 0;
  reservado_ = 0;
  for (const TPedaco& p : pedacos_) reservado_ += p.tamanho;
}

void TCampos::Reservar(size_t n, size_t manter) {
  if (n <= Espaco()) return;
  // No record holds more than a 32-bit size: texts are at most a field's Size each.
  if (n > UINT32_MAX) throw std::length_error("record too large");
  auto* novo = new uint8_t[n];
  if (manter) std::memcpy(novo, dados_, manter);
  if (capacidade_) delete[] dados_;
  dados_ = novo;
  capacidade_ = static_cast<uint32_t>(n);
}

void TCampos::Inicializar(int n) {
  if (n < 0) n = 0;
  Reservar(static_cast<size_t>(n), 0);
  if (n) std::memset(dados_, kNulo, static_cast<size_t>(n));
  tamanho_ = static_cast<uint32_t>(n);
}

void TCampos::Atribuir(const TCampos& o) {
  Reservar(o.tamanho_, 0);
  if (o.tamanho_) std::memcpy(dados_, o.dados_, o.tamanho_);
  tamanho_ = o.tamanho_;
}

void TCampos::Trocar(TCampos& o) noexcept {
  std::swap(dados_, o.dados_);
  std::swap(tamanho_, o.tamanho_);
  std::swap(capacidade_, o.capacidade_);
}

TCampos TCampos::Compacto(TArenaCampos& arena) const {
  TCampos c;
  if (tamanho_) {
    c.dados_ = arena.Alocar(tamanho_);
    std::memcpy(c.dados_, dados_, tamanho_);
  }
  c.tamanho_ = tamanho_;
  return c;
}

size_t TCampos::Inicio(int i) const {
  if (i < 0) return kNenhum;
  size_t p = 0;
  for (int k = 0; k < i && p < tamanho_; ++k) p += Tamanho(dados_ + p);
  return p < tamanho_ ? p : kNenhum;
}

int TCampos::Count() const {
  int n = 0;
  for (size_t p = 0; p < tamanho_; p += Tamanho(dados_ + p)) ++n;
  return n;
}

bool TCampos::Ler(int i, db::TStoredValue& valor) const {
  const size_t inicio = Inicio(i);
  if (inicio == kNenhum) return false;
  const uint8_t* p = dados_ + inicio;
  const auto k = static_cast<TKind>(p[0]);
  valor = db::TStoredValue{};
  if (k == kMarcado) {
    valor.type = static_cast<uint16_t>(p[1] | p[2] << 8);
    return true;
  }
  valor.type = kDescricoes[k].code;
  if (Inteiro(k)) {
    valor.integer = LerInteiro(p + 1, k);
  } else if (Real(k)) {
    std::memcpy(&valor.real, p + 1, 8);
  } else if (k == kString || k == kUString) {
    size_t n;
    const uint8_t* texto = LerComprimento(p + 1, n);
    valor.text = std::string_view(reinterpret_cast<const char*>(texto), k == kUString ? 2 * n : n);
  }
  return true;
}

rt::Variant TCampos::Valor(int i) const {
  db::TStoredValue v;
  if (!Ler(i, v)) return rt::Variant::Null();
  const TKind k = KindDe(v.type);
  switch (k) {
    case kNulo:
      return rt::Variant::Null();
    case kVazio:
      return rt::Variant();
    case kString:
      return rt::Variant(std::string(v.text));
    case kUString: {
      std::u16string texto(v.text.size() / 2, u'\0');
      std::memcpy(texto.data(), v.text.data(), texto.size() * 2);
      return rt::Variant(std::move(texto));
    }
    case kMarcado:
      return rt::Variant::Tagged(v.type);
    default:
      return Real(k) ? rt::Variant::OfFloat(v.type, v.real)
                     : rt::Variant::OfInteger(v.type, v.integer);
  }
}

template <class F>
void TCampos::Substituir(int i, size_t n, F&& escrever) {
  const size_t inicio = Inicio(i);
  if (inicio == kNenhum) return;
  const size_t antigo = Tamanho(dados_ + inicio);
  const size_t resto = tamanho_ - inicio - antigo;
  const size_t total = tamanho_ - antigo + n;
  if (total > Espaco()) {
    // A new block: what comes before, the new value, what comes after.
    const size_t capacidade = std::max<size_t>(total, capacidade_ + capacidade_ / 2);
    if (capacidade > UINT32_MAX) throw std::length_error("record too large");
    auto* novo = new uint8_t[capacidade];
    std::memcpy(novo, dados_, inicio);
    escrever(novo + inicio);
    std::memcpy(novo + inicio + n, dados_ + inicio + antigo, resto);
    if (capacidade_) delete[] dados_;
    dados_ = novo;
    capacidade_ = static_cast<uint32_t>(capacidade);
  } else {
    uint8_t* p = dados_;
    if (n != antigo) std::memmove(p + inicio + n, p + inicio + antigo, resto);
    escrever(p + inicio);
  }
  tamanho_ = static_cast<uint32_t>(total);
}

void TCampos::GravarTexto(int i, const char* texto, size_t tamanho) {
  db::TStoredValue v;
  v.type = rt::varString;
  v.text = std::string_view(texto, tamanho);
  Gravar(i, v);
}

void TCampos::Gravar(int i, const rt::Variant& valor) {
  db::TStoredValue v;
  v.type = valor.Type();
  switch (KindDe(v.type)) {
    case kString:
      v.text = valor.RawString();
      break;
    case kUString: {
      const std::u16string& t = valor.RawUString();
      v.text = std::string_view(reinterpret_cast<const char*>(t.data()), 2 * t.size());
      break;
    }
    case kNulo:
    case kVazio:
    case kMarcado:
      break;
    default:
      if (Real(KindDe(v.type)))
        v.real = valor.RawDouble();
      else
        v.integer = valor.RawInt();
      break;
  }
  Gravar(i, v);
}

void TCampos::Gravar(int i, const db::TStoredValue& valor) {
  Substituir(i, TamanhoCodificado(valor), [&](uint8_t* p) { Codificar(p, valor); });
}

TCampos TCampos::Montar(TArenaCampos& arena, const db::TStoredValue* valores, int n) {
  TCampos c;
  if (n <= 0) return c;
  size_t total = 0;
  for (int i = 0; i < n; ++i) total += TamanhoCodificado(valores[i]);
  if (total > UINT32_MAX) throw std::length_error("record too large");
  uint8_t* p = arena.Alocar(total);
  c.dados_ = p;
  for (int i = 0; i < n; ++i) p = Codificar(p, valores[i]);
  c.tamanho_ = static_cast<uint32_t>(total);
  return c;
}

}  // namespace zarp
