// Saving and loading the VEL sheet's skills list (DATAA5, its real field sizes) in the native
// build, for 10^3 to 10^6 records, beside the floor of the same host-stream calls with the values
// at hand (bench/ListaHabilidades.h). The Windows benchmark (ficha_dll_bench.cpp) measures the
// same through the DLL. A counting operator new gives the allocations per record of each path
// ("aloc/reg").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <new>

#include "bench/ListaHabilidades.h"
#include "host/Streams.h"
#include "tools/vel-sheet/AmostraVEL.h"

namespace {
int64_t gAlocacoes = 0;
}  // namespace

// The replaced operators pair malloc with free themselves; GCC sees only the operator names.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t n) {
  ++gAlocacoes;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n) {
  return operator new(n);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}

namespace {

using bench::Bytes;

rt::ComPtr<host::TMemoryStream> StreamVazio(size_t capacidade) {
  Bytes bytes;
  bytes.reserve(capacidade);
  auto s = rt::MakeCounted<host::TMemoryStream>();
  s->SetBytes(std::move(bytes));
  return s;
}

const std::vector<std::string>& Secoes() {
  static const std::vector<std::string> secoes = [] {
    vel::Documento doc;
    return bench::SecoesDaFichaVazia(doc.Salvar());
  }();
  return secoes;
}

// The list and its saved sheet, made once per size.
struct TCaso {
  explicit TCaso(int n) : lista(n) {
    auto s = StreamVazio(0);
    bench::EscreverFicha(s.Get(), Secoes(), n, lista);
    bytes = s->Bytes();
  }
  bench::THabilidades lista;
  Bytes bytes;
};

const TCaso& Caso(int n) {
  static std::map<int, std::unique_ptr<TCaso>> casos;
  auto& c = casos[n];
  if (!c) c = std::make_unique<TCaso>(n);
  return *c;
}

// Allocations per record of one run of `f`, counted before the timed runs.
template <class F>
void ContarAlocacoes(benchmark::State& state, int n, F&& f) {
  const int64_t antes = gAlocacoes;
  f();
  state.counters["aloc/reg"] = static_cast<double>(gAlocacoes - antes) / n;
}

void Contar(benchmark::State& state, const TCaso& c) {
  state.SetItemsProcessed(state.iterations() * c.lista.Count());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(c.bytes.size()));
}

void BM_ListaVEL_Carregar(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCaso& c = Caso(n);
  vel::Documento doc;
  auto entrada = rt::MakeCounted<host::TMemoryStream>(c.bytes);
  ContarAlocacoes(state, n, [&] { doc->CarregarFicha(entrada.Get()); });
  for (auto _ : state) {
    doc->CarregarFicha(entrada.Get());
    benchmark::DoNotOptimize(doc->DATAA5->RecordCount());
  }
  if (doc->DATAA5->RecordCount() != n) state.SkipWithError("records lost");
  Contar(state, c);
}

void BM_ListaVEL_PisoCarregar(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCaso& c = Caso(n);
  auto entrada = rt::MakeCounted<host::TMemoryStream>(c.bytes);
  ContarAlocacoes(state, n, [&] { bench::PisoLer(entrada.Get()); });
  for (auto _ : state) benchmark::DoNotOptimize(bench::PisoLer(entrada.Get()));
  Contar(state, c);
}

void BM_ListaVEL_Salvar(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCaso& c = Caso(n);
  vel::Documento doc;
  doc.Carregar(c.bytes);
  ContarAlocacoes(state, n, [&] {
    auto saida = StreamVazio(c.bytes.size());
    doc->SalvarFicha(saida.Get());
    if (saida->Bytes() != c.bytes) state.SkipWithError("the saved bytes differ");
  });
  for (auto _ : state) {
    state.PauseTiming();
    auto saida = StreamVazio(c.bytes.size());
    state.ResumeTiming();
    doc->SalvarFicha(saida.Get());
    benchmark::DoNotOptimize(saida->Bytes().data());
  }
  Contar(state, c);
}

void BM_ListaVEL_PisoSalvar(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCaso& c = Caso(n);
  ContarAlocacoes(state, n, [&] {
    auto saida = StreamVazio(c.bytes.size());
    bench::EscreverFicha(saida.Get(), Secoes(), n, c.lista);
  });
  for (auto _ : state) {
    state.PauseTiming();
    auto saida = StreamVazio(c.bytes.size());
    state.ResumeTiming();
    bench::EscreverFicha(saida.Get(), Secoes(), n, c.lista);
    benchmark::DoNotOptimize(saida->Bytes().data());
  }
  Contar(state, c);
}

void Tamanhos(benchmark::internal::Benchmark* b) {
  for (int n : bench::kTamanhosLista) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ListaVEL_Carregar)->Apply(Tamanhos);
BENCHMARK(BM_ListaVEL_PisoCarregar)->Apply(Tamanhos);
BENCHMARK(BM_ListaVEL_Salvar)->Apply(Tamanhos);
BENCHMARK(BM_ListaVEL_PisoSalvar)->Apply(Tamanhos);

}  // namespace
