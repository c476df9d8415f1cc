// Scrolling containers and forms: scroll bars with ranges and line steps, the form's border,
// stored descriptions, creation and destruction events, and embedding into a host's window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/Exception.h"
#include "ui/Control.h"
#include "ui/Description.h"

namespace ui {

class TScrollingWinControl;

// One scroll bar of a scrolling control. Position is the offset of the content; Range its
// extent (computed from the children when AutoScroll is on).
class TControlScrollBar {
 public:
  TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind)
      : control_(control), kind_(kind) {}
  TScrollBarKind Kind() const { return kind_; }

  int Position() const { return position_; }
  // Scrolls the content to `value`, clamped to 0..MaxPosition().
  void SetPosition(int value);
  int Range() const { return range_; }
  void SetRange(int value);
  // The line step of the arrows and of the wheel.
  int Increment() const { return increment_; }
  void SetIncrement(int value) { increment_ = value > 0 ? value : 1; }
  // Whether the bar may appear at all.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Whether the bar is shown now (the content exceeds the client area).
  bool IsScrollBarVisible() const { return shown_; }
  // The client extent along this bar: the page a position shows.
  int PageSize() const;
  int MaxPosition() const;

 private:
  friend class TScrollingWinControl;
  TScrollingWinControl& control_;
  TScrollBarKind kind_;
  int position_ = 0;
  int range_ = 0;
  int increment_ = 8;
  bool visible_ = true;
  bool shown_ = false;
};

class TScrollingWinControl : public TWinControl {
 public:
  RT_CLASS_NAME(TScrollingWinControl)
  explicit TScrollingWinControl(rt::TComponent* owner);

  TControlScrollBar& HorzScrollBar() { return horz_; }
  TControlScrollBar& VertScrollBar() { return vert_; }
  const TControlScrollBar& HorzScrollBar() const { return horz_; }
  const TControlScrollBar& VertScrollBar() const { return vert_; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value);

  // The area inside the frame and the shown scroll bars.
  TRect ClientRect() const override;
  // Scroll requests: msgVScroll / msgHScroll with a scroll code in the low word of wParam (for
  // sbThumbPosition and sbThumbTrack, the position in lParam).
  intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

  // Recomputes the ranges (AutoScroll), which bars show, and clamps the positions.
  void UpdateScrollBars();

 protected:
  // Frame thickness around the client area; none for a plain scrolling control.
  virtual TRect NonClientExtents() const { return {}; }
  void AfterRealign() override { UpdateScrollBars(); }
  // While a description is applied, scroll positions are stored as given: they state where the
  // content was scrolled when the stored child positions were taken.
  bool loadingScroll_ = false;

 private:
  friend class TControlScrollBar;
  void ScrollMessage(TControlScrollBar& bar, uint16_t code, intptr_t pos);

  TControlScrollBar horz_{*this, TScrollBarKind::sbHorizontal};
  TControlScrollBar vert_{*this, TScrollBarKind::sbVertical};
  bool autoScroll_ = true;
  bool updatingBars_ = false;
};

inline constexpr PeerKind kFormKind{"Form"};

class TForm : public TScrollingWinControl {
 public:
  RT_CLASS_NAME(TForm)
  explicit TForm(rt::TComponent* owner);
  ~TForm() override;

  const PeerKind& Kind() const override { return kFormKind; }

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // The design scale of the stored coordinates; stored, not used to rescale.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int value) { textHeight_ = value; }

  // The control of this form that had the focus last.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control) { activeControl_ = control; }

  // The foreign window this form's window is a child of at the window-system level (0: none).
  // Inside the layer the form stays without a parent; with client alignment it fills the host
  // window's client area (within its constraints) and follows the host's size.
  uint32_t ParentWindow() const { return parentWindow_; }
  void SetParentWindow(uint32_t host);
  // Embeds the form into a host window: position 0, 0, client alignment, the native window
  // created if needed and re-parented into `host`, then shown.
  void EmbedInto(uint32_t host);

  void SetVisible(bool value) override;

  // The steps around construction and destruction: AfterConstruction fires OnCreate once the
  // whole constructor chain has run (ui::Construct calls it); BeforeDestruction fires OnDestroy
  // before anything is freed (the destructor fires it if nobody did).
  virtual void AfterConstruction();
  virtual void BeforeDestruction();
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  // The owned component of that name and class; a missing one is an error.
  template <class T>
  T& Find(std::u16string_view name) const {
    if (auto* c = dynamic_cast<T*>(FindComponent(name))) return *c;
    throw rt::Exception(u"Component '" + std::u16string(name) + u"' not found on " +
                        std::u16string(ClassName()));
  }

  // The host window's client area changed size.
  void WndHostResized();

 protected:
  // Applies one class's stored description (see ui/Description.h); constructors call it.
  void ApplyDescription(const FormDescription& description);
  TRect NonClientExtents() const override;
  void AlignTopLevel() override;
  void HandleCreated() override;
  // Only a host destroys our window from outside: the form is then no longer in it.
  void HandleLost() override { parentWindow_ = 0; }

 private:
  void LoadDescription(const FormDescription& description);
  void ApplyControl(const ControlDescription& row);

  TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  TWinControl* activeControl_ = nullptr;
  uint32_t parentWindow_ = 0;
  bool destroyFired_ = false;
};

// The form of `control`, or null.
inline TForm* GetParentForm(const TControl& control) {
  return control.ParentForm();
}

}  // namespace ui
