#include "sni/DBusMenuExporter.h"

#include <QDBusError>
#include <QTimer>

#include <algorithm>

#include "sni/MenuItemProperties.h"

namespace pricora {

namespace {

QVariantMap only(const QVariantMap& properties, const QStringList& names) {
  if (names.isEmpty()) return properties;
  QVariantMap chosen;
  for (const QString& name : names)
    if (auto found = properties.find(name); found != properties.end()) chosen.insert(name, *found);
  return chosen;
}

QVariantMap rootProperties() { return {{"children-display", QStringLiteral("submenu")}}; }

}  // namespace

DBusMenuExporter::DBusMenuExporter(MenuRef root, MenuActionTarget& target, ImageCache& images)
    : root_(std::move(root)), target_(target), pngs_(images) {}

DBusMenuExporter::~DBusMenuExporter() {
  // A host that goes away without closing its menus must not leave their delegates running.
  for (auto& [address, weak] : open_)
    if (MenuRef menu = weak.lock(); menu && menu->delegate()) menu->delegate()->menuDidClose(*menu);
  stopFollowing();
}

void DBusMenuExporter::setRoot(MenuRef root) {
  if (root == root_) return;
  root_ = std::move(root);
  rootReplaced_ = true;
  queueAnnouncement();
}

void DBusMenuExporter::queueAnnouncement() {
  if (announcementQueued_) return;
  announcementQueued_ = true;
  // A refresh changes a menu many times over a second or two, and a host answers each
  // LayoutUpdated by fetching the whole tree again: it hears of a burst of changes once.
  QTimer::singleShot(kAnnouncementDelay, this, [this] { announceChanges(); });
}

MenuRef DBusMenuExporter::menuBelow(int id) const {
  if (id == 0) return root_;
  MenuItemRef item = itemWithId(id);
  return item ? item->submenu() : nullptr;
}

QVariantMap DBusMenuExporter::propertiesOf(const MenuItem& item) {
  return menuItemProperties(item, pngs_.pngOf(item.image()));
}

QVariantMap DBusMenuExporter::propertiesOf(int id) {
  if (id == 0) return rootProperties();
  MenuItemRef item = itemWithId(id);
  return item ? propertiesOf(*item) : QVariantMap();
}

DBusMenuLayout DBusMenuExporter::layoutOf(int id, const MenuRef& menu, int depth, const QStringList& names) {
  DBusMenuLayout node;
  node.id = id;
  node.properties = only(propertiesOf(id), names);
  if (!menu || depth == 0) return node;
  std::vector<int> ids;
  std::vector<QVariantMap> properties;
  ids.reserve(menu->numberOfItems());
  properties.reserve(menu->numberOfItems());
  node.children.reserve(static_cast<qsizetype>(menu->numberOfItems()));
  for (const MenuItemRef& item : menu->itemArray()) {
    const int childId = idOf(item);
    ids.push_back(childId);
    properties.push_back(propertiesOf(*item));
    if (item->submenu() && depth != 1) {
      node.children.push_back(layoutOf(childId, item->submenu(), depth < 0 ? depth : depth - 1, names));
    } else {
      DBusMenuLayout child;
      child.id = childId;
      child.properties = only(properties.back(), names);
      node.children.push_back(std::move(child));
    }
  }
  follow(menu, id, std::move(ids), std::move(properties));
  return node;
}

void DBusMenuExporter::follow(const MenuRef& menu, int parentId, std::vector<int> ids,
                              std::vector<QVariantMap> properties) {
  Followed& followed = followed_[menu.get()];
  if (followed.menu.lock() != menu) followed = Followed{menu, parentId, {}, {}, {}, false, false};
  followed.stale = false;
  menu->addObserver(this);
  followed.parentId = parentId;
  followed.ids = std::move(ids);
  followed.properties = std::move(properties);
  followed.submenus.clear();
  for (const MenuItemRef& item : menu->itemArray()) followed.submenus.push_back(item->submenu().get());
}

void DBusMenuExporter::stopFollowing() {
  for (auto& [address, followed] : followed_)
    if (MenuRef menu = followed.menu.lock()) menu->removeObserver(this);
  followed_.clear();
  changed_.clear();
}

void DBusMenuExporter::menuChanged(Menu& menu) {
  auto found = followed_.find(&menu);
  if (found == followed_.end() || found->second.changed) return;
  found->second.changed = true;
  changed_.push_back(&menu);
  queueAnnouncement();
}

void DBusMenuExporter::announceChanges() {
  announcementQueued_ = false;
  if (rootReplaced_) {
    // Always: the host may have the old root open, and a replaced root is a small menu.
    rootReplaced_ = false;
    Q_EMIT LayoutUpdated(++revision_, 0);
  }
  DBusMenuPropertiesList updated;
  DBusMenuRemovedPropertiesList removed;
  const std::vector<const Menu*> changed = std::exchange(changed_, {});
  for (const Menu* address : changed) {
    auto found = followed_.find(address);
    if (found == followed_.end()) continue;
    Followed& followed = found->second;
    followed.changed = false;
    MenuRef menu = followed.menu.lock();
    if (!menu || (followed.parentId != 0 && menuBelow(followed.parentId) != menu)) {
      // No longer shown anywhere in this tree.
      if (menu) menu->removeObserver(this);
      followed_.erase(found);
      continue;
    }
    std::vector<int> ids;
    std::vector<QVariantMap> properties;
    std::vector<const Menu*> submenus;
    for (const MenuItemRef& item : menu->itemArray()) {
      ids.push_back(idOf(item));
      properties.push_back(propertiesOf(*item));
      submenus.push_back(item->submenu().get());
    }
    if (ids != followed.ids) {
      if (isOpen(menu.get()))
        Q_EMIT LayoutUpdated(++revision_, followed.parentId);
      else
        followed.stale = true;
    } else {
      for (std::size_t i = 0; i < ids.size(); ++i) {
        if (submenus[i] != followed.submenus[i] && followed.submenus[i] != nullptr && submenus[i] != nullptr) {
          if (isOpen(followed.submenus[i]))
            Q_EMIT LayoutUpdated(++revision_, ids[i]);
          else
            followed.stale = true;
        }
        if (properties[i] == followed.properties[i]) continue;
        // Only what changed: hosts rebuild an item whose "type" or "children-display" they are
        // sent, even with its old value.
        DBusMenuProperties differing{ids[i], {}};
        DBusMenuRemovedProperties gone{ids[i], {}};
        for (auto it = followed.properties[i].begin(); it != followed.properties[i].end(); ++it)
          if (!properties[i].contains(it.key())) gone.names.push_back(it.key());
        for (auto it = properties[i].begin(); it != properties[i].end(); ++it)
          if (followed.properties[i].value(it.key()) != it.value()) differing.properties.insert(it.key(), it.value());
        if (!gone.names.isEmpty()) removed.push_back(gone);
        if (!differing.properties.isEmpty()) updated.push_back(differing);
      }
    }
    followed.ids = std::move(ids);
    followed.properties = std::move(properties);
    followed.submenus = std::move(submenus);
  }
  if (!updated.isEmpty() || !removed.isEmpty()) Q_EMIT ItemsPropertiesUpdated(updated, removed);
  // Menus of items that are gone never change again: drop them once they pile up.
  if (followed_.size() > 2 * followedAfterLastSweep_ + 64) {
    std::erase_if(followed_, [](const auto& entry) { return entry.second.menu.expired(); });
    followedAfterLastSweep_ = followed_.size();
  }
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayout& layout) {
  if (!knows(parentId)) {
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu item with id %1").arg(parentId));
    return 0;
  }
  layout = layoutOf(parentId, menuBelow(parentId), recursionDepth, propertyNames);
  return revision_;
}

DBusMenuPropertiesList DBusMenuExporter::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  DBusMenuPropertiesList result;
  for (int id : ids)
    if (knows(id)) result.push_back({id, only(propertiesOf(id), propertyNames)});
  return result;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name) {
  const QVariantMap properties = propertiesOf(id);
  auto found = properties.find(name);
  if (!knows(id) || found == properties.end()) {
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No property %1 on menu item %2").arg(name).arg(id));
    return {};
  }
  return QDBusVariant(*found);
}

