// Reads arbitrary bytes as a bitmap file: it must fail with a picture error or read into a
// picture that writes and reads back to the same pixels.
#include <cstdio>
#include <cstdlib>

#include "fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault = picture_fuzz::Check(picture_fuzz::Format::Bmp, {data, size});
  if (!fault.empty()) {
    std::fprintf(stderr, "fuzz_bmp: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
