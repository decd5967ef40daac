#include "sni/MenuIdRegistry.h"

#include "sni/SweepSome.h"

namespace pricora {

namespace {

// Entries looked at for each id given: more than one, so that the sweep outruns the ids given.
constexpr int kSweptPerId = 2;

}  // namespace

int MenuIdRegistry::idOf(const MenuItemRef& item) {
  auto found = ids_.find(item.get());
  if (found != ids_.end() && found->second.item.lock() == item) return found->second.id;
  const int id = nextId_++;
  ids_[item.get()] = {item, id};
  items_.emplace_hint(items_.end(), id, Given{item, item.get()});
  // Every refresh makes new items, 150,000 of them in a large market: the dead ones are forgotten
  // as ids are given, a few at a time.
  sweepSome(items_, sweepFrom_, kSweptPerId, [this](const Given& given) {
    if (!given.item.expired()) return false;
    // Its address may belong to a newer item by now, with an id of its own.
    if (auto known = ids_.find(given.address); known != ids_.end() && known->second.item.expired()) ids_.erase(known);
    return true;
  });
  return id;
}

MenuItemRef MenuIdRegistry::itemWithId(int id) const {
  auto found = items_.find(id);
  return found == items_.end() ? nullptr : found->second.item.lock();
}

}  // namespace pricora
