#pragma once

#include <QDBusContext>
#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

#include "model/Menu.h"
#include "platform/MenuActionTarget.h"
#include "qt/ImageCache.h"
#include "sni/DBusTypes.h"
#include "sni/ExportedTree.h"
#include "sni/HostPolicies.h"
#include "sni/OpenMenus.h"
#include "sni/ReplyWriter.h"

namespace pricora {

// How long the exporter waits where the protocol leaves it open; tests shorten both.
struct ExporterTiming {
  // A refresh changes a menu many times over a second or two, and a host answers each
  // LayoutUpdated by fetching the whole tree again: it hears of a burst of changes once.
  std::chrono::milliseconds announcementDelay{250};
  std::chrono::milliseconds silenceCloses{LibdbusmenuPolicy::kSilenceCloses};
};

// One menu tree of the model as com.canonical.dbusmenu: the bus-facing side, which answers hosts
// from the ExportedTree and tells them what changed, following the hosts' policies. It is served
// through the adaptor generated from dbus/com.canonical.dbusmenu.xml (register it with
// QDBusConnection::ExportAdaptors); the calls reach it with their QDBusContext.
//
// GetLayout and GetGroupProperties take what they show on the main thread, from snapshots kept
// while menus are unchanged, and are answered from the ReplyWriter's thread: a host fetching a
// tree of 150,000 nodes holds up nothing else. Every reply carries the revision it shows.
//
// Changes are announced once per burst, 250 ms after the first: LayoutUpdated for each menu whose
// items were added, removed or moved, one ItemsPropertiesUpdated for all items whose text, state or
// picture changed, to every host, whatever one of them fetched meanwhile. AboutToShow answers
// whether anything changed that the asking host was not told.
//
// "clicked" sends the item's action to the target on the next turn of the event loop, after the
// host has its reply. Opening a menu (AboutToShow, AboutToShowGroup or the "opened" event) tells
// its delegate menuWillOpen once; "closed", hosts' silence (see OpenMenus), a new root in place of
// an open one or the exporter going away tells menuDidClose. A new root in place of an open one
// is open to hosts, but its delegate hears of it only when a host opens it.
class DBusMenuExporter final : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_PROPERTY(uint Version READ version)
  Q_PROPERTY(QString TextDirection READ textDirection)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

 public:
  DBusMenuExporter(MenuRef root, MenuActionTarget& target, ImageCache& images, ExporterTiming timing = {});
  ~DBusMenuExporter() override;

  // Shows another menu (or none) at the root, as one layout change.
  void setRoot(MenuRef root);
  const MenuRef& root() const { return tree_.root(); }

  uint version() const { return 3; }
  QString textDirection() const { return QStringLiteral("ltr"); }
  QString status() const { return QStringLiteral("normal"); }
  QStringList iconThemePath() const { return {}; }

 public Q_SLOTS:
  // These two answer later, by hand, not with what they return to the adaptor: a layout reply is
  // written on the ReplyWriter's thread straight from the snapshots, where Qt's marshalling of a
  // DBusMenuLayout tree on the main thread held every other call up (see menu_bench).
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
  void queueAnnouncement();
  void announceChanges();
  // Has hosts that fetch only when told to fetch the tree as its top menu opens.
  void announceOpening();

  bool handleEvent(int id, const QString& eventId);
  // Answers the call being served with what make returns for the layout, once it is all taken.
  void answerWithLayout(LayoutTaking taking, std::function<QVariantList(const LayoutSnapshotRef&)> make);

  MenuActionTarget& target_;
  ExporterTiming timing_;
  ExportedTree tree_;
  OpenMenus open_;
  bool announcementQueued_ = false;
  bool announceWhenSent_ = false;
  bool openingWhenSent_ = false;
  ReplyWriter replies_;  // last: its thread is done before the rest goes
};

}  // namespace pricora
