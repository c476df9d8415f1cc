// The seam between portable controls and a window system, one part per concern:
//
//   WindowPeer    the native side of one windowed control, made per control kind by the backend's
//                 factory; it mirrors the control's state (Sync) and feeds native events back
//                 into the control's Wnd* entry points (ui/Control.h), the one input path.
//   ScreenPart    metrics, host windows, modal message boxes, beeps, and work posted to run once
//                 the window system has finished delivering the current message.
//   GraphicsPart  text measurement; painting goes through a TCanvas (ui/Canvas.h) that the
//                 backend hands to a container when it paints its graphic controls.
//   MenuPart      popup menus: a native menu per menu, shown at a screen point, answering the
//                 chosen item.
//
// Extending it:
//   - A new windowed kind: declare `inline constexpr PeerKind kFooKind{"Foo"}` beside the control
//     class and return it from Kind(); add one peer file per backend (ui/win32/FooPeer.cpp,
//     ui/offscreen/FooPeer.cpp) deriving from that backend's peer base, and one row in each
//     backend's peer table (ui/win32/PeerTable.cpp, ui/offscreen/PeerTable.cpp). The peer syncs
//     the aspects it knows and passes the rest to its base; the offscreen peer also compares its
//     mirror with the control (Verify), so a forgotten Changed() fails the test that caused it.
//   - A new piece of state: add an Aspect, call Changed(Aspect::X) where it changes, and handle it
//     in the peers that show it. Peers ignore aspects they do not know.
//   - A graphic control (no window): derive from TGraphicControl (ui/GraphicControl.h), paint in
//     Paint(TCanvas&) at the control's own origin, and call Invalidate() when its look changes.
//     Containers paint graphic children beneath their windowed children, in creation order.
//   - A menu: build MenuEntry rows and show them through Menus().CreateMenu() (ui/Menus.h does).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "runtime/Exception.h"
#include "ui/Types.h"

namespace ui {

class TWinControl;
class TCanvas;
class TPixels;

// A native window as portable code sees it: a window handle on Windows, a serial number offscreen.
using NativeHandle = uintptr_t;

// The kind of native window that mirrors a windowed control. Each kind is one constant, compared
// by address; the backends map it to the peer class that creates and mirrors that window.
struct PeerKind {
  std::string_view Name;
};

// The piece of state that changed; the peer reads the new value from the control.
enum class Aspect : uint8_t {
  Bounds,
  Text,
  Visible,
  Enabled,
  Font,
  Color,
  Style,  // border, alignment, reading order, scroll bars of a memo: anything in the window style
  ReadOnly,
  MaxLength,
  Selection,
  Scroll,  // scroll bar visibility, range and position of a scrolling control
  State,   // kind-specific state without a window style (a check box's check mark...)
};

// The native side of one windowed control. The backend owns it; the control holds a pointer
// from CreatePeer until it calls Destroy (or the window system destroys the window from outside,
// which the peer reports through TWinControl::WndHandleDestroyed before it frees itself).
class WindowPeer {
 public:
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  virtual NativeHandle Handle() const = 0;
  // Mirrors one aspect of the control's state into the native window.
  virtual void Sync(Aspect aspect) = 0;
  // The portable side moved every child by (dx, dy): the content scrolled.
  virtual void ScrollChildren(int dx, int dy) = 0;
  // Moves the keyboard focus here; the change comes back through WndKillFocus/WndSetFocus.
  virtual void SetFocus() = 0;
  // Makes a top-level window the child of a foreign host window (0: top level again).
  virtual void SetHostWindow(uint32_t host) = 0;
  // The native selection of a text box; false when the window keeps none.
  virtual bool GetSelection(int& /*start*/, int& /*length*/) const { return false; }
  // Repaints `rect` (client coordinates): a graphic child changed.
  virtual void Invalidate(const TRect& rect) = 0;
  // A point in client coordinates, in screen coordinates.
  virtual TPoint ClientToScreen(TPoint point) const = 0;
  // Destroys the native window and this peer. Nothing reaches the control afterwards.
  virtual void Destroy() = 0;
  // The parent's window is about to be destroyed and takes this one with it: nothing reaches
  // the control from now on, and the peer goes with the native window (by default, now).
  virtual void DestroyWithParent() { Destroy(); }

