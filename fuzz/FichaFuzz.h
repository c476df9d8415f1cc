// The sheet that the fuzz target loads into, and the property the target holds, shared with the
// native test that writes the target's seeds and replays them and every past finding: host-bound
// datasets covering every field kind that the sheet stream encodes, a calculated field, a bounded
// integer, a dataset without fields, a read-only one, and one of texts and whole numbers only
// (as the sheet's own tables are), which a load fills by direct appends.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dataset/ZARPDataSet.h"
#include "db/DataSet.h"
#include "db/Field.h"
#include "ficha/ZARPPersistencia.h"
#include "ficha/ZARPStreamUtils.h"
#include "host/Streams.h"

namespace zarp::fuzz {

class FichaFuzz : public rt::TComponent {
 public:
  FichaFuzz() : rt::TComponent(nullptr) {
    tipos = DataSet(u"TIPOS");
    texto = db::DeclareField<db::TStringField>(this, tipos, u"texto", 20);
    inteiro = db::DeclareField<db::TIntegerField>(this, tipos, u"inteiro");
    pequeno = db::DeclareField<db::TSmallintField>(this, tipos, u"pequeno");
    logico = db::DeclareField<db::TBooleanField>(this, tipos, u"logico");
    real = db::DeclareField<db::TFloatField>(this, tipos, u"real");
    // Fixed point: the money kind whose every value the stream's currency code can carry.
    dinheiro = db::DeclareField<db::TBCDField>(this, tipos, u"dinheiro");
    data = db::DeclareField<db::TDateTimeField>(this, tipos, u"data");
    grande = db::DeclareField<db::TLargeintField>(this, tipos, u"grande");
    blob = db::DeclareField<db::TBlobField>(this, tipos, u"blob");
    memo = db::DeclareField<db::TMemoField>(this, tipos, u"memo");

    lista = DataSet(u"LISTA");
    nome = db::DeclareField<db::TStringField>(this, lista, u"nome", 8);
    qtd = db::DeclareField<db::TIntegerField>(this, lista, u"qtd");
    qtd->SetMinValue(-999);
    qtd->SetMaxValue(999);
    dobro = db::DeclareField<db::TIntegerField>(this, lista, u"dobro");
    dobro->SetCalculated(true);
    lista->OnCalcFields = [this](db::TDataSet*) {
      if (!qtd->IsNull()) dobro->SetAsInteger(2 * qtd->AsInteger());
    };

    vazio = DataSet(u"VAZIO");
    vazio->SetSomenteLeitura(true);

    direta = DataSet(u"DIRETA");
    rotulo = db::DeclareField<db::TStringField>(this, direta, u"rotulo", 12);
    pontos = db::DeclareField<db::TIntegerField>(this, direta, u"pontos");
    pontos->SetMinValue(-999);
    pontos->SetMaxValue(999);
    curto = db::DeclareField<db::TSmallintField>(this, direta, u"curto");

    for (TZARPDataSet* ds : Todos()) ds->Open();
  }

  // A few sheets worth starting from: 0 leaves it empty, 1 and 2 fill it differently.
  void Preencher(int variante) {
    if (variante == 0) return;
    tipos->Append();
    texto->SetAsString(variante == 1 ? "Espada" : "");
    inteiro->SetAsInteger(variante == 1 ? 7 : -1);
    pequeno->SetAsInteger(variante == 1 ? -2 : 32767);
    logico->SetAsBoolean(variante == 1);
    real->SetAsFloat(variante == 1 ? 0.5 : -1e300);
    dinheiro->SetAsCurrency(variante == 1 ? 15000 : INT64_MIN);
    data->SetAsDateTime(variante == 1 ? 36526.25 : -693593.0);
    grande->SetAsLargeInt(variante == 1 ? INT64_MAX : 0);
    blob->SetAsString(variante == 1 ? std::string("\x00\x01", 2) : "");
    if (variante == 1) memo->SetAsString("nota");
    tipos->Post();
    for (int i = 0; i < variante + 1; ++i) {
      lista->Append();
      nome->SetAsString("item" + std::to_string(i));
      if (i != 1) qtd->SetAsInteger(i * 10);
      lista->Post();
    }
    for (int i = 0; i < variante * 2; ++i) {
      direta->Append();
      rotulo->SetAsString(i == 1 ? "" : "golpe" + std::to_string(i));
      if (i != 2) pontos->SetAsInteger(variante == 1 ? i : -999 + i);
      curto->SetAsInteger(variante == 1 ? 1 : -32768);
      direta->Post();
    }
  }

  std::array<TZARPDataSet*, 4> Todos() const { return {tipos, lista, vazio, direta}; }

  TZARPDataSet *tipos, *lista, *vazio, *direta;
  db::TStringField *texto, *nome, *rotulo;
  db::TIntegerField *inteiro, *qtd, *dobro, *pontos;
  db::TSmallintField *pequeno, *curto;
  db::TBooleanField* logico;
  db::TFloatField* real;
  db::TBCDField* dinheiro;
  db::TDateTimeField* data;
  db::TLargeintField* grande;
  db::TBlobField* blob;
  db::TMemoField* memo;

 private:
  TZARPDataSet* DataSet(const std::u16string& nome) {
    auto* ds = new TZARPDataSet(this);
    ds->SetName(nome);
    return ds;
  }
};

// The state a load must leave, whether it succeeded or stopped at a damaged section: every dataset
// browsing with its controls live, and the read-only flags as they were. Empty when it holds.
inline std::string ConferirEstado(FichaFuzz& ficha) {
  for (TZARPDataSet* ds : ficha.Todos()) {
    if (ds->State() != db::TDataSetState::dsBrowse) return "a dataset was left editing";
    if (ds->ControlsDisabled()) return "a dataset's controls were left suspended";
  }
  if (!ficha.vazio->SomenteLeitura() || ficha.tipos->SomenteLeitura())
    return "a read-only flag changed";
  return {};
}

inline std::vector<uint8_t> SalvarFicha(FichaFuzz& ficha) {
  auto s = rt::MakeCounted<host::TMemoryStream>();
  SalvarDataSets(ficha, s.Get());
  return s->Bytes();
}

// The property of arbitrary bytes: whatever loads into a fresh sheet, fully or up to a damaged
// section, saves; that save loads into another fresh sheet without error and saves again to the
// same bytes; and each load leaves the state above. Both sheets are new, so nothing from an
// earlier stream can reach this one (and a fresh sheet is already empty: the clearing a document
// does before it loads has nothing to clear). Empty when the property holds, else what broke;
// exceptions other than the stream's own clear error escape.
inline std::string Conferir(std::span<const uint8_t> bytes) {
  FichaFuzz ficha;
  {
    auto s = rt::MakeCounted<host::TMemoryStream>(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    try {
      CarregarDataSets(ficha, s.Get());
    } catch (const EStreamFicha&) {
      // A damaged stream: the clear error, with the sections before it loaded.
    }
  }
  if (std::string falha = ConferirEstado(ficha); !falha.empty()) return falha;

  const std::vector<uint8_t> primeiro = SalvarFicha(ficha);
  FichaFuzz outra;
  try {
    auto s = rt::MakeCounted<host::TMemoryStream>(primeiro);
    CarregarDataSets(outra, s.Get());
  } catch (const EStreamFicha&) {
    return "the sheet's own save does not load";
  }
  if (std::string falha = ConferirEstado(outra); !falha.empty()) return "reloaded: " + falha;
  if (SalvarFicha(outra) != primeiro) return "the second save differs from the first";
  return {};
}

}  // namespace zarp::fuzz
