// The offscreen backend: its screen, menus and painting, and the user's actions it offers tests.
#include "ui/offscreen/Offscreen.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/Canvas.h"
#include "ui/Control.h"
#include "ui/Forms.h"
#include "ui/offscreen/OffscreenPeer.h"

namespace ui::offscreen {

namespace {

// The system colours as this backend shows them.
TColor Resolve(TColor c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  switch (c & 0xFF) {
    case 5:  // window
      return clWhite;
    case 8:   // window text
    case 18:  // button text
      return clBlack;
    case 16:  // button shadow
      return 0xA0A0A0;
    case 17:  // grey text
      return 0x6D6D6D;
    case 20:  // button highlight
      return clWhite;
    default:  // button face and the rest
      return 0xF0F0F0;
  }
}

int CharHeight(const TFont& font) {
  // A positive height is the cell (with internal leading); a negative one the character.
  return font.Height < 0 ? -font.Height : (font.Height * 5 + 3) / 6;
}

TSize Metrics(const TFont& font, std::u16string_view text) {
  const int h = CharHeight(font);
  const int advance = (h * 55 + 99) / 100 + ((font.Style & fsBold) ? 1 : 0);
  return {advance * static_cast<int>(text.size()), (h * 12 + 5) / 10};
}

// Records what a container paints.
class RecordingCanvas final : public TCanvas {
 public:
  RecordingCanvas(TRect clip, std::vector<PaintOp>& ops) : TCanvas(clip), ops_(ops) {}

 protected:
  void DoFillRect(const TRect& rect, TColor color) override {
    ops_.push_back({PaintOp::Fill, rect, color, {}, 0, Painter()});
  }
  void DoLine(TPoint from, TPoint to, TColor color, const TRect&) override {
    ops_.push_back({PaintOp::Line, {from.X, from.Y, to.X, to.Y}, color, {}, 0, Painter()});
  }
  void DoTextOut(TPoint at, std::u16string_view text, const TFont& font,
                 const TRect& clip) override {
    const TSize size = Metrics(font, text);
    const TRect r = Intersect({at.X, at.Y, at.X + size.Width, at.Y + size.Height}, clip);
    if (IsEmpty(r)) return;
    ops_.push_back({PaintOp::Text, r, font.Color, std::u16string(text), 0, Painter()});
  }
  void DoDraw(TPoint, const TPixels& picture, const TRect& clip) override {
    ops_.push_back({PaintOp::Image, clip, 0, {}, picture.Serial(), Painter()});
  }
  TSize DoTextExtent(const TFont& font, std::u16string_view text) override {
    return Metrics(font, text);
  }

 private:
  std::vector<PaintOp>& ops_;
};

// Paints into pixels: fills, lines, pictures blended over what lies beneath, and text as one
// solid box per visible character (enough to see where text lies and in which colour).
class PixelCanvas final : public TCanvas {
 public:
  explicit PixelCanvas(TPixels& target)
      : TCanvas({0, 0, target.Width(), target.Height()}), target_(target) {}

 protected:
  void DoFillRect(const TRect& r, TColor color) override {
    const TRgba p = RgbaOf(Resolve(color));
    for (int y = r.Top; y < r.Bottom; ++y)
      std::fill(target_.Row(y) + r.Left, target_.Row(y) + r.Right, p);
  }
  void DoLine(TPoint from, TPoint to, TColor color, const TRect& clip) override {
    const TRgba p = RgbaOf(Resolve(color));
    const int steps = std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y));
    for (int i = 0; i < steps; ++i) {
      const TPoint at{from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps};
      if (Contains(clip, at)) target_.At(at.X, at.Y) = p;
    }
  }
  void DoTextOut(TPoint at, std::u16string_view text, const TFont& font,
                 const TRect& clip) override {
    const TSize cell = Metrics(font, std::u16string_view(u"x"));
    const int h = CharHeight(font);
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u' ') continue;
      const int left = at.X + static_cast<int>(i) * cell.Width;
      const TRect glyph{left, at.Y + (cell.Height - h), left + cell.Width - 1, at.Y + cell.Height};
      const TRect r = Intersect(glyph, clip);
      if (!IsEmpty(r)) DoFillRect(r, font.Color);
    }
  }
  void DoDraw(TPoint at, const TPixels& picture, const TRect& clip) override {
    for (int y = clip.Top; y < clip.Bottom; ++y)
      for (int x = clip.Left; x < clip.Right; ++x) {
        TRgba src = picture.At(x - at.X, y - at.Y);
        if (!picture.HasAlpha()) src.A = 255;
        target_.At(x, y) = BlendOver(target_.At(x, y), src);
      }
  }
  TSize DoTextExtent(const TFont& font, std::u16string_view text) override {
    return Metrics(font, text);
  }

 private:
  TPixels& target_;
};

}  // namespace

