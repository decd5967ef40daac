// The tray's menu over D-Bus, fetched as tray hosts fetch it: the program started as on a desktop
// (offscreen), on a private session bus where a stand-in StatusNotifierWatcher takes its items,
// against the simulator.
//
//   menu_bench [--scale real|large|heavy]... [--rounds N] [--binary PATH]
//     For each scale (all three unless named), once the first refresh has filled the menu and
//     after each of N more (default 3, started by SIGUSR1): how long GetLayout(0, -1) takes for
//     the whole tree, first after the refresh and again with nothing changed; how long GNOME
//     Shell's fetch takes (the layout with "type" and "children-display" alone, then every
//     item's properties in one call); and, for each, the longest wait of a GetProperty probe
//     sent over and over on another connection meanwhile: how long the program's main thread
//     stood still while it answered.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "BenchProgram.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using pricora::test::Subprocess;

constexpr int kCallTimeoutMs = 300000;

struct Settings {
  std::vector<std::string> scales;
  int rounds = 3;
  std::string binary = PRICORA_BINARY;
};

double ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// Takes every item the program registers, as a panel's watcher does, and remembers the first:
// the application's own icon, whose menu is the status menu.
class Watcher final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() != "RegisterStatusNotifierItem") return false;
    {
      const std::lock_guard lock(mutex_);
      if (first_.isEmpty()) first_ = message.service();
    }
    bus.send(message.createReply());
    return true;
  }
  QString firstItem() {
    const std::lock_guard lock(mutex_);
    return first_;
  }

 private:
  std::mutex mutex_;
  QString first_;
};

QDBusMessage menuCall(const QDBusConnection& bus, const QString& service, const char* method,
                      const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, "/MenuBar", "com.canonical.dbusmenu", method);
  call.setArguments(arguments);
  return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

// Every id of a (ia{sv}av) node's subtree, read as a host reads it.
void walk(const QDBusArgument& node, std::vector<int>& ids) {
  int id = 0;
  QVariantMap properties;
  node.beginStructure();
  node >> id >> properties;
  ids.push_back(id);
  node.beginArray();
  while (!node.atEnd()) {
    QDBusVariant child;
    node >> child;
    walk(child.variant().value<QDBusArgument>(), ids);
  }
  node.endArray();
  node.endStructure();
}

std::vector<int> idsOf(const QDBusMessage& reply) {
  std::vector<int> ids;
  if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 2)
    walk(reply.arguments().at(1).value<QDBusArgument>(), ids);
  return ids;
}

// The label of the status menu's last entry ("Updating...", "Updated: Just now").
QString lastLabel(const QDBusConnection& bus, const QString& service) {
  const QDBusMessage reply = menuCall(bus, service, "GetLayout", {0, 1, QStringList{"label"}});
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) return {};
  const QDBusArgument root = reply.arguments().at(1).value<QDBusArgument>();
  int id = 0;
  QVariantMap properties;
  QString last;
  root.beginStructure();
  root >> id >> properties;
  root.beginArray();
  while (!root.atEnd()) {
    QDBusVariant child;
    root >> child;
    const QDBusArgument node = child.variant().value<QDBusArgument>();
    node.beginStructure();
    node >> id >> properties;
    node.beginArray();
    while (!node.atEnd()) node >> child;
    node.endArray();
    node.endStructure();
    last = properties.value("label").toString();
  }
  root.endArray();
  root.endStructure();
  return last;
}

bool waitForLabel(const QDBusConnection& bus, const QString& service, const QString& prefix, int seconds) {
  const QDeadlineTimer deadline(seconds * 1000);
  while (!deadline.hasExpired()) {
    if (lastLabel(bus, service).startsWith(prefix)) return true;
    QThread::msleep(5);
  }
  return false;
}

