#pragma once

#include <climits>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

#include "model/Menu.h"

namespace pricora {

// The dbusmenu ids of one exported tree. 0 is the root menu; every item gets an id the first time
// a host sees it and keeps it for as long as the item lives.
//
// Ids are stable by place: an item made anew in place of one that is gone (a refresh refills every
// exchange's submenu) takes the id of the item it replaces when it sits below the same node with
// the same title, so hosts are told nothing of a pair whose price did not move. Otherwise it takes
// an id no live item has: one given up by an item that has been gone for a while (a host may still
// hold it for a moment), else the next unused one. Ids stay in one range however long the program
// runs: from firstId up to, not including, endId.
class MenuIdRegistry {
 public:
  explicit MenuIdRegistry(int firstId = 1, int endId = INT_MAX);

  // The id of item, an item below the node parentId, run items after the last item before it
  // whose title differs (equal titles in a row are told apart by their place in the run).
  int idOf(const MenuItemRef& item, int parentId, int run);
  // The live item with this id; none for 0, for ids never given and for items that are gone.
  MenuItemRef itemWithId(int id) const;

 private:
  struct Slot {
    std::weak_ptr<MenuItem> item;
    const MenuItem* address = nullptr;
    std::uint64_t place = 0;  // parent, title and run, hashed
    bool given = false;
    bool goneSeen = false;  // found gone by the sweep once already
  };

  Slot* slotOf(int id);
  const Slot* slotOf(int id) const;
  int freshId();
  void give(int id, const MenuItemRef& item, std::uint64_t place);
  // Frees the ids of items gone since the sweep before: a host may still name one for a moment, and
  // the next refresh may put an item in its place.
  void sweep(std::size_t count);

  int firstId_;
  int endId_;
  int nextId_;
  std::deque<Slot> slots_;  // by id - firstId_; grows without copying what it holds
  std::unordered_map<const MenuItem*, int> byAddress_;
  std::unordered_map<std::uint64_t, int> byPlace_;
  std::deque<int> free_;  // the oldest freed first
  std::size_t sweepAt_ = 0;
};

}  // namespace pricora