// Reaches the backend's menu log for the menu peers.
class OffscreenMenu {
 public:
  static int Show(OffscreenBackend& b, const std::vector<MenuEntry>& items, TWinControl& owner,
                  TPoint screen) {
    RecordedMenu shown{{}, screen, &owner};
    for (const MenuEntry& e : items) shown.Captions.push_back(e.Caption);
    b.menus_.push_back(std::move(shown));
    return b.NextMenuAnswer(items);
  }
  static void Count(OffscreenBackend& b, int delta) { b.menuPeers_ += delta; }
};

namespace {

// A menu as the offscreen backend keeps it: its rows, and a log entry each time it is shown.
class OffscreenMenuPeer final : public MenuPeer {
 public:
  explicit OffscreenMenuPeer(OffscreenBackend& backend) : backend_(backend) {
    OffscreenMenu::Count(backend_, +1);
  }
  ~OffscreenMenuPeer() override { OffscreenMenu::Count(backend_, -1); }
  void SetItems(std::span<const MenuEntry> items) override {
    items_.assign(items.begin(), items.end());
  }
  int Popup(TWinControl& owner, TPoint screen) override {
    return OffscreenMenu::Show(backend_, items_, owner, screen);
  }

 private:
  OffscreenBackend& backend_;
  std::vector<MenuEntry> items_;
};

}  // namespace

// --- the backend -------------------------------------------------------------------------------

OffscreenBackend::OffscreenBackend() = default;

OffscreenBackend::~OffscreenBackend() {
  for (auto& [handle, peer] : peers_) delete peer;
}

WindowPeer* OffscreenBackend::CreatePeer(TWinControl& control) {
  const PeerFactory make = FindPeerFactory(PeerTable(), control.Kind());
  OffscreenPeer* peer = make(*this, control, next_);
  peers_[next_++] = peer;
  peer->Create();
  ++created_;
  return peer;
}

void OffscreenBackend::Forget(OffscreenPeer* peer) {
  if (focused_ == peer) focused_ = nullptr;
  peers_.erase(peer->Handle());
}

void OffscreenBackend::Focus(OffscreenPeer* peer) {
  // The window system's order: the old window hears of the loss first, then the new one.
  OffscreenPeer* old = focused_;
  if (old == peer) return;
  focused_ = peer;
  if (old) RunGuarded([&] { old->Control().WndKillFocus(); });
  RunGuarded([&] { peer->Control().WndSetFocus(); });
  RunPosted();
}

void OffscreenBackend::RunPosted() {
  if (runningPosted_) return;  // the outer loop runs what a posted job posts
  runningPosted_ = true;
  while (!posted_.empty()) {
    std::function<void()> job = std::move(posted_.front());
    posted_.pop_front();
    RunGuarded(job);
  }
  runningPosted_ = false;
}

OffscreenPeer* OffscreenBackend::PeerOf(const TWinControl& control) const {
  auto it = peers_.find(control.CurrentHandle());
  return it == peers_.end() ? nullptr : it->second;
}

// Keeps one picture's pretend bitmap.
class OffscreenPictureHold final : public PictureHold {
 public:
  OffscreenPictureHold(OffscreenBackend& backend, uint64_t serial)
      : backend_(backend), serial_(serial) {
    if (backend_.heldPictures_[serial_]++ == 0) ++backend_.bitmapsMade_;
  }
  ~OffscreenPictureHold() override {
    auto it = backend_.heldPictures_.find(serial_);
    if (--it->second == 0) backend_.heldPictures_.erase(it);
  }

 private:
  OffscreenBackend& backend_;
  uint64_t serial_;
};

std::unique_ptr<PictureHold> OffscreenBackend::HoldPicture(const TPixels& picture) {
  return std::make_unique<OffscreenPictureHold>(*this, picture.Serial());
}

NativeObjectCounts OffscreenBackend::Counts() const {
  NativeObjectCounts c;
  c.Windows = peers_.size();
  c.Bitmaps = heldPictures_.size();
  c.Menus = static_cast<size_t>(menuPeers_);
  return c;
}

size_t OffscreenBackend::WindowCount(const PeerKind& kind) const {
  return static_cast<size_t>(std::count_if(peers_.begin(), peers_.end(), [&](const auto& p) {
    return &p.second->Control().Kind() == &kind;
  }));
}

