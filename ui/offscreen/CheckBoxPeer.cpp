// The offscreen check box: the mark as the native button shows it, and the button's own
// handling of a click and of the space bar, which toggle through the control.
#include "ui/Canvas.h"
#include "ui/CheckBox.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

namespace {

class CheckBoxPeer final : public OffscreenPeer {
 public:
  using OffscreenPeer::OffscreenPeer;

  void Create() override {
    OffscreenPeer::Create();
    checked_ = Box().Checked();
  }
  void DefaultMouseDown(TMouseButton button, TPoint) override {
    if (button != TMouseButton::mbLeft) return;
    SetFocus();  // a button takes the focus when it is clicked
    Box().WndToggle();
  }
  void DefaultKeyDown(uint16_t key, TShiftState shift) override {
    if (key == u' ' && !(shift & (ssCtrl | ssAlt)))
      Box().WndToggle();
    else
      OffscreenPeer::DefaultKeyDown(key, shift);
  }
  void PaintBackground(TCanvas& canvas) const override {
    OffscreenPeer::PaintBackground(canvas);
    const TRect box{0, 2, 13, 15};
    canvas.FillRect(box, clWhite);
    canvas.FrameRect(box, clGray);
    if (checked_) canvas.FillRect({3, 5, 10, 12}, clBlack);
  }
  void Verify(std::vector<std::u16string>& problems) const override {
    OffscreenPeer::Verify(problems);
    Check(problems, "check mark", checked_, Box().Checked());
  }

 protected:
  void SyncKind(Aspect aspect) override {
    if (aspect == Aspect::State) checked_ = Box().Checked();
  }

 private:
  TCheckBox& Box() const { return static_cast<TCheckBox&>(Control()); }
  bool checked_ = false;
};

}  // namespace

OffscreenPeer* MakeCheckBoxPeer(OffscreenBackend& backend, TWinControl& control,
                                NativeHandle handle) {
  return new CheckBoxPeer(backend, control, handle);
}

}  // namespace ui::offscreen
