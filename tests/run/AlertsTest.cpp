// Alerts end to end: a headless Pricora against the simulator, whose price the test walks across
// a level one refresh at a time, alerts made with `pricora --alert` while it runs, and a
// notification service of the test's own on a private session bus.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>

#include <sys/stat.h>
#include <csignal>

#include <filesystem>
#include <functional>

#include "exchange-sim/Simulator.h"
#include "qt/DBusNotifier.h"
#include "store/SqlitePairStore.h"
#include "support/AppEnvironment.h"
#include "support/SqliteShell.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::AppEnvironment;
using test::Subprocess;

// org.freedesktop.Notifications as a desktop offers it: with actions, numbering what it shows.
class NotificationService final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() == "GetCapabilities") {
      bus.send(message.createReply(QVariant(QStringList{"actions", "body"})));
    } else if (message.member() == "Notify") {
      const uint replaces = message.arguments().value(1).toUInt();
      calls.push_back(message.arguments());
      bus.send(message.createReply(QVariant(replaces != 0 ? replaces : ++shown)));
    } else {
      return false;
    }
    return true;
  }
  std::vector<QVariantList> calls;  // Notify's arguments, in order
  uint shown = 0;
};

class Alerts : public ::testing::Test {
 protected:
  Alerts() {
    address_ = QString::fromStdString(daemon_.readLine(10s).value_or(""));
    desktop_ = QDBusConnection::connectToBus(address_, "alerts-desktop");
    desktop_.registerVirtualObject("/org/freedesktop/Notifications", &service);
    desktop_.registerService("org.freedesktop.Notifications");
    simulator.start();
    home.writeSettings(simulator.settingsText());
    home.dir().write("resources/Experimental.plist",
                     "<plist version=\"1.0\"><dict><key>refreshFrequency</key><string>3600</string></dict></plist>");
  }
  ~Alerts() override { QDBusConnection::disconnectFromBus("alerts-desktop"); }

  Subprocess::Environment environment() const {
    Subprocess::Environment variables = home.variables();
    variables["DBUS_SESSION_BUS_ADDRESS"] = address_.toStdString();
    variables["PRICORA_RESOURCES"] = home.dir().file("resources");
    return variables;
  }
  void price(const std::string& last) {
    simulator.setReply("Bitstamp", "/api/v2/ticker/btcusd/", 200, R"({"last":")" + last + R"(","bid":"1"})");
  }
  // Serves the bus until the condition holds; the deadline only stops a broken test.
  static bool serveUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
  }
  // The next refresh, at the price given, asked for as a bar's click asks.
  void refreshAt(Subprocess& app, const std::string& last) {
    price(last);
    app.signal(SIGUSR1);
    const std::string line = "refresh " + std::to_string(++refreshes) + " completed";
    ASSERT_TRUE(serveUntil([&] { return app.waitForError(line, 10ms); })) << app.errors();
  }
  AppEnvironment::Ended command(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{PRICORA_BINARY};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return home.run(words, {{"PRICORA_RESOURCES", home.dir().file("resources")},
                            {"DBUS_SESSION_BUS_ADDRESS", address_.toStdString()}});
  }
  std::vector<QString> summaries() const {
    std::vector<QString> out;
    for (const QVariantList& call : service.calls) out.push_back(call.value(3).toString());
    return out;
  }

  AppEnvironment home;
  Subprocess daemon_{
      {DBUS_DAEMON, "--session", "--nofork", "--print-address=1", "--address=unix:path=" + home.dir().file("bus")}};
  QString address_;
  QDBusConnection desktop_{QString()};
  NotificationService service;
  exsim::Simulator simulator;
  int refreshes = 0;
};

