// The Windows peer of each control kind.
#include "ui/CheckBox.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

std::span<const PeerTableRow<PeerFactory>> PeerTable() {
  static const PeerTableRow<PeerFactory> rows[] = {
      {&kFormKind, &MakeFormPeer},         {&kContainerKind, &MakeContainerPeer},
      {&kEditKind, &MakeEditPeer},         {&kMemoKind, &MakeMemoPeer},
      {&kCheckBoxKind, &MakeCheckBoxPeer},
  };
  return rows;
}

}  // namespace ui::win32
