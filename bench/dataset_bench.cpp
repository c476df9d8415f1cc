// The record-buffer dataset under load: append-and-post, a scan reading every field, deleting
// from the middle, and a 6-buffer data link scrolling through the table.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchRows.h"
#include "dataset/ZARPDataSet.h"
#include "db/DataSource.h"

namespace {

struct Table {
  Table() : ds(std::make_unique<zarp::TZARPDataSet>(nullptr)) {
    ds->SetName(u"BENCH");
    nome = db::DeclareField<db::TStringField>(ds.get(), ds.get(), u"nome", 30);
    classe = db::DeclareField<db::TStringField>(ds.get(), ds.get(), u"classe", 30);
    nivel = db::DeclareField<db::TIntegerField>(ds.get(), ds.get(), u"nivel");
    pontos = db::DeclareField<db::TIntegerField>(ds.get(), ds.get(), u"pontos");
    ds->Open();
  }
  void Fill() {
    for (const bench::Row& r : bench::Rows()) {
      ds->Append();
      nome->SetAsString(r.nome);
      classe->SetAsString(r.classe);
      nivel->SetAsInteger(r.nivel);
      pontos->SetAsInteger(r.pontos);
      ds->Post();
    }
  }
  std::unique_ptr<zarp::TZARPDataSet> ds;
  db::TStringField *nome, *classe;
  db::TIntegerField *nivel, *pontos;
};

void BM_Dataset_AppendPost(benchmark::State& state) {
  for (auto _ : state) {
    Table t;
    t.Fill();
    benchmark::DoNotOptimize(t.ds->RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * bench::kRows);
}
BENCHMARK(BM_Dataset_AppendPost)->Unit(benchmark::kMillisecond);

void BM_Dataset_Scan(benchmark::State& state) {
  Table t;
  t.Fill();
  int64_t rows = 0;
  for (auto _ : state) {
    t.ds->First();
    while (!t.ds->Eof()) {
      std::string a = t.nome->AsString();
      std::string b = t.classe->AsString();
      int32_t c = t.nivel->AsInteger();
      int32_t d = t.pontos->AsInteger();
      benchmark::DoNotOptimize(a.data());
      benchmark::DoNotOptimize(b.data());
      benchmark::DoNotOptimize(c + d);
      t.ds->Next();
      ++rows;
    }
  }
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_Dataset_Scan)->Unit(benchmark::kMillisecond);

// One delete from the middle of a table of kRows records; the table is topped up untimed.
void BM_Dataset_DeleteMiddle(benchmark::State& state) {
  Table t;
  t.Fill();
  for (auto _ : state) {
    t.ds->SetRecNo(bench::kRows / 2);
    t.ds->Delete();
    state.PauseTiming();
    t.ds->Append();
    t.ds->Post();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Dataset_DeleteMiddle)->Unit(benchmark::kMicrosecond);

struct Counter : db::TDataLink {
  int64_t scrolls = 0;
  void DataSetScrolled(int) override { ++scrolls; }
};

void BM_Dataset_ScrollLink6(benchmark::State& state) {
  Table t;
  t.Fill();
  db::TDataSource source(nullptr);
  source.SetDataSet(t.ds.get());
  Counter link;
  link.SetBufferCount(6);
  link.SetDataSource(&source);
  int64_t rows = 0;
  for (auto _ : state) {
    t.ds->First();
    while (!t.ds->Eof()) {
      t.ds->Next();
      ++rows;
    }
  }
  benchmark::DoNotOptimize(link.scrolls);
  link.SetDataSource(nullptr);
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_Dataset_ScrollLink6)->Unit(benchmark::kMillisecond);

}  // namespace