bool DBusMenuExporter::handleEvent(int id, const QString& eventId) {
  if (!knows(id)) return false;
  if (eventId == QLatin1String("clicked")) {
    MenuItemRef item = itemWithId(id);
    if (!item || item->action().empty() || !item->isEnabled()) return true;
    // After the reply: an action may open a dialog and run an event loop of its own.
    QMetaObject::invokeMethod(
        this,
        [this, weak = std::weak_ptr<MenuItem>(item)] {
          if (MenuItemRef chosen = weak.lock()) target_.sendAction(chosen->action(), *chosen);
        },
        Qt::QueuedConnection);
  } else if (eventId == QLatin1String("opened")) {
    // GNOME sends it beside AboutToShow, whose answer already has it fetch what changed.
    opening(id, false);
  } else if (eventId == QLatin1String("closed")) {
    closing(menuBelow(id));
  }
  return true;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (!handleEvent(id, eventId))
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu item with id %1").arg(id));
}

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList& events) {
  QList<int> errors;
  for (const DBusMenuEvent& event : events)
    if (!handleEvent(event.id, event.eventId)) errors.push_back(event.id);
  return errors;
}

bool DBusMenuExporter::AboutToShow(int id) {
  if (!knows(id)) {
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu item with id %1").arg(id));
    return false;
  }
  // A host that asks this way fetches again when told to by the answer.
  const bool update = needsUpdate();
  opening(id, false);
  return update;
}

bool DBusMenuExporter::needsUpdate() const {
  // Any menu of the tree: some hosts fetch the whole tree when the top menu opens, and only then.
  // A change not announced yet counts too: the announcement waits for the burst to end.
  return rootReplaced_ || std::any_of(followed_.begin(), followed_.end(), [](const auto& entry) {
           return (entry.second.stale || entry.second.changed) && !entry.second.menu.expired();
         });
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  QList<int> updates;
  const bool update = needsUpdate();
  for (int id : ids) {
    if (!knows(id)) {
      idErrors.push_back(id);
      continue;
    }
    opening(id, true);
    if (update) updates.push_back(id);
  }
  return updates;
}

void DBusMenuExporter::opening(int id, bool announceStale) {
  const MenuRef menu = menuBelow(id);
  if (!menu) return;
  if (!isOpen(menu.get())) {  // hosts send both AboutToShow and "opened", some never "closed"
    open_[menu.get()] = menu;
    if (MenuDelegate* delegate = menu->delegate()) delegate->menuWillOpen(*menu);
  }
  // Hosts built on libdbusmenu (xfce4-panel among them) send AboutToShowGroup, ignore its answer
  // and fetch again only when told. They are told as the top menu opens, when whatever changed
  // below it can still be fetched before a submenu shows: told as the submenu itself opens, they
  // rebuild it while showing it, and show it empty.
  if (announceStale && id == 0 && needsUpdate()) Q_EMIT LayoutUpdated(++revision_, 0);
}

void DBusMenuExporter::closing(const MenuRef& menu) {
  if (!menu) return;
  auto found = open_.find(menu.get());
  if (found == open_.end()) return;
  open_.erase(found);
  if (MenuDelegate* delegate = menu->delegate()) delegate->menuDidClose(*menu);
}

}  // namespace pricora
