// The Windows peer of each control kind.
#include "ui/CheckBox.h"
#include "ui/CtrlGrid.h"
#include "ui/Edits.h"
#include "ui/Forms.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

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

}  // namespace ui::win32
