// The offscreen window peer's mirror of what every window holds.
#include "ui/offscreen/OffscreenPeer.h"

#include "runtime/Exception.h"
#include "ui/Application.h"
#include "ui/Canvas.h"

namespace ui::offscreen {

OffscreenPeer::OffscreenPeer(OffscreenBackend& backend, TWinControl& control, NativeHandle handle)
    : backend_(backend), control_(control), handle_(handle) {}

OffscreenPeer::~OffscreenPeer() = default;

void OffscreenPeer::Create() {
  bounds_ = control_.BoundsRect();
  // A child is shown with its parent; a top-level window waits until it is told.
  visible_ = control_.Parent() && control_.Visible();
  enabled_ = control_.Enabled();
  windowText_ = control_.Text();
  font_ = control_.Font();
  color_ = control_.Color();
  bidi_ = control_.BiDiMode();
}

const OffscreenPeer* OffscreenPeer::ParentPeer() const {
  return control_.Parent() ? backend_.PeerOf(*control_.Parent()) : nullptr;
}

void OffscreenPeer::Sync(Aspect aspect) {
  switch (aspect) {
    case Aspect::Bounds:
      bounds_ = control_.BoundsRect();
      break;
    case Aspect::Text:
      windowText_ = control_.Text();
      break;
    case Aspect::Visible:
      visible_ = control_.Visible();
      break;
    case Aspect::Enabled:
      enabled_ = control_.Enabled();
      break;
    case Aspect::Font:
      font_ = control_.Font();
      break;
    case Aspect::Color:
      color_ = control_.Color();
      Invalidate(control_.ClientRect());
      break;
    case Aspect::Style:
      bidi_ = control_.BiDiMode();
      break;
    default:
      break;
  }
  SyncKind(aspect);
}

void OffscreenPeer::ScrollChildren(int, int) {
  // The portable side has moved every child already: place the child windows where it says.
  for (int i = 0; i < control_.ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(control_.Controls(i)))
      if (OffscreenPeer* child = backend_.PeerOf(*w)) child->bounds_ = w->BoundsRect();
  Invalidate(control_.ClientRect());
}

void OffscreenPeer::SetFocus() {
  backend_.Focus(this);
}

void OffscreenPeer::Invalidate(const TRect& rect) {
  ++invalidations_;
  invalid_ =
      IsEmpty(invalid_)
          ? rect
          : TRect{std::min(invalid_.Left, rect.Left), std::min(invalid_.Top, rect.Top),
                  std::max(invalid_.Right, rect.Right), std::max(invalid_.Bottom, rect.Bottom)};
}

TPoint OffscreenPeer::ClientToScreen(TPoint point) const {
  const TPoint origin = ClientOrigin();
  const TPoint inWindow{point.X + origin.X + bounds_.Left, point.Y + origin.Y + bounds_.Top};
  const OffscreenPeer* parent = ParentPeer();
  return parent ? parent->ClientToScreen(inWindow) : inWindow;
}

void OffscreenPeer::Destroy() {
  backend_.Forget(this);
  delete this;
}

bool OffscreenPeer::TakesInput() const {
  for (const OffscreenPeer* p = this; p; p = p->ParentPeer())
    if (!p->enabled_) return false;
  return true;
}

void OffscreenPeer::DefaultKeyDown(uint16_t key, TShiftState shift) {
  // What the default window procedure does with the menu key and Shift+F10.
  if (key == vkApps || (key == vkF10 && (shift & (ssShift | ssCtrl | ssAlt)) == ssShift))
    if (!control_.WndContextMenu(nullptr)) DefaultContextMenu();
}

void OffscreenPeer::PaintBackground(TCanvas& canvas) const {
  canvas.FillRect(control_.ClientRect(), color_);
}

std::u16string OffscreenPeer::Describe(const char* what) const {
  std::u16string name =
      control_.Name().empty() ? std::u16string(control_.ClassName()) : control_.Name();
  return name + u": " + rt::Utf8ToUtf16(what) + u" differs between the window and the control";
}

void OffscreenPeer::Verify(std::vector<std::u16string>& problems) const {
  Check(problems, "bounds", bounds_, control_.BoundsRect());
  Check(problems, "visibility", visible_, control_.Visible());
  Check(problems, "enabled state", enabled_, control_.Enabled());
  Check(problems, "text", windowText_, control_.Text());
  Check(problems, "font", font_, control_.Font());
  Check(problems, "colour", color_, control_.Color());
  Check(problems, "reading order", bidi_, control_.BiDiMode());
}

}  // namespace ui::offscreen
