#include "sni/MenuIdRegistry.h"

namespace pricora {

int MenuIdRegistry::idOf(const MenuItemRef& item) {
  auto found = ids_.find(item.get());
  if (found != ids_.end() && found->second.item.lock() == item) return found->second.id;
  const int id = nextId_++;
  ids_[item.get()] = {item, id};
  items_[id] = item;
  // Every refresh makes new items; forget the dead ones now and then, not on every call.
  if (items_.size() > 2 * liveAfterLastSweep_ + 256) forgetLostItems();
  return id;
}

void MenuIdRegistry::forgetLostItems() {
  std::erase_if(ids_, [](const auto& entry) { return entry.second.item.expired(); });
  std::erase_if(items_, [](const auto& entry) { return entry.second.expired(); });
  liveAfterLastSweep_ = items_.size();
}

MenuItemRef MenuIdRegistry::itemWithId(int id) const {
  auto found = items_.find(id);
  return found == items_.end() ? nullptr : found->second.lock();
}

}  // namespace pricora
