// pricora --bar against the loopback simulator, beside a store that another process owns.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <csignal>
#include <filesystem>

#include "exchange-sim/Simulator.h"
#include "platform/json/Json.h"
#include "platform/store/SqlitePairStore.h"
#include "support/AppEnvironment.h"
#include "support/Subprocess.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::AppEnvironment;
using test::Subprocess;

// A connection of its own, as the tray application's would be: the store's data version it sees
// moves only when another connection commits.
class Watcher {
 public:
  explicit Watcher(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
  ~Watcher() { sqlite3_close(db_); }
  std::string run(const std::string& sql) {
    std::string out;
    sqlite3_exec(
        db_, sql.c_str(),
        [](void* text, int, char** values, char**) {
          *static_cast<std::string*>(text) += values[0] ? values[0] : "";
          return 0;
        },
        &out, nullptr);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

class Bar : public ::testing::Test {
 protected:
  Bar() {
    simulator.start();
    home.writeSettings(simulator.settingsText());
    for (const auto& [key, last] :
         {std::pair{"btcusd", "10599.53"}, {"etheur", "706.769"}, {"xrpbtc", "0.0001"}, {"ltcbtc", "0"}})
      simulator.setReply("Bitstamp", std::string("/api/v2/ticker/") + key + "/", 200,
                         std::string(R"({"last":")") + last + R"(","bid":"1","ask":"2"})");
    std::filesystem::create_directories(home.storeFolder());
    auto store = SqlitePairStore::open(storeFile());
    EXPECT_TRUE(store && store.value()->save({{{0, "Bitstamp", "ETH/EUR", false, true},
                                               {0, "Bitstamp", "BTC/USD", false, true},
                                               {0, "Bitstamp", "XRP/BTC", false, true},
                                               {0, "Bitstamp", "LTC/BTC", false, false},
                                               {0, "Bitstamp", "<b>&\"%{F#f00}", false, true}},
                                              {},
                                              {}}));
  }
  std::string storeFile() const { return home.storeFolder() + "/Mintor.storedata"; }

  // Reads waybar lines, each of which must be one JSON object of four texts, until one has
  // class "ok" and the text wanted; the classes seen on the way.
  std::vector<std::string> readUntilOk(Subprocess& app, const std::string& text) {
    std::vector<std::string> classes;
    while (const std::optional<std::string> line = app.readLine(30s)) {
      const std::optional<Json> update = Json::parse(*line);
      EXPECT_TRUE(update && update->objectValue() && update->objectValue()->size() == 4) << *line;
      if (!update) break;
      for (const char* key : {"text", "tooltip", "class", "alt"})
        EXPECT_EQ((*update)[key].kind(), Json::Kind::String) << *line;
      classes.push_back((*update)["class"].stringValue());
      tooltip = (*update)["tooltip"].stringValue();
      if (classes.back() == "ok" && (*update)["text"].stringValue() == text) return classes;
    }
    ADD_FAILURE() << "no line with class ok and text " << text << "\n" << app.errors();
    return classes;
  }

  exsim::Simulator simulator;
  AppEnvironment home;
  std::string tooltip;
};

TEST_F(Bar, WaybarFollowsTheRefreshesAndTheOwnersMarksWithoutWritingTheStore) {
  Watcher owner(storeFile());
  const std::string version = owner.run("PRAGMA data_version");
  Subprocess app({PRICORA_BINARY, "--bar", "waybar"}, home.variables());

  const std::string hostile = "&lt;b&gt;&amp;&quot;%{F#f00}";
  const std::vector<std::string> classes =
      readUntilOk(app, hostile + "  BTC/USD 10599.5  ETH/EUR 706.769  XRP/BTC 1e-4");
  ASSERT_FALSE(classes.empty());
  EXPECT_EQ(classes.front(), "updating");
  EXPECT_NE(tooltip.find(hostile + "\n\nBTC/USD: 10599.53\nBid: 1\nAsk: 2\nLast: 10599.53\n"), std::string::npos)
      << tooltip;

  // The owner changes the marks; the bar shows them at its next refresh, asked for by SIGUSR1.
  owner.run("UPDATE Pair SET showInMenubar = (title IN ('LTC/BTC', 'BTC/USD', 'XRP/BTC'))");
  app.signal(SIGUSR1);
  const std::vector<std::string> again = readUntilOk(app, "BTC/USD 10599.5  XRP/BTC 1e-4  LTC/BTC 0e+0");
  EXPECT_NE(std::find(again.begin(), again.end(), "updating"), again.end());
  EXPECT_EQ(owner.run("PRAGMA data_version"), version);  // no commit but the owner's own

  // Once refreshed there is nothing to write for a minute: the bar going away must be noticed
  // without a write.
  app.closeOutput();
  EXPECT_EQ(app.wait(10s), 0) << app.errors();
  EXPECT_EQ(owner.run("PRAGMA data_version"), version);
  EXPECT_EQ(owner.run("SELECT count(*) FROM Pair"), "5");
}

}  // namespace
}  // namespace pricora
