// The offscreen backend: no windows at all. Per native handle it keeps a peer whose mirror holds
// only what the control's syncs wrote into it, numbered host windows with client sizes that tests
// choose, a log of message boxes, beeps and menus, and a display list of what each container
// paints. It feeds the user's actions into the controls' entry points, as the window system
// would, and models the native text box once (ui/offscreen/TextBox.h); it re-implements no
// control behaviour. Tests read the mirror through MirrorMismatches(): a control that forgets
// to sync a change fails there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Types.h"
#include "ui/picture/Pixels.h"

namespace ui {
class TControl;
class TCustomEdit;
class TScrollingWinControl;
}  // namespace ui

namespace ui::offscreen {

class OffscreenPeer;

struct RecordedMessage {
  std::u16string Text;
  std::u16string Caption;
  TMsgDlgType Type;
};

// A popup menu as it was shown: its captions, where, and for which window.
struct RecordedMenu {
  std::vector<std::u16string> Captions;
  TPoint Screen;
  const TWinControl* Owner = nullptr;
};

// One step of what a container painted, in its client coordinates and in order. `Child` is a
// windowed child, which the window system shows over everything its parent painted.
struct PaintOp {
  enum Kind : uint8_t { Fill, Line, Text, Image, Child };
  Kind What = Fill;
  TRect Rect;  // the area covered (a line's end points: Left, Top to Right, Bottom)
  TColor Color = 0;
  std::u16string String;
  uint64_t Picture = 0;               // the picture's serial
  const TControl* Painter = nullptr;  // the graphic control (or the container, or the child)
};

class OffscreenBackend final : public Backend,
                               public ScreenPart,
                               public GraphicsPart,
                               public MenuPart {
 public:
  OffscreenBackend();
  ~OffscreenBackend() override;

  WindowPeer* CreatePeer(TWinControl& control) override;
  ScreenPart& Screen() override { return *this; }
  GraphicsPart& Graphics() override { return *this; }
  MenuPart& Menus() override { return *this; }
  NativeObjectCounts Counts() const override;
  size_t WindowCount(const PeerKind& kind) const override;

  // Screen.
  TSize HostClientSize(uint32_t host) override;
  TRect WorkArea() override { return workArea_; }
  int ScrollBarSize() override { return 17; }
  TRect NonClientExtents(TBorderStyle style) override;
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     TMsgDlgType type) override;
  void Beep() override { ++beeps_; }
  // Posted work runs when the user's action that caused it has been delivered (the helpers
  // below and every focus change run it), or when a test calls RunPosted.
  void Post(std::function<void()> job) override { posted_.push_back(std::move(job)); }
  void RunPosted();
  size_t PostedCount() const { return posted_.size(); }
  // Graphics: fixed metrics, so layouts are the same on every machine. A character of a font
  // of character height h is ceil(0.55 h) pixels wide (one more in bold); a line is
  // round(1.2 h) high (13 for the sheet's -11).
  TSize TextExtent(const TFont& font, std::u16string_view text) override;
  // Holds count as one bitmap per picture held, as the Win32 backend's bitmaps do.
  std::unique_ptr<PictureHold> HoldPicture(const TPixels& picture) override;
  // How often a picture got its bitmap (held when it had none): each picture once, however
  // many controls show it and however often they repaint.
  int BitmapsMade() const { return bitmapsMade_; }
  // Menus.
  std::unique_ptr<MenuPeer> CreateMenu() override;

  // Host windows: any number stands for one. Unknown hosts measure 800 x 600. Changing a host's
  // size re-lays out the forms embedded in it, as a host's WM_SIZE does on Windows.
  void SetHostClientSize(uint32_t host, int width, int height);
  void SetWorkArea(TRect area) { workArea_ = area; }

  // The host window the native side of `form` was re-parented into (0: none or no native side).
  uint32_t HostOf(const TWinControl& form) const;
  // Whether the native side exists and was last shown (not hidden).
  bool NativeVisible(const TWinControl& control) const;
  // Native sides created so far (a recreated window counts again).
  int HandlesCreated() const { return created_; }
  // The peer of a control's native side, or null.
  OffscreenPeer* PeerOf(const TWinControl& control) const;
  // The window that has the native focus, or null.
  OffscreenPeer* FocusedPeer() const { return focused_; }

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  // What ShowMessageBox answers (1: OK).
  int MessageBoxAnswer = 1;
  int Beeps() const { return beeps_; }
  void ClearBeeps() { beeps_ = 0; }

