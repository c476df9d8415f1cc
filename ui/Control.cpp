// Portable behaviour of controls: geometry and layout, fonts, focus, tab order, the routing of
// keys, mouse, context menus and the wheel, painting of graphic children and the lifetime of the
// native side.
#include "ui/Control.h"

#include <algorithm>

#include "runtime/CodePage.h"
#include "runtime/Exception.h"
#include "ui/Application.h"
#include "ui/Canvas.h"
#include "ui/Description.h"
#include "ui/Forms.h"
#include "ui/GraphicControl.h"
#include "ui/Menus.h"

namespace ui {

namespace {

// Clears a flag when a scope ends, however it ends.
struct FlagScope {
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  bool& flag_;
};

}  // namespace

// --- TSizeConstraints ------------------------------------------------------------------------

void TSizeConstraints::SetMaxWidth(int value) {
  maxWidth_ = std::max(0, value);
  Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
  maxHeight_ = std::max(0, value);
  Changed();
}
void TSizeConstraints::SetMinWidth(int value) {
  minWidth_ = std::max(0, value);
  Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
  minHeight_ = std::max(0, value);
  Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const {
  if (minWidth_ > 0 && width < minWidth_) width = minWidth_;
  if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
  if (minHeight_ > 0 && height < minHeight_) height = minHeight_;
  if (maxHeight_ > 0 && height > maxHeight_) height = maxHeight_;
}

void TSizeConstraints::Changed() {
  TControl& c = control_;
  c.SetBounds(c.left_, c.top_, c.width_, c.height_);
  // An aligned control may now grow back into the space its parent gives it.
  if (c.align_ != TAlign::alNone) c.RequestAlign();
}

// --- TControl --------------------------------------------------------------------------------

TControl::TControl(rt::TComponent* owner) : rt::TComponent(owner) {}

TControl::~TControl() {
  SetPopupMenu(nullptr);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  for (TControl* p = parent; p; p = p->parent_)
    if (p == this) throw rt::Exception(u"A control cannot be its own parent");
  auto* self = dynamic_cast<TWinControl*>(this);
  if (self && self->HandleAllocated()) self->DestroyHandle();
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    if (self && parent->HandleAllocated()) self->HandleNeeded();
    RequestAlign();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  constraints_.Apply(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  StoreBounds(left, top, width, height);
  Changed(Aspect::Bounds);
  RequestAlign();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TControl::SetClientSize(int width, int height) {
  TRect client = ClientRect();
  SetBounds(left_, top_, width + (width_ - client.Width()), height + (height_ - client.Height()));
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed(Aspect::Visible);
  RequestAlign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed(Aspect::Enabled);
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  RequestAlign();
}

void TControl::SetFont(const TFont& font) {
  parentFont_ = false;
  if (font == font_) return;
  font_ = font;
  FontChanged();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_ || parent_->font_ == font_) return;
  font_ = parent_->font_;
  FontChanged();
}

void TControl::FontChanged() {
  Changed(Aspect::Font);
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed(Aspect::Color);
}

void TControl::SetText(std::u16string_view value) {
  if (value == text_) return;
  text_ = value;
  Changed(Aspect::Text);
  TextChanged();
}

void TControl::SetBiDiMode(TBiDiMode value) {
  if (value == bidiMode_) return;
  bidiMode_ = value;
  Changed(Aspect::Style);
}

bool TControl::DoMouseWheel(TShiftState shift, int delta, TPoint pos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, pos, handled);
  if (!handled) {
    if (delta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, pos, handled);
    if (delta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, pos, handled);
  }
  return handled;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::DoContextPopup(TPoint mousePos) {
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
  if (handled) return true;
  if (!popupMenu_) return false;
  // From the keyboard the menu opens under the control.
  const TPoint at = mousePos.X == -1 && mousePos.Y == -1 ? TPoint{0, height_} : mousePos;
  popupMenu_->PopupFor(*this, ClientToScreen(at));
  return true;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) std::erase(popupMenu_->users_, this);
  popupMenu_ = menu;
  if (menu) menu->users_.push_back(this);
}

TPoint TControl::ClientToScreen(TPoint point) const {
  if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->Peer())
    return self->Peer()->ClientToScreen(point);
  if (!parent_) return point;
  return parent_->ClientToScreen({point.X + left_, point.Y + top_});
}

void TControl::Invalidate() {}

intptr_t TControl::Perform(uint32_t, uintptr_t, intptr_t) {
  return 0;
}

void TControl::SetStoredProperty(std::u16string_view name, std::u16string_view value) {
  if (rt::SameTextAscii(name, u"PopupMenu")) {
    SetPopupMenu(&StoredReference<TPopupMenu>(name, value, Owner()));
    return;
  }
  throw rt::Exception(u"Property '" + std::u16string(name) + u"' does not exist on " +
                      std::u16string(ClassName()));
}

TControlFlags TControl::SupportedFlags() const {
  return cfDisabled | cfHidden | cfRightToLeft;
}

void TControl::SetStoredFlags(TControlFlags flags) {
  if (TControlFlags unknown = flags & ~SupportedFlags())
    throw rt::Exception(u"Flags " + rt::Utf8ToUtf16(std::to_string(unknown)) +
                        u" are not supported by " + std::u16string(ClassName()));
  if (flags & cfDisabled) SetEnabled(false);
  if (flags & cfHidden) SetVisible(false);
  if (flags & cfRightToLeft) SetBiDiMode(TBiDiMode::bdRightToLeft);
}

TForm* TControl::ParentForm() const {
  const TControl* top = this;
  while (top->parent_) top = top->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

void TControl::Changed(Aspect) {}

void TControl::RequestAlign() {
  if (parent_)
    parent_->Realign();
  else
    AlignTopLevel();
}

// --- TWinControl -----------------------------------------------------------------------------

TWinControl::TWinControl(rt::TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  tearingDown_ = true;
  TApplication& app = Application();
  if (app.focused_ == this) app.focused_ = nullptr;
  if (TForm* form = ParentForm(); form && form != this && form->ActiveControl() == this)
    form->SetActiveControl(nullptr);
  // The native tree goes at once with this window: the children let go of theirs first.
  if (peer_) DetachChildPeers();
  while (!controls_.empty()) delete controls_.back();  // each one leaves this list
  if (peer_) {
    HandleDestroying();
    DropPeer();
  }
}

void TWinControl::DetachChildPeers() {
  TApplication& app = Application();
  for (TControl* c : controls_) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w || !w->peer_) continue;
    w->DetachChildPeers();
    if (app.focused_ == w) app.focused_ = nullptr;
    w->HandleDestroying();
    WindowPeer* peer = w->peer_;
    w->peer_ = nullptr;
    peer->DestroyWithParent();
  }
}