 protected:
  WindowPeer() = default;
  ~WindowPeer() = default;
};

class ScreenPart {
 public:
  virtual TSize HostClientSize(uint32_t host) = 0;
  virtual TRect WorkArea() = 0;
  // Thickness of a vertical scroll bar (and height of a horizontal one).
  virtual int ScrollBarSize() = 0;
  // Frame and caption thickness around a top-level window's client area, per side.
  virtual TRect NonClientExtents(TBorderStyle style) = 0;
  virtual int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                             TMsgDlgType type) = 0;
  virtual void Beep() = 0;
  // Runs `job` after the message being delivered now (and the focus change it belongs to) has
  // finished, inside the event-handler guard: what a handler may not do while the window system
  // is in the middle of a change, such as moving the focus back during a focus loss.
  virtual void Post(std::function<void()> job) = 0;

 protected:
  ~ScreenPart() = default;
};

// A picture's native bitmap, kept while a control shows the picture: releasing the last hold of
// a picture frees its bitmap.
class PictureHold {
 public:
  virtual ~PictureHold() = default;
};

class GraphicsPart {
 public:
  // The size of `text` on one line in `font`: advance width and line height.
  virtual TSize TextExtent(const TFont& font, std::u16string_view text) = 0;
  // Makes the picture's native bitmap now, if it has none yet, and keeps it until the hold is
  // released: a picture shown by any number of controls has one bitmap, made once, however
  // its containers repaint.
  virtual std::unique_ptr<PictureHold> HoldPicture(const TPixels& picture) = 0;

 protected:
  ~GraphicsPart() = default;
};

// One row of a popup menu as the backend shows it.
struct MenuEntry {
  std::u16string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool Separator = false;
};

// A native popup menu, built once and kept in step with its rows.
class MenuPeer {
 public:
  virtual ~MenuPeer() = default;
  virtual void SetItems(std::span<const MenuEntry> items) = 0;
  // Shows the menu at a screen point on behalf of `owner` and waits for the user: the chosen
  // row's index, or -1 when the menu was dismissed.
  virtual int Popup(TWinControl& owner, TPoint screen) = 0;
};

class MenuPart {
 public:
  virtual std::unique_ptr<MenuPeer> CreateMenu() = 0;

 protected:
  ~MenuPart() = default;
};

// Native objects a backend holds now, by kind.
struct NativeObjectCounts {
  size_t Windows = 0;
  size_t Fonts = 0;
  size_t Brushes = 0;
  size_t Pens = 0;
  size_t Bitmaps = 0;
  size_t Menus = 0;
  size_t Total() const { return Windows + Fonts + Brushes + Pens + Bitmaps + Menus; }
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the native side of `control`, of the kind it names: a child of its parent's native
  // side (which exists already) or, without a parent, a top-level window. Children come later.
  virtual WindowPeer* CreatePeer(TWinControl& control) = 0;
  virtual ScreenPart& Screen() = 0;
  virtual GraphicsPart& Graphics() = 0;
  virtual MenuPart& Menus() = 0;

  virtual NativeObjectCounts Counts() const = 0;
  // Native windows of one kind held now.
  virtual size_t WindowCount(const PeerKind& kind) const = 0;
  size_t NativeObjectCount() const { return Counts().Total(); }
};

// The backend in use: the one set last, or the build's default (win32 on Windows, offscreen
// elsewhere).
Backend& CurrentBackend();
// Chooses the backend (null: the build's default). Refused while the current one holds native
// objects, since they could never be destroyed through the new one.
void SetBackend(Backend* backend);
// The build's default backend; defined by the backend the build compiles as its default.
Backend& DefaultBackend();

// A backend's table from kinds to peer factories; a kind it has no row for is an error that
// names the kind.
template <class Factory>
struct PeerTableRow {
  const PeerKind* Kind;
  Factory Create;
};

template <class Factory>
Factory FindPeerFactory(std::span<const PeerTableRow<Factory>> table, const PeerKind& kind) {
  for (const auto& row : table)
    if (row.Kind == &kind) return row.Create;
  throw rt::Exception(u"No native window for controls of kind " +
                      std::u16string(kind.Name.begin(), kind.Name.end()));
}

}  // namespace ui
