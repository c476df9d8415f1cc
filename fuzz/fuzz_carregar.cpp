// Loads arbitrary bytes as a sheet stream and holds the property of zarp::fuzz::Conferir: load,
// save, load into a fresh sheet, save to the same bytes, with the load leaving every dataset
// browsing, its controls live and its read-only flag as it was.
#include <cstdio>
#include <cstdlib>

#include "fuzz/FichaFuzz.h"
#include "ui/offscreen/Offscreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string falha = zarp::fuzz::Conferir({data, size});
  if (!falha.empty()) {
    std::fprintf(stderr, "fuzz_carregar: %s\n", falha.c_str());
    std::abort();
  }
  // The boxes of refused values are recorded by the offscreen backend: none outlives its input.
  ui::offscreen::Instance().ClearMessages();
  return 0;
}
