// Backend selection.
#include "ui/Backend.h"

#include "runtime/Exception.h"
#include "ui/Application.h"

namespace ui {

namespace {
Backend* g_backend = nullptr;
}

Backend& CurrentBackend() {
  // Anything that reaches a backend may run event handlers: their error box must be in place.
  static const bool errorBox = (Application(), true);
  (void)errorBox;
  return g_backend ? *g_backend : DefaultBackend();
}

void SetBackend(Backend* backend) {
  Backend& next = backend ? *backend : DefaultBackend();
  Backend& now = CurrentBackend();
  if (&next == &now) return;
  if (now.NativeObjectCount() != 0)
    throw rt::Exception(u"The window backend cannot change while it holds native objects");
  g_backend = backend;
}

}  // namespace ui
