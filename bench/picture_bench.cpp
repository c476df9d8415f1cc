// Reading the sheet's seven pictures against the floor of zlib's bare inflate of the same image
// data (a copy of the pixel bytes for the bitmap), one picture per case and all seven at once;
// with the allocations each read makes.
#include <benchmark/benchmark.h>

#include "bench/ArtworkPictures.h"
#include "ui/picture/Picture.h"

namespace {

using bench::Artwork;

void CountAllocations(benchmark::State& state, uint64_t count, uint64_t bytes) {
  const double n = static_cast<double>(state.iterations());
  state.counters["allocs"] = static_cast<double>(count) / n;
  state.counters["alloc_KiB"] = static_cast<double>(bytes) / n / 1024;
}

// Pixels per second: the decoded pictures' size, the same for both sides.
void CountPixels(benchmark::State& state, size_t first, size_t last) {
  double pixels = 0;
  for (size_t i = first; i < last; ++i) pixels += double(Artwork()[i].Width) * Artwork()[i].Height;
  state.counters["Mpixel/s"] =
      benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void Range(const benchmark::State& state, size_t& first, size_t& last) {
  const auto index = state.range(0);
  first = index < 0 ? 0 : static_cast<size_t>(index);
  last = index < 0 ? Artwork().size() : first + 1;
}

void BM_Decode(benchmark::State& state) {
  size_t first, last;
  Range(state, first, last);
  state.SetLabel(last - first == 1 ? Artwork()[first].Name : "all seven");
  const uint64_t allocs = bench::AllocationCount(), bytes = bench::AllocatedBytes();
  for (auto _ : state) {
    for (size_t i = first; i < last; ++i) {
      ui::TPixels p = ui::DecodePicture(Artwork()[i].File);
      benchmark::DoNotOptimize(p.Data().data());
    }
  }
  CountAllocations(state, bench::AllocationCount() - allocs, bench::AllocatedBytes() - bytes);
  CountPixels(state, first, last);
}

void BM_Floor(benchmark::State& state) {
  size_t first, last;
  Range(state, first, last);
  state.SetLabel(last - first == 1 ? Artwork()[first].Name : "all seven");
  std::vector<uint8_t> out(4 << 20);
  const uint64_t allocs = bench::AllocationCount(), bytes = bench::AllocatedBytes();
  for (auto _ : state) {
    for (size_t i = first; i < last; ++i) benchmark::DoNotOptimize(bench::Floor(Artwork()[i], out));
  }
  CountAllocations(state, bench::AllocationCount() - allocs, bench::AllocatedBytes() - bytes);
  CountPixels(state, first, last);
}

void Pictures(benchmark::internal::Benchmark* b) {
  b->Arg(-1);
  for (int i = 0; i < 7; ++i) b->Arg(i);
}

BENCHMARK(BM_Decode)->Apply(Pictures)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor)->Apply(Pictures)->Unit(benchmark::kMicrosecond);

}  // namespace
