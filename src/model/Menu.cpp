#include "model/Menu.h"

#include <algorithm>
#include <cassert>

namespace pricora {

MenuItem::MenuItem(std::string title, MenuAction action) : title_(std::move(title)), action_(action) {}

MenuItemRef MenuItem::create(std::string title, MenuAction action) {
  return std::make_shared<MenuItem>(std::move(title), action);
}

MenuItemRef MenuItem::separatorItem() {
  auto item = create({});
  item->separator_ = true;
  return item;
}

void MenuItem::setTitle(std::string title) {
  if (title == title_) return;
  title_ = std::move(title);
  changed();
}

void MenuItem::setAction(MenuAction action) {
  if (action == action_) return;
  action_ = action;
  changed();
}

void MenuItem::setSubmenu(MenuRef submenu) {
  submenu_ = std::move(submenu);
  changed();
}

void MenuItem::setImage(ImageRef image) {
  image_ = std::move(image);
  changed();
}

void MenuItem::setState(int state) {
  if (state == state_) return;
  state_ = state;
  changed();
}

MenuItemRef MenuItem::copy() const {
  auto item = create(title_, action_);
  item->image_ = image_;
  item->state_ = state_;
  item->value_ = value_;
  item->separator_ = separator_;
  if (submenu_) item->submenu_ = submenu_->copy();
  return item;
}

void MenuItem::changed() {
  if (menu_ != nullptr) menu_->changed();
}

Menu::~Menu() {
  for (const MenuItemRef& item : items_) item->menu_ = nullptr;
}

void Menu::adopt(MenuItem& item) {
  if (item.menu_ != nullptr && item.menu_ != this) {
    Menu& previous = *item.menu_;
    auto it = std::find_if(previous.items_.begin(), previous.items_.end(),
                           [&](const MenuItemRef& candidate) { return candidate.get() == &item; });
    if (it != previous.items_.end()) {
      previous.items_.erase(it);
      previous.changed();
    }
  }
  item.menu_ = this;
}

void Menu::addItem(MenuItemRef item) { insertItem(std::move(item), items_.size()); }

MenuItemRef Menu::addItemWithTitle(std::string title, MenuAction action) {
  auto item = MenuItem::create(std::move(title), action);
  addItem(item);
  return item;
}

void Menu::insertItem(MenuItemRef item, std::size_t index) {
  assert(item && item->menu_ != this);
  if (!item || item->menu_ == this) return;
  adopt(*item);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())), std::move(item));
  changed();
}

void Menu::removeItemAtIndex(std::size_t index) {
  assert(index < items_.size());
  if (index >= items_.size()) return;
  items_[index]->menu_ = nullptr;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  changed();
}

void Menu::removeAllItems() {
  if (items_.empty()) return;
  for (const MenuItemRef& item : items_) item->menu_ = nullptr;
  items_.clear();
  changed();
}

MenuRef Menu::copy() const {
  auto menu = create();
  menu->items_.reserve(items_.size());
  for (const MenuItemRef& item : items_) {
    auto duplicate = item->copy();
    duplicate->menu_ = menu.get();
    menu->items_.push_back(std::move(duplicate));
  }
  return menu;
}

void Menu::addObserver(MenuObserver* observer) {
  if (!hasObserver(observer)) observers_.push_back(observer);
}

void Menu::removeObserver(MenuObserver* observer) { std::erase(observers_, observer); }

bool Menu::hasObserver(const MenuObserver* observer) const {
  return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
}

void Menu::changed() {
  // An observer may stop observing while it is told; the others are still told.
  const std::vector<MenuObserver*> observers = observers_;
  for (MenuObserver* observer : observers)
    if (hasObserver(observer)) observer->menuChanged(*this);
}

}  // namespace pricora
