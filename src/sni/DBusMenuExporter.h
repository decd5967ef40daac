#pragma once

#include <QDBusContext>
#include <QObject>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "platform/menu/Menu.h"
#include "platform/menu/MenuActionTarget.h"
#include "qt/ImageCache.h"
#include "sni/DBusTypes.h"
#include "sni/MenuIconPngs.h"
#include "sni/MenuIdRegistry.h"

namespace pricora {

// One menu tree of the model as com.canonical.dbusmenu, read straight from the model.
//
// Ids: 0 is the root menu; every item gets its own id the first time a host sees it and keeps
// it for as long as the item lives (a new item never reuses an old id). A menu whose items a
// host has received is followed from then on: changes are announced once per turn of the event
// loop, LayoutUpdated for each menu whose items were added, removed or moved, one
// ItemsPropertiesUpdated for all items whose text, state or picture changed. Menus a host never
// received cost nothing when they change. A menu that is closed is not announced either: hosts
// that fetch the whole tree on every LayoutUpdated (GNOME's) would rebuild thousands of items for
// each turn of a refresh; AboutToShow answers that it needs an update instead.
//
// "clicked" sends the item's action to the target on the next turn of the event loop, after the
// host has its reply. Opening a menu (AboutToShow or the "opened" event) tells its delegate
// menuWillOpen once; "closed", or the exporter going away, tells menuDidClose.
class DBusMenuExporter final : public QObject, protected QDBusContext, public MenuObserver {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ version)
  Q_PROPERTY(QString TextDirection READ textDirection)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

 public:
  DBusMenuExporter(MenuRef root, MenuActionTarget& target, ImageCache& images);
  ~DBusMenuExporter() override;

  // Shows another menu (or none) at the root, as one layout change.
  void setRoot(MenuRef root);
  const MenuRef& root() const { return root_; }

  uint version() const { return 3; }
  QString textDirection() const { return QStringLiteral("ltr"); }
  QString status() const { return QStringLiteral("normal"); }
  QStringList iconThemePath() const { return {}; }

 public Q_SLOTS:
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, pricora::DBusMenuLayout& layout);
  pricora::DBusMenuPropertiesList GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const pricora::DBusMenuEventList& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 Q_SIGNALS:
  void ItemsPropertiesUpdated(const pricora::DBusMenuPropertiesList& updatedProps,
                              const pricora::DBusMenuRemovedPropertiesList& removedProps);
  void LayoutUpdated(uint revision, int parent);
  void ItemActivationRequested(int id, uint timestamp);

 private:
  // What a host was last told about one menu's items.
  struct Followed {
    std::weak_ptr<Menu> menu;
    int parentId = 0;
    std::vector<int> ids;
    std::vector<QVariantMap> properties;
    std::vector<const Menu*> submenus;
    bool changed = false;
    bool stale = false;  // its items changed while it was closed
  };

  void menuChanged(Menu& menu) override;
  static constexpr std::chrono::milliseconds kAnnouncementDelay{250};
  void queueAnnouncement();
  void announceChanges();

  int idOf(const MenuItemRef& item) { return ids_.idOf(item); }
  MenuItemRef itemWithId(int id) const { return ids_.itemWithId(id); }
  // The menu below a node: the root for 0, an item's submenu otherwise; none for unknown ids.
  MenuRef menuBelow(int id) const;
  bool knows(int id) const { return id == 0 || itemWithId(id) != nullptr; }
  QVariantMap propertiesOf(int id);
  QVariantMap propertiesOf(const MenuItem& item);
  DBusMenuLayout layoutOf(int id, const MenuRef& menu, int depth, const QStringList& names);
  void follow(const MenuRef& menu, int parentId, std::vector<int> ids, std::vector<QVariantMap> properties);
  void stopFollowing();
  bool handleEvent(int id, const QString& eventId);
  bool needsUpdate() const;
  bool isOpen(const Menu* menu) const {
    auto found = open_.find(menu);
    return found != open_.end() && !found->second.expired();
  }
  // The menu below id opens: its delegate hears of it and, with announceStale, the host is told
  // when it changed while closed.
  void opening(int id, bool announceStale);
  void closing(const MenuRef& menu);

  MenuRef root_;
  MenuActionTarget& target_;
  MenuIdRegistry ids_;
  MenuIconPngs pngs_;
  uint revision_ = 1;
  std::unordered_map<const Menu*, Followed> followed_;
  std::size_t followedAfterLastSweep_ = 0;
  std::vector<const Menu*> changed_;
  std::map<const Menu*, std::weak_ptr<Menu>> open_;
  bool announcementQueued_ = false;
  bool rootReplaced_ = false;
};

}  // namespace pricora
