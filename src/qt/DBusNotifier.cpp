#include "qt/DBusNotifier.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "NotificationsProxy.h"

namespace pricora {

namespace {

constexpr int kCallTimeout = 3000;  // milliseconds

}  // namespace

DBusNotifier::DBusNotifier(QDBusConnection bus, QString appName, QString appIcon, QString desktopEntry)
    : appName_(std::move(appName)), appIcon_(std::move(appIcon)), desktopEntry_(std::move(desktopEntry)) {
  if (!bus.isConnected()) {
    actions_ = false;
    return;
  }
  server_ = std::make_unique<OrgFreedesktopNotificationsInterface>(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"), bus);
  server_->setTimeout(kCallTimeout);
  connect(server_.get(), &OrgFreedesktopNotificationsInterface::ActionInvoked, this, &DBusNotifier::actionInvoked);
  connect(server_.get(), &OrgFreedesktopNotificationsInterface::NotificationClosed, this,
          &DBusNotifier::notificationClosed);
  capabilities_ = server_->GetCapabilities();
  track(*capabilities_, [this](const QDBusPendingCall&) { sendWaiting(); });
}

DBusNotifier::~DBusNotifier() {
  if (!waiting_.empty()) {
    capabilities_->waitForFinished();
    sendWaiting();
  }
  for (QDBusPendingCall& pending : underWay_) pending.waitForFinished();
}

void DBusNotifier::sendWaiting() {
  if (actions_) return;
  const QDBusPendingReply<QStringList> reply(*capabilities_);
  actions_ = reply.isValid() && reply.value().contains("actions");
  for (const auto& [tag, notification] : std::exchange(waiting_, {})) send(tag, notification);
}

void DBusNotifier::track(const QDBusPendingCall& call, std::function<void(const QDBusPendingCall&)> done) {
  underWay_.push_back(call);
  auto* watcher = new QDBusPendingCallWatcher(call, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, done = std::move(done)](QDBusPendingCallWatcher* w) {
            std::erase_if(underWay_, [&](const QDBusPendingCall& pending) { return pending.isFinished(); });
            done(*w);
            w->deleteLater();
          });
}

void DBusNotifier::notify(std::int64_t tag, const Notification& notification) {
  if (!server_) {
    // Told later, as the listener expects of a notifier.
    QMetaObject::invokeMethod(
        this, [this, tag] { undelivered(tag); }, Qt::QueuedConnection);
    return;
  }
  if (!actions_) {
    waiting_.emplace_back(tag, notification);
    return;
  }
  send(tag, notification);
}

void DBusNotifier::send(std::int64_t tag, const Notification& notification) {
  QStringList actions;
  if (*actions_)
    for (const auto& [key, label] : notification.actions)
      actions << QString::fromStdString(key) << QString::fromStdString(label);
  const auto shown = shown_.find(tag);
  const uint replaces = shown == shown_.end() ? 0u : shown->second;
  const QVariantMap hints{{"desktop-entry", desktopEntry_}, {"urgency", QVariant::fromValue(uchar{1})}};
  const QDBusPendingCall shownAs =
      server_->Notify(appName_, replaces, appIcon_, QString::fromStdString(notification.summary),
                      QString::fromStdString(notification.body), actions, hints, -1);
  track(shownAs, [this, tag](const QDBusPendingCall& answered) {
    const QDBusPendingReply<uint> reply(answered);
    if (reply.isValid())
      shown_[tag] = reply.value();
    else
      undelivered(tag);
  });
}

void DBusNotifier::undelivered(std::int64_t tag) {
  if (listener_ != nullptr) listener_->notificationUndelivered(tag);
}

void DBusNotifier::actionInvoked(uint id, const QString& key) {
  for (const auto& [tag, shownId] : shown_)
    if (shownId == id) {
      if (listener_ != nullptr) listener_->notificationAction(tag, key.toStdString());
      return;
    }
}

void DBusNotifier::notificationClosed(uint id, uint) {
  // Gone from the screen: the next one under its tag is a new notification.
  std::erase_if(shown_, [id](const auto& entry) { return entry.second == id; });
}

}  // namespace pricora
