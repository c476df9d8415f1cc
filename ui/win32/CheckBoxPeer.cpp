// Check boxes: the system's BUTTON control as a plain check box, whose mark the portable control
// owns. A click or the space bar makes the button report BN_CLICKED to its parent, which hands it
// here; the control toggles and the mark comes back through Sync.
#include "ui/CheckBox.h"
#include "ui/win32/Win32Peer.h"

namespace ui::win32 {

namespace {

class CheckBoxPeer final : public Win32Peer {
 public:
  using Win32Peer::Win32Peer;

  void Command(WORD code) override {
    if (code == BN_CLICKED) Box().WndToggle();
  }

 protected:
  const wchar_t* WindowClass() const override { return L"BUTTON"; }
  void Styles(DWORD& style, DWORD& ex) const override {
    style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CHECKBOX;
    ex = 0;
  }
  void Created() override { ShowMark(); }
  void SyncKind(Aspect aspect) override {
    if (aspect == Aspect::State) ShowMark();
  }

 private:
  TCheckBox& Box() const { return static_cast<TCheckBox&>(*control_); }
  void ShowMark() {
    SendMessageW(hwnd_, BM_SETCHECK, Box().Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

}  // namespace

Win32Peer* MakeCheckBoxPeer(Win32Backend& backend, TWinControl& control) {
  return new CheckBoxPeer(backend, control);
}

}  // namespace ui::win32
