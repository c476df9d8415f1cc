// Scrolling, forms, their stored descriptions and their embedding into host windows.
#include "ui/Forms.h"

#include <algorithm>

#include "ui/Application.h"

namespace ui {

// --- TControlScrollBar -----------------------------------------------------------------------

int TControlScrollBar::PageSize() const {
  TRect client = control_.ClientRect();
  return kind_ == TScrollBarKind::sbVertical ? client.Height() : client.Width();
}

int TControlScrollBar::MaxPosition() const {
  return std::max(0, range_ - PageSize());
}

void TControlScrollBar::SetPosition(int value) {
  if (control_.loadingScroll_) {
    position_ = value;
    return;
  }
  value = std::clamp(value, 0, MaxPosition());
  if (value == position_) return;
  const int delta = position_ - value;
  position_ = value;
  if (kind_ == TScrollBarKind::sbVertical)
    control_.ScrollBy(0, delta);
  else
    control_.ScrollBy(delta, 0);
  control_.Changed(Aspect::Scroll);
}

void TControlScrollBar::SetRange(int value) {
  range_ = std::max(0, value);
  control_.UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  control_.UpdateScrollBars();
}

// --- TScrollingWinControl --------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(rt::TComponent* owner) : TWinControl(owner) {}

void TScrollingWinControl::SetAutoScroll(bool value) {
  if (value == autoScroll_) return;
  autoScroll_ = value;
  UpdateScrollBars();
}

TRect TScrollingWinControl::ClientRect() const {
  TRect nc = NonClientExtents();
  int width = Width() - nc.Left - nc.Right;
  int height = Height() - nc.Top - nc.Bottom;
  if (vert_.shown_ || horz_.shown_) {
    const int bar = CurrentBackend().Screen().ScrollBarSize();
    if (vert_.shown_) width -= bar;
    if (horz_.shown_) height -= bar;
  }
  return {0, 0, std::max(0, width), std::max(0, height)};
}

void TScrollingWinControl::UpdateScrollBars() {
  if (updatingBars_) return;
  updatingBars_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{updatingBars_};

  if (autoScroll_) {
    // The content's extent, in content coordinates: the children's far edges plus the offset.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() || c->Align() != TAlign::alNone) continue;
      right = std::max(right, c->Left() + c->Width() + horz_.position_);
      bottom = std::max(bottom, c->Top() + c->Height() + vert_.position_);
    }
    horz_.range_ = right;
    vert_.range_ = bottom;
  }

  TRect nc = NonClientExtents();
  const int width = Width() - nc.Left - nc.Right;
  const int height = Height() - nc.Top - nc.Bottom;
  const int bar = CurrentBackend().Screen().ScrollBarSize();
  bool v = vert_.visible_ && vert_.range_ > height;
  bool h = horz_.visible_ && horz_.range_ > width;
  // A bar that appears takes room from the other direction, which may then need its bar too.
  if (v && !h) h = horz_.visible_ && horz_.range_ > width - bar;
  if (h && !v) v = vert_.visible_ && vert_.range_ > height - bar;
  vert_.shown_ = v;
  horz_.shown_ = h;

  if (!loadingScroll_) {
    for (TControlScrollBar* b : {&horz_, &vert_}) {
      const int clamped = std::clamp(b->position_, 0, b->MaxPosition());
      if (clamped == b->position_) continue;
      const int delta = b->position_ - clamped;
      b->position_ = clamped;
      if (b->kind_ == TScrollBarKind::sbVertical)
        ScrollBy(0, delta);
      else
        ScrollBy(delta, 0);
    }
  }
  Changed(Aspect::Scroll);
}

intptr_t TScrollingWinControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == msgVScroll || msg == msgHScroll) {
    ScrollMessage(msg == msgVScroll ? vert_ : horz_, static_cast<uint16_t>(wParam & 0xFFFF),
                  lParam);
    return 0;
  }
  return TWinControl::Perform(msg, wParam, lParam);
}

void TScrollingWinControl::ScrollMessage(TControlScrollBar& bar, uint16_t code, intptr_t pos) {
  switch (code) {
    case sbLineUp:
      bar.SetPosition(bar.position_ - bar.increment_);
      break;
    case sbLineDown:
      bar.SetPosition(bar.position_ + bar.increment_);
      break;
    case sbPageUp:
      bar.SetPosition(bar.position_ - bar.PageSize());
      break;
    case sbPageDown:
      bar.SetPosition(bar.position_ + bar.PageSize());
      break;
    case sbThumbPosition:
    case sbThumbTrack:
      bar.SetPosition(static_cast<int>(pos));
      break;
    case sbTop:
      bar.SetPosition(0);
      break;
    case sbBottom:
      bar.SetPosition(bar.range_);
      break;
    default:
      break;
  }
}

// --- TForm -----------------------------------------------------------------------------------

TForm::TForm(rt::TComponent* owner) : TScrollingWinControl(owner) {
  InitVisible(false);
  SetTabStop(false);
}

TForm::~TForm() {
  if (!destroyFired_) RunGuarded([&] { TForm::BeforeDestruction(); });
}

void TForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction() {
  if (destroyFired_) return;
  destroyFired_ = true;
  if (OnDestroy) OnDestroy(this);
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  Changed(Aspect::Style);
  Realign();
}

TRect TForm::NonClientExtents() const {
  if (borderStyle_ == TBorderStyle::bsNone) return {};
  return CurrentBackend().Screen().NonClientExtents(borderStyle_);
}

void TForm::SetVisible(bool value) {
  if (value) HandleNeeded();
  TScrollingWinControl::SetVisible(value);
}

void TForm::SetParentWindow(uint32_t host) {
  if (host == parentWindow_) return;
  parentWindow_ = host;
  if (Peer()) Peer()->SetHostWindow(host);
  RequestAlign();
}

void TForm::EmbedInto(uint32_t host) {
  SetLeft(0);
  SetTop(0);
  // The host first: aligned before it, the form would take the screen's work area for a moment,
  // and a screen taller than the content would scroll it back to the top. Known before the
  // window exists, the host receives the window as it is made, at its final size, and the
  // children are made where the alignment puts them.
  SetParentWindow(host);
  SetAlign(TAlign::alClient);
  HandleNeeded();
  Show();
}

void TForm::HandleCreated() {
  // A recreated window goes back into the host it was in.
  if (parentWindow_) Peer()->SetHostWindow(parentWindow_);
}

void TForm::AlignTopLevel() {
  if (Align() != TAlign::alClient) return;
  TRect area;
  if (parentWindow_) {
    TSize host = CurrentBackend().Screen().HostClientSize(parentWindow_);
    area = {0, 0, host.Width, host.Height};
  } else {
    area = CurrentBackend().Screen().WorkArea();
  }
  SetBounds(area.Left, area.Top, area.Width(), area.Height());
}

void TForm::WndHostResized() {
  if (Align() == TAlign::alClient) AlignTopLevel();
}

void TForm::ApplyDescription(const FormDescription& d) {
  DisableAlign();
  loadingScroll_ = true;
  try {
    LoadDescription(d);
  } catch (...) {
    loadingScroll_ = false;
    EnableAlign();
    throw;
  }
  loadingScroll_ = false;
  EnableAlign();
  Realign();
  if (d.Visible) SetVisible(*d.Visible);
}

void TForm::LoadDescription(const FormDescription& d) {
  if (!d.Name.empty()) SetName(std::u16string(d.Name));
  if (d.BorderStyle) SetBorderStyle(*d.BorderStyle);
  SetBounds(d.Left.value_or(Left()), d.Top.value_or(Top()), d.Width.value_or(Width()),
            d.Height.value_or(Height()));
  if (d.ClientWidth) SetClientWidth(*d.ClientWidth);
  if (d.ClientHeight) SetClientHeight(*d.ClientHeight);
  if (d.Caption) SetCaption(*d.Caption);
  if (d.Color) SetColor(*d.Color);
  if (!d.Font.Empty()) SetFont(d.Font.ApplyTo(Font()));
  if (d.AutoScroll) SetAutoScroll(*d.AutoScroll);
  if (d.HorzScrollRange) HorzScrollBar().SetRange(*d.HorzScrollRange);
  if (d.VertScrollRange) VertScrollBar().SetRange(*d.VertScrollRange);
  if (d.HorzScrollPosition) HorzScrollBar().SetPosition(*d.HorzScrollPosition);
  if (d.VertScrollPosition) VertScrollBar().SetPosition(*d.VertScrollPosition);
  if (d.PixelsPerInch) SetPixelsPerInch(*d.PixelsPerInch);
  if (d.TextHeight) SetTextHeight(*d.TextHeight);

  CreateComponents(*this, d.Components);
  for (const ControlDescription& row : d.Controls) ApplyControl(row);
  FixupTabOrder();
}

void TForm::ApplyControl(const ControlDescription& row) {
  const std::u16string name(row.Name);
  if (!row.Create) throw rt::Exception(u"Control '" + name + u"' has no class");
  TWinControl* parent = this;
  if (!row.Parent.empty()) {
    auto* named = dynamic_cast<TWinControl*>(FindComponent(row.Parent));
    if (!named)
      throw rt::Exception(u"Parent '" + std::u16string(row.Parent) + u"' of control '" + name +
                          u"' not found");
    parent = &named->ChildParent();
  }
  TControl* c = row.Create(this);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(row.Left, row.Top, row.Width, row.Height);
  if (row.Align) c->SetAlign(*row.Align);
  if (row.Text) c->SetText(*row.Text);
  if (!row.Font.Empty()) c->SetFont(row.Font.ApplyTo(c->Font()));
  if (row.Color) c->SetColor(*row.Color);
  if (row.Cursor) c->SetCursor(*row.Cursor);
  if (row.Flags) c->SetStoredFlags(row.Flags);
  if (row.TabOrder) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w) throw rt::Exception(u"Control '" + name + u"' takes no tab order");
    w->SetRequestedTabOrder(*row.TabOrder);
  }
  for (const StoredProperty& p : row.Properties)
    if (!p.Name.empty()) c->SetStoredProperty(p.Name, p.Value);
}

}  // namespace ui
