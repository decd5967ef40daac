#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDBusServiceWatcher;

namespace pricora {

// Where the running Pricora answers on the session bus: the well-known name, and at the object
// path the org.freedesktop.Application interface, which also lets a desktop start it through
// D-Bus activation one day.
struct ApplicationBusName {
  static constexpr const char* kService = "example.pricora.Pricora";
  static constexpr const char* kPath = "/example/pricora/Pricora";
  static constexpr const char* kInterface = "org.freedesktop.Application";
};

// What the running copy does when asked on the bus.
struct ApplicationActions {
  std::function<void()> activate;  // shows the Manage window
  // Shows the chart of a pair, as the store names it ("Kraken XBT/USD"); false when the text
  // names no pair.
  std::function<bool(const std::string& pair)> chart;
};

// Publishes this copy on the session bus for as long as it lives (the interface in
// dbus/org.freedesktop.Application.xml, through its generated adaptor): Activate (and Open, which
// has no files to open) and the action "chart" run on the main thread and are answered once they
// have run. The chart is an action of the standard interface rather than a method of Pricora's
// own: a desktop entry's actions and any launcher that speaks the interface reach it too.
// Without a session bus, or when another process owns the name, nothing is published and the copy
// runs all the same.
class ApplicationBus final : public QObject, protected QDBusContext {
  Q_OBJECT

 public:
  explicit ApplicationBus(ApplicationActions actions);
  ~ApplicationBus() override;

  // The bus methods, as the generated adaptor calls them.
  void Activate(const QVariantMap& platformData);
  void Open(const QStringList& uris, const QVariantMap& platformData);
  void ActivateAction(const QString& action, const QVariantList& parameter, const QVariantMap& platformData);

 private:
  ApplicationActions actions_;
  QDBusConnection bus_;
  bool published_ = false;
};

// Asks the copy with this pid to show its Manage window, or with chart the chart of that pair
// ("Kraken XBT/USD"), waiting at most timeoutMs for its answer. False without a session bus,
// when no process or another one (a Pricora on another store) owns the name, or when no answer
// came in time.
bool activateRunningCopy(long pid, int timeoutMs, const std::optional<std::string>& chart = std::nullopt);

// Waits, on the session bus, for the application's name to change hands.
class ApplicationBusWatch {
 public:
  ApplicationBusWatch();
  ~ApplicationBusWatch();
  ApplicationBusWatch(const ApplicationBusWatch&) = delete;
  ApplicationBusWatch& operator=(const ApplicationBusWatch&) = delete;

  // Returns when the name changes hands, or after timeoutMs.
  void waitForChange(qint64 timeoutMs);

 private:
  std::unique_ptr<QDBusServiceWatcher> watcher_;
};

}  // namespace pricora
