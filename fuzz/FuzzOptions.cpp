// AddressSanitizer's defaults for the fuzz targets; ASAN_OPTIONS in the environment still wins.
//
// quarantine_size_mb: freed memory waits in a quarantine so that a use after free finds it
// poisoned. The default of 256 MB makes every allocation of a run land on memory never touched
// before (page faults, and most of a target's resident memory); one input of these targets frees
// far less than 16 MB, so a use after free within an input is still caught.
// malloc_context_size: the depth of the allocation and free stacks kept for reports (default 30).
// Recording them is a large part of every allocation's cost; the faulting stack of a report is
// whole regardless, and a crash input rerun with ASAN_OPTIONS=malloc_context_size=30 shows the
// full stacks.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:malloc_context_size=8";
}
