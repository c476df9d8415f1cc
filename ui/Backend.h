// The seam between portable controls and a window system. Controls keep all their state; a
// backend creates native counterparts on demand, mirrors state into them when told which aspect
// changed, and routes native events back through the controls' Wnd* entry points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/Types.h"

namespace ui {

class TWinControl;

// A native window as portable code sees it: a window handle on Windows, a serial number offscreen.
using NativeHandle = uintptr_t;

// What kind of native object mirrors a windowed control.
enum class NativeKind : uint8_t {
  Form,       // a top-level window of the layer's own class
  Container,  // a child window of the layer's own class (panels and the like)
  Edit,       // a single-line text box
  Memo,       // a multi-line text box
  Label,      // static text
};

// The piece of state that changed; the backend reads the new value from the control.
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
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the native side of `control`: a child of its parent's native side (which exists
  // already) or, without a parent, a top-level window. Children are created afterwards.
  virtual NativeHandle CreateHandle(TWinControl& control) = 0;
  // Destroys the native side of `control`. The native sides of its children are gone already.
  virtual void DestroyHandle(TWinControl& control) = 0;
  virtual void Sync(TWinControl& control, Aspect aspect) = 0;
  // The children of `control` have moved by (dx, dy) because it scrolled.
  virtual void ScrollChildren(TWinControl& control, int dx, int dy) = 0;
  // Moves the keyboard focus; the backend reports the change through WndKillFocus/WndSetFocus.
  virtual void SetFocus(TWinControl& control) = 0;
  // Makes a top-level window the child of a foreign host window (0: top level again).
  virtual void SetHostWindow(TWinControl& form, uint32_t host) = 0;
  virtual TSize HostClientSize(uint32_t host) = 0;
  virtual TRect WorkArea() = 0;
  // Thickness of a vertical scroll bar (and height of a horizontal one).
  virtual int ScrollBarSize() = 0;
  // Frame and caption thickness around a top-level window's client area, per side.
  virtual TRect NonClientExtents(TBorderStyle style) = 0;
  // The native selection of a text box; false when the backend keeps none (the control's own
  // state is then the truth).
  virtual bool GetSelection(const TWinControl& control, int& start, int& length) = 0;

  virtual int ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                             TMsgDlgType type) = 0;
  virtual void Beep() = 0;

  // Native objects (windows, fonts, brushes, bitmaps) the backend holds right now.
  virtual size_t NativeObjectCount() const = 0;
};

// The backend in use: the one set last, or the build's default (win32 on Windows, offscreen
// elsewhere).
Backend& CurrentBackend();
// Chooses the backend (null: the build's default). Refused while the current one holds native
// objects, since they could never be destroyed through the new one.
void SetBackend(Backend* backend);
// The build's default backend; defined by the backend the build compiles as its default.
Backend& DefaultBackend();

}  // namespace ui