// Asks the program for one property over and over, from a thread and a connection of its own, for
// as long as a fetch is under way; the longest wait is the longest the program's main thread
// stood still meanwhile.
class Probe {
 public:
  Probe(const QString& address, const QString& service)
      : thread_(QThread::create([this, address, service] { run(address, service); })) {
    thread_->start();
  }
  ~Probe() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_->wait();
  }

  void begin() {
    {
      const std::lock_guard lock(mutex_);
      longest_ = {};
      active_ = true;
    }
    changed_.notify_all();
  }
  // The longest wait since begin(), the probe still under way included.
  Clock::duration end() {
    std::unique_lock lock(mutex_);
    active_ = false;
    changed_.wait(lock, [this] { return !inFlight_; });
    return longest_;
  }

 private:
  void run(const QString& address, const QString& service) {
    {
      QDBusConnection bus = QDBusConnection::connectToBus(address, "menu-bench-probe");
      for (;;) {
        {
          std::unique_lock lock(mutex_);
          changed_.wait(lock, [this] { return active_ || stop_; });
          if (stop_) break;
          inFlight_ = true;
        }
        const Clock::time_point start = Clock::now();
        menuCall(bus, service, "GetProperty", {0, QStringLiteral("children-display")});
        const Clock::duration waited = Clock::now() - start;
        {
          const std::lock_guard lock(mutex_);
          longest_ = std::max(longest_, waited);
          inFlight_ = false;
        }
        changed_.notify_all();
      }
    }
    QDBusConnection::disconnectFromBus("menu-bench-probe");
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool active_ = false;
  bool inFlight_ = false;
  bool stop_ = false;
  Clock::duration longest_{};
  std::unique_ptr<QThread> thread_;
};

struct Timing {
  double fetch = 0;  // ms
  double wait = 0;   // the longest probe's, ms
};

struct Round {
  std::size_t nodes = 0;
  Timing whole, again, gnome;
};

// The whole tree with every property, as most hosts fetch it.
Timing wholeTree(const QDBusConnection& bus, const QString& service, Probe& probe, std::size_t* nodes) {
  probe.begin();
  const Clock::time_point start = Clock::now();
  const QDBusMessage reply = menuCall(bus, service, "GetLayout", {0, -1, QStringList()});
  const Clock::duration fetched = Clock::now() - start;
  const Clock::duration waited = probe.end();
  if (nodes != nullptr) *nodes = idsOf(reply).size();
  return {ms(fetched), ms(waited)};
}

// GNOME Shell's fetch: the layout with the two properties that decide an item's kind, then the
// properties of every item it has not seen, in one call.
Timing gnomeFetch(const QDBusConnection& bus, const QString& service, Probe& probe) {
  probe.begin();
  const Clock::time_point start = Clock::now();
  const QDBusMessage layout = menuCall(bus, service, "GetLayout", {0, -1, QStringList{"type", "children-display"}});
  const Clock::duration fetched = Clock::now() - start;
  const std::vector<int> ids = idsOf(layout);  // the host reads the layout before asking again
  const Clock::time_point again = Clock::now();
  menuCall(bus, service, "GetGroupProperties",
           {QVariant::fromValue(QList<int>(ids.begin(), ids.end())), QStringList()});
  const Clock::duration properties = Clock::now() - again;
  const Clock::duration waited = probe.end();
  return {ms(fetched + properties), ms(waited)};
}

void printTimings(const char* what, const std::vector<Round>& rounds, Timing Round::*field) {
  std::vector<double> fetches, waits;
  for (const Round& round : rounds) {
    fetches.push_back((round.*field).fetch);
    waits.push_back((round.*field).wait);
  }
  std::sort(fetches.begin(), fetches.end());
  std::printf("  %-34s median %7.1f ms, max %7.1f ms; longest GetProperty wait %7.1f ms\n", what,
              fetches[fetches.size() / 2], fetches.back(), *std::max_element(waits.begin(), waits.end()));
}

