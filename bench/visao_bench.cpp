// Creating, embedding and destroying the VEL sheet's view over a filled-in sheet, natively on the
// offscreen backend (no native windows there: this measures the toolkit's own work). The Windows
// build measures the same against the floor of bare native windows (visao_bench_win.cpp).
#include <benchmark/benchmark.h>

#include "tools/vel-sheet/AmostraVEL.h"
#include "ui/offscreen/Offscreen.h"

namespace {

constexpr uint32_t kHost = 0x4001;

void BM_VisaoVEL_CriarAcoplarDestruir(benchmark::State& state) {
  ui::offscreen::Instance().SetHostClientSize(kHost, 1000, 700);
  vel::Documento doc;
  vel::PreencherAmostra(*doc);
  for (auto _ : state) {
    doc->AcoplarVisao(kHost);
    doc->LiberarVisao();
  }
  const size_t antes = ui::CurrentBackend().NativeObjectCount();
  doc->AcoplarVisao(kHost);
  state.counters["native_objects"] =
      static_cast<double>(ui::CurrentBackend().NativeObjectCount() - antes);
  doc->LiberarVisao();
}
BENCHMARK(BM_VisaoVEL_CriarAcoplarDestruir)->Unit(benchmark::kMillisecond);

}  // namespace