TSize OffscreenBackend::HostClientSize(uint32_t host) {
  auto it = hosts_.find(host);
  return it == hosts_.end() ? TSize{800, 600} : it->second;
}

TRect OffscreenBackend::NonClientExtents(TBorderStyle style) {
  switch (style) {
    case TBorderStyle::bsNone:
      return {};
    case TBorderStyle::bsToolWindow:
    case TBorderStyle::bsSizeToolWin:
      return {4, 22, 4, 4};
    default:
      return {4, 30, 4, 4};
  }
}

int OffscreenBackend::ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                     TMsgDlgType type) {
  messages_.push_back({std::u16string(text), std::u16string(caption), type});
  return MessageBoxAnswer;
}

TSize OffscreenBackend::TextExtent(const TFont& font, std::u16string_view text) {
  return Metrics(font, text);
}

std::unique_ptr<MenuPeer> OffscreenBackend::CreateMenu() {
  return std::make_unique<OffscreenMenuPeer>(*this);
}

int OffscreenBackend::NextMenuAnswer(const std::vector<MenuEntry>& items) {
  if (menuAnswers_.empty()) return -1;
  const std::u16string caption = std::move(menuAnswers_.front());
  menuAnswers_.pop_front();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].Caption == caption && items[i].Enabled && !items[i].Separator)
      return static_cast<int>(i);
  return -1;
}

void OffscreenBackend::SetHostClientSize(uint32_t host, int width, int height) {
  hosts_[host] = TSize{width, height};
  std::vector<TForm*> embedded;
  for (auto& [handle, peer] : peers_)
    if (peer->Host() == host)
      if (auto* form = dynamic_cast<TForm*>(&peer->Control())) embedded.push_back(form);
  for (TForm* form : embedded) RunGuarded([&] { form->WndHostResized(); });
}

uint32_t OffscreenBackend::HostOf(const TWinControl& form) const {
  const OffscreenPeer* p = PeerOf(form);
  return p ? p->Host() : 0;
}

bool OffscreenBackend::NativeVisible(const TWinControl& control) const {
  const OffscreenPeer* p = PeerOf(control);
  return p && p->Visible();
}

std::vector<PaintOp> OffscreenBackend::Paint(const TWinControl& container) {
  std::vector<PaintOp> ops;
  OffscreenPeer* peer = PeerOf(container);
  if (!peer) return ops;
  RecordingCanvas canvas(container.ClientRect(), ops);
  {
    TCanvas::Scope scope(canvas, {}, container.ClientRect(), &container);
    peer->PaintBackground(canvas);
  }
  const_cast<TWinControl&>(container).WndPaint(canvas);
  for (int i = 0; i < container.ControlCount(); ++i) {
    auto* child = dynamic_cast<const TWinControl*>(container.Controls(i));
    const OffscreenPeer* cp = child ? PeerOf(*child) : nullptr;
    if (cp && cp->Visible()) ops.push_back({PaintOp::Child, cp->Bounds(), 0, {}, 0, child});
  }
  peer->ClearInvalid();
  return ops;
}

TPixels OffscreenBackend::Render(const TWinControl& container) {
  const TRect client = container.ClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return {};
  TPixels pixels(client.Width(), client.Height(), false, RgbaOf(clWhite));
  OffscreenPeer* peer = PeerOf(container);
  if (!peer) return pixels;
  PixelCanvas canvas(pixels);
  peer->PaintBackground(canvas);
  const_cast<TWinControl&>(container).WndPaint(canvas);
  for (int i = 0; i < container.ControlCount(); ++i) {
    auto* child = dynamic_cast<const TWinControl*>(container.Controls(i));
    const OffscreenPeer* cp = child ? PeerOf(*child) : nullptr;
    if (!cp || !cp->Visible()) continue;
    const TPixels inner = Render(*child);
    const TRect at = cp->Bounds();
    const TRect r = Intersect(at, client);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (x - at.Left < inner.Width() && y - at.Top < inner.Height())
          pixels.At(x, y) = inner.At(x - at.Left, y - at.Top);
  }
  peer->ClearInvalid();
  return pixels;
}

int OffscreenBackend::Invalidations(const TWinControl& container) const {
  const OffscreenPeer* p = PeerOf(container);
  return p ? p->Invalidations() : 0;
}

std::vector<std::u16string> OffscreenBackend::MirrorMismatches() const {
  std::vector<std::u16string> problems;
  for (const auto& [handle, peer] : peers_) peer->Verify(problems);
  return problems;
}

OffscreenBackend& Instance() {
  static OffscreenBackend backend;
  return backend;
}

// --- the user's actions ------------------------------------------------------------------------

