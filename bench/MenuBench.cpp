// The tray's menu over D-Bus, fetched as tray hosts fetch it: the program started as on a desktop
// (offscreen), on a private session bus where a stand-in StatusNotifierWatcher takes its items,
// against the simulator, with one pair of its store shown in the menu bar.
//
//   menu_bench [--scale real|large|heavy]... [--rounds N] [--binary PATH] [--qt]
//     For each scale (all three unless named), once the first refresh has filled the menu and
//     after each of N more (default 3, started by SIGUSR1): how long GetLayout(0, -1) takes for
//     the whole tree, first after the refresh and again with nothing changed, and how long GNOME
//     Shell's fetch takes (the layout with "type" and "children-display" alone, then every
//     item's properties in one call). Meanwhile three probes ask over and over, each from a
//     connection of its own, and the longest each waited is printed: the status menu fetched,
//     the price item's menu (served on another connection of the program, so it answers as
//     soon as the main thread is free) and the bus daemon itself; and the program's peak memory.
//     With --qt, the same tree is then copied into QMenus shown by a QSystemTrayIcon on an Xvfb
//     of its own, and fetched as a whole N + 1 times from Qt's own dbusmenu exporter.

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <sqlite3.h>

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
  bool qt = false;
  std::string self;  // this program, to serve Qt's menu
};

double ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// Takes every item registered, as a panel's watcher does. The first is the application's own
// icon, whose menu is the status menu. Qt registers its items only with a watcher that says a
// host is there.
class Watcher final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override {
    return "<interface name=\"org.kde.StatusNotifierWatcher\"><property name=\"IsStatusNotifierHostRegistered\" "
           "type=\"b\" access=\"read\"/><property name=\"ProtocolVersion\" type=\"i\" access=\"read\"/>"
           "<method name=\"RegisterStatusNotifierItem\"><arg type=\"s\" direction=\"in\"/></method></interface>";
  }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() == "Get") {
      const bool host = message.arguments().value(1) == "IsStatusNotifierHostRegistered";
      bus.send(message.createReply(QVariant::fromValue(QDBusVariant(host ? QVariant(true) : QVariant(0)))));
      return true;
    }
    if (message.member() != "RegisterStatusNotifierItem") return false;
    {
      const std::lock_guard lock(mutex_);
      items_.push_back(message.service());
    }
    bus.send(message.createReply());
    return true;
  }
  QString item(qsizetype index) {
    const std::lock_guard lock(mutex_);
    return index < items_.size() ? items_[index] : QString();
  }

 private:
  std::mutex mutex_;
  QStringList items_;
};

QDBusMessage menuCall(const QDBusConnection& bus, const QString& service, const char* method,
                      const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, "/MenuBar", "com.canonical.dbusmenu", method);
  call.setArguments(arguments);
  return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

// Reads a (ia{sv}av) node as a host does: seen(id, properties), then child(node) for each child.
template <typename Seen, typename Child>
void readNode(const QDBusArgument& node, Seen&& seen, Child&& child) {
  int id = 0;
  QVariantMap properties;
  node.beginStructure();
  node >> id >> properties;
  seen(id, properties);
  node.beginArray();
  while (!node.atEnd()) {
    QDBusVariant variant;
    node >> variant;
    child(variant.variant().value<QDBusArgument>());
  }
  node.endArray();
  node.endStructure();
}

void ignoreNode(int, const QVariantMap&) {}
void ignoreChild(const QDBusArgument&) {}