TEST_F(Alerts, FireOncePerCrossingOnTheDesktopsNotificationsAndAKillLeavesEveryFileSound) {
  std::filesystem::create_directories(home.storeFolder());
  const std::string store = home.storeFolder() + "/Mintor.storedata";
  ASSERT_TRUE(SqlitePairStore::open(store).value()->save({{{0, "Bitstamp", "BTC/USD", false, true}}, {}, {}}));
  const std::string storeBytes = AppEnvironment::contents(store);
  price("10900");
  Subprocess app({PRICORA_BINARY, "--headless", "--timeout", "300"}, environment());
  ASSERT_TRUE(serveUntil([&] { return app.waitForError("refresh 1 completed", 10ms); })) << app.errors();
  ++refreshes;

  // Made while it runs; the second one past its level already, which it says.
  const AppEnvironment::Ended above = command({"--alert", "Bitstamp BTC/USD > 11000"});
  EXPECT_EQ(above.status, 0) << above.errors;
  EXPECT_EQ(above.output, "1\tBitstamp BTC/USD > 11000\n");
  const AppEnvironment::Ended below = command({"--alert", "bitstamp BTC/USD < 11000"});
  EXPECT_NE(below.errors.find("BTC/USD is below 11,000 already"), std::string::npos) << below.errors;
  // Handed to the running Pricora, which knows pairs and prices it has not written down: the
  // history has no price of ETH/USD, which nobody follows, and its store no ETH/USD yet.
  const AppEnvironment::Ended unfollowed = command({"--alert", "bitstamp eth/usd < 1"});
  EXPECT_EQ(unfollowed.output, "3\tBitstamp ETH/USD < 1\n");
  EXPECT_EQ(unfollowed.errors.find("pricora: Bitstamp ETH/USD: armed at "), 0u) << unfollowed.errors;
  EXPECT_EQ(command({"--alert", "Bitstamp ETH/UDS < 1"}).errors,
            "pricora: Bitstamp has no ETH/UDS; did you mean ETH/USD?\n");

  // Above fires at 11100 and not again before the price has been back under 10945; below,
  // made past its level, arms at 11055 and fires at the fall to 10900.
  for (const char* last : {"11100", "11050", "10900", "11200"}) refreshAt(app, last);
  ASSERT_TRUE(serveUntil([&] { return service.calls.size() >= 3; }));
  EXPECT_EQ(summaries(),
            (std::vector<QString>{"BTC/USD above 11,000", "BTC/USD below 11,000", "BTC/USD above 11,000"}));
  const QVariantList& first = service.calls[0];
  EXPECT_EQ(first.value(0).toString(), "Pricora");
  EXPECT_EQ(first.value(1).toUInt(), 0u);
  EXPECT_TRUE(first.value(4).toString().startsWith("Bitstamp: 11,100 at ")) << first.value(4).toString().toStdString();
  EXPECT_EQ(first.value(5).toStringList(),
            (QStringList{"remove", "Remove", "again-up", "Again at +1 %", "again-down", "Again at −1 %"}));
  EXPECT_EQ(service.calls[2].value(1).toUInt(), 1u);  // replaces the first, rather than stacking

  // "Again at +1 %" on the last one: the alert moves to a step above the price that fired it.
  desktop_.send(
      QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked")
      << 1u << QString("again-up"));
  EXPECT_TRUE(
      serveUntil([&] { return command({"--alerts"}).output.starts_with("1\tBitstamp BTC/USD > 11312\tarmed"); }));

  // Killed in the middle of a refresh: the history is whole, and the pair store was never written.
  price("11000");
  app.signal(SIGUSR1);
  app.signal(SIGKILL);
  app.wait(10s);
  EXPECT_EQ(test::SqliteShell(home.storeFolder() + "/pricora-history.sqlite").run("PRAGMA integrity_check"), "ok\n");
  EXPECT_EQ(AppEnvironment::contents(store), storeBytes);
  EXPECT_EQ(command({"--remove-alert", "1"}).status, 0);
  EXPECT_EQ(command({"--alerts"}).output.find("2\tBitstamp BTC/USD < 11000\t"), 0u);
}

