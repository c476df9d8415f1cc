// The user's side of a backend, for behaviour suites that run on every backend the build has:
// offscreen in both builds, and real windows under Wine in the Windows build. A suite takes a
// Driver as its parameter (INSTANTIATE_TEST_SUITE_P with uitest::AllDrivers()) and acts only
// through it, so the same cases check the portable behaviour and the native routing.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace uitest {

class Driver {
 public:
  virtual ~Driver() = default;
  virtual const char* Name() const = 0;
  // Makes the driver's backend current; forms made afterwards live on it.
  virtual void Activate() = 0;
  // A host window with a client area of that size, for TForm::EmbedInto.
  virtual uint32_t NewHost(int width, int height) = 0;
  // Characters typed into the control's window.
  virtual void Type(ui::TWinControl& control, std::u16string_view text) = 0;
  // A key going down in the control's window, with the modifier keys held.
  virtual void Press(ui::TWinControl& control, uint16_t key, ui::TShiftState shift = 0) = 0;
  // The clipboard's text pasted into the control's window.
  virtual void Paste(ui::TWinControl& control, std::u16string_view text) = 0;
  // The focus moved to the control by a call, and what the change posted has run.
  virtual void Focus(ui::TWinControl& control) = 0;
  // Lets posted work and pending messages run, as the host's loop does between events.
  virtual void Pump() = 0;
  // A button pressed and released at a client point of `window`, on whatever window lies there.
  virtual void Click(ui::TWinControl& window, ui::TPoint pos,
                     ui::TMouseButton button = ui::TMouseButton::mbLeft) = 0;
  // Message boxes shown and beeps given since the last Clear.
  virtual std::vector<std::u16string> Messages() const = 0;
  virtual int Beeps() const = 0;
  virtual void Clear() = 0;
  // Lets pending native work happen, and frees the hosts, after a test.
  virtual void Finish() {}
};

// Every driver linked into this program, in the order they registered.
std::vector<Driver*>& Drivers();
struct RegisterDriver {
  explicit RegisterDriver(Driver* d) { Drivers().push_back(d); }
};

inline auto AllDrivers() {
  return ::testing::ValuesIn(Drivers());
}
inline std::string DriverName(const ::testing::TestParamInfo<Driver*>& info) {
  return info.param->Name();
}

}  // namespace uitest
