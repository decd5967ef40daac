#include "platform/menu/StatusBar.h"

#include <algorithm>

namespace pricora {

void StatusItem::setImage(ImageRef image) {
  image_ = std::move(image);
  changed();
}

void StatusItem::setMenu(MenuRef menu) {
  menu_ = std::move(menu);
  changed();
}

void StatusItem::setToolTip(std::string toolTip) {
  toolTip_ = std::move(toolTip);
  changed();
}

void StatusItem::setAttributedTitle(AttributedTitle title) {
  title_ = std::move(title);
  changed();
}

void StatusItem::setLength(double length) {
  length_ = length;
  changed();
}

void StatusItem::changed() {
  if (bar_ != nullptr && bar_->observer_ != nullptr) bar_->observer_->statusItemChanged(*this);
}

StatusBar::~StatusBar() {
  for (const StatusItemRef& item : items_) item->bar_ = nullptr;
}

StatusItemRef StatusBar::statusItemWithLength(double length) {
  auto item = std::make_shared<StatusItem>(length);
  item->bar_ = this;
  items_.push_back(item);
  if (observer_ != nullptr) observer_->statusItemAdded(item);
  return item;
}

void StatusBar::removeStatusItem(const StatusItemRef& item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  StatusItemRef removed = *it;
  items_.erase(it);
  removed->bar_ = nullptr;
  if (observer_ != nullptr) observer_->statusItemRemoved(removed);
}

}  // namespace pricora
