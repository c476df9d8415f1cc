// Popup menus.
#include "ui/Menus.h"

#include <algorithm>

namespace ui {

TMenuItem::TMenuItem(rt::TComponent* owner) : rt::TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (menu_) menu_->Remove(this);
}

void TMenuItem::SetCaption(std::u16string_view value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::Changed() {
  if (menu_) menu_->ItemsChanged();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(rt::TComponent* owner) : rt::TComponent(owner) {}

TPopupMenu::~TPopupMenu() {
  while (!users_.empty()) users_.back()->SetPopupMenu(nullptr);
  for (TMenuItem* item : items_) item->menu_ = nullptr;
}

void TPopupMenu::Add(TMenuItem* item) {
  if (item->menu_) item->menu_->Remove(item);
  items_.push_back(item);
  item->menu_ = this;
  ItemsChanged();
}

void TPopupMenu::Remove(TMenuItem* item) {
  if (item->menu_ != this) return;
  std::erase(items_, item);
  item->menu_ = nullptr;
  ItemsChanged();
}

void TPopupMenu::PopupFor(TControl& control, TPoint screen) {
  popupComponent_ = &control;
  if (OnPopup) OnPopup(this);
  Backend& backend = CurrentBackend();
  if (!peer_ || peerBackend_ != &backend) {
    peer_ = backend.Menus().CreateMenu();
    peerBackend_ = &backend;
    stale_ = true;
  }
  if (stale_) {
    std::vector<MenuEntry> rows;
    rows.reserve(items_.size());
    for (const TMenuItem* item : items_) rows.push_back({item->Caption(), item->Enabled()});
    peer_->SetItems(rows);
    stale_ = false;
  }
  // The window the menu belongs to: the control's own or its container's.
  TControl* c = &control;
  while (c && !dynamic_cast<TWinControl*>(c)) c = c->Parent();
  if (!c) return;
  auto& owner = static_cast<TWinControl&>(*c);
  owner.HandleNeeded();
  const int chosen = peer_->Popup(owner, screen);
  if (chosen < 0 || chosen >= Count()) return;
  TMenuItem* item = items_[static_cast<size_t>(chosen)];
  if (item->Enabled()) item->Click();
}

}  // namespace ui
