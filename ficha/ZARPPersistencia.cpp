// Saving, loading and clearing a sheet document's datasets, one stream section per dataset.
#include "ficha/ZARPPersistencia.h"

#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "ficha/ZARPStreamUtils.h"
#include "runtime/CodePage.h"
#include "runtime/Component.h"
#include "runtime/Numbers.h"
#include "ui/Application.h"

namespace zarp {

namespace {

using db::TDataSetState;

// Participating datasets: the owned components that are host-bound datasets, in component order.
// The list is read afresh at each step, so a handler that adds components does no harm.
template <class F>
void ParaCadaDataSet(rt::TComponent& dono, F&& f) {
  for (int i = 0; i < dono.ComponentCount(); ++i)
    if (auto* ds = dynamic_cast<TZARPDataSet*>(dono.Components(i))) f(*ds);
}

bool EditandoOuInserindo(const db::TDataSet& ds) {
  return ds.State() == TDataSetState::dsEdit || ds.State() == TDataSetState::dsInsert;
}

// --- Saving -------------------------------------------------------------------------------------

void EscreverSecao(TZARPDataSet& ds, IZARPStream* stream) {
  EscreverString(stream, rt::ToAnsi(ds.Name()));
  ds.Last();
  if (ds.RecordCount() == 0) {
    EscreverInt32(stream, 0);
    EscreverInt32(stream, 0);
    EscreverInt32(stream, -1);
    return;
  }
  std::vector<const db::TField*> campos;
  for (const db::TField* f : ds.Fields())
    if (f->FieldKind() == db::TFieldKind::fkData) campos.push_back(f);
  EscreverInt32(stream, static_cast<int32_t>(campos.size()));
  for (const db::TField* f : campos) {
    EscreverString(stream, rt::ToAnsi(f->FieldName()));
    EscreverUInt16(stream, TipoDaColuna(*f));
  }
  // The record count is known only at the end: a placeholder now, the count written over it.
  const int64_t contagem = stream->GetPosition();
  EscreverInt32(stream, 0);
  int32_t n = 0;
  const int32_t ultimo = ds.RecNo();
  ds.First();
  while (!ds.Eof()) {
    for (const db::TField* f : campos) EscreverValorCampo(stream, *f);
    ++n;
    ds.Next();
  }
  const int64_t fim = stream->GetPosition();
  stream->SetPosition(contagem);
  try {
    EscreverInt32(stream, n);
  } catch (...) {
    stream->SetPosition(fim);
    throw;
  }
  stream->SetPosition(fim);
  EscreverInt32(stream, ultimo);
}

void VoltarAoMarcador(TZARPDataSet& ds, db::TBookmark& marca) {
  if (!ds.BookmarkValid(marca)) return;
  ds.GotoBookmark(marca);
  ds.FreeBookmark(marca);
}

// --- Loading ------------------------------------------------------------------------------------

// Where in a section the stream failed, for the message: "column 2 of 4", "record 3 of 7"...
struct TLugar {
  enum class TParte { ContagemColunas, Coluna, ContagemRegistros, Registro, NumeroRegistro, Fim };
  TParte parte = TParte::ContagemColunas;
  int64_t indice = 0;
  int64_t total = 0;

