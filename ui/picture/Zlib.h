// What the PNG reader and writer share about zlib: its memory comes from the C++ allocator (so
// the program's allocation counts and limits see it), and CRC-32 over a byte range.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace ui::zlib {

voidpf Alloc(voidpf opaque, uInt items, uInt size);
void Free(voidpf opaque, voidpf address);

// A z_stream whose memory goes through Alloc and Free; the owner ends it.
inline z_stream NewStream() {
  z_stream zs{};
  zs.zalloc = Alloc;
  zs.zfree = Free;
  return zs;
}

inline uint32_t Crc(uint32_t crc, const uint8_t* data, size_t length) {
  // zlib's crc32 takes a 32-bit count; chunks never exceed 2^31 - 1 bytes, callers stay below.
  return static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(length)));
}

}  // namespace ui::zlib
