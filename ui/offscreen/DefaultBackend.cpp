// The native build's default backend: offscreen.
#include "ui/offscreen/Offscreen.h"

namespace ui {
Backend& DefaultBackend() {
  return offscreen::Instance();
}
}  // namespace ui
