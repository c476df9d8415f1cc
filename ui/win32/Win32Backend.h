// The Windows backend: real windows mirroring the portable controls. Portable code and tests
// reach it through ui::Backend; this header adds only what tests read back, and stays free of
// <windows.h>.
#pragma once

#include <cstddef>

#include "ui/Backend.h"

namespace ui::win32 {

// The backend of this process (the Windows build's default).
Backend& Instance();

// Native objects the backend holds now, by kind; their sum is NativeObjectCount().
using NativeObjectCounts = ui::NativeObjectCounts;
NativeObjectCounts Counts();

}  // namespace ui::win32
