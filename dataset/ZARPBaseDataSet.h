// The record-buffer dataset: an in-memory table of variant records with one memory stream per
// blob field, plus the mapping from field data types to the type codes of stored values.
//
// Every record buffer of the window is 4 bytes naming what it shows: a stored record's index,
// the count (after the last), -1 (before the first), -2 (no record), -3 (the record being
// inserted) or -4 (the record being edited); the last two live in FBufferEdicao.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "dataset/ZARPBlobStream.h"
#include "dataset/ZARPCampos.h"
#include "dataset/ZARPVetor.h"
#include "db/DataSet.h"
#include "runtime/Variant.h"

namespace zarp {

// The type code of the values a field of this data type stores and persists.
uint16_t TipoVariantDoCampo(db::TFieldType kind);

using TVariantArray = TVetor<rt::Variant>;
using TMStreamArray = TVetor<std::unique_ptr<TZMemoryStream>>;

// One stored record. Campos holds the physical fields (value FieldNo - 1), packed into one block,
// Calculados the calculated ones (slot Offset), Blobs one stream or none per blob field (slot
// Offset).
struct TBufferRecord {
  int32_t RecNo = 0;
  TCampos Campos;
  TVariantArray Calculados;
  TMStreamArray Blobs;
};

// The growable record array: its capacity grows to capacity + capacity div 2 + 1 and never
// shrinks before the dataset closes. Slots past the count are spare. The slots live in chunks,
// made when a slot in them is first reached: growing never moves the records already stored, and
// spare capacity costs no memory until it is used. The first chunks are small and each doubles
// the one before, up to a fixed size: a table of a few records (most of a sheet's) holds a few
// slots, not a thousand. Clearing empties every slot and keeps the chunks, for the records that
// the next fill (a load clears first) stores.
class TBufferDataSet {
 public:
  int Capacity() const { return capacidade_; }
  // Index within the capacity.
  TBufferRecord& operator[](int index) {
    const auto [bloco, posicao] = Localizar(static_cast<size_t>(index));
    auto& b = blocos_[bloco];
    if (!b) b = std::make_unique<TBufferRecord[]>(TamanhoBloco(bloco));
    return b[posicao];
  }
  void Grow() {
    capacidade_ =
        static_cast<int>(std::min<int64_t>(int64_t{capacidade_} + capacidade_ / 2 + 1, INT32_MAX));
    const size_t blocos = Localizar(static_cast<size_t>(capacidade_) - 1).first + 1;
    if (blocos > blocos_.size()) blocos_.resize(blocos);
  }
  // Calls f on every slot that has been reached.
  template <class F>
  void ParaCadaSlot(F&& f) {
    for (size_t b = 0; b < blocos_.size(); ++b)
      if (blocos_[b])
        for (size_t i = 0, n = TamanhoBloco(b); i < n; ++i) f(blocos_[b][i]);
  }
  // Every slot emptied (the caller has freed their streams), the capacity back to 0.
  void Clear() {
    ParaCadaSlot([](TBufferRecord& r) { r = TBufferRecord{}; });
    capacidade_ = 0;
  }

 private:
  // Chunk 0 holds slots [0, kPrimeiro); chunk b (1 to kDobras) holds [kPrimeiro << (b - 1),
  // kPrimeiro << b); from there every chunk holds kMaior slots.
  static constexpr size_t kPrimeiro = 16;
  static constexpr size_t kDobras = 6;
  static constexpr size_t kMaior = kPrimeiro << kDobras;
  static size_t TamanhoBloco(size_t b) {
    if (b == 0) return kPrimeiro;
    return b <= kDobras ? kPrimeiro << (b - 1) : kMaior;
  }
  // The chunk of slot i and its place there.
  static std::pair<size_t, size_t> Localizar(size_t i) {
    if (i >= kMaior) return {kDobras + 1 + (i - kMaior) / kMaior, (i - kMaior) % kMaior};
    const size_t b = static_cast<size_t>(std::bit_width(i / kPrimeiro));
    return {b, b == 0 ? i : i - (kPrimeiro << (b - 1))};
  }

  std::vector<std::unique_ptr<TBufferRecord[]>> blocos_;
  int capacidade_ = 0;
};

class TZCustomDataSet : public db::TDataSet {
 public:
  RT_CLASS_NAME(TZCustomDataSet)
  explicit TZCustomDataSet(rt::TComponent* owner);
  ~TZCustomDataSet() override;

  bool GetFieldData(const db::TField* field, void* buffer) override;
  // Accepted in every state: in browse it goes straight into the stored record. Dropped when
  // there is no record (or the dataset is closed).
  void SetFieldData(const db::TField* field, const void* buffer) override;
  void DataConvert(const db::TField* field, const void* source, void* dest, bool toNative) override;
  // Null when the dataset is closed; otherwise a stream over the active record's blob (or over
  // nothing). The caller owns the answer.
  std::unique_ptr<rt::TStream> CreateBlobStream(const db::TField* field,
                                                db::TBlobStreamMode mode) override;
  bool GetCurrentRecord(db::TRecordBuffer buffer) override;
  // Text, whole-number, boolean and float fields: their values are stored as the fields answer
  // them. The other kinds convert on the way out, and answer false here.
  bool StoredFieldValue(const db::TField* field, db::TStoredValue& value) override;
  // Any bookmark holding at least one byte; it is not checked against the records.
  bool BookmarkValid(const db::TBookmark& bookmark) override;

