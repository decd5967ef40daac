#include "run/ApplicationBus.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

namespace pricora {

ApplicationBus::ApplicationBus(std::function<void()> activate)
    : activate_(std::move(activate)), bus_(QDBusConnection::sessionBus()) {
  if (!bus_.isConnected()) return;
  // The object first: whoever sees the name may call it at once.
  if (!bus_.registerVirtualObject(ApplicationBusName::kPath, this)) return;
  published_ = bus_.registerService(ApplicationBusName::kService);
  if (!published_) bus_.unregisterObject(ApplicationBusName::kPath);
}

ApplicationBus::~ApplicationBus() {
  if (!published_) return;
  bus_.unregisterService(ApplicationBusName::kService);
  bus_.unregisterObject(ApplicationBusName::kPath);
}

bool ApplicationBus::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  if (message.interface() != ApplicationBusName::kInterface) return false;
  if (message.member() == "ActivateAction") {
    // The desktop entry offers no actions: every name is unknown.
    connection.send(message.createErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("Pricora has no action named \"%1\"").arg(message.arguments().value(0).toString())));
    return true;
  }
  if (message.member() != "Activate" && message.member() != "Open") return false;
  // Messages may arrive on the bus's own thread; the application runs on the main one.
  QMetaObject::invokeMethod(
      this,
      [this, message, connection] {
        activate_();
        connection.send(message.createReply());
      },
      Qt::QueuedConnection);
  return true;
}

QString ApplicationBus::introspect(const QString&) const {
  return QStringLiteral(
      "<interface name=\"org.freedesktop.Application\">"
      "<method name=\"Activate\"><arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
      "<method name=\"Open\"><arg type=\"as\" name=\"uris\" direction=\"in\"/>"
      "<arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
      "<method name=\"ActivateAction\"><arg type=\"s\" name=\"action_name\" direction=\"in\"/>"
      "<arg type=\"av\" name=\"parameter\" direction=\"in\"/>"
      "<arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
      "</interface>");
}

bool activateRunningCopy(long pid, int timeoutMs) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QString service = ApplicationBusName::kService;
  const QDBusReply<uint> owner = bus.interface()->servicePid(service);
  if (!owner.isValid() || (pid != 0 && static_cast<long>(owner.value()) != pid)) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(service, ApplicationBusName::kPath, ApplicationBusName::kInterface,
                                                     QStringLiteral("Activate"));
  call << QVariantMap{};
  return bus.call(call, QDBus::Block, timeoutMs).type() == QDBusMessage::ReplyMessage;
}

ApplicationBusWatch::ApplicationBusWatch() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected())
    watcher_ = std::make_unique<QDBusServiceWatcher>(ApplicationBusName::kService, bus,
                                                     QDBusServiceWatcher::WatchForOwnerChange);
}

ApplicationBusWatch::~ApplicationBusWatch() = default;

void ApplicationBusWatch::waitForChange(qint64 timeoutMs) {
  QEventLoop loop;
  if (watcher_) QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, &loop, &QEventLoop::quit);
  QTimer::singleShot(std::chrono::milliseconds(timeoutMs), &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace pricora
