// pricora --bar against the loopback simulator, beside a store that another process owns.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <csignal>
#include <filesystem>

#include "exchange-sim/Simulator.h"
#include "formats/Json.h"
#include "store/SqlitePairStore.h"
#include "support/AppEnvironment.h"
#include "support/SqliteShell.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;

// Reads waybar lines, each of which must be one JSON object of four members, until one has class
// "ok" and the wanted text; the classes seen on the way, and the last tool tip.
std::vector<std::string> readUntilOk(test::Subprocess& app, const std::string& text, std::string& tooltip) {
  std::vector<std::string> classes;
  while (const std::optional<std::string> line = app.readLine(30s)) {
    EXPECT_LT(line->size(), 4096u);  // whatever the exchanges send
    const std::optional<Json> update = Json::parse(*line);
    if (!update || !update->objectValue() || update->objectValue()->size() != 4) break;
    classes.push_back((*update)["class"].stringValue());
    tooltip = (*update)["tooltip"].stringValue();
    if (classes.back() == "ok" && (*update)["text"].stringValue() == text) return classes;
  }
  ADD_FAILURE() << "no line with class ok and text " << text << "\n" << app.output() << app.errors();
  return classes;
}

TEST(Bar, WaybarFollowsTheRefreshesAndTheOwnersMarksWithoutWritingTheStore) {
  exsim::Simulator simulator;
  simulator.start();
  test::AppEnvironment home;
  home.writeSettings(simulator.settingsText());
  for (const auto& [key, last] :
       {std::pair{"btcusd", "10599.53"}, {"etheur", "706.769"}, {"xrpbtc", "0.0001"}, {"ltcbtc", "0"}})
    simulator.setReply("Bitstamp", std::string("/api/v2/ticker/") + key + "/", 200,
                       std::string(R"({"last":")") + last + R"(","bid":"1","ask":"2","volume":")" +
                           std::string(3'000'000, '9') + "\"}");
  // The tray application's store, and a connection of its own: the data version it sees moves
  // only when another connection commits.
  std::filesystem::create_directories(home.storeFolder());
  const std::string file = home.storeFolder() + "/Mintor.storedata";
  ASSERT_TRUE(SqlitePairStore::open(file).value()->save({{{0, "Bitstamp", "ETH/EUR", false, true},
                                                          {0, "Bitstamp", "BTC/USD", false, true},
                                                          {0, "Bitstamp", "XRP/BTC", false, true},
                                                          {0, "Bitstamp", "LTC/BTC", false, false},
                                                          {0, "Bitstamp", "<b>&\"%{F#f00}", false, true}},
                                                         {},
                                                         {}}));
  test::SqliteShell owner(file);
  const std::string version = owner.run("PRAGMA data_version");
  test::Subprocess app({PRICORA_BINARY, "--bar", "waybar"}, home.variables());

  std::string tooltip;
  const std::string hostile = "&lt;b&gt;&amp;&quot;%{F#f00}";
  readUntilOk(app, hostile + "  BTC/USD 10599.5  ETH/EUR 706.769  XRP/BTC 1e-4", tooltip);
  // The pipe's description, shared with standard error under 2>&1, stays blocking.
  const std::string fdinfo = test::AppEnvironment::contents("/proc/" + std::to_string(app.pid()) + "/fdinfo/1");
  EXPECT_EQ(std::stoi(fdinfo.substr(fdinfo.find("flags:") + 6), nullptr, 8) & O_NONBLOCK, 0) << fdinfo;
  EXPECT_NE(tooltip.find(hostile + "\n\nBTC/USD: 10599.53\nBid: 1\nAsk: 2\nLast: 10599.53\n"), std::string::npos)
      << tooltip;

  // The owner changes the marks; the bar shows them at its next refresh, asked for by SIGUSR1.
  owner.run("UPDATE Pair SET showInMenubar = (title IN ('LTC/BTC', 'BTC/USD', 'XRP/BTC'))");
  app.signal(SIGUSR1);
  const auto again = readUntilOk(app, "BTC/USD 10599.5  XRP/BTC 1e-4  LTC/BTC 0e+0", tooltip);
  EXPECT_NE(std::find(again.begin(), again.end(), "updating"), again.end());

  // Once refreshed there is nothing to write for a minute: the bar going away must be noticed
  // without a write.
  app.closeOutput();
  EXPECT_EQ(app.wait(10s), 0) << app.errors();
  EXPECT_EQ(owner.run("PRAGMA data_version"), version);  // no commit but the owner's own
  EXPECT_EQ(owner.run("SELECT count(*) FROM Pair"), "5\n");
}

}  // namespace
}  // namespace pricora
