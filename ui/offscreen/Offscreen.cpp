// The offscreen backend and the user's actions it offers to tests.
#include "ui/offscreen/Offscreen.h"

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Edits.h"
#include "ui/Forms.h"

namespace ui::offscreen {

NativeHandle OffscreenBackend::CreateHandle(TWinControl& control) {
  const NativeHandle handle = next_++;
  windows_[handle] = Window{&control, 0, control.Visible()};
  ++created_;
  return handle;
}

void OffscreenBackend::DestroyHandle(TWinControl& control) {
  windows_.erase(control.CurrentHandle());
}

const OffscreenBackend::Window* OffscreenBackend::Find(const TWinControl& control) const {
  auto it = windows_.find(control.CurrentHandle());
  return it == windows_.end() ? nullptr : &it->second;
}

void OffscreenBackend::Sync(TWinControl& control, Aspect aspect) {
  if (aspect != Aspect::Visible) return;
  auto it = windows_.find(control.CurrentHandle());
  if (it != windows_.end()) it->second.visible = control.Visible();
}

void OffscreenBackend::ScrollChildren(TWinControl&, int, int) {}

void OffscreenBackend::SetFocus(TWinControl& control) {
  // The window system's order: the old control hears of the loss first, then the new one.
  TWinControl* old = Application().FocusedControl();
  if (old == &control) return;
  if (old) RunGuarded([&] { old->WndKillFocus(); });
  RunGuarded([&] { control.WndSetFocus(); });
}

void OffscreenBackend::SetHostWindow(TWinControl& form, uint32_t host) {
  auto it = windows_.find(form.CurrentHandle());
  if (it != windows_.end()) it->second.host = host;
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

void OffscreenBackend::SetHostClientSize(uint32_t host, int width, int height) {
  hosts_[host] = TSize{width, height};
  std::vector<TForm*> embedded;
  for (auto& [handle, w] : windows_)
    if (w.host == host)
      if (auto* form = dynamic_cast<TForm*>(w.control)) embedded.push_back(form);
  for (TForm* form : embedded) RunGuarded([&] { form->WndHostResized(); });
}

uint32_t OffscreenBackend::HostOf(const TWinControl& form) const {
  const Window* w = Find(form);
  return w ? w->host : 0;
}

bool OffscreenBackend::NativeVisible(const TWinControl& control) const {
  const Window* w = Find(control);
  return w && w->visible;
}

OffscreenBackend& Instance() {
  static OffscreenBackend backend;
  return backend;
}

bool Focus(TWinControl& control) {
  return RunGuarded([&] { control.SetFocus(); });
}

bool SendMouseWheel(TWinControl& receiver, int delta, TShiftState shift, TPoint pos,
                    bool* handled) {
  bool result = false;
  const bool ok = RunGuarded([&] { result = receiver.WndMouseWheel(shift, delta, pos); });
  if (handled) *handled = result;
  return ok;
}

bool TypeText(TCustomEdit& edit, std::u16string_view text) {
  bool ok = true;
  for (char16_t typed : text) {
    ok = RunGuarded([&] {
           char16_t ch = typed;
           if (edit.WndChar(ch)) return;
           if (edit.ReadOnly() || !edit.Enabled()) return;
           if (ch == vkBack) {
             if (edit.SelLength() == 0) {
               if (edit.SelStart() == 0) return;
               edit.SetSelStart(edit.SelStart() - 1);
               edit.SetSelLength(1);
             }
             edit.SetSelText(u"");
             return;
           }
           const bool memo = edit.Kind() == NativeKind::Memo;
           if (ch < 0x20 && !(memo && ch == u'\r')) return;
           std::u16string insert = ch == u'\r' ? std::u16string(u"\r\n") : std::u16string(1, ch);
           const auto after =
               edit.Text().size() - static_cast<size_t>(edit.SelLength()) + insert.size();
           if (edit.MaxLength() > 0 && after > static_cast<size_t>(edit.MaxLength())) return;
           edit.SetSelText(insert);
         }) &&
         ok;
  }
  return ok;
}

bool PressKey(TWinControl& control, uint16_t key, TShiftState shift) {
  return RunGuarded([&] {
    uint16_t k = key;
    if (control.WndKeyDown(k, shift)) return;
    auto* edit = dynamic_cast<TCustomEdit*>(&control);
    if (k != vkDelete || !edit || edit->ReadOnly()) return;
    if (edit->SelLength() == 0) {
      if (static_cast<size_t>(edit->SelStart()) >= edit->Text().size()) return;
      edit->SetSelLength(1);
    }
    edit->SetSelText(u"");
  });
}

bool ClickScrollBar(TScrollingWinControl& control, TScrollBarKind kind, uint16_t code) {
  return RunGuarded([&] {
    control.Perform(kind == TScrollBarKind::sbVertical ? msgVScroll : msgHScroll, code, 0);
  });
}

}  // namespace ui::offscreen