const PeerKind& TWinControl::Kind() const {
  return kContainerKind;
}

void TWinControl::DropPeer() {
  WindowPeer* peer = peer_;
  peer_ = nullptr;
  peer->Destroy();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->IsGraphic() && control->Visible()) InvalidateRect(control->BoundsRect());
  if (mouseTarget_ == control) mouseTarget_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
  std::erase(controls_, control);
  // Compared as controls: a windowed control leaves from ~TControl, where it is one no longer.
  std::erase_if(tabList_, [&](TWinControl* w) { return static_cast<TControl*>(w) == control; });
  control->parent_ = nullptr;
  if (!tearingDown_) Realign();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  std::erase(list, this);
  size_t at = static_cast<size_t>(std::clamp(value, 0, static_cast<int>(list.size())));
  list.insert(list.begin() + static_cast<ptrdiff_t>(at), this);
}

void TWinControl::FixupTabOrder() {
  std::stable_sort(tabList_.begin(), tabList_.end(), [](TWinControl* a, TWinControl* b) {
    return a->requestedTabOrder_ < b->requestedTabOrder_;
  });
  for (TWinControl* c : tabList_) c->FixupTabOrder();
}

NativeHandle TWinControl::Handle() {
  HandleNeeded();
  return CurrentHandle();
}

void TWinControl::HandleNeeded() {
  if (peer_) return;
  if (BeingDestroyed())
    throw rt::Exception(u"Cannot create a window for a control that is being destroyed");
  if (Parent()) Parent()->HandleNeeded();  // creates the children, this one among them
  if (!peer_) CreateHandleTree();
}

