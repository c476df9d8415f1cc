// Popup menus: items with a caption and a click handler, in order, shown through the backend's
// menu part. A control shows its PopupMenu when a context menu is asked for over it or over a
// child that has none; the chosen item's handler runs after the menu has closed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Component.h"
#include "ui/Backend.h"
#include "ui/Control.h"

namespace ui {

class TPopupMenu;

class TMenuItem : public rt::TComponent {
 public:
  RT_CLASS_NAME(TMenuItem)
  explicit TMenuItem(rt::TComponent* owner);
  ~TMenuItem() override;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string_view value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // The menu the item is in (null: none).
  TPopupMenu* Menu() const { return menu_; }

  // Runs OnClick, as choosing the item does.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  friend class TPopupMenu;
  void Changed();

  std::u16string caption_;
  bool enabled_ = true;
  TPopupMenu* menu_ = nullptr;
};

class TPopupMenu : public rt::TComponent {
 public:
  RT_CLASS_NAME(TPopupMenu)
  explicit TPopupMenu(rt::TComponent* owner);
  // Detaches the controls that show it and the items in it (which their owners free).
  ~TPopupMenu() override;

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_[static_cast<size_t>(index)]; }
  // Appends an item (taking it out of any menu it was in).
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);

  // The control the menu was shown for last (null before the first time).
  TControl* PopupComponent() const { return popupComponent_; }
  // Shows the menu at a screen point for `control`, waits for the choice and runs the chosen
  // item's handler once the menu has closed.
  void PopupFor(TControl& control, TPoint screen);
  TNotifyEvent OnPopup;

 private:
  friend class TControl;
  friend class TMenuItem;
  void ItemsChanged() { stale_ = true; }

  std::vector<TMenuItem*> items_;
  std::vector<TControl*> users_;  // controls whose PopupMenu this is
  std::unique_ptr<MenuPeer> peer_;
  Backend* peerBackend_ = nullptr;
  bool stale_ = true;
  TControl* popupComponent_ = nullptr;
};

}  // namespace ui
