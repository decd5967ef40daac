#include "run/ApplicationBus.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

#include "ApplicationAdaptor.h"
#include "ApplicationProxy.h"

namespace pricora {

namespace {

constexpr const char* kChartAction = "chart";

}  // namespace

ApplicationBus::ApplicationBus(ApplicationActions actions)
    : actions_(std::move(actions)), bus_(QDBusConnection::sessionBus()) {
  if (!bus_.isConnected()) return;
  new ApplicationAdaptor(this);
  // The object first: whoever sees the name may call it at once.
  if (!bus_.registerObject(ApplicationBusName::kPath, this, QDBusConnection::ExportAdaptors)) return;
  published_ = bus_.registerService(ApplicationBusName::kService);
  if (!published_) bus_.unregisterObject(ApplicationBusName::kPath);
}

ApplicationBus::~ApplicationBus() {
  if (!published_) return;
  bus_.unregisterService(ApplicationBusName::kService);
  bus_.unregisterObject(ApplicationBusName::kPath);
}

void ApplicationBus::Activate(const QVariantMap&) { actions_.activate(); }

void ApplicationBus::Open(const QStringList&, const QVariantMap&) { actions_.activate(); }

void ApplicationBus::ActivateAction(const QString& action, const QVariantList& parameter, const QVariantMap&) {
  if (action != QLatin1String(kChartAction)) {
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("Pricora has no action named \"%1\"").arg(action));
    return;
  }
  // The parameter comes wrapped once more when a caller sends the pair itself as a variant.
  QVariant pair = parameter.value(0);
  if (pair.userType() == qMetaTypeId<QDBusVariant>()) pair = pair.value<QDBusVariant>().variant();
  if (pair.typeId() != QMetaType::QString || !actions_.chart || !actions_.chart(pair.toString().toStdString()))
    sendErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("The action \"chart\" takes a pair: \"Kraken XBT/USD\", not \"%1\"").arg(pair.toString()));
}

bool activateRunningCopy(long pid, int timeoutMs, const std::optional<std::string>& chart) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QString service = ApplicationBusName::kService;
  const QDBusReply<uint> owner = bus.interface()->servicePid(service);
  if (!owner.isValid() || (pid != 0 && static_cast<long>(owner.value()) != pid)) return false;
  OrgFreedesktopApplicationInterface application(service, ApplicationBusName::kPath, bus);
  application.setTimeout(timeoutMs);
  QDBusPendingReply<> reply =
      chart ? application.ActivateAction(QLatin1String(kChartAction), {QString::fromStdString(*chart)}, {})
            : application.Activate({});
  reply.waitForFinished();
  return !reply.isError();
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
