#include "run/ApplicationBus.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

namespace pricora {

namespace {

// A copy that has the lock publishes itself right after opening its store; this covers that gap.
constexpr int kStartingCopyWaitMs = 5000;
constexpr int kActivateTimeoutMs = 10000;

}  // namespace

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

bool activateRunningCopy(long pid) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusConnectionInterface* names = bus.interface();
  const QString service = ApplicationBusName::kService;
  if (!names->isServiceRegistered(service).value()) {
    QDBusServiceWatcher watcher(service, bus, QDBusServiceWatcher::WatchForRegistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QTimer::singleShot(kStartingCopyWaitMs, &loop, &QEventLoop::quit);
    // Asked again now that the watcher listens: the name may have come in between.
    if (!names->isServiceRegistered(service).value()) loop.exec();
  }
  const QDBusReply<uint> owner = names->servicePid(service);
  if (!owner.isValid() || (pid != 0 && static_cast<long>(owner.value()) != pid)) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(service, ApplicationBusName::kPath, ApplicationBusName::kInterface,
                                                     QStringLiteral("Activate"));
  call << QVariantMap{};
  return bus.call(call, QDBus::Block, kActivateTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace pricora
