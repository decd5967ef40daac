#include "sni/ExportedTree.h"

#include <algorithm>
#include <utility>

#include "sni/MenuItemProperties.h"
#include "sni/SweepSome.h"

namespace pricora {

ExportedTree::ExportedTree(MenuRef root, ImageCache& images, std::function<void()> changed)
    : root_(std::move(root)), pngs_(images), changed_(std::move(changed)) {}

ExportedTree::~ExportedTree() {
  for (auto& [address, followed] : followed_)
    if (MenuRef menu = followed.menu.lock()) menu->removeObserver(this);
}

void ExportedTree::setRoot(MenuRef root) {
  root_ = std::move(root);
  rootReplaced_ = true;
}

MenuRef ExportedTree::menuBelow(int id) const {
  if (id == 0) return root_;
  MenuItemRef item = ids_.itemWithId(id);
  return item ? item->submenu() : nullptr;
}

ItemRecord ExportedTree::recordOf(int id, const MenuItemRef& item) {
  return {id,
          item->title(),
          pngs_.pngOf(item->image()),
          item->submenu().get(),
          item->state(),
          item->isSeparatorItem(),
          item->isEnabled()};
}

ItemRecord ExportedTree::recordOf(const MenuItemRef& item, int parentId, int run) {
  return recordOf(ids_.idOf(item, parentId, run), item);
}

namespace {

// Where an item stands in a row of equal titles, from the item before it.
int runAfter(const std::string& before, int runBefore, const std::string& title) {
  return before == title ? runBefore + 1 : 0;
}

}  // namespace

QVariantMap ExportedTree::propertiesOf(int id) {
  if (id == 0) return menuItemProperties({});
  MenuItemRef item = ids_.itemWithId(id);
  return item ? menuItemProperties(recordOf(id, item)) : QVariantMap();
}

void ExportedTree::takeRecords(const QList<int>& ids, qsizetype from, qsizetype count,
                               std::vector<ItemRecord>& records) {
  for (qsizetype i = from; i < std::min(ids.size(), from + count); ++i) {
    if (ids[i] == 0)
      records.emplace_back();
    else if (MenuItemRef item = ids_.itemWithId(ids[i]))
      records.push_back(recordOf(ids[i], item));
  }
}

MenuSnapshotRef ExportedTree::snapshotOf(const Menu& menu, int parentId) {
  auto snapshot = std::make_shared<MenuSnapshot>();
  snapshot->items.reserve(menu.numberOfItems());
  int run = 0;
  for (const MenuItemRef& item : menu.itemArray()) {
    if (!snapshot->items.empty()) run = runAfter(snapshot->items.back().title, run, item->title());
    snapshot->items.push_back(recordOf(item, parentId, run));
  }
  return snapshot;
}

LayoutTaking ExportedTree::startLayout(int parentId, int depth, const QStringList& names, const QString& host) {
  LayoutTaking taking;
  taking.layout = std::make_shared<LayoutSnapshot>();
  taking.host = host;
  LayoutSnapshot& layout = *taking.layout;
  if (MenuItemRef item = ids_.itemWithId(parentId)) layout.parent = recordOf(parentId, item);
  MenuRef menu = menuBelow(parentId);
  layout.parent.submenu = menu.get();
  layout.depth = depth;
  layout.names = names;
  if (menu) taking.toTake.push_back({std::move(menu), parentId, depth});
  return taking;
}

bool ExportedTree::takeLayout(LayoutTaking& taking, std::size_t budget) {
  for (std::size_t read = 0; read < budget && (taking.part || !taking.toTake.empty());) {
    if (!taking.part) {
      LayoutTaking::Below next = std::move(taking.toTake.back());
      taking.toTake.pop_back();
      if (next.depth == 0 || taking.layout->menus.contains(next.menu.get())) continue;
      Followed& followed = follow(next.menu, next.parentId);
      fetched(followed, taking.host);
      ++read;
      if (followed.current) {
        addTaken(taking, next, followed.shown, next.menu->itemArray());
        continue;
      }
      std::vector<MenuItemRef> items = next.menu->itemArray();
      auto snapshot = std::make_shared<MenuSnapshot>();
      snapshot->items.reserve(items.size());
      taking.part = LayoutTaking::Part{std::move(next), std::move(items), std::move(snapshot), followed.generation};
    }
    LayoutTaking::Part& part = *taking.part;
    std::vector<ItemRecord>& records = part.snapshot->items;
    const std::size_t end = std::min(part.items.size(), records.size() + budget - read);
    read += end - records.size();
    while (records.size() < end) {
      const MenuItemRef& item = part.items[records.size()];
      if (!records.empty()) part.run = runAfter(records.back().title, part.run, item->title());
      records.push_back(recordOf(item, part.below.parentId, part.run));
    }
    if (records.size() < part.items.size()) break;
    Followed& followed = follow(part.below.menu, part.below.parentId);
    fetched(followed, taking.host);
    followed.shown = part.snapshot;
    // The first host to have a menu sets what all are told of its changes from then on.
    if (!followed.announced) followed.announced = part.snapshot;
    // Taken over several turns, it is what the menu holds only if the menu did not change since.
    followed.current = followed.generation == part.generation;
    addTaken(taking, part.below, part.snapshot, part.items);
    taking.part.reset();
  }
  if (taking.part || !taking.toTake.empty()) return false;
  taking.taken.clear();
  return true;
}

void ExportedTree::addTaken(LayoutTaking& taking, const LayoutTaking::Below& below, const MenuSnapshotRef& snapshot,
                            const std::vector<MenuItemRef>& items) {
  taking.layout->menus.emplace(below.menu.get(), snapshot);
  taking.taken.push_back(below.menu);
  if (below.depth == 1) return;
  for (std::size_t i = 0; i < items.size(); ++i) {
    // An item may have had its submenu swapped since its record was made: the record holds, and
    // the swap is announced.
    const MenuRef& submenu = items[i]->submenu();
    if (submenu && submenu.get() == snapshot->items[i].submenu)
      taking.toTake.push_back({submenu, snapshot->items[i].id, below.depth < 0 ? -1 : below.depth - 1});
  }
}

ExportedTree::Followed& ExportedTree::follow(const MenuRef& menu, int parentId) {
  Followed& followed = followed_[menu.get()];
  if (followed.menu.lock() != menu) {
    followed = Followed{menu};
    menu->addObserver(this);
    // Menus of items that are gone never change again: they are dropped as others are followed.
    sweepSome(followed_, sweepFrom_, 2, [](const Followed& entry) { return entry.menu.expired(); });
  }
  followed.parentId = parentId;
  return followed;
}

void ExportedTree::fetched(Followed& followed, const QString& host) {
  if (followed.held && !host.isEmpty() &&
      std::find(followed.fetchedSinceHeld.begin(), followed.fetchedSinceHeld.end(), host) ==
          followed.fetchedSinceHeld.end())
    followed.fetchedSinceHeld.push_back(host);
}

void ExportedTree::menuChanged(Menu& menu) {
  auto found = followed_.find(&menu);
  if (found == followed_.end()) return;
  ++found->second.generation;
  found->second.current = false;
  if (found->second.changed) return;
  found->second.changed = true;
  changedMenus_.push_back(&menu);
  changed_();
}

TreeChanges ExportedTree::takeChanges() {
  TreeChanges changes;
  changes.rootReplaced = std::exchange(rootReplaced_, false);
  for (const Menu* address : std::exchange(changedMenus_, {})) {
    auto found = followed_.find(address);
    if (found == followed_.end()) continue;
    Followed& followed = found->second;
    followed.changed = false;
    MenuRef menu = followed.menu.lock();
    if (!menu || menuBelow(followed.parentId) != menu) {
      // No longer shown anywhere in this tree.
      if (menu) menu->removeObserver(this);
      followed_.erase(found);
      continue;
    }
    if (!followed.announced) {
      // Still being taken by its first host, which will have it as it was when taken: look again
      // once that is done.
      followed.changed = true;
      changedMenus_.push_back(address);
      changed_();
      continue;
    }
    // A host that fetched it since has it, but the others do not: what they were all last told is
    // what it is compared with.
    MenuSnapshotRef now = followed.current ? followed.shown : snapshotOf(*menu, followed.parentId);
    compare(*menu, followed, *now, changes);
    followed.announced = now;
    followed.shown = std::move(now);
    followed.current = true;
  }
  return changes;
}

bool ExportedTree::takesOver(const Followed& old, const MenuRef& replacement, int parentId) {
  if (!old.announced || !replacement) return false;
  MenuSnapshotRef now = snapshotOf(*replacement, parentId);
  // Its own submenus would each need the same look: a menu that has some is announced.
  const bool same = std::equal(
      old.announced->items.begin(), old.announced->items.end(), now->items.begin(), now->items.end(),
      [](const ItemRecord& a, const ItemRecord& b) { return a.submenu == nullptr && b.submenu == nullptr && a == b; });
  if (!same) return false;
  Followed& followed = follow(replacement, parentId);
  followed.announced = now;
  followed.shown = now;
  followed.current = true;
  return true;
}

void ExportedTree::compare(const Menu& menu, const Followed& followed, const MenuSnapshot& now, TreeChanges& changes) {
  const std::vector<ItemRecord>& before = followed.announced->items;
  if (!std::equal(before.begin(), before.end(), now.items.begin(), now.items.end(),
                  [](const ItemRecord& a, const ItemRecord& b) { return a.id == b.id; })) {
    changes.layouts.push_back({followed.parentId, &menu, &menu});
    return;
  }
  const std::vector<MenuItemRef>& items = menu.itemArray();
  for (std::size_t i = 0; i < before.size(); ++i) {
    const ItemRecord& was = before[i];
    ItemRecord is = now.items[i];
    if (is.submenu != was.submenu && was.submenu != nullptr && is.submenu != nullptr) {
      auto old = followed_.find(was.submenu);
      if (old == followed_.end() || i >= items.size() || !takesOver(old->second, items[i]->submenu(), is.id))
        changes.layouts.push_back({is.id, was.submenu, &menu});
      is.submenu = was.submenu;  // the rest is what the item itself shows
    }
    if (is == was) continue;
    const QVariantMap old = menuItemProperties(was);
    const QVariantMap properties = menuItemProperties(is);
    // Only what changed: hosts rebuild an item whose "type" or "children-display" they are
    // sent, even with its old value.
    DBusMenuProperties differing{is.id, {}};
    DBusMenuRemovedProperties gone{is.id, {}};
    for (auto it = old.begin(); it != old.end(); ++it)
      if (!properties.contains(it.key())) gone.names.push_back(it.key());
    for (auto it = properties.begin(); it != properties.end(); ++it)
      if (old.value(it.key()) != it.value()) differing.properties.insert(it.key(), it.value());
    if (!gone.names.isEmpty()) changes.removed.push_back(gone);
    if (!differing.properties.isEmpty()) changes.updated.push_back(differing);
  }
}

void ExportedTree::told(const Menu* followed) {
  if (auto found = followed_.find(followed); found != followed_.end()) {
    found->second.held = false;
    found->second.fetchedSinceHeld.clear();
  }
}

void ExportedTree::hold(const Menu* followed) {
  if (auto found = followed_.find(followed); found != followed_.end()) {
    found->second.held = true;
    found->second.fetchedSinceHeld.clear();
  }
}

bool ExportedTree::anythingWaiting(const QString& host) const {
  // Any menu of the tree: some hosts fetch the whole tree when the top menu opens, and only then.
  // A change not taken yet counts too: the announcement waits for the burst to end.
  return rootReplaced_ || std::any_of(followed_.begin(), followed_.end(), [&host](const auto& entry) {
           const Followed& followed = entry.second;
           if (followed.menu.expired()) return false;
           return followed.changed ||
                  (followed.held && std::find(followed.fetchedSinceHeld.begin(), followed.fetchedSinceHeld.end(),
                                              host) == followed.fetchedSinceHeld.end());
         });
}

}  // namespace pricora
