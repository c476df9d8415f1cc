// The record-buffer dataset's storage and cursor.
#include "dataset/ZARPBaseDataSet.h"

#include <cstring>
#include <limits>

namespace zarp {

using db::TFieldType;

uint16_t TipoVariantDoCampo(TFieldType kind) {
  switch (kind) {
    case TFieldType::ftString:
    case TFieldType::ftBlob:
      return rt::varString;
    case TFieldType::ftSmallint:
      return rt::varSmallint;
    case TFieldType::ftInteger:
      return rt::varInteger;
    case TFieldType::ftWord:
      return rt::varWord;
    case TFieldType::ftBoolean:
      return rt::varBoolean;
    case TFieldType::ftFloat:
      return rt::varDouble;
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
      return rt::varCurrency;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
      return rt::varDate;
    case TFieldType::ftMemo:
      return rt::varArray;
    case TFieldType::ftWideString:
      return rt::varUString;
    case TFieldType::ftLargeint:
      return rt::varInt64;
    default:
      return rt::varUnknown;
  }
}

namespace {
constexpr int32_t kBufferNenhum = -2;        // a fresh or reset buffer
constexpr int32_t kBufferInserido = -3;      // the record being inserted
constexpr int32_t kBufferEditado = -4;       // the record being edited
constexpr int32_t kBuscarTudo = 2147483646;  // "fetch every record"

// A text as a record keeps it: never more than the field's Size, so that a read never has to
// cut.
std::string_view TextoGuardado(const db::TField* field, std::string_view texto) {
  return texto.substr(0, std::min(texto.size(), static_cast<size_t>(field->Size())));
}
}  // namespace

int32_t TZCustomDataSet::ValorBuffer(db::TRecordBuffer buffer) {
  int32_t v;
  std::memcpy(&v, buffer, 4);
  return v;
}

void TZCustomDataSet::SetValorBuffer(db::TRecordBuffer buffer, int32_t value) {
  std::memcpy(buffer, &value, 4);
}

TZCustomDataSet::TZCustomDataSet(rt::TComponent* owner) : db::TDataSet(owner) {
  FRegistroAtual = -1;
  SetBookmarkSize(4);
}

TZCustomDataSet::~TZCustomDataSet() {
  CloseForDestruction();
}

// --- Storage primitives -------------------------------------------------------------------------

void TZCustomDataSet::InicializarRegistro(TBufferRecord& registro) {
  registro.Campos.Inicializar(GetCountCamposFisicos());
  registro.Calculados.assign(static_cast<size_t>(CalcFieldsSize()), rt::Variant::Null());
  registro.Blobs.clear();
  registro.Blobs.resize(static_cast<size_t>(BlobFieldCount()));
}

void TZCustomDataSet::LiberarBlobs(TBufferRecord& registro) {
  for (auto& s : registro.Blobs) s.reset();
}

bool TZCustomDataSet::CarregarProximoRegistro(TBufferRecord&) {
  return false;
}

int TZCustomDataSet::GetCountCamposFisicos() {
  return 0;
}

TBufferRecord* TZCustomDataSet::ObterRegistro(int32_t indice) {
  if (indice >= 0 && indice < FTamanhoBuffer) return &FBuffer[indice];
  if (indice >= FTamanhoBuffer) {
    // Fetch on demand, in order, up to the requested index.
    // The scratch record is kept between calls: asking a source that has nothing more (the
    // common case: every post fetches everything first) then allocates nothing.
    for (int64_t n = int64_t{indice} - FTamanhoBuffer + 1; n > 0; --n) {
      InicializarRegistro(FRegistroBusca);
      FRegistroBusca.RecNo = FTamanhoBuffer;
      if (!CarregarProximoRegistro(FRegistroBusca)) {
        LiberarBlobs(FRegistroBusca);
        return nullptr;
      }
      AdicionarRegistro(FRegistroBusca);
    }
    return &FBuffer[indice];
  }
  if (indice == kBufferEditado) {
    // The old value of a field during an edit is the stored one.
    if (State() == db::TDataSetState::dsOldValue)
      return FAntigoBufferRegistro >= 0 ? ObterRegistro(FAntigoBufferRegistro) : nullptr;
    return &FBufferEdicao;
  }
  if (indice == kBufferInserido) return &FBufferEdicao;
  return nullptr;
}

void TZCustomDataSet::CopiarRegistro(const TBufferRecord* origem, TBufferRecord& destino) {
  if (!origem) {
    InicializarRegistro(destino);
    return;
  }
  if (origem == &destino) return;
  destino.RecNo = origem->RecNo;
  destino.Campos = origem->Campos;
  destino.Calculados = origem->Calculados;
  CopiarBlobs(*origem, destino);
}

void TZCustomDataSet::CopiarBlobs(const TBufferRecord& origem, TBufferRecord& destino) {
  destino.Blobs.resize(origem.Blobs.size());
  for (size_t i = 0; i < origem.Blobs.size(); ++i) {
    TZMemoryStream* src = origem.Blobs[i].get();
    auto& dst = destino.Blobs[i];
    if (!src) {
      dst.reset();
      continue;
    }
    if (!dst) dst = std::make_unique<TZMemoryStream>();
    // The two records never share a stream: the content is copied.
    src->SetPosition(0);
    dst->Clear();
    dst->CopyFrom(*src, 0);
  }
}

void TZCustomDataSet::GravarEdicao() {
  TBufferRecord* destino = ObterRegistro(FAntigoBufferRegistro);
  if (destino) CopiarRegistro(RegistroAtivo(), *destino);
}

void TZCustomDataSet::GravarInsercao() {
  TBufferRecord* origem = RegistroAtivo();
  ObterRegistro(kBuscarTudo);
  TBufferRecord copia;
  // While controls are disabled nothing reads the working copy between this post and the resync
  // that moves the window onto the stored record, and the next insert initialises it afresh: its
  // calculated values can move instead of being copied. The physical values are copied into a
  // block of their own size, and the working copy keeps its block for the next insert. Blob
  // streams are always copied, so that a blob stream left open on the working copy never reaches
  // the stored record.
  const bool mover = origem == &FBufferEdicao && ControlsDisabled();
  if (mover) {
    CopiarBlobs(FBufferEdicao, copia);
    copia.Campos = FBufferEdicao.Campos.Compacto(FArena);
    copia.Calculados = std::move(FBufferEdicao.Calculados);
  } else {
    CopiarRegistro(origem, copia);
    copia.Campos = copia.Campos.Compacto(FArena);
  }
  try {
    ArmazenarInsercao(copia);
  } catch (...) {
    // A refused post keeps the working copy as it was.
    if (mover) FBufferEdicao.Calculados = std::move(copia.Calculados);
    throw;
  }
}

void TZCustomDataSet::ArmazenarInsercao(TBufferRecord& copia) {
  copia.RecNo = FTamanhoBuffer;
  const int32_t recNo = copia.RecNo;
  AdicionarRegistro(copia);
  FRegistroAtual = recNo;
  ++FRegistrosInseridos;
}

// --- Direct appends -----------------------------------------------------------------------------

void TZCustomDataSet::IniciarRegistroDireto() {
  FValoresDiretos.assign(static_cast<size_t>(std::max(GetCountCamposFisicos(), 0)),
                         db::TStoredValue{});
}

void TZCustomDataSet::GravarDireto(const db::TField* field, const db::TStoredValue& valor) {
  const int campo = field->FieldNo() - 1;
  if (campo < 0 || static_cast<size_t>(campo) >= FValoresDiretos.size()) return;
  db::TStoredValue& v = FValoresDiretos[static_cast<size_t>(campo)];
  v = valor;
  if (valor.type == rt::varString && field->DataType() == TFieldType::ftString)
    v.text = TextoGuardado(field, valor.text);
}

void TZCustomDataSet::AnexarDireto() {
  // As a post: whatever an underlying source still has comes first, asked once per run of
  // appends (ConcluirDireto ends it).
  if (!FAnexandoDireto) {
    ObterRegistro(kBuscarTudo);
    FAnexandoDireto = true;
  }
  TBufferRecord copia;
  copia.Campos =
      TCampos::Montar(FArena, FValoresDiretos.data(), static_cast<int>(FValoresDiretos.size()));
  copia.Calculados.assign(static_cast<size_t>(CalcFieldsSize()), rt::Variant::Null());
  copia.Blobs.resize(static_cast<size_t>(BlobFieldCount()));
  ArmazenarInsercao(copia);
}

void TZCustomDataSet::ConcluirDireto() {
  FAnexandoDireto = false;
  Resync(db::rmNone);
}

void TZCustomDataSet::AtualizarRegistro(TBufferRecord&) {}

void TZCustomDataSet::AdicionarRegistro(TBufferRecord& registro) {
  if (FBuffer.Capacity() < FTamanhoBuffer + 1) FBuffer.Grow();
  // A spare slot is always empty (a removal empties the slot it vacates), so trading places
  // leaves the argument empty.
  TBufferRecord& slot = FBuffer[FTamanhoBuffer];
  slot.RecNo = registro.RecNo;
  slot.Campos.Trocar(registro.Campos);
  slot.Calculados.swap(registro.Calculados);
  slot.Blobs.swap(registro.Blobs);
  ++FTamanhoBuffer;
}

void TZCustomDataSet::ExcluirRegistro() {
  int32_t i = ValorBuffer(ActiveBuffer());
  if (i >= 0 && i < FTamanhoBuffer) {
    LiberarBlobs(FBuffer[i]);
    for (int32_t j = i; j < FTamanhoBuffer - 1; ++j) {
      FBuffer[j] = std::move(FBuffer[j + 1]);
      FBuffer[j].RecNo -= 1;
    }
    FBuffer[FTamanhoBuffer - 1] = TBufferRecord{};
    --FTamanhoBuffer;
    if (FRegistroAtual > FTamanhoBuffer - 1) FRegistroAtual = FTamanhoBuffer - 1;
  }
  ++FRegistrosDeletados;
}

TBufferRecord* TZCustomDataSet::RegistroAtivo() {
  // An empty window shows no record, whatever its buffer still says.
  if (!Active() || WindowRecordCount() == 0) return nullptr;
  return ObterRegistro(ValorBuffer(ActiveBuffer()));
}

// --- Field values -------------------------------------------------------------------------------

rt::Variant* TZCustomDataSet::SlotCalculado(TBufferRecord& registro, const db::TField* field) {
  if (field->FieldNo() > 0) return nullptr;
  auto i = static_cast<size_t>(field->Offset());
  return field->Offset() >= 0 && i < registro.Calculados.size() ? &registro.Calculados[i] : nullptr;
}

namespace {

// Text into a native buffer of `size` bytes: the bytes, then zeros; never past the buffer.
void CopyText(const char* text, size_t length, void* buffer, size_t size) {
  size_t n = length < size ? length : (size ? size - 1 : 0);
  std::memcpy(buffer, text, n);
  std::memset(static_cast<char*>(buffer) + n, 0, size - n);
}

template <class T>
void Put(void* buffer, T value) {
  std::memcpy(buffer, &value, sizeof value);
}

template <class T>
T Get(const void* buffer) {
  T value;
  std::memcpy(&value, buffer, sizeof value);
  return value;
}

}  // namespace

bool TZCustomDataSet::GetFieldData(const db::TField* field, void* buffer) {
  TBufferRecord* r = RegistroAtivo();
  if (!r) return false;
  if (field->IsBlob()) {
    auto i = static_cast<size_t>(field->Offset());
    return field->Offset() >= 0 && i < r->Blobs.size() && r->Blobs[i] != nullptr;
  }
  uint16_t code = TipoVariantDoCampo(field->DataType());
  rt::Variant stored;
  const rt::Variant* value = nullptr;
  if (field->FieldNo() > 0) {
    db::TStoredValue v;
    if (!r->Campos.Ler(field->FieldNo() - 1, v) || v.type == rt::varNull || v.type == rt::varEmpty)
      return false;
    // A text of the field's own kind is copied from its stored bytes.
    if (v.type == code && field->DataType() == TFieldType::ftString) {
      if (buffer)
        CopyText(v.text.data(), v.text.size(), buffer, static_cast<size_t>(field->DataSize()));
      return true;
    }
    stored = r->Campos.Valor(field->FieldNo() - 1);
    value = &stored;
  } else {
    value = SlotCalculado(*r, field);
    if (!value || value->IsNull()) return false;
  }
  rt::Variant converted;
  if (value->Type() != code) {
    converted = value->ChangeType(code);
    value = &converted;
  }
  if (!buffer) return true;
  auto size = static_cast<size_t>(field->DataSize());
  switch (field->DataType()) {
    case TFieldType::ftString: {
      const std::string& s = value->RawString();
      CopyText(s.data(), s.size(), buffer, size);
      return true;
    }
    case TFieldType::ftWideString: {
      const std::u16string& s = value->RawUString();
      size_t units = size / 2;
      size_t n = s.size() < units ? s.size() : (units ? units - 1 : 0);
      std::memcpy(buffer, s.data(), n * 2);
      std::memset(static_cast<char*>(buffer) + n * 2, 0, size - n * 2);
      return true;
    }
    case TFieldType::ftSmallint:
      Put(buffer, static_cast<int16_t>(value->RawInt()));
      return true;
    case TFieldType::ftInteger:
      Put(buffer, static_cast<int32_t>(value->RawInt()));
      return true;
    case TFieldType::ftWord:
      Put(buffer, static_cast<uint16_t>(value->RawInt()));
      return true;
    case TFieldType::ftBoolean:
      Put(buffer, static_cast<uint16_t>(value->RawInt() ? 0xFFFF : 0));
      return true;
    case TFieldType::ftFloat:
    case TFieldType::ftDateTime:
      Put(buffer, value->RawDouble());
      return true;
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
    case TFieldType::ftLargeint:
      Put(buffer, value->RawInt());
      return true;
    default:
      return false;
  }
}

bool TZCustomDataSet::StoredFieldValue(const db::TField* field, db::TStoredValue& value) {
  if (field->FieldKind() != db::TFieldKind::fkData || field->FieldNo() <= 0) return false;
  switch (field->DataType()) {
    case TFieldType::ftString:
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftBoolean:
    case TFieldType::ftFloat:
    case TFieldType::ftLargeint:
      break;
    default:
      return false;
  }
  value = db::TStoredValue{};
  TBufferRecord* r = RegistroAtivo();
  if (!r || !r->Campos.Ler(field->FieldNo() - 1, value) || value.type == rt::varEmpty) {
    value.type = rt::varNull;
    return true;
  }
  // Every write stores the field's own kind; anything else is left to the field to convert.
  return value.type == rt::varNull || value.type == TipoVariantDoCampo(field->DataType());
}

namespace {

// A native buffer as the value the dataset stores for the field's type (not texts).
rt::Variant ValorNativo(const db::TField* field, const void* buffer) {
  switch (field->DataType()) {
    case TFieldType::ftWideString: {
      const char16_t* p = static_cast<const char16_t*>(buffer);
      size_t n = 0;
      while (n < static_cast<size_t>(field->Size()) && p[n] != u'\0') ++n;
      return rt::Variant(std::u16string(p, n));
    }
    case TFieldType::ftSmallint:
      return rt::Variant::OfInteger(rt::varSmallint, Get<int16_t>(buffer));
    case TFieldType::ftInteger:
      return rt::Variant(Get<int32_t>(buffer));
    case TFieldType::ftWord:
      return rt::Variant::OfInteger(rt::varWord, Get<uint16_t>(buffer));
    case TFieldType::ftBoolean:
      return rt::Variant(Get<uint16_t>(buffer) != 0);
    case TFieldType::ftFloat:
      return rt::Variant(Get<double>(buffer));
    // A currency field hands over a double; its 64 bits are kept unchanged as the currency.
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
      return rt::Variant::Currency(Get<int64_t>(buffer));
    case TFieldType::ftDateTime:
      return rt::Variant::Date(Get<double>(buffer));
    case TFieldType::ftLargeint:
      return rt::Variant(Get<int64_t>(buffer));
    default:
      return rt::Variant::Null();
  }
}

}  // namespace

void TZCustomDataSet::SetFieldData(const db::TField* field, const void* buffer) {
  TBufferRecord* r = RegistroAtivo();
  if (!r) return;
  const int campo = field->FieldNo() - 1;
  rt::Variant* slot = nullptr;
  if (campo >= 0) {
    if (campo >= r->Campos.Count()) return;
  } else if (!(slot = SlotCalculado(*r, field))) {
    return;
  }
  if (buffer && field->DataType() == TFieldType::ftString) {
    // The buffer's text ends at its first zero byte.
    const char* p = static_cast<const char*>(buffer);
    const std::string_view texto =
        TextoGuardado(field, std::string_view(p, strnlen(p, static_cast<size_t>(field->Size()))));
    if (slot)
      slot->AssignString(texto.data(), texto.size());
    else
      r->Campos.GravarTexto(campo, texto.data(), texto.size());
  } else {
    rt::Variant valor = buffer ? ValorNativo(field, buffer) : rt::Variant::Null();
    if (slot)
      *slot = std::move(valor);
    else
      r->Campos.Gravar(campo, valor);
  }
  auto s = State();
  if (s != db::TDataSetState::dsCalcFields && s != db::TDataSetState::dsFilter &&
      s != db::TDataSetState::dsNewValue)
    DataEvent(db::TDataEvent::deFieldChange, reinterpret_cast<intptr_t>(field));
}

void TZCustomDataSet::DataConvert(const db::TField* field, const void* source, void* dest,
                                  bool toNative) {
  // Fixed-point and date-time values are stored in the form the fields use.
  if (field->DataType() == TFieldType::ftBCD || field->DataType() == TFieldType::ftDateTime)
    std::memcpy(dest, source, 8);
  else
    db::TDataSet::DataConvert(field, source, dest, toNative);
}

std::unique_ptr<rt::TStream> TZCustomDataSet::CreateBlobStream(const db::TField* field,
                                                               db::TBlobStreamMode mode) {
  if (!Active() || ActiveRecord() < 0) return nullptr;
  TZMemoryStream* memory = nullptr;
  TBufferRecord* r = RegistroAtivo();
  auto i = static_cast<size_t>(field->Offset());
  if (r && field->IsBlob() && field->Offset() >= 0 && i < r->Blobs.size()) {
    auto& slot = r->Blobs[i];
    if (mode != db::TBlobStreamMode::bmRead && !slot)
      slot = std::make_unique<TZMemoryStream>();
    else if (mode == db::TBlobStreamMode::bmWrite && slot)
      slot->Clear();
    memory = slot.get();
  }
  return std::make_unique<TZBlobStream>(memory, this);
}

void TZCustomDataSet::ClearCalcFields(db::TRecordBuffer buffer) {
  db::TDataSet::ClearCalcFields(buffer);
  if (TBufferRecord* r = ObterRegistro(ValorBuffer(buffer)))
    for (auto& v : r->Calculados) v = rt::Variant::Null();
}

// --- Cursor and buffers -------------------------------------------------------------------------

int TZCustomDataSet::GetRecNo() {
  TBufferRecord* r = RegistroAtivo();
  return r ? r->RecNo : 0;
}

void TZCustomDataSet::SetRecNoHook(int value) {
  CheckActive();
  FRegistroAtual = value;
  Resync(db::rmNone);
}

bool TZCustomDataSet::GetCurrentRecord(db::TRecordBuffer buffer) {
  if (IsEmpty()) return false;
  UpdateCursorPos();
  std::memcpy(buffer, ActiveBuffer(), 4);
  return true;
}

bool TZCustomDataSet::BookmarkValid(const db::TBookmark& bookmark) {
  return bookmark.Size() >= 1;
}

void TZCustomDataSet::InternalEdit() {
  if (WindowRecordCount() == 0) return;
  db::TRecordBuffer b = ActiveBuffer();
  FAntigoBufferRegistro = ValorBuffer(b);
  SetValorBuffer(b, kBufferEditado);
  CopiarRegistro(ObterRegistro(FAntigoBufferRegistro), FBufferEdicao);
}

void TZCustomDataSet::InternalInsert() {
  db::TRecordBuffer b = ActiveBuffer();
  FAntigoBufferRegistro = ValorBuffer(b);
  SetValorBuffer(b, kBufferInserido);
  InicializarRegistro(FBufferEdicao);
  CursorPosChanged();
}

void TZCustomDataSet::InternalRefresh() {
  if (TBufferRecord* r = RegistroAtivo()) AtualizarRegistro(*r);
  GetCalcFields(ActiveBuffer());
}

db::TRecordBuffer TZCustomDataSet::AllocRecordBuffer() {
  auto* b = new char[4];
  SetValorBuffer(b, kBufferNenhum);
  return b;
}

void TZCustomDataSet::FreeRecordBuffer(db::TRecordBuffer& buffer) {
  delete[] buffer;
  buffer = nullptr;
}

void TZCustomDataSet::GetBookmarkData(db::TRecordBuffer buffer, char* data) {
  std::memcpy(data, buffer, 4);
}

void TZCustomDataSet::SetBookmarkData(db::TRecordBuffer buffer, const char* data) {
  SetValorBuffer(buffer, data ? Get<int32_t>(data) : kBufferNenhum);
}

db::TBookmarkFlag TZCustomDataSet::GetBookmarkFlag(db::TRecordBuffer buffer) {
  int32_t v = ValorBuffer(buffer);
  if (v == kBufferInserido) return db::TBookmarkFlag::bfInserted;
  if (v == kBufferNenhum || v == -1) return db::TBookmarkFlag::bfBOF;
  if (v == FTamanhoBuffer) return db::TBookmarkFlag::bfEOF;
  return db::TBookmarkFlag::bfCurrent;
}

void TZCustomDataSet::SetBookmarkFlag(db::TRecordBuffer buffer, db::TBookmarkFlag flag) {
  switch (flag) {
    case db::TBookmarkFlag::bfCurrent:
      SetValorBuffer(buffer, FRegistroAtual);
      break;
    case db::TBookmarkFlag::bfBOF:
      SetValorBuffer(buffer, -1);
      break;
    case db::TBookmarkFlag::bfEOF:
      ObterRegistro(kBuscarTudo);
      SetValorBuffer(buffer, FTamanhoBuffer);
      break;
    case db::TBookmarkFlag::bfInserted:
      SetValorBuffer(buffer, kBufferInserido);
      break;
  }
}

void TZCustomDataSet::InternalGotoBookmark(const char* bookmark) {
  FRegistroAtual = Get<int32_t>(bookmark);
}

void TZCustomDataSet::InternalInitRecord(db::TRecordBuffer buffer) {
  SetValorBuffer(buffer, kBufferNenhum);
}

void TZCustomDataSet::InternalLast() {
  ObterRegistro(kBuscarTudo);
  FRegistroAtual = FTamanhoBuffer;
}

void TZCustomDataSet::InternalSetToRecord(db::TRecordBuffer buffer) {
  FRegistroAtual = ValorBuffer(buffer);
}

db::TGetResult TZCustomDataSet::GetRecord(db::TRecordBuffer buffer, db::TGetMode mode, bool) {
  // Moving from the record being inserted continues from where the insert began. Asking for it
  // as the current record (a cancelled insert resyncing) answers that record too, or the last
  // one after an append, so a cancel leaves the cursor where the user was.
  if (FRegistroAtual == kBufferInserido) {
    FRegistroAtual = FAntigoBufferRegistro;
    if (mode == db::TGetMode::gmCurrent && FRegistroAtual >= FTamanhoBuffer)
      FRegistroAtual = FTamanhoBuffer - 1;
  }
  if (mode == db::TGetMode::gmNext) {
    if (FRegistroAtual < std::numeric_limits<int32_t>::max()) ++FRegistroAtual;
  } else if (mode == db::TGetMode::gmPrior) {
    if (FRegistroAtual > std::numeric_limits<int32_t>::min()) --FRegistroAtual;
  }
  if (FRegistroAtual < -1) FRegistroAtual = -1;
  if (!ObterRegistro(FRegistroAtual))
    return mode == db::TGetMode::gmPrior ? db::TGetResult::grBOF : db::TGetResult::grEOF;
  SetValorBuffer(buffer, FRegistroAtual);
  return db::TGetResult::grOK;
}

void TZCustomDataSet::InternalOpen() {
  FAnexandoDireto = false;
  FRegistrosInseridos = 0;
  FRegistrosDeletados = 0;
  FTamanhoBuffer = 0;
}

void TZCustomDataSet::InternalClose() {
  LiberarBlobs(FBufferEdicao);
  FBuffer.ParaCadaSlot([this](TBufferRecord& r) { LiberarBlobs(r); });
  FBuffer.Clear();
  FBufferEdicao = TBufferRecord{};
  FRegistroBusca = TBufferRecord{};
  // Only once no record refers to them.
  FArena.Esvaziar();
  FTamanhoBuffer = 0;
  FRegistrosInseridos = 0;
  FRegistrosDeletados = 0;
  FRegistroAtual = -1;
}

}  // namespace zarp
