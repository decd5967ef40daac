#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>

#include <functional>
#include <memory>

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

// Publishes this copy on the session bus for as long as it lives: Activate (and Open, which has
// no files to open) run the handler on the main thread and are answered once it has run;
// ActivateAction is refused, as there are no actions. Without a session bus, or when another
// process owns the name, nothing is published and the copy runs all the same.
class ApplicationBus final : public QDBusVirtualObject {
 public:
  explicit ApplicationBus(std::function<void()> activate);
  ~ApplicationBus() override;

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString& path) const override;

 private:
  std::function<void()> activate_;
  QDBusConnection bus_;
  bool published_ = false;
};

// Asks the copy with this pid to show its Manage window, waiting at most timeoutMs for its
// answer. False without a session bus, when no process or another one (a Pricora on another
// store) owns the name, or when no answer came in time.
bool activateRunningCopy(long pid, int timeoutMs);

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
