// The offscreen backend: no windows at all. It keeps a record per native handle (parent host,
// visibility), numbered host windows with client sizes that tests choose, and a log of message
// boxes and beeps; and it offers the user's actions (focus, typing, keys, wheel) to tests, each
// run as an event handler is run, so failures end in the application's error handling.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Types.h"

namespace ui {
class TCustomEdit;
class TScrollingWinControl;
}  // namespace ui

namespace ui::offscreen {

struct RecordedMessage {
  std::u16string Text;
  std::u16string Caption;
  TMsgDlgType Type;
};

class OffscreenBackend final : public Backend {
 public:
  NativeHandle CreateHandle(TWinControl& control) override;
  void DestroyHandle(TWinControl& control) override;
  void Sync(TWinControl& control, Aspect aspect) override;
  void ScrollChildren(TWinControl& control, int dx, int dy) override;
  void SetFocus(TWinControl& control) override;
  void SetHostWindow(TWinControl& form, uint32_t host) override;
  TSize HostClientSize(uint32_t host) override;
  TRect WorkArea() override { return workArea_; }
  int ScrollBarSize() override { return 17; }
  TRect NonClientExtents(TBorderStyle style) override;
  bool GetSelection(const TWinControl&, int&, int&) override { return false; }
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                     TMsgDlgType type) override;
  void Beep() override { ++beeps_; }
  size_t NativeObjectCount() const override { return windows_.size(); }

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

  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  // What ShowMessageBox answers (1: OK).
  int MessageBoxAnswer = 1;
  int Beeps() const { return beeps_; }
  void ClearBeeps() { beeps_ = 0; }

 private:
  struct Window {
    TWinControl* control = nullptr;
    uint32_t host = 0;
    bool visible = false;
  };
  const Window* Find(const TWinControl& control) const;

  std::map<NativeHandle, Window> windows_;
  std::map<uint32_t, TSize> hosts_;
  std::vector<RecordedMessage> messages_;
  TRect workArea_{0, 0, 1024, 738};
  NativeHandle next_ = 0x100;
  int created_ = 0;
  int beeps_ = 0;
};

// The offscreen backend of this process.
OffscreenBackend& Instance();

// The user's actions. Each runs as an event handler does (see ui::RunGuarded) and returns false
// when an exception ended it.
bool Focus(TWinControl& control);
// A wheel notification received by `receiver` (the focused control, as the window system sends
// it there); `handled` reports whether a control handled it.
bool SendMouseWheel(TWinControl& receiver, int delta, TShiftState shift = 0, TPoint pos = {},
                    bool* handled = nullptr);
// Types characters into a text box as the native box would take them: each one offered to the
// control first, then inserted at the selection unless refused, read-only or over MaxLength.
// Backspace (0x08) deletes.
bool TypeText(TCustomEdit& edit, std::u16string_view text);
// A key going down in `control`; Delete deletes in a text box unless the control consumed it.
bool PressKey(TWinControl& control, uint16_t key, TShiftState shift = 0);
// A click on a scroll bar part (sbLineUp, sbPageDown...) of a scrolling control.
bool ClickScrollBar(TScrollingWinControl& control, TScrollBarKind kind, uint16_t code);

}  // namespace ui::offscreen
