#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Notifier.h"

class OrgFreedesktopNotificationsInterface;

namespace pricora {

// Notifications through the desktop's org.freedesktop.Notifications service on the given bus,
// called through the proxy generated from dbus/org.freedesktop.Notifications.xml.
// It asks once for the service's capabilities and offers actions only where it has them; a
// later notification under a tag replaces the one shown (replaces_id) while it is on screen.
// Without a service, or without a bus at all, every notification is undelivered.
class DBusNotifier final : public QObject, public Notifier {
 public:
  // appIcon and desktopEntry name the application to the service.
  DBusNotifier(QDBusConnection bus, QString appName, QString appIcon, QString desktopEntry);
  // Waits (briefly) for the calls still under way, so that a run that ends right after an alert
  // still delivers it.
  ~DBusNotifier() override;

  void setListener(NotifierListener* listener) override { listener_ = listener; }
  void notify(std::int64_t tag, const Notification& notification) override;

 private:
  void actionInvoked(uint id, const QString& key);
  void notificationClosed(uint id, uint reason);
  void send(std::int64_t tag, const Notification& notification);
  // Once the service said what it can: sends what waited for that.
  void sendWaiting();
  void undelivered(std::int64_t tag);
  void track(const QDBusPendingCall& call, std::function<void(const QDBusPendingCall&)> done);

  std::unique_ptr<OrgFreedesktopNotificationsInterface> server_;  // none without a bus
  QString appName_, appIcon_, desktopEntry_;
  NotifierListener* listener_ = nullptr;
  std::optional<bool> actions_;  // whether the service shows actions; unknown until it answers
  std::vector<std::pair<std::int64_t, Notification>> waiting_;  // for that answer
  std::map<std::int64_t, uint> shown_;                          // tag → the service's id of what it shows
  std::optional<QDBusPendingCall> capabilities_;
  std::vector<QDBusPendingCall> underWay_;
};

}  // namespace pricora
