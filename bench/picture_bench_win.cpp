// The picture benchmark for Windows, run under Wine where Google Benchmark is not built: the
// same cases as bench_picture (each of the seven pictures and all at once, read and floor),
// each repeated for a fixed time, printed as one table with the ratio of read to floor.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ArtworkPictures.h"
#include "ui/picture/Picture.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Measure {
  double MicrosPerRun = 0;
  double Allocations = 0;
  double KiB = 0;
};

template <typename F>
Measure Run(double seconds, F&& once) {
  once();  // warm
  const uint64_t allocs = bench::AllocationCount(), bytes = bench::AllocatedBytes();
  const auto start = Clock::now();
  uint64_t runs = 0;
  double elapsed = 0;
  do {
    once();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  const double n = static_cast<double>(runs);
  return {elapsed * 1e6 / n, double(bench::AllocationCount() - allocs) / n,
          double(bench::AllocatedBytes() - bytes) / n / 1024};
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
  const auto& art = bench::Artwork();
  std::vector<uint8_t> out(4 << 20);
  std::printf("%-22s %12s %12s %7s %8s %10s\n", "picture", "read us", "floor us", "ratio", "allocs",
              "alloc KiB");
  for (int index = -1; index < static_cast<int>(art.size()); ++index) {
    const size_t first = index < 0 ? 0 : size_t(index);
    const size_t last = index < 0 ? art.size() : first + 1;
    const Measure read = Run(seconds, [&] {
      for (size_t i = first; i < last; ++i) {
        ui::TPixels p = ui::DecodePicture(art[i].File);
        if (p.Empty()) std::abort();
      }
    });
    const Measure floor = Run(seconds, [&] {
      for (size_t i = first; i < last; ++i) bench::Floor(art[i], out);
    });
    const std::string name = index < 0 ? "all seven" : art[first].Name;
    std::printf("%-22s %12.1f %12.1f %7.2f %8.1f %10.1f\n", name.c_str(), read.MicrosPerRun,
                floor.MicrosPerRun, read.MicrosPerRun / floor.MicrosPerRun, read.Allocations,
                read.KiB);
  }
  return 0;
}