void TWinControl::CreateHandleTree() {
  {
    FlagScope creating(creatingHandle_);
    peer_ = CurrentBackend().CreatePeer(*this);
  }
  HandleCreated();
  // Last child first: a new child window goes beneath its siblings, so creating them in this
  // order stacks later controls above earlier ones without moving a window afterwards. A
  // child's creation may add or remove controls, so the index is checked on every step.
  for (size_t i = controls_.size(); i-- > 0;) {
    if (i >= controls_.size()) continue;
    if (auto* w = dynamic_cast<TWinControl*>(controls_[i]); w && !w->peer_) w->CreateHandleTree();
  }
}

void TWinControl::DestroyHandle() {
  if (!peer_) return;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  TApplication& app = Application();
  if (app.focused_ == this) app.focused_ = nullptr;
  HandleDestroying();
  DropPeer();
}

void TWinControl::RecreateHandle() {
  if (!peer_) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::WndHandleDestroyed() {
  TApplication& app = Application();
  if (app.focused_ == this) app.focused_ = nullptr;
  peer_ = nullptr;
  mouseTarget_ = pressed_ = nullptr;
  HandleLost();
}

bool TWinControl::Focused() const {
  return Application().FocusedControl() == this;
}

bool TWinControl::BeingDestroyed() const {
  for (const TWinControl* w = this; w; w = w->Parent())
    if (w->tearingDown_) return true;
  return false;
}

bool TWinControl::CanFocus() const {
  // A control being destroyed takes the focus no more: destroying a focused window hands the
  // focus to its form, which must not pick the control on its way out (and give it a new window).
  if (BeingDestroyed()) return false;
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw rt::Exception(u"Cannot focus a disabled or invisible window");
  HandleNeeded();
  peer_->SetFocus();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto n = static_cast<ptrdiff_t>(list.size());
  ptrdiff_t start = std::find(list.begin(), list.end(), current) - list.begin();
  if (start == n) start = forward ? n - 1 : 0;
  for (ptrdiff_t step = 1; step <= n; ++step) {
    ptrdiff_t i = ((forward ? start + step : start - step) % n + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c != current && c->CanFocus() && (!checkTabStop || c->tabStop_)) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::EnableAlign() {
  if (alignLock_ > 0 && --alignLock_ == 0 && alignPending_) {
    alignPending_ = false;
    Realign();
  }
}

void TWinControl::Realign() {
  if (alignLock_ > 0) {
    alignPending_ = true;
    return;
  }
  if (aligning_ || tearingDown_) return;
  FlagScope aligning(aligning_);
  // Showing or hiding a scroll bar changes the client area, which the aligned children fill:
  // lay out again once when that happens.
  for (int pass = 0; pass < 2; ++pass) {
    TRect client = ClientRect();
    TRect rect = client;
    AlignControls(rect);
    AfterRealign();
    if (ClientRect() == client) break;
  }
}

void TWinControl::AlignControls(TRect& rect) {
  auto each = [&](TAlign align, auto&& place) {
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == align) place(c);
  };
  each(TAlign::alTop, [&](TControl* c) {
    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
    rect.Top += c->Height();
  });
  each(TAlign::alBottom, [&](TControl* c) {
    c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
    rect.Bottom -= c->Height();
  });
  each(TAlign::alLeft, [&](TControl* c) {
    c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
    rect.Left += c->Width();
  });
  each(TAlign::alRight, [&](TControl* c) {
    c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
    rect.Right -= c->Width();
  });
  each(TAlign::alClient,
       [&](TControl* c) { c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); });
}

void TWinControl::ScrollBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  for (TControl* c : controls_)
    c->StoreBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  if (peer_) peer_->ScrollChildren(dx, dy);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  const int oldWidth = Width(), oldHeight = Height();
  TControl::SetBounds(left, top, width, height);
  if (Width() != oldWidth || Height() != oldHeight) Realign();
}

void TWinControl::WndBoundsChanged(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  const bool resized = width != Width() || height != Height();
  StoreBounds(left, top, width, height);
  if (resized) Realign();
}

