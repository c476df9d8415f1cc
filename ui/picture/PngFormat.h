// The PNG file format's constants and byte order, shared by the reader and the writer.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

namespace ui::png {

inline constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
inline constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

constexpr uint32_t Type(const char (&name)[5]) {
  return uint32_t{static_cast<uint8_t>(name[0])} << 24 |
         uint32_t{static_cast<uint8_t>(name[1])} << 16 |
         uint32_t{static_cast<uint8_t>(name[2])} << 8 | uint32_t{static_cast<uint8_t>(name[3])};
}
inline constexpr uint32_t kIHDR = Type("IHDR");
inline constexpr uint32_t kPLTE = Type("PLTE");
inline constexpr uint32_t kIDAT = Type("IDAT");
inline constexpr uint32_t kIEND = Type("IEND");
inline constexpr uint32_t kTRNS = Type("tRNS");

inline uint32_t Be32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
inline uint16_t Be16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// A chunk type is four ASCII letters; a capital first letter marks a critical chunk.
inline bool ValidChunkType(uint32_t type) {
  for (int shift = 0; shift < 32; shift += 8) {
    const uint8_t c = static_cast<uint8_t>(type >> shift);
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}
inline bool IsCritical(uint32_t type) {
  return (type & 0x20000000u) == 0;
}

// The Paeth predictor from the pixels left (a), above (b) and above left (c).
inline uint8_t Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c);
  const int pb = std::abs(a - c);
  const int pc = std::abs(a + b - 2 * c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The type as text for messages: its letters, or hexadecimal when they are not letters.
inline std::string ChunkName(uint32_t type) {
  if (ValidChunkType(type)) {
    return {static_cast<char>(type >> 24), static_cast<char>(type >> 16),
            static_cast<char>(type >> 8), static_cast<char>(type)};
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string s = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) s += kHex[(type >> shift) & 0xF];
  return s;
}

}  // namespace ui::png
