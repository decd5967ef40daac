#include "sni/MenuIdRegistry.h"

#include <cassert>
#include <functional>
#include <string_view>
#include <utility>

namespace pricora {

namespace {

// Slots looked at for each id given: more than one, so that the sweep outruns the ids given.
constexpr std::size_t kSweptPerId = 2;

std::uint64_t placeOf(int parentId, const std::string& title, int run) {
  // A clash of two places costs a host an update, never a wrong item: an id is taken over only
  // from an item that is gone.
  std::uint64_t hash = std::hash<std::string_view>{}(title);
  hash ^= (static_cast<std::uint64_t>(static_cast<std::uint32_t>(parentId)) << 20) + 0x9E3779B97F4A7C15ULL +
          (hash << 6) + (hash >> 2);
  return hash * 31 + static_cast<std::uint64_t>(run);
}

}  // namespace

MenuIdRegistry::MenuIdRegistry(int firstId, int endId) : firstId_(firstId), endId_(endId), nextId_(firstId) {
  assert(firstId > 0 && firstId < endId);
}

MenuIdRegistry::Slot* MenuIdRegistry::slotOf(int id) {
  if (id < firstId_ || id >= nextId_) return nullptr;
  return &slots_[static_cast<std::size_t>(id - firstId_)];
}

const MenuIdRegistry::Slot* MenuIdRegistry::slotOf(int id) const {
  return const_cast<MenuIdRegistry*>(this)->slotOf(id);
}

int MenuIdRegistry::idOf(const MenuItemRef& item, int parentId, int run) {
  if (auto known = byAddress_.find(item.get()); known != byAddress_.end())
    if (const Slot* slot = slotOf(known->second); slot && slot->given && slot->item.lock() == item)
      return known->second;
  // Every refresh makes new items, 150,000 of them in a large market: the gone ones are freed as
  // ids are given, a few at a time.
  sweep(kSweptPerId);
  const std::uint64_t place = placeOf(parentId, item->title(), run);
  if (auto same = byPlace_.find(place); same != byPlace_.end())
    if (const Slot* slot = slotOf(same->second); slot && slot->given && slot->item.expired()) {
      give(same->second, item, place);
      return same->second;
    }
  const int id = freshId();
  give(id, item, place);
  return id;
}

MenuItemRef MenuIdRegistry::itemWithId(int id) const {
  const Slot* slot = slotOf(id);
  return slot && slot->given ? slot->item.lock() : nullptr;
}

int MenuIdRegistry::freshId() {
  if (free_.empty() && nextId_ == endId_) sweep(2 * slots_.size());  // twice round: everything gone is freed
  if (!free_.empty()) {
    const int id = free_.front();
    free_.pop_front();
    return id;
  }
  // More live items than ids cannot be held in memory.
  assert(nextId_ < endId_);
  slots_.emplace_back();
  return nextId_++;
}

void MenuIdRegistry::give(int id, const MenuItemRef& item, std::uint64_t place) {
  Slot& slot = *slotOf(id);
  if (slot.given && slot.address != item.get())
    if (auto it = byAddress_.find(slot.address); it != byAddress_.end() && it->second == id) byAddress_.erase(it);
  slot = Slot{item, item.get(), place, true, false};
  byAddress_[item.get()] = id;
  byPlace_[place] = id;
}

void MenuIdRegistry::sweep(std::size_t count) {
  for (std::size_t looked = 0; looked < count && !slots_.empty(); ++looked) {
    if (sweepAt_ >= slots_.size()) sweepAt_ = 0;
    Slot& slot = slots_[sweepAt_];
    const int id = firstId_ + static_cast<int>(sweepAt_++);
    if (!slot.given || !slot.item.expired()) continue;
    if (!std::exchange(slot.goneSeen, true)) continue;
    if (auto it = byAddress_.find(slot.address); it != byAddress_.end() && it->second == id) byAddress_.erase(it);
    if (auto it = byPlace_.find(slot.place); it != byPlace_.end() && it->second == id) byPlace_.erase(it);
    slot = Slot{};
    free_.push_back(id);
  }
}

}  // namespace pricora
