// Controls: the portable state and behaviour of everything shown in a window. TControl holds
// geometry, visibility, font and colour and takes the mouse; TWinControl adds children, tab
// order, focus and the native side (a WindowPeer) that the current backend mirrors from it.
// Every input, on every backend, enters through TWinControl's Wnd* entry points.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Component.h"
#include "ui/Backend.h"
#include "ui/Types.h"

namespace ui {

class TControl;
class TWinControl;
class TForm;
class TCanvas;
class TPopupMenu;

using TNotifyEvent = std::function<void(rt::TComponent* sender)>;
using TMouseWheelEvent = std::function<void(rt::TComponent* sender, TShiftState shift, int delta,
                                            TPoint pos, bool& handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(rt::TComponent* sender, TShiftState shift, TPoint pos, bool& handled)>;
using TKeyEvent = std::function<void(rt::TComponent* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(rt::TComponent* sender, char16_t& key)>;
using TMouseEvent = std::function<void(rt::TComponent* sender, TMouseButton button,
                                       TShiftState shift, int x, int y)>;
using TMouseMoveEvent =
    std::function<void(rt::TComponent* sender, TShiftState shift, int x, int y)>;
// `mousePos` is in the control's client coordinates; (-1, -1) when the keyboard asked.
using TContextPopupEvent =
    std::function<void(rt::TComponent* sender, TPoint mousePos, bool& handled)>;

// Flags a stored control description may set (see ui/Description.h). Each class accepts the
// flags it understands and rejects the rest.
using TControlFlags = uint32_t;
inline constexpr TControlFlags cfDisabled = 1u << 0;
inline constexpr TControlFlags cfHidden = 1u << 1;
inline constexpr TControlFlags cfRightToLeft = 1u << 2;
inline constexpr TControlFlags cfNoTabStop = 1u << 3;
inline constexpr TControlFlags cfNoBorder = 1u << 4;
inline constexpr TControlFlags cfReadOnly = 1u << 5;
inline constexpr TControlFlags cfVertScrollBar = 1u << 6;
inline constexpr TControlFlags cfHorzScrollBar = 1u << 7;
inline constexpr TControlFlags cfTransparent = 1u << 8;

// Minimum and maximum size of a control; 0 means no limit. Changing a limit re-applies the
// control's size at once.
class TSizeConstraints {
 public:
  explicit TSizeConstraints(TControl& control) : control_(control) {}
  int MaxWidth() const { return maxWidth_; }
  int MaxHeight() const { return maxHeight_; }
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  void SetMaxWidth(int value);
  void SetMaxHeight(int value);
  void SetMinWidth(int value);
  void SetMinHeight(int value);
  // Clamps a proposed size to the limits.
  void Apply(int& width, int& height) const;

 private:
  void Changed();
  TControl& control_;
  int maxWidth_ = 0, maxHeight_ = 0, minWidth_ = 0, minHeight_ = 0;
};

class TControl : public rt::TComponent {
 public:
  RT_CLASS_NAME(TControl)
  explicit TControl(rt::TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Moves and sizes the control; the size is clamped to its constraints.
  virtual void SetBounds(int left, int top, int width, int height);

  // The client area, in the control's own coordinates.
  virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  void SetClientSize(int width, int height);

  TSizeConstraints& Constraints() { return constraints_; }
  const TSizeConstraints& Constraints() const { return constraints_; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and inside visible parents up to a top-level control.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  // The font and colour. A control with ParentFont set follows its parent's font; setting a
  // font of its own clears ParentFont.
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);

  // Text of edits and memos, caption of forms and labels: one property.
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string_view value);
  const std::u16string& Caption() const { return text_; }
  void SetCaption(std::u16string_view value) { SetText(value); }

  TBiDiMode BiDiMode() const { return bidiMode_; }
  void SetBiDiMode(TBiDiMode value);

  // The mouse pointer while it is over the control; the window system asks for it each time.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }

  intptr_t Tag = 0;

  // The standard wheel handling: fires OnMouseWheel and, unless that handled it, OnMouseWheelDown
  // or OnMouseWheelUp by the sign of the delta; returns whether an event handled it.
  virtual bool DoMouseWheel(TShiftState shift, int delta, TPoint pos);
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  // The mouse, in the control's client coordinates. A press and a release of the left button
  // over the same control make a click.
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnClick;
  // A context menu was asked for over this control (right click, the menu key, Shift+F10):
  // fires OnContextPopup and, unless that handled it, shows PopupMenu. Returns whether one did.
  virtual bool DoContextPopup(TPoint mousePos);
  TContextPopupEvent OnContextPopup;
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // A point in this control's client coordinates, on the screen.
  TPoint ClientToScreen(TPoint point) const;
  // Repaints the control: a graphic control asks its container, a windowed one its window.
  virtual void Invalidate();
  // Whether this control paints on its container instead of having a window.
  virtual bool IsGraphic() const { return false; }

  // Sends the control one of the portable messages of ui/Types.h; unknown messages return 0.
  virtual intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  // Stored descriptions: kind-specific properties by name, and flags. Unknown names and flags are
  // errors, so a description never silently loses a setting. Every control takes "PopupMenu",
  // the name of a menu its owner owns.
  virtual void SetStoredProperty(std::u16string_view name, std::u16string_view value);
  virtual TControlFlags SupportedFlags() const;
  virtual void SetStoredFlags(TControlFlags flags);

  // The form this control sits on (the top of its parent chain when that is a form).
  TForm* ParentForm() const;

 protected:
  // Called after a piece of state changed; windowed controls mirror it into their native side.
  virtual void Changed(Aspect aspect);
  // Asks the parent (or, for a top-level control, the control itself) to lay out again after a
  // change of size, position, visibility or alignment.
  void RequestAlign();
  // Lays out a control without a parent; nothing by default.
  virtual void AlignTopLevel() {}
  // A parent's font changed: follow it if ParentFont is set.
  virtual void ParentFontChanged();
  // The font changed; windowed controls pass it on to the children that follow it.
  virtual void FontChanged();
  // The text changed, by a call or by the user; edits fire OnChange here.
  virtual void TextChanged() {}
  // Mouse handling; the defaults fire the events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Click();
  // Stores bounds without clamping, mirroring or re-layout (scrolling and native moves).
  void StoreBounds(int left, int top, int width, int height);
  // Sets the initial visibility of a class whose instances start hidden (forms).
  void InitVisible(bool value) { visible_ = value; }

 private:
  friend class TSizeConstraints;
  friend class TWinControl;
  friend class TPopupMenu;

  TWinControl* parent_ = nullptr;
  TPopupMenu* popupMenu_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TSizeConstraints constraints_{*this};
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  TAlign align_ = TAlign::alNone;
  TFont font_;
  TColor color_ = clBtnFace;
  std::u16string text_;
  TBiDiMode bidiMode_ = TBiDiMode::bdLeftToRight;
  TCursor cursor_ = TCursor::crDefault;
};

inline constexpr PeerKind kContainerKind{"Container"};

class TWinControl : public TControl {
 public:
  RT_CLASS_NAME(TWinControl)
  explicit TWinControl(rt::TComponent* owner);
  // Frees the child controls (newest first) and then the native side.
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_[static_cast<size_t>(index)]; }
  // Windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return tabList_; }

  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }

  // The kind of native window this control needs (see ui/Backend.h).
  virtual const PeerKind& Kind() const;
  // Where a stored row that names this control as its parent puts its control: the control
  // itself, or a container inside it that holds what it shows (a grid's live panel).
  virtual TWinControl& ChildParent() { return *this; }
  bool HandleAllocated() const { return peer_ != nullptr; }
  // The native handle if there is one (0 otherwise); never creates it.
  NativeHandle CurrentHandle() const { return peer_ ? peer_->Handle() : 0; }
  // The native side, if there is one.
  WindowPeer* Peer() const { return peer_; }
  // The native handle, created (with those of the parents and children) if needed.
  NativeHandle Handle();
  void HandleNeeded();
  // Destroys the native side (and the children's); the portable state stays.
  void DestroyHandle();
  // Rebuilds the native side, for style changes a native control cannot take while it lives.
  void RecreateHandle();

  bool Focused() const;
  // Enabled and showing, along with every parent, and none of them being destroyed.
  bool CanFocus() const;
  // This control or one of its parents is being destroyed.
  bool BeingDestroyed() const;
  virtual void SetFocus();
  // The windowed controls inside this one, depth first in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) control after `current` in the tab order that can take the focus.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  // Layout is postponed while disabled (nested calls count); re-enabling lays out once.
  void DisableAlign() { ++alignLock_; }
  void EnableAlign();
  void Realign();

  // Moves every child by (dx, dy): the content scrolls.
  void ScrollBy(int dx, int dy);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  // Entry points for backends, reporting what happened to the native side.
  void WndSetFocus();
  void WndKillFocus();
  void WndTextChanged(std::u16string text);
  // A wheel notification received by this control: offered to it, then to each parent up to the
  // form, until one handles it. Returns whether one did.
  bool WndMouseWheel(TShiftState shift, int delta, TPoint pos);
  // A key pressed in this control; returns true when the key was consumed (set to 0) and the
  // native control must not see it. Tab moves the focus through the form's tab order.
  bool WndKeyDown(uint16_t& key, TShiftState shift);
  bool WndChar(char16_t& ch);
  // The mouse over this control's window, in client coordinates. Graphic children take what
  // falls on them (the topmost, the last created, first); a press and release on the same
  // control make a click.
  void WndMouseDown(TMouseButton button, TShiftState shift, TPoint pos);
  void WndMouseUp(TMouseButton button, TShiftState shift, TPoint pos);
  void WndMouseMove(TShiftState shift, TPoint pos);
  // A context menu asked for in this window: at a client point (a right click, over a graphic
  // child too) or from the keyboard (null). Offered to the control under the point, then up its
  // parents; returns whether one showed a menu or handled it.
  bool WndContextMenu(const TPoint* pos);
  // The window paints: its graphic children, in creation order, clipped to what needs it.
  void WndPaint(TCanvas& canvas);
  // The native side was destroyed from outside (a host destroyed its window with ours inside).
  void WndHandleDestroyed();

  // The graphic child at a client point (the topmost that is visible), or null.
  TControl* GraphicControlAt(TPoint pos) const;
  // Repaints a rectangle of the client area (the bounds of a graphic child that changed).
  void InvalidateRect(const TRect& rect);
  void Invalidate() override;
  // The native side was moved or sized by the window system (a user dragging a top-level window).
  void WndBoundsChanged(int left, int top, int width, int height);

  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void Changed(Aspect aspect) override;
  void FontChanged() override;
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  // Paints what the window shows beneath its windowed children; by default, its graphic
  // children. Containers with a look of their own (a frame) paint it first, then call this.
  virtual void Paint(TCanvas& canvas);
  // Lays out the aligned children inside `rect` (client coordinates), consuming what they take.
  virtual void AlignControls(TRect& rect);
  // Called after the children were laid out; scrolling controls recompute their ranges here.
  virtual void AfterRealign() {}
  // The native side now exists (or is about to go): hooks for subclasses.
  virtual void HandleCreated() {}
  virtual void HandleDestroying() {}
  // Before this control's window is destroyed with its children: each child control lets go of
  // its peer, depth first, as if its own window had been destroyed.
  void DetachChildPeers();
  // The native side was destroyed from outside (see WndHandleDestroyed).
  virtual void HandleLost() {}

 public:
  // Loading a description: tab orders are requested per control, then every container's tab
  // list is sorted by them once all rows exist (stored orders may have gaps).
  void SetRequestedTabOrder(int value) { requestedTabOrder_ = value; }
  void FixupTabOrder();

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void CreateHandleTree();
  void DropPeer();
  TControl* MouseTarget(TPoint pos, TPoint& local);

  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  WindowPeer* peer_ = nullptr;
  TControl* mouseTarget_ = nullptr;  // the graphic child a pressed button went down on
  TControl* pressed_ = nullptr;      // where the left button went down (for the click)
  int alignLock_ = 0;
  bool alignPending_ = false;
  bool aligning_ = false;
  bool tearingDown_ = false;
  bool tabStop_ = false;
  bool creatingHandle_ = false;
  int requestedTabOrder_ = INT_MAX;
};

}  // namespace ui
