// The offscreen peer of each control kind.
#include "ui/CheckBox.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

std::span<const PeerTableRow<PeerFactory>> PeerTable() {
  static const PeerTableRow<PeerFactory> rows[] = {
      {&kFormKind, &MakeFormPeer},         {&kContainerKind, &MakeContainerPeer},
      {&kEditKind, &MakeEditPeer},         {&kMemoKind, &MakeMemoPeer},
      {&kCheckBoxKind, &MakeCheckBoxPeer},
  };
  return rows;
}

}  // namespace ui::offscreen
