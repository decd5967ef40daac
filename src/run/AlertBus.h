#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

#include "platform/AlertHandOff.h"

namespace pricora {

// Where a running Pricora takes alerts made on the command line: the interface
// example.pricora.Pricora.Alerts (see dbus/example.pricora.Pricora.Alerts.xml) at kPath on the
// session bus. Without a session bus nothing is published, and the command line writes the file.
class AlertBus final : public QObject {
 public:
  static constexpr const char* kPath = "/example/pricora/Pricora/Alerts";

  // take: makes the alert (PriceWatch::takeAlert). ownName: also publish the application's bus
  // name, for a run mode that does not publish it otherwise (headless).
  AlertBus(std::function<HandedAlert(const AlertRecord&)> take, bool ownName);
  ~AlertBus() override;
  AlertBus(const AlertBus&) = delete;
  AlertBus& operator=(const AlertBus&) = delete;

  // The bus method, as the generated adaptor calls it.
  qlonglong AddAlert(const QString& exchange, const QString& title, const QString& rule, QString& spelled,
                     QString& phase, double& price, QString& problem);

 private:
  std::function<HandedAlert(const AlertRecord&)> take_;
  QDBusConnection bus_;
  bool registered_ = false;
  bool ownsName_ = false;
};

// The command line's way to the Pricora with this pid, which holds the store's lock: over the
// session bus, when it is there.
class RunningCopyAlerts final : public AlertHandOff {
 public:
  explicit RunningCopyAlerts(long pid) : pid_(pid) {}
  std::optional<HandedAlert> handOver(const AlertRecord& alert) override;

 private:
  long pid_;
};

}  // namespace pricora
