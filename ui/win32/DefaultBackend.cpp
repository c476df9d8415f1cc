// The Windows build's default backend: real windows.
#include "ui/win32/Win32Backend.h"

namespace ui {
Backend& DefaultBackend() {
  return win32::Instance();
}
}  // namespace ui