TEST_F(Alerts, ANotificationMadeBeforeTheServerSaysWhatItShowsWaitsForTheAnswer) {
  {
    // The server cannot have answered yet: it answers on this thread.
    DBusNotifier notifier(QDBusConnection::connectToBus(address_, "alerts-app"), "Pricora", "pricora", "pricora");
    notifier.notify(7, {"BTC/USD above 11,000", "Bitstamp", {{"remove", "Remove"}}});
    ASSERT_TRUE(serveUntil([&] { return service.calls.size() == 1; }));
    EXPECT_EQ(service.calls[0].value(5).toStringList(), (QStringList{"remove", "Remove"}));
  }
  QDBusConnection::disconnectFromBus("alerts-app");
}

// Holdings from the command line: kept in the history file alone, which only its owner reads, and
// never in the pair store.
TEST_F(Alerts, HoldingsAreKeptExactlyOutsideThePairStoreAndBadInputStoresNothing) {
  std::filesystem::create_directories(home.storeFolder());
  const std::string store = home.storeFolder() + "/Mintor.storedata";
  ASSERT_TRUE(SqlitePairStore::open(store).value()->save({{{0, "Kraken", "XBT/USD", false, false}}, {}, {}}));
  const std::string storeBytes = AppEnvironment::contents(store);
  const std::string history = home.storeFolder() + "/pricora-history.sqlite";
  const struct {
    std::string typed;
    int status;
    std::string output, errors;
  } cases[] = {
      {"kraken xbt/usd 0.3", 0, "Kraken XBT/USD\t0.3\n", ""},
      {"Kraken XBT/USD 0.123456789", 1, "",
       "pricora: A holding is an amount from 0 to 10,000,000,000 with at most 8 decimals, not 0.123456789\n"},
      {"Kraken XBT/USD -1", 1, "",
       "pricora: A holding is an amount from 0 to 10,000,000,000 with at most 8 decimals, not -1\n"},
      {"Kraken XBT/USD lots", 1, "", "pricora: lots is not a number\n"},
      {"Kraken XBT/UDS 1", 1, "", "pricora: Kraken has no XBT/UDS; did you mean XBT/USD?\n"},
      {"Kraken ETH/USD 0", 1, "", "pricora: Kraken has no ETH/USD\n"},
      {"Wex BTC/USD 1", 1, "",
       "pricora: Pricora has seen no pairs of Wex yet: let it run once, then set the holding\n"},
      // A pair the store has dropped: its holding can go, and no new one come.
      {"Kraken OLD/USD 1", 1, "", "pricora: Kraken has no OLD/USD\n"},
      {"Kraken old/usd 0", 0, "Kraken OLD/USD\t0\n", ""},
  };
  ASSERT_EQ(command({"--holdings"}).status, 0);  // makes the file
  test::SqliteShell(history).run("INSERT INTO Holding VALUES ('Kraken', 'OLD/USD', 5), ('Kraken', 'OLD/US', 5)");
  for (const auto& [typed, status, output, errors] : cases) {
    const AppEnvironment::Ended ended = command({"--hold", typed});
    EXPECT_EQ(ended.status, status) << typed;
    EXPECT_EQ(ended.output, output) << typed;
    EXPECT_EQ(ended.errors, errors) << typed;
  }
  EXPECT_EQ(command({"--holdings"}).output, "Kraken OLD/US\t0.00000005\nKraken XBT/USD\t0.3\n");
  struct stat status {};
  ASSERT_EQ(stat(history.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(command({"--hold", "Kraken XBT/USD 0"}).output, "Kraken XBT/USD\t0\n");
  EXPECT_EQ(command({"--holdings"}).output, "Kraken OLD/US\t0.00000005\n");
  EXPECT_EQ(AppEnvironment::contents(store), storeBytes);

  // A running Pricora takes a new holding in at once: --hold has it refresh, as a bar's click does.
  Subprocess app({PRICORA_BINARY, "--headless", "--timeout", "300"}, environment());
  ASSERT_TRUE(serveUntil([&] { return app.waitForError("refresh 1 completed", 10ms); })) << app.errors();
  EXPECT_EQ(command({"--hold", "Kraken XBT/USD 2"}).status, 0);
  EXPECT_TRUE(serveUntil([&] { return app.waitForError("refresh 2 completed", 10ms); })) << app.errors();
  app.signal(SIGTERM);
  app.wait(10s);
}

}  // namespace
}  // namespace pricora
