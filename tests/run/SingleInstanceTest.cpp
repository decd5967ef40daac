// One Pricora per store, proven with real processes: the lock beside the store decides, and a
// desktop start hands over to the running copy through a private session bus started here. And
// the bar's click, SIGUSR1, that every running copy takes.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>

#include <csignal>
#include <fstream>

#include "run/ApplicationBus.h"
#include "run/SignalWatcher.h"
#include "support/AppEnvironment.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::AppEnvironment;
using test::Subprocess;

std::string pidMention(const Subprocess& app) { return "(pid " + std::to_string(app.pid()) + ")"; }

TEST(SingleInstance, ASecondHeadlessStartNamesTheHolderAndAKilledHolderNeverBlocks) {
  AppEnvironment home;
  Subprocess first({PRICORA_BINARY, "--headless", "--timeout", "60"}, home.variables());
  ASSERT_TRUE(first.waitForError("pricora: refresh 1 completed", 30s)) << first.errors();
  // A bar's click sends SIGUSR1 to every Pricora: the running ones refresh, none of them ends.
  first.signal(SIGUSR1);
  ASSERT_TRUE(first.waitForError("pricora: refresh 2 completed", 30s)) << first.errors();

  Subprocess second({PRICORA_BINARY, "--headless", "--refreshes", "1", "--dump", "-"}, home.variables());
  EXPECT_EQ(second.wait(30s), 1);
  EXPECT_NE(second.errors().find("in use by another Pricora " + pidMention(first)), std::string::npos)
      << second.errors();
  EXPECT_EQ(second.output(), "");

  first.signal(SIGKILL);
  first.wait(30s);
  std::string lockText;
  std::getline(std::ifstream(home.storeFolder() + "/pricora.lock"), lockText);
  EXPECT_EQ(lockText, std::to_string(first.pid()));  // left behind, naming a process that is gone
  Subprocess third({PRICORA_BINARY, "--headless", "--refreshes", "1"}, home.variables());
  EXPECT_EQ(third.wait(30s), 0) << third.errors();
}

