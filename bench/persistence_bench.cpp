// Saving and loading a sheet whose list holds the benchmark's rows, beside the floor that the
// format's own I/O sets: the same host-stream Read and Write calls, issued with the values at hand
// (for loading, the one-call-per-item pattern of the format's helpers, which the loader's buffered
// reader undercuts).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchRows.h"
#include "dataset/ZARPDataSet.h"
#include "db/Field.h"
#include "ficha/ZARPPersistencia.h"
#include "ficha/ZARPStreamUtils.h"
#include "host/Streams.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Ficha : rt::TComponent {
  Ficha() : rt::TComponent(nullptr) {
    lista = new zarp::TZARPDataSet(this);
    lista->SetName(u"LISTA");
    nome = db::DeclareField<db::TStringField>(this, lista, u"nome", 30);
    classe = db::DeclareField<db::TStringField>(this, lista, u"classe", 30);
    nivel = db::DeclareField<db::TIntegerField>(this, lista, u"nivel");
    pontos = db::DeclareField<db::TIntegerField>(this, lista, u"pontos");
    lista->Open();
  }
  void Fill() {
    for (const bench::Row& r : bench::Rows()) {
      lista->Append();
      nome->SetAsString(r.nome);
      classe->SetAsString(r.classe);
      nivel->SetAsInteger(r.nivel);
      pontos->SetAsInteger(r.pontos);
      lista->Post();
    }
  }
  zarp::TZARPDataSet* lista;
  db::TStringField *nome, *classe;
  db::TIntegerField *nivel, *pontos;
};

rt::ComPtr<host::TMemoryStream> NovoStream(Bytes bytes = {}) {
  return rt::MakeCounted<host::TMemoryStream>(std::move(bytes));
}

const Bytes& Salvo() {
  static const Bytes salvo = [] {
    Ficha f;
    f.Fill();
    auto s = NovoStream();
    zarp::SalvarDataSets(f, s.Get());
    return s->Bytes();
  }();
  return salvo;
}

void Contar(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * bench::kRows);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Salvo().size()));
}

void BM_Persistencia_Salvar(benchmark::State& state) {
  Ficha f;
  f.Fill();
  for (auto _ : state) {
    auto s = NovoStream();
    zarp::SalvarDataSets(f, s.Get());
    benchmark::DoNotOptimize(s->Bytes().data());
  }
  Contar(state);
}
BENCHMARK(BM_Persistencia_Salvar)->Unit(benchmark::kMillisecond);

void BM_Persistencia_Carregar(benchmark::State& state) {
  Ficha f;
  for (auto _ : state) {
    auto s = NovoStream(Salvo());
    zarp::EsvaziarDataSets(f);
    zarp::CarregarDataSets(f, s.Get());
    benchmark::DoNotOptimize(f.lista->RecordCount());
  }
  Contar(state);
}
BENCHMARK(BM_Persistencia_Carregar)->Unit(benchmark::kMillisecond);

// The reading alone: the same stream into a sheet that has no dataset of that name, so the
// section is read value by value and dropped. What loading costs beyond this is the dataset's
// own insert and post of each record.
void BM_Persistencia_LerSemAlvo(benchmark::State& state) {
  Ficha f;
  f.lista->SetName(u"OUTRA");
  for (auto _ : state) {
    auto s = NovoStream(Salvo());
    zarp::CarregarDataSets(f, s.Get());
    benchmark::DoNotOptimize(f.lista->RecordCount());
  }
  Contar(state);
}
BENCHMARK(BM_Persistencia_LerSemAlvo)->Unit(benchmark::kMillisecond);

// The floor of saving: the writer's exact calls, with the values already at hand.
void BM_Persistencia_PisoEscrita(benchmark::State& state) {
  const uint8_t presente = 1;
  for (auto _ : state) {
    auto s = NovoStream();
    zarp::IZARPStream* st = s.Get();
    zarp::EscreverString(st, "LISTA");
    zarp::EscreverInt32(st, 4);
    for (const char* c : {"nome", "classe"}) {
      zarp::EscreverString(st, c);
      zarp::EscreverUInt16(st, 256);
    }
    for (const char* c : {"nivel", "pontos"}) {
      zarp::EscreverString(st, c);
      zarp::EscreverUInt16(st, 3);
    }
    int64_t contagem = st->GetPosition();
    zarp::EscreverInt32(st, 0);
    for (const bench::Row& r : bench::Rows()) {
      st->Write(&presente, 1);
      zarp::EscreverString(st, r.nome);
      st->Write(&presente, 1);
      zarp::EscreverString(st, r.classe);
      st->Write(&presente, 1);
      zarp::EscreverInt32(st, r.nivel);
      st->Write(&presente, 1);
      zarp::EscreverInt32(st, r.pontos);
    }
    int64_t fim = st->GetPosition();
    st->SetPosition(contagem);
    zarp::EscreverInt32(st, bench::kRows);
    st->SetPosition(fim);
    zarp::EscreverInt32(st, bench::kRows - 1);
    benchmark::DoNotOptimize(s->Bytes().data());
  }
  Contar(state);
}
BENCHMARK(BM_Persistencia_PisoEscrita)->Unit(benchmark::kMillisecond);

// The floor of loading: the format's reads one call per item (a count, then the bytes it
// counts), into values at hand, with the section walked as the loader walks it.
void BM_Persistencia_PisoLeitura(benchmark::State& state) {
  for (auto _ : state) {
    auto s = NovoStream(Salvo());
    zarp::IZARPStream* st = s.Get();
    auto int32 = [st] {
      int32_t v = 0;
      st->Read(&v, 4);
      return v;
    };
    auto texto = [&](std::string& t) {
      t.resize(static_cast<size_t>(int32()));
      st->Read(t.data(), static_cast<int32_t>(t.size()));
    };
    std::string nome, a, b;
    st->SetPosition(0);
    while (st->GetSize() - st->GetPosition() > 0) {
      texto(nome);
      int32_t colunas = int32();
      std::vector<uint16_t> tipos(static_cast<size_t>(colunas));
      for (uint16_t& t : tipos) {
        texto(a);
        st->Read(&t, 2);
      }
      int32_t registros = int32();
      for (int32_t i = 0; i < registros; ++i) {
        uint8_t p;
        st->Read(&p, 1);
        texto(a);
        st->Read(&p, 1);
        texto(b);
        st->Read(&p, 1);
        int32_t c = int32();
        st->Read(&p, 1);
        int32_t d = int32();
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        benchmark::DoNotOptimize(c + d);
      }
      benchmark::DoNotOptimize(int32());
    }
  }
  Contar(state);
}
BENCHMARK(BM_Persistencia_PisoLeitura)->Unit(benchmark::kMillisecond);

}  // namespace
