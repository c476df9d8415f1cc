// Offscreen top-level windows: a frame by border style, and the host window while embedded.
#include "ui/Forms.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

namespace {

class FormPeer final : public ContainerPeer {
 public:
  using ContainerPeer::ContainerPeer;

  void Create() override {
    ContainerPeer::Create();
    border_ = Form().BorderStyle();
  }
  void Verify(std::vector<std::u16string>& problems) const override {
    ContainerPeer::Verify(problems);
    Check(problems, "border style", border_, Form().BorderStyle());
  }

 protected:
  void SyncKind(Aspect aspect) override {
    ContainerPeer::SyncKind(aspect);
    if (aspect == Aspect::Style) border_ = Form().BorderStyle();
  }
  TPoint ClientOrigin() const override {
    const TRect frame = backend_.NonClientExtents(border_);
    return {frame.Left, frame.Top};
  }

 private:
  const TForm& Form() const { return static_cast<const TForm&>(Control()); }
  TBorderStyle border_ = TBorderStyle::bsSizeable;
};

}  // namespace

OffscreenPeer* MakeFormPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle) {
  return new FormPeer(backend, control, handle);
}

}  // namespace ui::offscreen