void TWinControl::Changed(Aspect aspect) {
  if (peer_ && !creatingHandle_) peer_->Sync(aspect);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::WndSetFocus() {
  TApplication& app = Application();
  app.focused_ = this;
  if (TForm* form = ParentForm(); form && form != this) form->SetActiveControl(this);
  DoEnter();
}

void TWinControl::WndKillFocus() {
  TApplication& app = Application();
  if (app.focused_ != this) return;
  app.focused_ = nullptr;
  DoExit();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::WndTextChanged(std::u16string text) {
  if (text == Text()) return;
  TControl::text_ = std::move(text);
  TextChanged();
}

bool TWinControl::WndMouseWheel(TShiftState shift, int delta, TPoint pos) {
  for (TControl* c = this; c; c = c->Parent())
    if (c->DoMouseWheel(shift, delta, pos)) return true;
  return false;
}

bool TWinControl::WndKeyDown(uint16_t& key, TShiftState shift) {
  KeyDown(key, shift);
  if (key == 0) return true;
  if (key == vkTab && !(shift & (ssCtrl | ssAlt))) {
    if (TForm* form = ParentForm()) form->SelectNext(this, !(shift & ssShift), true);
    key = 0;
    return true;
  }
  return false;
}

bool TWinControl::WndChar(char16_t& ch) {
  // Tab moved the focus when it went down; its character must not reach the control.
  if (ch == u'\t') return true;
  KeyPress(ch);
  return ch == 0;
}

TControl* TWinControl::GraphicControlAt(TPoint pos) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->IsGraphic() && (*it)->Visible() && Contains((*it)->BoundsRect(), pos)) return *it;
  return nullptr;
}

TControl* TWinControl::MouseTarget(TPoint pos, TPoint& local) {
  TControl* target = GraphicControlAt(pos);
  if (!target || !target->Enabled()) {  // a disabled graphic control leaves the mouse to us
    local = pos;
    return this;
  }
  local = {pos.X - target->Left(), pos.Y - target->Top()};
  return target;
}

void TWinControl::WndMouseDown(TMouseButton button, TShiftState shift, TPoint pos) {
  TPoint local;
  TControl* target = MouseTarget(pos, local);
  mouseTarget_ = target == this ? nullptr : target;
  if (button == TMouseButton::mbLeft) pressed_ = target;
  target->MouseDown(button, shift, local.X, local.Y);
}

void TWinControl::WndMouseUp(TMouseButton button, TShiftState shift, TPoint pos) {
  // The control the button went down on keeps the mouse until it comes up.
  TControl* target = mouseTarget_ ? mouseTarget_ : this;
  mouseTarget_ = nullptr;
  const TPoint local = target == this ? pos : TPoint{pos.X - target->Left(), pos.Y - target->Top()};
  const bool click = button == TMouseButton::mbLeft && pressed_ == target &&
                     Contains({0, 0, target->Width(), target->Height()}, local);
  if (button == TMouseButton::mbLeft) pressed_ = nullptr;
  target->MouseUp(button, shift, local.X, local.Y);
  if (click) target->Click();
}

void TWinControl::WndMouseMove(TShiftState shift, TPoint pos) {
  TControl* target = mouseTarget_;
  TPoint local;
  if (target)
    local = {pos.X - target->Left(), pos.Y - target->Top()};
  else
    target = MouseTarget(pos, local);
  target->MouseMove(shift, local.X, local.Y);
}

bool TWinControl::WndContextMenu(const TPoint* pos) {
  TControl* c = this;
  TPoint local{-1, -1};
  if (pos) c = MouseTarget(*pos, local);
  for (; c; c = c->Parent()) {
    if (c->DoContextPopup(local)) return true;
    if (pos) local = {local.X + c->Left(), local.Y + c->Top()};
  }
  return false;
}

void TWinControl::WndPaint(TCanvas& canvas) {
  Paint(canvas);
}

void TWinControl::Paint(TCanvas& canvas) {
  const TRect dirty = canvas.ClipRect();
  for (TControl* c : controls_) {
    if (!c->IsGraphic() || !c->Visible()) continue;
    const TRect bounds = c->BoundsRect();
    if (IsEmpty(Intersect(bounds, dirty))) continue;
    TCanvas::Scope scope(canvas, {bounds.Left, bounds.Top}, {0, 0, bounds.Width(), bounds.Height()},
                         c);
    static_cast<TGraphicControl*>(c)->Paint(canvas);
  }
}

void TWinControl::InvalidateRect(const TRect& rect) {
  if (peer_ && !tearingDown_ && !IsEmpty(rect)) peer_->Invalidate(rect);
}

void TWinControl::Invalidate() {
  InvalidateRect(ClientRect());
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

}  // namespace ui
