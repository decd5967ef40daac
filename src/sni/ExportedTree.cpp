#include "sni/ExportedTree.h"

#include <algorithm>
#include <utility>

#include "sni/MenuItemProperties.h"

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

std::vector<ItemRecord> ExportedTree::records(const QList<int>& ids) {
  std::vector<ItemRecord> records;
  if (ids.isEmpty()) {
    records.emplace_back();
    if (root_) collect(*root_, records);
    return records;
  }
  for (int id : ids) {
    if (id == 0)
      records.emplace_back();
    else if (MenuItemRef item = ids_.itemWithId(id))
      records.push_back(recordOf(item));
  }
  return records;
}

void ExportedTree::collect(const Menu& menu, std::vector<ItemRecord>& records) {
  for (const MenuItemRef& item : menu.itemArray()) {
    records.push_back(recordOf(item));
    if (item->submenu()) collect(*item->submenu(), records);
  }
}

MenuSnapshotRef ExportedTree::snapshotOf(const Menu& menu) {
  auto snapshot = std::make_shared<MenuSnapshot>();
  snapshot->items.reserve(menu.numberOfItems());
  for (const MenuItemRef& item : menu.itemArray()) snapshot->items.push_back(recordOf(item));
  return snapshot;
}

std::shared_ptr<const LayoutSnapshot> ExportedTree::layout(int parentId, int depth, const QStringList& names) {
  auto layout = std::make_shared<LayoutSnapshot>();
  if (MenuItemRef item = ids_.itemWithId(parentId)) layout->parent = recordOf(item);
  const MenuRef menu = menuBelow(parentId);
  layout->menu = menu.get();
  layout->depth = depth;
  layout->names = names;
  gather(menu, parentId, depth, *layout);
  return layout;
}

void ExportedTree::gather(const MenuRef& menu, int parentId, int depth, LayoutSnapshot& layout) {
  if (!menu || depth == 0) return;
  const MenuSnapshotRef snapshot = follow(menu, parentId);
  layout.menus[menu.get()] = snapshot;
  if (depth == 1) return;
  const std::vector<MenuItemRef>& items = menu->itemArray();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i]->submenu()) gather(items[i]->submenu(), snapshot->items[i].id, depth < 0 ? depth : depth - 1, layout);
}

MenuSnapshotRef ExportedTree::follow(const MenuRef& menu, int parentId) {
  Followed& followed = followed_[menu.get()];
  if (followed.menu.lock() != menu) {
    followed = Followed{menu};
    menu->addObserver(this);
  }
  followed.parentId = parentId;
  followed.held = false;
  if (!followed.current) {
    followed.shown = snapshotOf(*menu);
    followed.current = true;
  }
  return followed.shown;
}

void ExportedTree::menuChanged(Menu& menu) {
  auto found = followed_.find(&menu);
  if (found == followed_.end()) return;
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
  // Menus of items that are gone never change again: drop them once they pile up.
  if (followed_.size() > 2 * followedAfterLastSweep_ + 64) {
    std::erase_if(followed_, [](const auto& entry) { return entry.second.menu.expired(); });
    followedAfterLastSweep_ = followed_.size();
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
