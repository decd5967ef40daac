#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/Image.h"

namespace pricora {

class Menu;
class MenuItem;
using MenuRef = std::shared_ptr<Menu>;
using MenuItemRef = std::shared_ptr<MenuItem>;

// Told after every change to a menu's items (added, removed, retitled ...). The desktop host
// listens so that a menu that is open on screen follows the model.
class MenuObserver {
 public:
  virtual void menuChanged(Menu& menu) = 0;

 protected:
  ~MenuObserver() = default;
};

// Told when the host shows and hides a menu.
class MenuDelegate {
 public:
  virtual void menuWillOpen(Menu& menu) = 0;
  virtual void menuDidClose(Menu& menu) = 0;

 protected:
  ~MenuDelegate() = default;
};

// What choosing an item does: the application's commands, each sent to the one place that
// carries it out. `none`: the item does nothing when chosen (a submenu's title, a detail line).
enum class MenuAction : std::uint8_t {
  none,
  refreshPairs,
  terminate,
  save,
  openExchangeWebsite,
  showManageWindow,
  launchAtStartupChanged,
  supportButtonClick,
  iosButtonClick,
  rateMeButtonClick,
};

// One entry of a menu. An item sits in at most one menu at a time; placing it in a second menu
// takes it out of the first. Use copy() for an independent item that can sit elsewhere.
class MenuItem {
 public:
  MenuItem(std::string title, MenuAction action);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  static MenuItemRef create(std::string title, MenuAction action = MenuAction::none);
  static MenuItemRef separatorItem();

  const std::string& title() const { return title_; }
  void setTitle(std::string title);
  MenuAction action() const { return action_; }
  void setAction(MenuAction action);
  const MenuRef& submenu() const { return submenu_; }
  void setSubmenu(MenuRef submenu);
  const ImageRef& image() const { return image_; }
  void setImage(ImageRef image);
  // Check-mark state: 0 off, 1 on.
  int state() const { return state_; }
  void setState(int state);
  bool isSeparatorItem() const { return separator_; }
  // The number the item stands for, for the application's own use (a pair's last price, read
  // once where the reply arrived); never shown.
  std::optional<double> value() const { return std::isnan(value_) ? std::nullopt : std::optional<double>(value_); }
  void setValue(std::optional<double> value) { value_ = value.value_or(kNoValue); }
  // Chosen by the user only when it does something: sends an action or opens a submenu.
  bool isEnabled() const { return action_ != MenuAction::none || submenu_ != nullptr; }

  // An independent item with the same title, action, image, state and value, and a copy of the
  // submenu, taken now: later changes to either side do not reach the other.
  MenuItemRef copy() const;

  // The menu the item sits in, if any.
  Menu* menu() const { return menu_; }

 private:
  friend class Menu;
  void changed();
  static constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

  std::string title_;
  MenuRef submenu_;
  ImageRef image_;
  double value_ = kNoValue;
  int state_ = 0;
  MenuAction action_ = MenuAction::none;
  bool separator_ = false;
  Menu* menu_ = nullptr;
};

// An ordered list of items; positions count from 0 and shift on insertion and removal.
class Menu {
 public:
  Menu() = default;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  ~Menu();

  static MenuRef create() { return std::make_shared<Menu>(); }

  void addItem(MenuItemRef item);
  MenuItemRef addItemWithTitle(std::string title, MenuAction action = MenuAction::none);
  void insertItem(MenuItemRef item, std::size_t index);
  void removeItemAtIndex(std::size_t index);
  void removeAllItems();

  const std::vector<MenuItemRef>& itemArray() const { return items_; }
  std::size_t numberOfItems() const { return items_.size(); }
  const MenuItemRef& itemAtIndex(std::size_t index) const { return items_[index]; }
  const MenuItemRef& lastItem() const { return items_.back(); }
  bool empty() const { return items_.empty(); }

  // A copy of every item (see MenuItem::copy).
  MenuRef copy() const;

  // Several hosts may follow one menu at once (a menu exported to the desktop and the same menu
  // popped up by the program). Each is told once per change; adding one twice keeps one.
  void addObserver(MenuObserver* observer);
  void removeObserver(MenuObserver* observer);
  bool hasObserver(const MenuObserver* observer) const;
  MenuDelegate* delegate() const { return delegate_; }
  void setDelegate(MenuDelegate* delegate) { delegate_ = delegate; }

 private:
  friend class MenuItem;
  void changed();
  void adopt(MenuItem& item);

  std::vector<MenuItemRef> items_;
  std::vector<MenuObserver*> observers_;
  MenuDelegate* delegate_ = nullptr;
};

}  // namespace pricora
