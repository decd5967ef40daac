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

ItemRecord ExportedTree::recordOf(const MenuItemRef& item) {
  return {ids_.idOf(item), item->title(),           pngs_.pngOf(item->image()), item->submenu().get(),
          item->state(),   item->isSeparatorItem(), item->isEnabled()};
}

QVariantMap ExportedTree::propertiesOf(int id) {
  if (id == 0) return menuItemProperties({});
  MenuItemRef item = ids_.itemWithId(id);
  return item ? menuItemProperties(recordOf(item)) : QVariantMap();
}

void ExportedTree::takeRecords(const QList<int>& ids, qsizetype from, qsizetype count,
                               std::vector<ItemRecord>& records) {
  for (qsizetype i = from; i < std::min(ids.size(), from + count); ++i) {
    if (ids[i] == 0)
      records.emplace_back();
    else if (MenuItemRef item = ids_.itemWithId(ids[i]))
      records.push_back(recordOf(item));
  }
}

MenuSnapshotRef ExportedTree::snapshotOf(const Menu& menu) {
  auto snapshot = std::make_shared<MenuSnapshot>();
  snapshot->items.reserve(menu.numberOfItems());
  for (const MenuItemRef& item : menu.itemArray()) snapshot->items.push_back(recordOf(item));
  return snapshot;
}

LayoutTaking ExportedTree::startLayout(int parentId, int depth, const QStringList& names) {
  LayoutTaking taking{std::make_shared<LayoutSnapshot>(), {}, {}};
  LayoutSnapshot& layout = *taking.layout;
  if (MenuItemRef item = ids_.itemWithId(parentId)) layout.parent = recordOf(item);
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
    while (records.size() < end) records.push_back(recordOf(part.items[records.size()]));
    if (records.size() < part.items.size()) break;
    Followed& followed = follow(part.below.menu, part.below.parentId);
    followed.shown = part.snapshot;
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
  followed.held = false;
  return followed;
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
    if (followed.current) continue;  // hosts have fetched it since
    MenuSnapshotRef now = snapshotOf(*menu);
    compare(address, followed, *now, changes);
    followed.shown = std::move(now);
    followed.current = true;
  }
  return changes;
}

void ExportedTree::compare(const Menu* menu, const Followed& followed, const MenuSnapshot& now, TreeChanges& changes) {
  const std::vector<ItemRecord>& before = followed.shown->items;
  if (!std::equal(before.begin(), before.end(), now.items.begin(), now.items.end(),
                  [](const ItemRecord& a, const ItemRecord& b) { return a.id == b.id; })) {
    changes.layouts.push_back({followed.parentId, menu, menu});
    return;
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    const ItemRecord& was = before[i];
    const ItemRecord& is = now.items[i];
    if (is.submenu != was.submenu && was.submenu != nullptr && is.submenu != nullptr)
      changes.layouts.push_back({is.id, was.submenu, menu});
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

void ExportedTree::hold(const Menu* followed) {
  if (auto found = followed_.find(followed); found != followed_.end()) found->second.held = true;
}

bool ExportedTree::anythingWaiting() const {
  // Any menu of the tree: some hosts fetch the whole tree when the top menu opens, and only then.
  // A change not taken yet counts too: the announcement waits for the burst to end.
  return rootReplaced_ || std::any_of(followed_.begin(), followed_.end(), [](const auto& entry) {
           return (entry.second.held || entry.second.changed) && !entry.second.menu.expired();
         });
}

}  // namespace pricora