// Every id of a node's subtree.
void walk(const QDBusArgument& node, std::vector<int>& ids) {
  readNode(
      node, [&](int id, const QVariantMap&) { ids.push_back(id); },
      [&](const QDBusArgument& child) { walk(child, ids); });
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
  QString last;
  readNode(reply.arguments().at(1).value<QDBusArgument>(), ignoreNode, [&](const QDBusArgument& child) {
    readNode(
        child, [&](int, const QVariantMap& properties) { last = properties.value("label").toString(); }, ignoreChild);
  });
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

// Sends one call over and over, from a thread and a connection of its own, for as long as a fetch
// is under way, and keeps the longest wait for an answer. Three are sent: a property of the menu
// fetched, which answers only once the fetch's reply has gone out before it (a connection sends
// in order); a property of a price item's menu, which the program serves on a connection of its
// own as soon as its main thread is free; and the bus daemon's id, to tell the daemon's own
// stalls (it reads, checks and passes on a large reply in one go) from the program's.
class Probe {
 public:
  Probe(const QString& address, QDBusMessage call)
      : name_("menu-bench-probe-" + call.service()),
        thread_(QThread::create([this, address, call] { run(address, call); })) {
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
  // The longest wait since begin(), the call still under way included.
  Clock::duration end() {
    std::unique_lock lock(mutex_);
    active_ = false;
    changed_.wait(lock, [this] { return !inFlight_; });
    return longest_;
  }

 private:
  void run(const QString& address, const QDBusMessage& call) {
    {
      QDBusConnection bus = QDBusConnection::connectToBus(address, name_);
      for (;;) {
        {
          std::unique_lock lock(mutex_);
          changed_.wait(lock, [this] { return active_ || stop_; });
          if (stop_) break;
          inFlight_ = true;
        }
        const Clock::time_point start = Clock::now();
        bus.call(call, QDBus::Block, kCallTimeoutMs);
        const Clock::duration waited = Clock::now() - start;
        {
          const std::lock_guard lock(mutex_);
          longest_ = std::max(longest_, waited);
          inFlight_ = false;
        }
        changed_.notify_all();
        QThread::msleep(2);  // a host's pace, not a flood that slows what it measures
      }
    }
    QDBusConnection::disconnectFromBus(name_);
  }

  const QString name_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool active_ = false;
  bool inFlight_ = false;
  bool stop_ = false;
  Clock::duration longest_{};
  std::unique_ptr<QThread> thread_;
};

QDBusMessage propertyCall(const QString& service) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, "/MenuBar", "com.canonical.dbusmenu", "GetProperty");
  call << 0 << QStringLiteral("children-display");
  return call;
}

// Qt's exporter answers GetProperty with nothing it can send: it is asked for the root's
// properties instead.
QDBusMessage qtPropertyCall(const QString& service) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(service, "/MenuBar", "com.canonical.dbusmenu", "GetGroupProperties");
  call << QVariant::fromValue(QList<int>{0}) << QStringList{QStringLiteral("children-display")};
  return call;
}

QDBusMessage busCall() {
  return QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                        "GetId");
}

// Waits until the program answers at once again: what a refresh leaves to do (the store saved, the
// Manage window's list refilled) is not the fetch's doing.
void waitUntilIdle(const QDBusConnection& bus, const QString& service) {
  const QDeadlineTimer deadline(60000);
  for (int prompt = 0; prompt < 10 && !deadline.hasExpired();) {
    const Clock::time_point start = Clock::now();
    bus.call(propertyCall(service), QDBus::Block, kCallTimeoutMs);
    prompt = Clock::now() - start < 10ms ? prompt + 1 : 0;
    QThread::msleep(10);
  }
}

struct Timing {
  double fetch = 0;   // ms
  double wait = 0;    // the longest answer of the menu fetched, ms
  double other = 0;   // of a price item's menu: the program's main thread and the daemon
  double daemon = 0;  // of the bus daemon alone
};

struct Round {
  std::size_t nodes = 0;
  Timing whole, again, gnome;
};

// The probes of the menu fetched, of the bus daemon and, for the program, of another item's menu.
struct Probes {
  Probe& fetched;
  Probe& daemon;
  Probe* other;

