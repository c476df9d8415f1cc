// The offscreen driver: the offscreen backend's user actions and logs.
#include "tests/ui/driver.h"
#include "ui/offscreen/Offscreen.h"

namespace uitest {

std::vector<Driver*>& Drivers() {
  static std::vector<Driver*> drivers;
  return drivers;
}

namespace {

class OffscreenDriver final : public Driver {
 public:
  const char* Name() const override { return "offscreen"; }
  void Activate() override {
    ui::SetBackend(&B());
    B().ClearMessages();
    B().ClearBeeps();
  }
  uint32_t NewHost(int width, int height) override {
    const uint32_t host = next_++;
    B().SetHostClientSize(host, width, height);
    return host;
  }
  void Type(ui::TWinControl& c, std::u16string_view text) override {
    ui::offscreen::TypeText(c, text);
  }
  void Press(ui::TWinControl& c, uint16_t key, ui::TShiftState shift) override {
    ui::offscreen::PressKey(c, key, shift);
  }
  void Paste(ui::TWinControl& c, std::u16string_view text) override {
    ui::offscreen::Paste(c, text);
  }
  void Focus(ui::TWinControl& c) override { ui::offscreen::Focus(c); }
  void Pump() override { B().RunPosted(); }
  void Click(ui::TWinControl& window, ui::TPoint pos, ui::TMouseButton button) override {
    ui::offscreen::Click(window, pos, button);
  }
  std::vector<std::u16string> Messages() const override {
    std::vector<std::u16string> out;
    for (const auto& m : B().Messages()) out.push_back(m.Text);
    return out;
  }
  int Beeps() const override { return B().Beeps(); }
  void Clear() override {
    B().ClearMessages();
    B().ClearBeeps();
  }

 private:
  static ui::offscreen::OffscreenBackend& B() { return ui::offscreen::Instance(); }
  uint32_t next_ = 0x7000;
};

OffscreenDriver driver;
const RegisterDriver registered(&driver);

}  // namespace
}  // namespace uitest
