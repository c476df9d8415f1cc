// Seven stand-ins for the sheet's artwork, of its sizes and formats: six PNGs (8-bit RGB or
// RGBA) and one 24-bit bitmap, drawn as the artwork is (black bands and frames, grey-outlined
// white boxes, soft edges where there is alpha) and written by the toolkit's writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct ArtworkPicture {
  std::string Name;
  bool Png = true;
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> File;
  // A PNG's image data, its IDAT chunks joined: what the floor inflates.
  std::vector<uint8_t> ImageData;
};

const std::vector<ArtworkPicture>& Artwork();

// The floor: zlib's inflate of one picture's image data into `out`, with nothing else; for the
// bitmap, a copy of its pixel bytes. Answers the bytes produced.
size_t Floor(const ArtworkPicture& picture, std::vector<uint8_t>& out);

// Allocations through operator new since the program started (the bench programs count them).
uint64_t AllocationCount();
uint64_t AllocatedBytes();

}  // namespace bench
