// Offscreen windows of the layer's own container class: panels and other plain containers.
#include "ui/Forms.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

void ContainerPeer::Create() {
  OffscreenPeer::Create();
  horz_ = Read(false);
  vert_ = Read(true);
}

ContainerPeer::Bar ContainerPeer::Read(bool vertical) const {
  auto* scrolling = dynamic_cast<const TScrollingWinControl*>(&Control());
  if (!scrolling) return {};
  const TControlScrollBar& bar = vertical ? scrolling->VertScrollBar() : scrolling->HorzScrollBar();
  if (!bar.IsScrollBarVisible()) return {};
  return {true, bar.Range(), bar.Position()};
}

void ContainerPeer::SyncKind(Aspect aspect) {
  if (aspect != Aspect::Scroll) return;
  horz_ = Read(false);
  vert_ = Read(true);
}

void ContainerPeer::Verify(std::vector<std::u16string>& problems) const {
  OffscreenPeer::Verify(problems);
  Check(problems, "horizontal scroll bar", horz_, Read(false));
  Check(problems, "vertical scroll bar", vert_, Read(true));
}

OffscreenPeer* MakeContainerPeer(OffscreenBackend& backend, TWinControl& control,
                                 NativeHandle handle) {
  return new ContainerPeer(backend, control, handle);
}

}  // namespace ui::offscreen
