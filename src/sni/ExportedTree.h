#pragma once

#include <QList>
#include <QStringList>
#include <QVariantMap>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "model/Menu.h"
#include "qt/ImageCache.h"
#include "sni/DBusTypes.h"
#include "sni/MenuIconPngs.h"
#include "sni/MenuIdRegistry.h"
#include "sni/MenuSnapshot.h"

namespace pricora {

// Items added to, removed from or moved in a menu, or an item's submenu swapped for another.
struct LayoutChange {
  int parentId = 0;                // the node whose children changed
  const Menu* shown = nullptr;     // the menu a host shows the change in, if it has it open
  const Menu* followed = nullptr;  // the followed menu whose layout the host lacks if not told
};

// A layout being taken from the model, some menus at a time.
struct LayoutTaking {
  struct Below {
    MenuRef menu;
    int parentId = 0;
    int depth = 0;
  };
  // A menu with more items than a turn takes, taken from its items as they were when begun.
  struct Part {
    Below below;
    std::vector<MenuItemRef> items;
    std::shared_ptr<MenuSnapshot> snapshot;
    std::uint64_t generation = 0;
    int run = 0;  // of the last item taken
  };
  std::shared_ptr<LayoutSnapshot> layout;
  QString host;  // the bus name of the host that asked
  std::vector<Below> toTake;
  std::optional<Part> part;
  std::vector<MenuRef> taken;  // alive until the layout is whole, so no address is seen twice
};

// What changed in the tree since the last look.
struct TreeChanges {
  bool rootReplaced = false;
  std::vector<LayoutChange> layouts;
  DBusMenuPropertiesList updated;  // only what changed of each item
  DBusMenuRemovedPropertiesList removed;
};

// One menu tree of the model as hosts see it: the ids, the properties of each node, and what hosts
// were last told of each menu they received, so that they can be told what changed since.
//
// A menu whose items a host has received is followed from then on; menus no host received cost
// nothing when they change. What was taken of a followed menu is kept until the menu changes, so
// fetching it again reads nothing of the model. A host's fetch never stands for the news to the
// others: every change is announced to all hosts against what they were all last told, and a
// layout change held back is waiting for each host until that host has fetched the menu.
class ExportedTree final : public MenuObserver {
 public:
  // changed: told, from inside the model's change, that a followed menu changed.
  ExportedTree(MenuRef root, ImageCache& images, std::function<void()> changed);
  ~ExportedTree();
  ExportedTree(const ExportedTree&) = delete;
  ExportedTree& operator=(const ExportedTree&) = delete;

  const MenuRef& root() const { return root_; }
  // Another menu (or none) at the root, as one layout change.
  void setRoot(MenuRef root);

  bool knows(int id) const { return id == 0 || ids_.itemWithId(id) != nullptr; }
  MenuItemRef itemWithId(int id) const { return ids_.itemWithId(id); }
  // The menu below a node: the root for 0, an item's submenu otherwise; none for unknown ids.
  MenuRef menuBelow(int id) const;
  // A node's properties; none for unknown ids.
  QVariantMap propertiesOf(int id);
  // Appends the known nodes among ids[from, from + count) to records, in order.
  void takeRecords(const QList<int>& ids, qsizetype from, qsizetype count, std::vector<ItemRecord>& records);

  // The known node parentId with depth levels below it (-1: all), to be taken by takeLayout() for
  // the host of that bus name.
  LayoutTaking startLayout(int parentId, int depth, const QStringList& names, const QString& host);
  // Takes menus of the layout, about budget items' worth; true once it is whole. Hosts have the
  // menus taken from then on: they are followed.
  bool takeLayout(LayoutTaking& taking, std::size_t budget);

  // The revision of the layout last announced; nextRevision() starts another.
  uint revision() const { return revision_; }
  uint nextRevision() { return ++revision_; }

  TreeChanges takeChanges();
  // A layout change hosts were not told of: each learns of it as it opens the menu.
  void hold(const Menu* followed);
  // A layout change every host was told of.
  void told(const Menu* followed);
  // Whether the host of that bus name was not shown something: a new root, a held layout it has
  // not fetched since, changes not yet taken.
  bool anythingWaiting(const QString& host) const;

 private:
  // What hosts were last shown of one menu's items.
  struct Followed {
    std::weak_ptr<Menu> menu;
    int parentId = 0;
    MenuSnapshotRef announced;              // what every host was last told of it
    MenuSnapshotRef shown;                  // what a host was last sent of it
    std::uint64_t generation = 0;           // counts the menu's changes
    bool current = false;                   // shown is what the menu holds now
    bool changed = false;                   // changed since the last look
    bool held = false;                      // its layout changed and hosts were not told
    std::vector<QString> fetchedSinceHeld;  // the hosts that have the held layout all the same
  };

  void menuChanged(Menu& menu) override;
  // The record of an item below the node parentId, run items into a row of equal titles.
  ItemRecord recordOf(const MenuItemRef& item, int parentId, int run);
  // The record of a node hosts were given, by its id.
  ItemRecord recordOf(int id, const MenuItemRef& item);
  MenuSnapshotRef snapshotOf(const Menu& menu, int parentId);
  // A submenu made anew in place of a followed one: followed in its stead, and nothing to tell,
  // when its items are the same (a refresh refills each pair's lines); false otherwise.
  bool takesOver(const Followed& old, const MenuRef& replacement, int parentId);
  // The menu's record, made when it is first followed; hosts have its items from now on.
  Followed& follow(const MenuRef& menu, int parentId);
  // Adds a menu taken to the layout, and the submenus below it to what is still to take.
  // A host has the menu's items now.
  static void fetched(Followed& followed, const QString& host);
  void addTaken(LayoutTaking& taking, const LayoutTaking::Below& below, const MenuSnapshotRef& snapshot,
                const std::vector<MenuItemRef>& items);
  void compare(const Menu& menu, const Followed& followed, const MenuSnapshot& now, TreeChanges& changes);

  MenuRef root_;
  MenuIdRegistry ids_;
  MenuIconPngs pngs_;
  std::function<void()> changed_;
  uint revision_ = 1;
  std::map<const Menu*, Followed> followed_;  // ordered, to be swept a few at a time
  const Menu* sweepFrom_ = nullptr;
  std::vector<const Menu*> changedMenus_;
  bool rootReplaced_ = false;
};

}  // namespace pricora
