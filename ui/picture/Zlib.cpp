// zlib's memory through the C++ allocator.
#include "ui/picture/Zlib.h"

#include <limits>
#include <new>

namespace ui::zlib {

voidpf Alloc(voidpf, uInt items, uInt size) {
  if (size != 0 && items > std::numeric_limits<size_t>::max() / size) return Z_NULL;
  return ::operator new(static_cast<size_t>(items) * size, std::nothrow);
}

void Free(voidpf, voidpf address) {
  ::operator delete(address);
}

}  // namespace ui::zlib