  // --- Direct appends -------------------------------------------------------------------------
  // A loader that fills many records while nothing looks at the dataset builds each record here
  // and stores it where a posted insert goes, without the buffer window, the insert and post
  // events or a field-change event per value. TZARPDataSet says when that is allowed
  // (PodeAnexarDireto) and begins each record (NovoRegistroDireto).
  //
  // One value of the record being built: `valor` is of the field's stored kind, as the field
  // prepared it (db::TField::PrepareValue), or null; a text is kept to the field's Size, as
  // every write keeps it, and its bytes must stay where they are until the record is appended.
  void GravarDireto(const db::TField* field, const db::TStoredValue& valor);
  // Stores the record built as a post of an insert stores its record, and makes it current.
  void AnexarDireto();
  // After the appends: the window moves onto the current record, as after a post.
  void ConcluirDireto();

  // The state of the storage, for tests and diagnostics.
  int CapacidadeBuffer() const { return FBuffer.Capacity(); }
  int TamanhoBuffer() const { return FTamanhoBuffer; }
  int RegistroAtual() const { return FRegistroAtual; }
  int RegistrosInseridos() const { return FRegistrosInseridos; }
  int RegistrosDeletados() const { return FRegistrosDeletados; }
  // The 32-bit value a record buffer holds.
  static int32_t ValorBuffer(db::TRecordBuffer buffer);

 protected:
  // Storage primitives.
  virtual void InicializarRegistro(TBufferRecord& registro);
  virtual void LiberarBlobs(TBufferRecord& registro);
  virtual bool CarregarProximoRegistro(TBufferRecord& registro);
  virtual int GetCountCamposFisicos();
  virtual TBufferRecord* ObterRegistro(int32_t indice);
  virtual void CopiarRegistro(const TBufferRecord* origem, TBufferRecord& destino);
  // Gives the destination its own copy of every blob stream of the origin.
  void CopiarBlobs(const TBufferRecord& origem, TBufferRecord& destino);
  virtual void GravarEdicao();
  virtual void GravarInsercao();
  virtual void AtualizarRegistro(TBufferRecord& registro);
  // Appends the record, taking over its values and streams (the argument is left empty).
  virtual void AdicionarRegistro(TBufferRecord& registro);
  virtual void ExcluirRegistro();

  // Hooks of the dataset base.
  void ClearCalcFields(db::TRecordBuffer buffer) override;
  int GetRecordCount() override { return FTamanhoBuffer; }
  int GetRecNo() override;
  void InternalEdit() override;
  void InternalInsert() override;
  void InternalRefresh() override;
  void SetRecNoHook(int value) override;
  db::TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(db::TRecordBuffer& buffer) override;
  void GetBookmarkData(db::TRecordBuffer buffer, char* data) override;
  db::TBookmarkFlag GetBookmarkFlag(db::TRecordBuffer buffer) override;
  int GetRecordSize() override { return 4; }
  void InternalAddRecord(db::TRecordBuffer, bool) override {}
  void InternalDelete() override {}
  void InternalFirst() override { FRegistroAtual = -1; }
  void InternalGotoBookmark(const char* bookmark) override;
  void InternalInitRecord(db::TRecordBuffer buffer) override;
  void InternalLast() override;
  void InternalPost() override { db::TDataSet::InternalPost(); }
  void InternalSetToRecord(db::TRecordBuffer buffer) override;
  void SetBookmarkFlag(db::TRecordBuffer buffer, db::TBookmarkFlag flag) override;
  void SetBookmarkData(db::TRecordBuffer buffer, const char* data) override;
  db::TGetResult GetRecord(db::TRecordBuffer buffer, db::TGetMode mode, bool doCheck) override;
  void InternalClose() override;
  void InternalHandleException() override {}
  void InternalInitFieldDefs() override {}
  void InternalOpen() override;
  bool IsCursorOpen() override { return FAberto; }

  // The record that the active buffer names, or null.
  TBufferRecord* RegistroAtivo();
  // A new record to build by direct appends, every value null.
  void IniciarRegistroDireto();

  // The blocks of the stored records' values; declared before the records, so that it outlives
  // them.
  TArenaCampos FArena;
  TBufferDataSet FBuffer;
  int32_t FTamanhoBuffer = 0;
  TBufferRecord FBufferEdicao;
  int32_t FRegistroAtual = -1;
  bool FAberto = false;
  int32_t FAntigoBufferRegistro = 0;
  int32_t FRegistrosInseridos = 0;
  int32_t FRegistrosDeletados = 0;
  int32_t FCountCamposFisicos = 0;

 private:
  static void SetValorBuffer(db::TRecordBuffer buffer, int32_t value);
  // Stores a record built for a posted insert at the end, and makes it current.
  void ArmazenarInsercao(TBufferRecord& copia);
  TBufferRecord FRegistroBusca;  // scratch record of the fetch-on-demand path
  // The values of the record a direct append is building, by field; their texts are the
  // caller's until the record is appended.
  std::vector<db::TStoredValue> FValoresDiretos;
  bool FAnexandoDireto = false;  // an underlying source was asked for the run of appends
  // The slot of a calculated field; null for a physical one or an offset out of the record.
  static rt::Variant* SlotCalculado(TBufferRecord& registro, const db::TField* field);
};

}  // namespace zarp
