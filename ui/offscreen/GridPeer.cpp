// Offscreen windows of repeating control grids: a container whose scroll bar mirrors the grid's.
#include "ui/CtrlGrid.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

namespace {

class GridPeer final : public OffscreenPeer {
 public:
  using OffscreenPeer::OffscreenPeer;
  void Create() override {
    OffscreenPeer::Create();
    bar_ = Grid().VertScroll();
  }
  void Verify(std::vector<std::u16string>& problems) const override {
    OffscreenPeer::Verify(problems);
    Check(problems, "scroll range", bar_.Range, Grid().VertScroll().Range);
    Check(problems, "scroll page", bar_.Page, Grid().VertScroll().Page);
    Check(problems, "scroll position", bar_.Position, Grid().VertScroll().Position);
  }

 protected:
  void SyncKind(Aspect aspect) override {
    if (aspect == Aspect::Scroll) bar_ = Grid().VertScroll();
  }

 private:
  const TCustomCtrlGrid& Grid() const { return static_cast<const TCustomCtrlGrid&>(Control()); }
  TGridScroll bar_;
};

}  // namespace

OffscreenPeer* MakeGridPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle) {
  return new GridPeer(backend, control, handle);
}

}  // namespace ui::offscreen
