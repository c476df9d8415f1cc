// These tests drive the offscreen backend in both builds (on Windows the default is win32).
#include "ui/offscreen/Offscreen.h"

namespace {
const bool kOffscreen = (ui::SetBackend(&ui::offscreen::Instance()), true);
}  // namespace
