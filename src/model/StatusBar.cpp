#include "model/StatusBar.h"

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

void StatusItem::setSubject(ItemSubject subject) {
  if (subject == subject_) return;
  subject_ = std::move(subject);
  changed();
}

void StatusItem::setMove(std::optional<PriceMove> move) {
  if (move == move_) return;
  move_ = std::move(move);
  changed();
}

void StatusItem::setEarlier(std::optional<EarlierPrice> earlier) {
  if (earlier == earlier_) return;
  earlier_ = std::move(earlier);
  changed();
}

void StatusItem::setHolding(std::string holding) {
  if (holding == holding_) return;
  holding_ = std::move(holding);
  changed();
}

void StatusItem::setNeedsAttention(bool value) {
  if (value == needsAttention_) return;
  needsAttention_ = value;
  changed();
}

void StatusItem::changed() {
  if (bar_ != nullptr) bar_->tell([this](StatusBarObserver& observer) { observer.statusItemChanged(*this); });
}

template <typename Call>
void StatusBar::tell(const Call& call) {
  const std::vector<StatusBarObserver*> observers = observers_;
  for (StatusBarObserver* observer : observers)
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) call(*observer);
}

void StatusBar::addObserver(StatusBarObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void StatusBar::removeObserver(StatusBarObserver* observer) { std::erase(observers_, observer); }

StatusBar::~StatusBar() {
  for (const StatusItemRef& item : items_) item->bar_ = nullptr;
}

StatusItemRef StatusBar::statusItemWithLength(double length) {
  auto item = std::make_shared<StatusItem>(length);
  item->bar_ = this;
  items_.push_back(item);
  tell([&](StatusBarObserver& observer) { observer.statusItemAdded(item); });
  return item;
}

void StatusBar::removeStatusItem(const StatusItemRef& item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  StatusItemRef removed = *it;
  items_.erase(it);
  removed->bar_ = nullptr;
  tell([&](StatusBarObserver& observer) { observer.statusItemRemoved(removed); });
}

}  // namespace pricora
