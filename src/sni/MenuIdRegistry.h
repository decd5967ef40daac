#pragma once

#include <map>
#include <memory>
#include <unordered_map>

#include "platform/menu/Menu.h"

namespace pricora {

// The dbusmenu ids of one exported tree. 0 is the root menu; every item gets its own id the first
// time a host sees it and keeps it for as long as the item lives. A new item never reuses an old
// id, not even one whose item is gone: a host may still hold it.
class MenuIdRegistry {
 public:
  int idOf(const MenuItemRef& item);
  // The live item with this id; none for 0, for ids never given and for items that are gone.
  MenuItemRef itemWithId(int id) const;

 private:
  struct Known {
    std::weak_ptr<MenuItem> item;
    int id = 0;
  };
  struct Given {
    std::weak_ptr<MenuItem> item;
    const MenuItem* address = nullptr;
  };

  std::unordered_map<const MenuItem*, Known> ids_;
  std::map<int, Given> items_;  // in the order given, so that the lost ones are swept a few at a time
  int sweepFrom_ = 0;
  int nextId_ = 1;
};

}  // namespace pricora
