// Marking memory that a program holds but must not touch, so that AddressSanitizer reports a
// read or write of it as it reports one of freed memory; nothing in builds without it.
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define VEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEL_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VEL_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace rt {

inline void PoisonMemory([[maybe_unused]] const void* p, [[maybe_unused]] size_t n) {
#ifdef VEL_ADDRESS_SANITIZER
  __asan_poison_memory_region(p, n);
#endif
}

inline void UnpoisonMemory([[maybe_unused]] const void* p, [[maybe_unused]] size_t n) {
#ifdef VEL_ADDRESS_SANITIZER
  __asan_unpoison_memory_region(p, n);
#endif
}

}  // namespace rt
