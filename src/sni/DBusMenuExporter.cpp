#include "sni/DBusMenuExporter.h"

#include <QDBusError>
#include <QTimer>

#include "sni/HostPolicies.h"
#include "sni/LayoutReply.h"

namespace pricora {

namespace {

QString noItemWith(const QList<int>& ids) {
  QStringList texts;
  for (int id : ids) texts.push_back(QString::number(id));
  return QStringLiteral("No menu item with id %1").arg(texts.join(QStringLiteral(", ")));
}

}  // namespace

DBusMenuExporter::DBusMenuExporter(MenuRef root, MenuActionTarget& target, ImageCache& images, ExporterTiming timing)
    : target_(target),
      timing_(timing),
      tree_(std::move(root), images, [this] { queueAnnouncement(); }),
      open_(timing.silenceCloses) {
  registerReplyTypes();
  replies_.setIdleHandler([this] {
    if (std::exchange(openingWhenSent_, false)) announceOpening();
    if (std::exchange(announceWhenSent_, false)) announceChanges();
  });
}

DBusMenuExporter::~DBusMenuExporter() = default;

void DBusMenuExporter::setRoot(MenuRef root) {
  if (root == tree_.root()) return;
  const MenuRef replaced = tree_.root();
  tree_.setRoot(root);
  open_.replace(replaced, root);
  queueAnnouncement();
}

void DBusMenuExporter::queueAnnouncement() {
  if (announcementQueued_) return;
  announcementQueued_ = true;
  QTimer::singleShot(timing_.announcementDelay, this, [this] { announceChanges(); });
}

void DBusMenuExporter::announceChanges() {
  announcementQueued_ = false;
  // A reply under way shows the tree as it was before these changes: the news must reach the host
  // after it, or the reply would undo them.
  if (replies_.busy()) {
    announceWhenSent_ = true;
    return;
  }
  const TreeChanges changes = tree_.takeChanges();
  // Always: the host may have the old root open, and a replaced root is a small menu.
  if (changes.rootReplaced) Q_EMIT LayoutUpdated(tree_.nextRevision(), 0);
  for (const LayoutChange& change : changes.layouts) {
    if (GnomeShellPolicy::holdsLayout(open_.isOpen(change.shown))) {
      tree_.hold(change.followed);
    } else {
      tree_.told(change.followed);
      Q_EMIT LayoutUpdated(tree_.nextRevision(), change.parentId);
    }
  }
  if (!changes.updated.isEmpty() || !changes.removed.isEmpty())
    Q_EMIT ItemsPropertiesUpdated(changes.updated, changes.removed);
}

void DBusMenuExporter::announceOpening() {
  // As with announceChanges: told before the reply under way, a host takes that older reply after
  // the news and fetches the whole tree again.
  if (replies_.busy()) {
    openingWhenSent_ = true;
    return;
  }
  Q_EMIT LayoutUpdated(tree_.nextRevision(), 0);
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DBusMenuLayout&) {
  if (!tree_.knows(parentId)) {
    sendErrorReply(QDBusError::InvalidArgs, noItemWith({parentId}));
    return 0;
  }
  setDelayedReply(true);
  const auto reply = [revision = tree_.revision()](const LayoutSnapshotRef& layout) {
    return QVariantList{revision, QVariant::fromValue(LayoutReplyNode{layout.get(), &layout->parent, layout->depth})};
  };
  answerWithLayout(tree_.startLayout(parentId, recursionDepth, propertyNames, message().service()), reply);
  return 0;
}

void DBusMenuExporter::answerWithLayout(LayoutTaking taking,
                                        std::function<QVariantList(const LayoutSnapshotRef&)> make) {
  auto shared = std::make_shared<LayoutTaking>(std::move(taking));
  // The layout stays with the reply until it is sent: the reply points into it.
  replies_.answer(
      connection(), message(), [this, shared](std::size_t budget) { return tree_.takeLayout(*shared, budget); },
      [layout = LayoutSnapshotRef(shared->layout), make = std::move(make)] { return make(layout); });
}

DBusMenuPropertiesList DBusMenuExporter::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  setDelayedReply(true);
  if (ids.isEmpty()) {
    // Every node of the tree, as the protocol asks.
    answerWithLayout(tree_.startLayout(0, -1, {}, message().service()),
                     [propertyNames](const LayoutSnapshotRef& layout) {
                       auto nodes = std::make_shared<const std::vector<ItemRecord>>(nodesOf(*layout));
                       return QVariantList{QVariant::fromValue(PropertiesReply{std::move(nodes), propertyNames})};
                     });
    return {};
  }
  auto records = std::make_shared<std::vector<ItemRecord>>();
  replies_.answer(
      connection(), message(),
      [this, records, ids, next = qsizetype(0)](std::size_t budget) mutable {
        tree_.takeRecords(ids, next, static_cast<qsizetype>(budget), *records);
        next += static_cast<qsizetype>(budget);
        return next >= ids.size();
      },
      [records, propertyNames] {
        return QVariantList{QVariant::fromValue(PropertiesReply{records, propertyNames})};
      });
  return {};
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name) {
  const QVariantMap properties = tree_.propertiesOf(id);
  auto found = properties.find(name);
  if (!tree_.knows(id) || found == properties.end()) {
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No property %1 on menu item %2").arg(name).arg(id));
    return {};
  }
  return QDBusVariant(*found);
}