  void begin() {
    fetched.begin();
    daemon.begin();
    if (other != nullptr) other->begin();
  }
  Timing end(Clock::duration fetch) {
    const Clock::duration wait = fetched.end();
    return {ms(fetch), ms(wait), other != nullptr ? ms(other->end()) : -1.0, ms(daemon.end())};
  }
};

// The whole tree with every property, as most hosts fetch it.
Timing wholeTree(const QDBusConnection& bus, const QString& service, Probes probes, std::size_t* nodes) {
  probes.begin();
  const Clock::time_point start = Clock::now();
  const QDBusMessage reply = menuCall(bus, service, "GetLayout", {0, -1, QStringList()});
  const Timing timing = probes.end(Clock::now() - start);
  if (nodes != nullptr) *nodes = idsOf(reply).size();
  return timing;
}

// GNOME Shell's fetch: the layout with the two properties that decide an item's kind, then the
// properties of every item it has not seen, in one call.
Timing gnomeFetch(const QDBusConnection& bus, const QString& service, Probes probes) {
  probes.begin();
  const Clock::time_point start = Clock::now();
  const QDBusMessage layout = menuCall(bus, service, "GetLayout", {0, -1, QStringList{"type", "children-display"}});
  const Clock::duration fetched = Clock::now() - start;
  const std::vector<int> ids = idsOf(layout);  // the host reads the layout before asking again
  const Clock::time_point again = Clock::now();
  menuCall(bus, service, "GetGroupProperties",
           {QVariant::fromValue(QList<int>(ids.begin(), ids.end())), QStringList()});
  return probes.end(fetched + (Clock::now() - again));
}

void printTimings(const char* what, const std::vector<Round>& rounds, Timing Round::*field) {
  std::vector<double> fetches;
  Timing longest{0, 0, -1, 0};
  for (const Round& round : rounds) {
    const Timing& timing = round.*field;
    fetches.push_back(timing.fetch);
    longest = {0, std::max(longest.wait, timing.wait), std::max(longest.other, timing.other),
               std::max(longest.daemon, timing.daemon)};
  }
  std::sort(fetches.begin(), fetches.end());
  std::printf("  %-32s median %7.1f ms, max %7.1f ms\n", what, fetches[fetches.size() / 2], fetches.back());
  std::printf("  %-32s this menu %7.1f ms", "  longest wait for an answer:", longest.wait);
  if (longest.other >= 0) std::printf(", another item's menu %6.1f ms", longest.other);
  std::printf(", the bus daemon %6.1f ms\n", longest.daemon);
}

