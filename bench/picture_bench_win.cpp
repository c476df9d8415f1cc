// The picture benchmark for Windows, run under Wine where Google Benchmark is not built: the
// same cases as bench_picture (each of the seven pictures and all at once, read and floor),
// printed as one table with the ratio of read to floor. Each case alternates the two in rounds
// and takes each one's median round, so that a busy machine slows both alike.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Rounds of `a` then `b`, each for `seconds` in all; their median rounds.
template <typename A, typename B>
std::pair<Measure, Measure> Compare(double seconds, int rounds, A&& a, B&& b) {
  a();  // warm
  b();
  std::vector<Measure> ma, mb;
  for (int r = 0; r < rounds; ++r) {
    ma.push_back(Run(seconds / rounds, a));
    mb.push_back(Run(seconds / rounds, b));
  }
  auto median = [](const std::vector<Measure>& m) {
    std::vector<double> times;
    for (const Measure& x : m) times.push_back(x.MicrosPerRun);
    Measure result = m.front();  // the allocations are the same in every round
    result.MicrosPerRun = Median(times);
    return result;
  };
  return {median(ma), median(mb)};
}

}  // namespace

// Arguments: the seconds each case takes for each side (0.5), and the rounds (5).
int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
  const int rounds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
  const auto& art = bench::Artwork();
  std::vector<uint8_t> out(4 << 20);
  std::printf("%-22s %12s %12s %7s %8s %10s\n", "picture", "read us", "floor us", "ratio", "allocs",
              "alloc KiB");
  for (int index = -1; index < static_cast<int>(art.size()); ++index) {
    const size_t first = index < 0 ? 0 : size_t(index);
    const size_t last = index < 0 ? art.size() : first + 1;
    const auto [read, floor] = Compare(
        seconds, rounds,
        [&] {
          for (size_t i = first; i < last; ++i) {
            ui::TPixels p = ui::DecodePicture(art[i].File);
            if (p.Empty()) std::abort();
          }
        },
        [&] {
          for (size_t i = first; i < last; ++i) bench::Floor(art[i], out);
        });
    const std::string name = index < 0 ? "all seven" : art[first].Name;
    std::printf("%-22s %12.1f %12.1f %7.2f %8.1f %10.1f\n", name.c_str(), read.MicrosPerRun,
                floor.MicrosPerRun, read.MicrosPerRun / floor.MicrosPerRun, read.Allocations,
                read.KiB);
  }
  return 0;
}