  // Menus shown so far, and the answer the next ones give: the row with that caption, or a
  // dismissal when none is queued (or no row has it).
  const std::vector<RecordedMenu>& MenusShown() const { return menus_; }
  void ClearMenus() { menus_.clear(); }
  void AnswerNextMenu(std::u16string caption) { menuAnswers_.push_back(std::move(caption)); }
  // Text boxes that showed their own native menu (cut, copy, paste) because no control took it.
  int NativeEditMenus() const { return nativeEditMenus_; }

  // What `container` paints now, in order: its background, its graphic children, then its
  // shown windowed children. Clears what was invalidated.
  std::vector<PaintOp> Paint(const TWinControl& container);
  // The container rendered into pixels of its client size, its windowed children included.
  TPixels Render(const TWinControl& container);
  // How often the container's window was asked to repaint something, and the union of it.
  int Invalidations(const TWinControl& container) const;

  // Every difference between the live windows' mirrors and their controls, one line each
  // ("Edit1: read-only is 0 natively, 1 in the control").
  std::vector<std::u16string> MirrorMismatches() const;

 private:
  friend class OffscreenPeer;
  friend class TextBoxPeer;
  friend class OffscreenMenu;
  void Forget(OffscreenPeer* peer);
  void Focus(OffscreenPeer* peer);
  int NextMenuAnswer(const std::vector<MenuEntry>& items);

  friend class OffscreenPictureHold;
  std::map<uint64_t, int> heldPictures_;  // holds per picture serial
  int bitmapsMade_ = 0;
  std::map<NativeHandle, OffscreenPeer*> peers_;
  std::map<uint32_t, TSize> hosts_;
  std::vector<RecordedMessage> messages_;
  std::vector<RecordedMenu> menus_;
  std::deque<std::u16string> menuAnswers_;
  std::deque<std::function<void()>> posted_;
  bool runningPosted_ = false;
  OffscreenPeer* focused_ = nullptr;
  TRect workArea_{0, 0, 1024, 738};
  NativeHandle next_ = 0x100;
  int created_ = 0;
  int beeps_ = 0;
  int menuPeers_ = 0;
  int nativeEditMenus_ = 0;
};

// The offscreen backend of this process.
OffscreenBackend& Instance();

// The user's actions, delivered to the native window as the window system delivers them: a
// window that is disabled (natively, or inside a disabled parent) gets none. Each runs as an
// event handler does (see ui::RunGuarded) and returns false when an exception ended it.
bool Focus(TWinControl& control);
// A wheel notification received by `receiver` (the focused control, as the window system sends
// it there); `handled` reports whether a control handled it.
bool SendMouseWheel(TWinControl& receiver, int delta, TShiftState shift = 0, TPoint pos = {},
                    bool* handled = nullptr);
// Characters typed into `control`'s window (WM_CHAR): offered to the control, then to the native
// text box model (Backspace deletes, CR breaks a memo's line).
bool TypeText(TWinControl& control, std::u16string_view text);
// A key going down in `control`'s window; unless the control consumed it, the native default
// follows (Delete and the caret keys in a text box; the menu key and Shift+F10 ask for a
// context menu).
bool PressKey(TWinControl& control, uint16_t key, TShiftState shift = 0);
// A button pressed and released at a client point of `window`: the window system's hit test
// picks the deepest shown windowed control under it, which gets the press, the release and, for
// the right button, the context-menu request.
bool Click(TWinControl& window, TPoint pos, TMouseButton button = TMouseButton::mbLeft,
           TShiftState shift = 0);
// The same for the right button.
inline bool RightClick(TWinControl& window, TPoint pos) {
  return Click(window, pos, TMouseButton::mbRight);
}
// The clipboard's text pasted into `control`'s window (WM_PASTE: the context menu's Paste,
// Ctrl+V, Shift+Insert): offered to the control, then replacing the native box's selection.
bool Paste(TWinControl& control, std::u16string_view text);
// Another program setting the window's text (WM_SETTEXT from outside the toolkit).
bool SetWindowText(TWinControl& control, std::u16string_view text);
// The pointer moving to a client point of `window`.
bool MoveMouse(TWinControl& window, TPoint pos, TShiftState shift = 0);
// A click on a scroll bar part (sbLineUp, sbPageDown...) of a scrolling control.
bool ClickScrollBar(TScrollingWinControl& control, TScrollBarKind kind, uint16_t code);

}  // namespace ui::offscreen