bool DBusMenuExporter::handleEvent(int id, const QString& eventId) {
  open_.heardFromHost();
  if (!tree_.knows(id)) return false;
  if (eventId == QLatin1String("clicked")) {
    MenuItemRef item = tree_.itemWithId(id);
    if (!item || item->action() == MenuAction::none || !item->isEnabled()) return true;
    // After the reply: an action may open a dialog and run an event loop of its own.
    QMetaObject::invokeMethod(
        this,
        [this, weak = std::weak_ptr<MenuItem>(item)] {
          if (MenuItemRef chosen = weak.lock()) target_.sendAction(chosen->action(), *chosen);
        },
        Qt::QueuedConnection);
  } else if (eventId == QLatin1String("opened")) {
    // GNOME sends it beside AboutToShow, whose answer already has it fetch what changed.
    open_.open(tree_.menuBelow(id));
  } else if (eventId == QLatin1String("closed")) {
    if (id == 0) open_.topMenuClosed();
    open_.close(tree_.menuBelow(id));
  }
  return true;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (!handleEvent(id, eventId)) sendErrorReply(QDBusError::InvalidArgs, noItemWith({id}));
}

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList& events) {
  QList<int> errors;
  for (const DBusMenuEvent& event : events)
    if (!handleEvent(event.id, event.eventId)) errors.push_back(event.id);
  // The protocol's answer when no event reached an item.
  if (!events.isEmpty() && errors.size() == events.size()) sendErrorReply(QDBusError::InvalidArgs, noItemWith(errors));
  return errors;
}

bool DBusMenuExporter::AboutToShow(int id) {
  open_.heardFromHost();
  if (!tree_.knows(id)) {
    sendErrorReply(QDBusError::InvalidArgs, noItemWith({id}));
    return false;
  }
  // A host that asks this way fetches again when told to by the answer.
  const bool update = tree_.anythingWaiting(message().service());
  open_.open(tree_.menuBelow(id));
  return update;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  open_.heardFromHost();
  QList<int> updates;
  const bool update = tree_.anythingWaiting(message().service());
  for (int id : ids) {
    if (!tree_.knows(id)) {
      idErrors.push_back(id);
      continue;
    }
    open_.open(tree_.menuBelow(id));
    if (LibdbusmenuPolicy::announcesOpening(id, tree_.anythingWaiting(message().service()))) announceOpening();
    if (update) updates.push_back(id);
  }
  if (!ids.isEmpty() && idErrors.size() == ids.size()) sendErrorReply(QDBusError::InvalidArgs, noItemWith(idErrors));
  return updates;
}

}  // namespace pricora
