// Test sheets for the persistence tests: a plain owner holding host-bound datasets with declared
// fields, a byte builder for hand-made streams, and the document's load and save sequences over
// the substitute host's memory stream.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/DataSet.h"
#include "db/Field.h"
#include "ficha/ZARPPersistencia.h"
#include "host/Streams.h"
#include "runtime/Interfaced.h"
#include "ui/offscreen/Offscreen.h"

namespace zarp::test {

using Bytes = std::vector<uint8_t>;

// Little-endian pieces of a sheet stream, written by hand.
class Escritor {
 public:
  Escritor& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Escritor& U16(uint16_t v) { return Le(v, 2); }
  Escritor& I32(int32_t v) { return Le(static_cast<uint32_t>(v), 4); }
  Escritor& I64(int64_t v) { return Le(static_cast<uint64_t>(v), 8); }
  Escritor& Str(const std::string& s) {
    I32(static_cast<int32_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  Escritor& Coluna(const std::string& nome, uint16_t tipo) { return Str(nome).U16(tipo); }
  Escritor& Int(int32_t v) { return U8(1).I32(v); }
  Escritor& Texto(const std::string& s) { return U8(1).Str(s); }
  Escritor& Nulo() { return U8(0); }
  // The short section of an open dataset without records.
  Escritor& SecaoVazia(const std::string& nome) { return Str(nome).I32(0).I32(0).I32(-1); }
  Escritor& Anexar(const Bytes& b) {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
  }

  Bytes bytes;

 private:
  Escritor& Le(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
};

// The owner of the datasets, standing in for a sheet document.
class Ficha : public rt::TComponent {
 public:
  Ficha() : rt::TComponent(nullptr) {}

  TZARPDataSet* NovoDataSet(const std::u16string& nome) {
    auto* ds = new TZARPDataSet(this);
    ds->SetName(nome);
    return ds;
  }
  template <class F, class... Args>
  F* Campo(TZARPDataSet* ds, const std::u16string& nome, Args&&... args) {
    return db::DeclareField<F>(this, ds, nome, std::forward<Args>(args)...);
  }
};

// A host memory stream that logs every call ("size", "position", "seek 4", "read 4", "write 1"),
// can answer nonsense from Read and Write, and can fail the write at a given index (0-based).
class StreamEspiao : public host::TMemoryStream {
 public:
  explicit StreamEspiao(rt::Constructing c, std::vector<uint8_t> bytes = {})
      : host::TMemoryStream(c, std::move(bytes)) {}

  int64_t ZARP_STDCALL GetSize() override {
    if (!dentro_) log.push_back("size");  // the base's own Read and Write ask for it too
    return host::TMemoryStream::GetSize();
  }
  int64_t ZARP_STDCALL GetPosition() override {
    log.push_back("position");
    return host::TMemoryStream::GetPosition();
  }
  void ZARP_STDCALL SetPosition(int64_t p) override {
    log.push_back("seek " + std::to_string(p));
    host::TMemoryStream::SetPosition(p);
  }
  int32_t ZARP_STDCALL Read(void* buffer, int32_t count) override {
    log.push_back("read " + std::to_string(count));
    dentro_ = true;
    int32_t n = host::TMemoryStream::Read(buffer, count);
    dentro_ = false;
    return respostasSemSentido ? -7777 : n;
  }
  int32_t ZARP_STDCALL Write(const void* buffer, int32_t count) override {
    log.push_back("write " + std::to_string(count));
    if (escritas++ == falharNaEscrita) throw std::runtime_error("disk full");
    dentro_ = true;
    int32_t n = host::TMemoryStream::Write(buffer, count);
    dentro_ = false;
    return respostasSemSentido ? 31337 : n;
  }

  std::vector<std::string> log;
  bool respostasSemSentido = false;
  int falharNaEscrita = -1;
  int escritas = 0;

 private:
  bool dentro_ = false;
};

// A fresh host memory stream (the test holds the only reference).
inline rt::ComPtr<host::TMemoryStream> Stream(Bytes bytes = {}) {
  return rt::MakeCounted<host::TMemoryStream>(std::move(bytes));
}

// The document's save: every dataset, from the stream's start.
inline Bytes Salvar(rt::TComponent& dono) {
  auto s = Stream();
  SalvarDataSets(dono, s.Get());
  return s->Bytes();
}

// The document's load: cleared, then filled from the bytes.
inline void Carregar(rt::TComponent& dono, const Bytes& bytes) {
  auto s = Stream(bytes);
  EsvaziarDataSets(dono);
  CarregarDataSets(dono, s.Get());
}

// The messages that the offscreen backend recorded.
inline ui::offscreen::OffscreenBackend& Caixas() {
  return ui::offscreen::Instance();
}

// The record values of a dataset as text, one line per record ("7|abc|<null>"), from the first.
inline std::vector<std::string> Registros(db::TDataSet& ds) {
  std::vector<std::string> out;
  db::TBookmark marca = ds.GetBookmark();
  ds.First();
  while (!ds.Eof()) {
    std::string linha;
    bool primeiro = true;
    for (db::TField* f : ds.Fields()) {
      if (f->FieldKind() != db::TFieldKind::fkData) continue;
      if (!primeiro) linha += '|';
      primeiro = false;
      linha += f->IsNull() ? "<null>" : f->AsString();
    }
    out.push_back(linha);
    ds.Next();
  }
  if (!marca.IsNull()) ds.GotoBookmark(marca);
  return out;
}

}  // namespace zarp::test