int runScale(const std::string& scale, const Settings& settings) {
  pricora::test::TempDir busFolder;
  Subprocess daemon({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1",
                     "--address=unix:dir=" + busFolder.path().string()});
  const QString address = QString::fromStdString(daemon.readLine(10s).value_or(""));
  int status = 1;
  {
    QDBusConnection desktop = QDBusConnection::connectToBus(address, "menu-bench-desktop");
    Watcher watcher;
    desktop.registerVirtualObject("/StatusNotifierWatcher", &watcher);
    desktop.registerService("org.kde.StatusNotifierWatcher");

    exsim::Options options;
    options.scale = scale;
    exsim::Simulator simulator(options);
    simulator.start();
    pricora::bench::BenchProgram::Options run;
    run.intervalSeconds = 3600;  // refreshes come from SIGUSR1 alone
    run.binary = settings.binary;
    run.headless = false;
    run.environment = {{"DBUS_SESSION_BUS_ADDRESS", address.toStdString()}, {"QT_QPA_PLATFORM", "offscreen"}};
    pricora::bench::BenchProgram program(simulator, {}, run);
    Subprocess& app = program.process();

    const QDeadlineTimer registered(30000);
    while (watcher.firstItem().isEmpty() && !registered.hasExpired() && app.running())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString service = watcher.firstItem();
    if (service.isEmpty() || !waitForLabel(desktop, service, "Updated:", 600)) {
      std::fprintf(stderr, "%s: the program never showed a filled menu:\n%s", scale.c_str(), app.errors().c_str());
    } else {
      Probe probe(address, service);
      std::vector<Round> rounds;
      for (int i = 0; i <= settings.rounds; ++i) {
        if (i > 0) {
          app.signal(SIGUSR1);
          if (!waitForLabel(desktop, service, "Updating", 60) || !waitForLabel(desktop, service, "Updated:", 600)) {
            std::fprintf(stderr, "%s: refresh %d never completed\n", scale.c_str(), i);
            break;
          }
        }
        Round round;
        round.whole = wholeTree(desktop, service, probe, &round.nodes);
        round.again = wholeTree(desktop, service, probe, nullptr);
        // Every item is new to GNOME's copy after a refresh: a refresh replaces the pairs' items.
        app.signal(SIGUSR1);
        if (!waitForLabel(desktop, service, "Updating", 60) || !waitForLabel(desktop, service, "Updated:", 600)) {
          std::fprintf(stderr, "%s: refresh %d never completed\n", scale.c_str(), i);
          break;
        }
        round.gnome = gnomeFetch(desktop, service, probe);
        rounds.push_back(round);
      }
      if (!rounds.empty()) {
        std::printf("%s market: %zu menu nodes, %zu refreshes\n", scale.c_str(), rounds.back().nodes, rounds.size());
        printTimings("GetLayout(0,-1) after a refresh:", rounds, &Round::whole);
        printTimings("GetLayout(0,-1) unchanged:", rounds, &Round::again);
        printTimings("GNOME's layout + properties:", rounds, &Round::gnome);
        status = 0;
      }
    }
    app.signal(SIGTERM);
    if (app.wait(60s) != 0) {
      std::fprintf(stderr, "%s: the program did not end cleanly:\n%s", scale.c_str(), app.errors().c_str());
      status = 1;
    }
    desktop.unregisterService("org.kde.StatusNotifierWatcher");
    desktop.unregisterObject("/StatusNotifierWatcher");
  }
  QDBusConnection::disconnectFromBus("menu-bench-desktop");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--scale" && i + 1 < argc)
      settings.scales.emplace_back(argv[++i]);
    else if (option == "--rounds" && i + 1 < argc)
      settings.rounds = std::max(1, std::atoi(argv[++i]));
    else if (option == "--binary" && i + 1 < argc)
      settings.binary = argv[++i];
    else {
      std::fprintf(stderr, "usage: menu_bench [--scale real|large|heavy]... [--rounds N] [--binary PATH]\n");
      return 1;
    }
  }
  if (settings.scales.empty()) settings.scales = {"real", "large", "heavy"};
  int status = 0;
  for (const std::string& scale : settings.scales) status |= runScale(scale, settings);
  return status;
}