// A pair store whose one pair is shown in the menu bar: its price item's menu, on a connection of
// its own, is the other menu probed.
bool writeStore(const pricora::test::TempDir& data) {
  const std::string path = data.write("com.apple.toolsQA.CocoaApp_CD/Mintor.storedata", "");
  sqlite3* db = nullptr;
  const bool written =
      sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
      sqlite3_exec(db,
                   "CREATE TABLE Pair (id INTEGER PRIMARY KEY, exchange TEXT, title TEXT, isFavourite INTEGER NOT "
                   "NULL DEFAULT 0, showInMenubar INTEGER NOT NULL DEFAULT 0); PRAGMA application_id = 1349675363; "
                   "PRAGMA user_version = 1; INSERT INTO Pair (exchange, title, showInMenubar) VALUES ('Kraken', "
                   "'XBT/USD', 1);",
                   nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return written;
}

// Copies a (ia{sv}av) node into parent as an action or a submenu, its children into the submenu.
void copyNode(QMenu* parent, const QDBusArgument& node) {
  QMenu* below = nullptr;
  const auto copy = [&](int, const QVariantMap& properties) {
    if (parent == nullptr) return;
    const QString label = properties.value("label").toString();
    QAction* action = nullptr;
    if (properties.value("type") == "separator") {
      parent->addSeparator();
    } else if (properties.value("children-display") == "submenu") {
      below = parent->addMenu(label);
      action = below->menuAction();
    } else {
      action = parent->addAction(label);
      action->setEnabled(properties.value("enabled", true).toBool());
      action->setCheckable(properties.contains("toggle-state"));
      action->setChecked(properties.value("toggle-state").toInt() == 1);
    }
    QPixmap icon;
    if (action != nullptr && icon.loadFromData(properties.value("icon-data").toByteArray())) action->setIcon(icon);
  };
  readNode(node, copy, [&](const QDBusArgument& child) { copyNode(below, child); });
}

// The program's menu as QMenus, shown by a QSystemTrayIcon: Qt exports it over dbusmenu itself.
int serveQtMenu(int argc, char** argv) {
  QApplication application(argc, argv);
  QMenu root;
  const QDBusMessage layout = menuCall(QDBusConnection::sessionBus(), argv[2], "GetLayout", {0, -1, QStringList()});
  if (layout.arguments().size() != 2) return 1;
  // The root node's children go straight into the root menu.
  readNode(layout.arguments().at(1).value<QDBusArgument>(), ignoreNode,
           [&](const QDBusArgument& child) { copyNode(&root, child); });
  QPixmap icon(22, 22);
  icon.fill(Qt::darkCyan);
  QSystemTrayIcon tray(icon);
  tray.setContextMenu(&root);
  tray.show();
  return QApplication::exec();
}

// Qt's own exporter with the same tree as the program's at service, fetched whole rounds times.
void measureQt(const Settings& settings, const QString& address, const QString& service, Watcher& watcher,
               const QDBusConnection& desktop) {
  Subprocess xvfb({"/usr/bin/Xvfb", "-displayfd", "1", "-nolisten", "tcp"});
  const std::string display = ":" + xvfb.readLine(10s).value_or("");
  Subprocess qt(
      {settings.self, "--serve-qt", service.toStdString()},
      {{"DISPLAY", display}, {"QT_QPA_PLATFORM", "xcb"}, {"DBUS_SESSION_BUS_ADDRESS", address.toStdString()}});
  const QDeadlineTimer registered(120000);
  while (watcher.item(2).isEmpty() && !registered.hasExpired() && qt.running()) QThread::msleep(20);
  const QString qtService = watcher.item(2);
  if (qtService.isEmpty()) {
    std::fprintf(stderr, "Qt's tray icon never registered:\n%s", qt.errors().c_str());
    return;
  }
  std::vector<Round> rounds;
  {
    Probe probe(address, qtPropertyCall(qtService)), bus(address, busCall());
    const Probes probes{probe, bus, nullptr};
    for (int i = 0; i <= settings.rounds; ++i) {
      Round round;
      round.whole = wholeTree(desktop, qtService, probes, &round.nodes);
      rounds.push_back(round);
    }
  }
  std::printf("  Qt's own exporter, the same tree (%zu nodes):\n", rounds.back().nodes);
  printTimings("GetLayout(0,-1):", rounds, &Round::whole);
}

int runScale(const std::string& scale, const Settings& settings) {
  pricora::test::TempDir busFolder, data;
  if (!writeStore(data)) return 1;
  Subprocess daemon({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1",
                     "--address=unix:dir=" + busFolder.path().string()});
  const QString address = QString::fromStdString(daemon.readLine(10s).value_or(""));
  int status = 1;
  {
    QDBusConnection desktop = QDBusConnection::connectToBus(address, "menu-bench-desktop");
    // On a thread of its own: the programs call it while this thread waits for their answers.
    QThread watching;
    Watcher watcher;
    watcher.moveToThread(&watching);
    watching.start();
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
    run.environment = {{"DBUS_SESSION_BUS_ADDRESS", address.toStdString()},
                       {"QT_QPA_PLATFORM", "offscreen"},
                       {"XDG_DATA_HOME", data.path().string()}};
    pricora::bench::BenchProgram program(simulator, {}, run);
    Subprocess& app = program.process();

    const QDeadlineTimer registered(30000);
    // The status item first, then the price item of the one pair in the store.
    while (watcher.item(1).isEmpty() && !registered.hasExpired() && app.running()) QThread::msleep(20);
    const QString service = watcher.item(0);
    if (watcher.item(1).isEmpty() || !waitForLabel(desktop, service, "Updated:", 600)) {
      std::fprintf(stderr, "%s: the program never showed a filled menu:\n%s", scale.c_str(), app.errors().c_str());
    } else {
      Probe probe(address, propertyCall(service)), other(address, propertyCall(watcher.item(1))),
          bus(address, busCall());
      const Probes probes{probe, bus, &other};
      std::vector<Round> rounds;
      for (int i = 0; i <= settings.rounds; ++i) {
        if (i > 0) {
          app.signal(SIGUSR1);
          if (!waitForLabel(desktop, service, "Updating", 60) || !waitForLabel(desktop, service, "Updated:", 600)) {
            std::fprintf(stderr, "%s: refresh %d never completed\n", scale.c_str(), i);
            break;
          }
        }
        waitUntilIdle(desktop, service);
        Round round;
        round.whole = wholeTree(desktop, service, probes, &round.nodes);
        round.again = wholeTree(desktop, service, probes, nullptr);
        // Every item is new to GNOME's copy after a refresh: a refresh replaces the pairs' items.
        app.signal(SIGUSR1);
        if (!waitForLabel(desktop, service, "Updating", 60) || !waitForLabel(desktop, service, "Updated:", 600)) {
          std::fprintf(stderr, "%s: refresh %d never completed\n", scale.c_str(), i);
          break;
        }
        waitUntilIdle(desktop, service);
        round.gnome = gnomeFetch(desktop, service, probes);
        rounds.push_back(round);
      }
      if (!rounds.empty()) {
        std::printf("%s market: %zu menu nodes, %zu refreshes, peak %.1f MiB\n", scale.c_str(), rounds.back().nodes,
                    rounds.size(), pricora::bench::peakMiB(app.pid()));
        printTimings("GetLayout(0,-1) after a refresh:", rounds, &Round::whole);
        printTimings("GetLayout(0,-1) unchanged:", rounds, &Round::again);
        printTimings("GNOME's layout + properties:", rounds, &Round::gnome);
        status = 0;
      }
      if (settings.qt) measureQt(settings, address, service, watcher, desktop);
    }
    app.signal(SIGTERM);
    if (app.wait(60s) != 0) {
      std::fprintf(stderr, "%s: the program did not end cleanly:\n%s", scale.c_str(), app.errors().c_str());
      status = 1;
    }
    desktop.unregisterService("org.kde.StatusNotifierWatcher");
    desktop.unregisterObject("/StatusNotifierWatcher");
    watching.quit();
    watching.wait();
  }
  QDBusConnection::disconnectFromBus("menu-bench-desktop");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--serve-qt") return serveQtMenu(argc, argv);
  QCoreApplication application(argc, argv);
  Settings settings;
  settings.self = QCoreApplication::applicationFilePath().toStdString();
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--scale" && i + 1 < argc)
      settings.scales.emplace_back(argv[++i]);
    else if (option == "--rounds" && i + 1 < argc)
      settings.rounds = std::max(1, std::atoi(argv[++i]));
    else if (option == "--binary" && i + 1 < argc)
      settings.binary = argv[++i];
    else if (option == "--qt")
      settings.qt = true;
    else {
      std::fprintf(stderr, "usage: menu_bench [--scale real|large|heavy]... [--rounds N] [--binary PATH] [--qt]\n");
      return 1;
    }
  }
  if (settings.scales.empty()) settings.scales = {"real", "large", "heavy"};
  int status = 0;
  for (const std::string& scale : settings.scales) status |= runScale(scale, settings);
  return status;
}
