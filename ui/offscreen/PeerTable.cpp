// The offscreen peer of each control kind.
#include "ui/CheckBox.h"
#include "ui/CtrlGrid.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

std::span<const PeerTableRow<PeerFactory>> PeerTable() {
  // clang-format off
  static const PeerTableRow<PeerFactory> rows[] = {
      {&kFormKind, &MakeFormPeer},
      {&kContainerKind, &MakeContainerPeer},
      {&kCtrlGridKind, &MakeGridPeer},
      {&kEditKind, &MakeEditPeer},
      {&kMemoKind, &MakeMemoPeer},
      {&kCheckBoxKind, &MakeCheckBoxPeer},
  };
  // clang-format on
  return rows;
}

}  // namespace ui::offscreen