  std::u16string Texto() const {
    switch (parte) {
      case TParte::ContagemColunas:
        return u"column count";
      case TParte::Coluna:
        return rt::Format(u"column %d of %d", {indice, total});
      case TParte::ContagemRegistros:
        return u"record count";
      case TParte::Registro:
        return rt::Format(u"record %d of %d", {indice, total});
      case TParte::NumeroRegistro:
        return u"record number";
      case TParte::Fim:
        break;  // said by Secao
    }
    return {};
  }
};

// A name as a message shows it: a hostile stream may carry a name of any length.
std::u16string NomeParaMensagem(std::u16string_view nome) {
  constexpr size_t kMax = 64;
  if (nome.size() <= kMax) return std::u16string(nome);
  return std::u16string(nome.substr(0, kMax)) + u"...";
}

[[noreturn]] void FalharEm(const EStreamFicha& e, const std::u16string& onde) {
  std::u16string mensagem;
  switch (e.Falha()) {
    case EStreamFicha::TFalha::Fim:
      mensagem = u"Sheet stream ends inside " + onde;
      break;
    case EStreamFicha::TFalha::Contagem:
      mensagem = u"Sheet stream ends inside " + onde + u": " + e.Detalhe();
      break;
    case EStreamFicha::TFalha::Invalido:
      mensagem = u"Sheet stream is damaged inside " + onde + u": " + e.Detalhe();
      break;
    case EStreamFicha::TFalha::Host:
      mensagem = u"Sheet stream cannot be trusted at " + onde + u": " + e.Detalhe();
      break;
  }
  throw EStreamFicha(e.Falha(), e.Detalhe(), std::move(mensagem));
}

std::u16string Secao(std::u16string_view nome, const TLugar& lugar) {
  std::u16string secao =
      nome.empty() ? u"an unnamed section" : u"section " + NomeParaMensagem(nome);
  if (lugar.parte == TLugar::TParte::Fim) return u"the end of " + secao;
  return secao + u" (" + lugar.Texto() + u")";
}

// The one failure handled inside a load: a field that refuses a value is reported, and the
// field keeps what the insert gave it. With `direto`, the record is being appended directly
// (TZCustomDataSet's direct appends) and the field only checks and cuts the value, as its
// assignment would, for the dataset to store; `rascunho` holds a text the field converted, until
// the record is appended.
void AtribuirValor(db::TField& field, const rt::Variant& valor, TZARPDataSet* direto,
                   std::string& rascunho) {
  if (field.FieldKind() != db::TFieldKind::fkData) return;
  // The inserted record holds no blob yet, which is null; clearing a blob field would give it
  // an empty value instead, and a null blob would not come back as saved.
  if (valor.IsNull() && field.IsBlob()) return;
  try {
    if (direto) {
      db::TStoredValue v;
      if (!valor.IsNull()) field.PrepareValue(valor, v, rascunho);
      direto->GravarDireto(&field, v);
    } else {
      field.SetAsVariant(valor);
    }
  } catch (const rt::Exception& e) {
    ui::ShowMessageBox(u"Carregando field " + field.FieldName() + u": " + e.Message(),
                       ui::Application().Title(), ui::TMsgDlgType::mtError);
  }
}

// Takes back what a failed section put into its target (the record being inserted and those it
// appended), so a failed load leaves exactly the sections before the failure. If taking back
// fails too, the section's own failure is still the one reported.
void Desfazer(TZARPDataSet* alvo, int registrosAntes) {
  if (!alvo || !alvo->Active()) return;
  try {
    alvo->Cancel();
    while (alvo->RecordCount() > registrosAntes) {
      alvo->Last();
      alvo->Delete();
    }
  } catch (...) {
  }
}

// The read-only flag back (which cancels a record left in insert state), then control updates,
// even when restoring the flag fails.
void Restaurar(TZARPDataSet& ds, bool somenteLeitura) {
  try {
    ds.SetSomenteLeitura(somenteLeitura);
  } catch (...) {
    ds.EnableControls();
    throw;
  }
  ds.EnableControls();
}

}  // namespace

// --- The steps ----------------------------------------------------------------------------------

int64_t BytesRestantes(IZARPStream* stream) {
  return stream->GetSize() - stream->GetPosition();
}

void SalvarDataSet(TZARPDataSet& dataSet, IZARPStream* stream) {
  if (!dataSet.Active()) return;
  if (EditandoOuInserindo(dataSet)) dataSet.Post();
  dataSet.DisableControls();
  try {
    db::TBookmark marca = dataSet.GetBookmark();
    try {
      EscreverSecao(dataSet, stream);
    } catch (...) {
      VoltarAoMarcador(dataSet, marca);
      throw;
    }
    VoltarAoMarcador(dataSet, marca);
  } catch (...) {
    dataSet.EnableControls();
    throw;
  }
  dataSet.EnableControls();
}

void CarregarDataSet(TZARPDataSet* alvo, TLeitorStream& leitor, std::u16string_view secao) {
  using TParte = TLugar::TParte;
  TLugar lugar;
  const int registrosAntes = alvo && alvo->Active() ? alvo->RecordCount() : 0;
  try {
    const int32_t f = leitor.LerInt32();
    // Each column is at least a name's count and a code; the record count and number follow.
    leitor.ExigirItens(f, 6, 8, u"columns");
    std::vector<TZFieldDef> colunas(static_cast<size_t>(f));
    lugar.parte = TParte::Coluna;
    lugar.total = f;
    for (TZFieldDef& c : colunas) {
      ++lugar.indice;
      c.Nome = LerString(leitor);
      c.Tipo = leitor.LerUInt16();
      if (alvo) c.Field = alvo->FindField(rt::FromAnsi(c.Nome));
    }

    lugar.parte = TParte::ContagemRegistros;
    const int32_t r = leitor.LerInt32();
    ExigirRegistros(leitor, r, f);

    if (alvo) alvo->First();
    // While nothing would hear an insert's events but the owner, the records go straight into
    // the storage.
    TZARPDataSet* direto = nullptr;
    if (alvo) {
      std::vector<db::TField*> campos;
      for (const TZFieldDef& c : colunas)
        if (c.Field && c.Field->FieldKind() == db::TFieldKind::fkData) campos.push_back(c.Field);
      if (alvo->PodeAnexarDireto(campos)) direto = alvo;
    }
    lugar.parte = TParte::Registro;
    lugar.total = r;
    // One value per column, so that each keeps its kind from record to record and a text is
    // read into the storage of the one before.
    std::vector<rt::Variant> valores(colunas.size());
    // A text that a field converts, per column: a direct append stores it at the record's end.
    std::vector<std::string> rascunhos(colunas.size());
    for (lugar.indice = 1; lugar.indice <= r; ++lugar.indice) {
      if (direto)
        direto->NovoRegistroDireto();
      else if (alvo)
        alvo->Insert();
      for (size_t i = 0; i < colunas.size(); ++i) {
        const TZFieldDef& c = colunas[i];
        LerValorCampo(leitor, c.Tipo, valores[i]);
        if (c.Field) AtribuirValor(*c.Field, valores[i], direto, rascunhos[i]);
      }
      if (direto)
        direto->AnexarDireto();
      else if (alvo)
        alvo->Post();
    }
    if (direto && r > 0) direto->ConcluirDireto();

    lugar.parte = TParte::NumeroRegistro;
    const int32_t recNo = leitor.LerInt32();
    // The host is asked once per section, here; a host that did not deliver what it reported
    // fails while this section can still be taken back.
    lugar.parte = TParte::Fim;
    leitor.Sincronizar(BytesRestantes(leitor.Stream()));
    if (alvo) {
      // A number past the last record would leave the cursor on no record at all.
      const int ultimo = alvo->RecordCount() - 1;
      alvo->SetRecNo(recNo > ultimo ? ultimo : recNo);
    }
  } catch (const EStreamFicha& e) {
    Desfazer(alvo, registrosAntes);
    FalharEm(e, Secao(secao, lugar));
  } catch (...) {
    Desfazer(alvo, registrosAntes);
    throw;
  }
}

void EsvaziarDataSet(TZARPDataSet& dataSet) {
  if (!dataSet.Active()) return;
  if (EditandoOuInserindo(dataSet)) dataSet.Cancel();
  dataSet.DisableControls();
  try {
    const bool somenteLeitura = dataSet.SomenteLeitura();
    dataSet.SetSomenteLeitura(false);
    try {
      dataSet.LimparDataSet();
    } catch (...) {
      dataSet.SetSomenteLeitura(somenteLeitura);
      throw;
    }
    dataSet.SetSomenteLeitura(somenteLeitura);
  } catch (...) {
    dataSet.EnableControls();
    throw;
  }
  dataSet.EnableControls();
}

// --- The document's operations ------------------------------------------------------------------

void SalvarDataSets(rt::TComponent& dono, IZARPStream* stream) {
  ParaCadaDataSet(dono, [&](TZARPDataSet& ds) { SalvarDataSet(ds, stream); });
}

void EsvaziarDataSets(rt::TComponent& dono) {
  ParaCadaDataSet(dono, [](TZARPDataSet& ds) { EsvaziarDataSet(ds); });
}

void CarregarDataSets(rt::TComponent& dono, IZARPStream* stream) {
  stream->SetPosition(0);
  TLeitorStream leitor(stream);
  leitor.Sincronizar(BytesRestantes(stream));
  // Each section ends by asking the host again (CarregarDataSet); in between, the reader counts.
  while (leitor.Restantes() > 0) {
    std::string nome;
    try {
      nome = LerString(leitor);
    } catch (const EStreamFicha& e) {
      FalharEm(e, u"a section name");
    }
    const std::u16string secao = rt::FromAnsi(nome);
    TZARPDataSet* alvo =
        secao.empty() ? nullptr : dynamic_cast<TZARPDataSet*>(dono.FindComponent(secao));
    if (!alvo) {
      CarregarDataSet(nullptr, leitor, secao);
      continue;
    }

    alvo->DisableControls();
    const bool somenteLeitura = alvo->SomenteLeitura();
    try {
      alvo->SetSomenteLeitura(false);
      CarregarDataSet(alvo, leitor, secao);
    } catch (...) {
      Restaurar(*alvo, somenteLeitura);
      throw;
    }
    Restaurar(*alvo, somenteLeitura);
  }
}

}  // namespace zarp
