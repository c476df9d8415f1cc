// Atomic reference-count steps.
#include "runtime/Com.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <atomic>
#endif

namespace rt {

#ifdef _WIN32
static_assert(sizeof(LONG) == sizeof(int32_t));
int32_t InterlockedInc(int32_t* target) {
  return InterlockedIncrement(reinterpret_cast<volatile LONG*>(target));
}
int32_t InterlockedDec(int32_t* target) {
  return InterlockedDecrement(reinterpret_cast<volatile LONG*>(target));
}
#else
int32_t InterlockedInc(int32_t* target) {
  return std::atomic_ref<int32_t>(*target).fetch_add(1) + 1;
}
int32_t InterlockedDec(int32_t* target) {
  return std::atomic_ref<int32_t>(*target).fetch_sub(1) - 1;
}
#endif

}  // namespace rt
