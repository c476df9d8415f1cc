// Popup menus as real Win32 menus: built once per menu, rebuilt when its rows change, shown
// with TrackPopupMenu, which answers the chosen row after the menu has closed.
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

namespace {

class Win32MenuPeer final : public MenuPeer {
 public:
  explicit Win32MenuPeer(Win32Backend& backend) : backend_(backend) {
    menu_ = CreatePopupMenu();
    if (menu_) ++backend_.menus;
  }
  ~Win32MenuPeer() override {
    if (!menu_) return;
    DestroyMenu(menu_);
    --backend_.menus;
  }

  void SetItems(std::span<const MenuEntry> items) override {
    if (!menu_) return;
    while (GetMenuItemCount(menu_) > 0) DeleteMenu(menu_, 0, MF_BYPOSITION);
    UINT id = 1;  // ids are rows + 1: TrackPopupMenu answers 0 for a dismissal
    for (const MenuEntry& item : items) {
      if (item.Separator) {
        AppendMenuW(menu_, MF_SEPARATOR, id++, nullptr);
        continue;
      }
      UINT flags = MF_STRING;
      if (!item.Enabled) flags |= MF_GRAYED;
      if (item.Checked) flags |= MF_CHECKED;
      AppendMenuW(menu_, flags, id++, Wide(item.Caption).c_str());
    }
  }

  int Popup(TWinControl& owner, TPoint screen) override {
    if (!menu_) return -1;
    HWND hwnd = reinterpret_cast<HWND>(owner.CurrentHandle());
    // The menu's messages go to the owner window; with TPM_RETURNCMD the choice comes back here,
    // once the menu has closed, instead of as a WM_COMMAND.
    const auto chosen =
        static_cast<int>(TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                        screen.X, screen.Y, 0, hwnd, nullptr));
    return chosen - 1;
  }

 private:
  Win32Backend& backend_;
  HMENU menu_ = nullptr;
};

}  // namespace

std::unique_ptr<MenuPeer> Win32Backend::CreateMenu() {
  return std::make_unique<Win32MenuPeer>(*this);
}

}  // namespace ui::win32
