#include "run/AlertBus.h"

#include <QDBusConnectionInterface>

#include "AlertsAdaptor.h"
#include "AlertsProxy.h"
#include "core/alerts/AlertText.h"
#include "run/ApplicationBus.h"

namespace pricora {

namespace {

// A copy that is busy (a store to save, a dialog) answers within this or is passed over.
constexpr int kAnswerTimeoutMs = 10000;

}  // namespace

AlertBus::AlertBus(std::function<HandedAlert(const AlertRecord&)> take, bool ownName)
    : take_(std::move(take)), bus_(QDBusConnection::sessionBus()) {
  if (!bus_.isConnected()) return;
  new AlertsAdaptor(this);
  registered_ = bus_.registerObject(kPath, this, QDBusConnection::ExportAdaptors);
  if (registered_ && ownName) ownsName_ = bus_.registerService(ApplicationBusName::kService);
}

AlertBus::~AlertBus() {
  if (ownsName_) bus_.unregisterService(ApplicationBusName::kService);
  if (registered_) bus_.unregisterObject(kPath);
}

qlonglong AlertBus::AddAlert(const QString& exchange, const QString& title, const QString& rule, QString& spelled,
                             QString& phase, double& price, QString& problem) {
  // The command line writes rules in plain notation, which reads the same in every locale.
  const std::variant<AlertRule, TextProblem> parsed = parseAlertRule(rule.toStdString(), NumberSymbols{});
  if (std::holds_alternative<TextProblem>(parsed)) {
    problem = QStringLiteral("not an alert: %1").arg(rule);
    return 0;
  }
  const HandedAlert made =
      take_(makeAlert({exchange.toStdString(), title.toStdString()}, std::get<AlertRule>(parsed), {}));
  spelled = QString::fromStdString(made.pair.title);
  phase = QString::fromUtf8(phaseName(made.phase).data(), static_cast<qsizetype>(phaseName(made.phase).size()));
  price = made.price.value_or(0);
  problem = QString::fromStdString(made.problem);
  return made.id;
}

std::optional<HandedAlert> RunningCopyAlerts::handOver(const AlertRecord& alert) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return std::nullopt;
  // Only the copy on this store: another user's XDG_DATA_HOME may run a Pricora of its own.
  const QDBusReply<uint> owner = bus.interface()->servicePid(ApplicationBusName::kService);
  if (!owner.isValid() || static_cast<long>(owner.value()) != pid_) return std::nullopt;
  ExamplePricoraPricoraAlertsInterface alerts(ApplicationBusName::kService, AlertBus::kPath, bus);
  alerts.setTimeout(kAnswerTimeoutMs);
  const std::string rule = ruleText(alert);
  QDBusPendingReply<qlonglong, QString, QString, double, QString> reply =
      alerts.AddAlert(QString::fromStdString(alert.pair.exchange), QString::fromStdString(alert.pair.title),
                      QString::fromStdString(rule));
  reply.waitForFinished();
  if (reply.isError()) return std::nullopt;
  HandedAlert handed{reply.argumentAt<0>(),
                     {alert.pair.exchange, reply.argumentAt<1>().toStdString()},
                     phaseNamed(reply.argumentAt<2>().toStdString()),
                     std::nullopt,
                     reply.argumentAt<4>().toStdString()};
  if (reply.argumentAt<3>() > 0) handed.price = reply.argumentAt<3>();
  return handed;
}

}  // namespace pricora