// A desktop start that finds the store held by a copy that is not on the bus, as one that is
// quitting (off the bus, its lock not yet free), waits and runs itself once the lock is free.
TEST(SingleInstance, ASecondDesktopStartRunsItselfOnceAQuittingCopyHasLetGo) {
  AppEnvironment home;
  Subprocess::Environment environment = home.variables();
  environment["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + home.dir().file("no-bus");
  Subprocess first({PRICORA_BINARY, "--headless", "--timeout", "60"}, environment);
  ASSERT_TRUE(first.waitForError("pricora: refresh 1 completed", 30s)) << first.errors();
  Subprocess::Environment desktop = environment;
  desktop["QT_QPA_PLATFORM"] = "offscreen";
  Subprocess second({PRICORA_BINARY}, desktop);
  ASSERT_TRUE(second.waitForError("waiting for the Pricora that holds the store " + pidMention(first), 30s))
      << second.errors();
  first.signal(SIGTERM);
  first.wait(30s);
  const std::string lock = home.storeFolder() + "/pricora.lock";
  std::string holder;
  for (auto end = std::chrono::steady_clock::now() + 30s;
       holder != std::to_string(second.pid()) && std::chrono::steady_clock::now() < end;) {
    second.waitForError("\n\n", 50ms);  // lets it run meanwhile
    std::ifstream file(lock);
    std::getline(file, holder);
  }
  EXPECT_EQ(holder, std::to_string(second.pid())) << second.errors();
  Subprocess third({PRICORA_BINARY, "--headless", "--refreshes", "1"}, environment);
  EXPECT_EQ(third.wait(30s), 1);
  EXPECT_NE(third.errors().find("in use by another Pricora " + pidMention(second)), std::string::npos)
      << third.errors();
  EXPECT_TRUE(second.running()) << second.errors();
  second.signal(SIGTERM);
  second.wait(30s);
}

// SIGUSR1 may come before its watcher is made and after it has gone: it must never end the program.
TEST(SignalWatcher, ADisarmedSignalIsHarmlessBeforeAndAfterItsWatcher) {
  disarmSignals({SIGUSR1});
  std::raise(SIGUSR1);
  {
    const SignalWatcher watcher({SIGUSR1}, [] {});
  }
  std::raise(SIGUSR1);
}

TEST(SingleInstance, OfTwoStartsAtOnceExactlyOneRuns) {
  struct Case {
    bool desktop;
    bool bus;
    const char* message;
    int status;
  };
  for (const Case& c :
       {Case{false, false, "in use by another Pricora ", 1}, Case{true, true, "pricora: already running ", 0},
        Case{true, false, "pricora: already running ", 1}}) {
    SCOPED_TRACE(std::string(c.desktop ? "desktop" : "headless") + (c.bus ? " with a session bus" : ""));
    AppEnvironment home;
    Subprocess::Environment environment = home.variables();
    std::optional<Subprocess> daemon;
    if (c.bus) {
      daemon.emplace(std::vector<std::string>{DBUS_DAEMON, "--session", "--nofork", "--print-address",
                                              "--address=unix:path=" + home.dir().file("bus")});
      const std::optional<std::string> address = daemon->readLine(10s);
      ASSERT_TRUE(address) << daemon->errors();
      environment["DBUS_SESSION_BUS_ADDRESS"] = *address;
    } else {
      environment["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + home.dir().file("no-bus");
    }
    if (c.desktop) environment["QT_QPA_PLATFORM"] = "offscreen";
    std::vector<std::string> argv = {PRICORA_BINARY};
    if (!c.desktop) argv.insert(argv.end(), {"--headless", "--timeout", "60"});
    Subprocess a(argv, environment), b(argv, environment);

    Subprocess* loser = nullptr;
    for (auto end = std::chrono::steady_clock::now() + 30s; !loser && std::chrono::steady_clock::now() < end;)
      for (Subprocess* app : {&a, &b})
        if (!loser && app->waitForError(c.message, 50ms)) loser = app;
    ASSERT_NE(loser, nullptr) << a.errors() << b.errors();
    Subprocess& winner = loser == &a ? b : a;
    EXPECT_EQ(loser->wait(30s), c.status) << loser->errors();
    EXPECT_NE(loser->errors().find(pidMention(winner)), std::string::npos) << loser->errors();
    if (c.desktop) {
      EXPECT_EQ(loser->errors().find("showing its Manage window") != std::string::npos, c.bus) << loser->errors();
    }
    if (c.bus) {  // the interface's third method: the chart of a pair, and no other action
      QDBusConnection bus = QDBusConnection::connectToBus(
          QString::fromStdString(environment["DBUS_SESSION_BUS_ADDRESS"].value()), "single-instance");
      const std::pair<QString, QVariantList> actions[] = {
          {"chart", {QString("Kraken XBT/USD")}}, {"quit", {}}, {"chart", {QString("Kraken")}}, {"chart", {42}}};
      for (const auto& [action, parameter] : actions) {
        QDBusMessage call = QDBusMessage::createMethodCall(ApplicationBusName::kService, ApplicationBusName::kPath,
                                                           ApplicationBusName::kInterface, "ActivateAction");
        call << action << QVariant(parameter) << QVariantMap();
        EXPECT_EQ(bus.call(call, QDBus::Block, 10000).errorName().toStdString(),
                  &action == &actions[0].first ? "" : "org.freedesktop.DBus.Error.InvalidArgs")
            << action.toStdString();
      }
      QDBusConnection::disconnectFromBus("single-instance");
    }

    EXPECT_TRUE(winner.running());
    winner.signal(SIGTERM);
    winner.wait(30s);
    EXPECT_EQ(winner.errors().find(c.message), std::string::npos) << winner.errors();
    if (daemon) daemon->signal(SIGTERM);
  }
}

}  // namespace
}  // namespace pricora