namespace {

// The offscreen backend in use (this process's own when another kind is current).
OffscreenBackend& Current() {
  auto* current = dynamic_cast<OffscreenBackend*>(&CurrentBackend());
  return current ? *current : Instance();
}

// The peer that takes input for `control`, creating the native side as a real window would have
// one; null when the window is disabled.
OffscreenPeer* InputPeer(TWinControl& control) {
  control.HandleNeeded();
  OffscreenPeer* peer = Current().PeerOf(control);
  return peer && peer->TakesInput() ? peer : nullptr;
}

// The window system's hit test: the deepest shown windowed control under a client point of
// `window` (later children lie above earlier ones), and the point in its client coordinates.
OffscreenPeer* HitTest(OffscreenPeer* window, TPoint& pos) {
  OffscreenBackend& backend = Current();
  TWinControl& c = window->Control();
  for (int i = c.ControlCount() - 1; i >= 0; --i) {
    auto* child = dynamic_cast<TWinControl*>(c.Controls(i));
    OffscreenPeer* cp = child ? backend.PeerOf(*child) : nullptr;
    if (!cp || !cp->Visible() || !Contains(cp->Bounds(), pos)) continue;
    pos = {pos.X - cp->Bounds().Left, pos.Y - cp->Bounds().Top};
    return HitTest(cp, pos);
  }
  return window;
}

// The user's action is delivered: what its handlers posted runs now.
bool Delivered(bool ok) {
  Current().RunPosted();
  return ok;
}

}  // namespace

bool Focus(TWinControl& control) {
  return Delivered(RunGuarded([&] { control.SetFocus(); }));
}

bool SendMouseWheel(TWinControl& receiver, int delta, TShiftState shift, TPoint pos,
                    bool* handled) {
  bool result = false;
  const bool ok = RunGuarded([&] { result = receiver.WndMouseWheel(shift, delta, pos); });
  if (handled) *handled = result;
  return ok;
}

bool TypeText(TWinControl& control, std::u16string_view text) {
  bool ok = true;
  for (char16_t typed : text) {
    ok = RunGuarded([&] {
           OffscreenPeer* peer = InputPeer(control);
           if (!peer) return;
           char16_t ch = typed;
           if (control.WndChar(ch)) return;
           peer->DefaultChar(ch);
         }) &&
         ok;
  }
  return Delivered(ok);
}

bool PressKey(TWinControl& control, uint16_t key, TShiftState shift) {
  return Delivered(RunGuarded([&] {
    OffscreenPeer* peer = InputPeer(control);
    if (!peer) return;
    uint16_t k = key;
    if (control.WndKeyDown(k, shift)) return;
    peer->DefaultKeyDown(k, shift);
  }));
}

bool Click(TWinControl& window, TPoint pos, TMouseButton button, TShiftState shift) {
  return Delivered(RunGuarded([&] {
    window.HandleNeeded();
    OffscreenPeer* top = Current().PeerOf(window);
    if (!top) return;
    OffscreenPeer* peer = HitTest(top, pos);
    if (!peer->TakesInput()) return;
    TWinControl& target = peer->Control();
    target.WndMouseDown(button, shift, pos);
    peer->DefaultMouseDown(button, pos);
    target.WndMouseUp(button, shift, pos);
    // The default window procedure turns a right button's release into a context-menu request.
    if (button == TMouseButton::mbRight && !target.WndContextMenu(&pos)) peer->DefaultContextMenu();
  }));
}

bool Paste(TWinControl& control, std::u16string_view text) {
  return Delivered(RunGuarded([&] {
    if (OffscreenPeer* peer = InputPeer(control)) peer->DefaultPaste(text);
  }));
}

bool SetWindowText(TWinControl& control, std::u16string_view text) {
  return Delivered(RunGuarded([&] {
    control.HandleNeeded();
    if (OffscreenPeer* peer = Current().PeerOf(control)) peer->DefaultSetText(text);
  }));
}

bool MoveMouse(TWinControl& window, TPoint pos, TShiftState shift) {
  return RunGuarded([&] {
    window.HandleNeeded();
    OffscreenPeer* top = Current().PeerOf(window);
    if (!top) return;
    OffscreenPeer* peer = HitTest(top, pos);
    if (peer->TakesInput()) peer->Control().WndMouseMove(shift, pos);
  });
}

bool ClickScrollBar(TScrollingWinControl& control, TScrollBarKind kind, uint16_t code) {
  return RunGuarded([&] {
    control.Perform(kind == TScrollBarKind::sbVertical ? msgVScroll : msgHScroll, code, 0);
  });
}

}  // namespace ui::offscreen
