// The whole program, run as users and outside checks run it: headless, against the loopback
// simulator started here, with its store in a folder of its own.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

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

std::string contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class AppIntegration : public ::testing::Test {
 protected:
  AppIntegration() {
    simulator.start();
    home.writeSettings(simulator.settingsText());
  }

  // Runs pricora --headless with the arguments; its dump (from standard output) when it wrote one.
  std::optional<Json> run(std::vector<std::string> arguments, std::optional<int> expectedStatus = 0,
                          Subprocess::Environment extra = {}) {
    std::vector<std::string> argv = {PRICORA_BINARY, "--headless"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Subprocess::Environment environment = home.variables();
    for (auto& [name, value] : extra) environment[name] = value;
    Subprocess app(argv, environment);
    const std::optional<int> status = app.wait(60s);
    errors = app.errors();
    EXPECT_EQ(status, expectedStatus) << errors;
    return Json::parse(app.output());
  }
  static const Json& submenuOf(const Json& dump, const std::string& exchange) {
    for (const Json& item : *dump["statusMenu"].arrayObject())
      if (item["title"] == exchange) return item["submenu"];
    return Json::null();
  }
  static std::vector<std::string> titles(const Json& items) {
    std::vector<std::string> out;
    items.forEach([&](std::string_view, const Json& item) { out.push_back(item["title"].stringValue()); });
    return out;
  }
  std::string storeFile() const { return home.storeFolder() + "/Mintor.storedata"; }
  std::vector<StoredPair> stored() {
    auto store = SqlitePairStore::open(storeFile());
    EXPECT_TRUE(store) << (store ? "" : store.error().description);
    return store ? store.value()->loadAll().value() : std::vector<StoredPair>{};
  }
  void seed(std::vector<StoredPair> pairs) {
    std::filesystem::create_directories(home.storeFolder());
    auto store = SqlitePairStore::open(storeFile());
    ASSERT_TRUE(store);
    ASSERT_TRUE(store.value()->save({std::move(pairs), {}, {}}));
  }

  exsim::Simulator simulator;
  AppEnvironment home;
  std::string errors;
};

TEST_F(AppIntegration, BitstampPairsArriveInTextOrderWithTheExchangesOwnDigits) {
  const char* keys[] = {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur",
                        "ltcbtc", "ethusd", "etheur", "ethbtc", "bchusd", "bcheur", "bchbtc"};
  int n = 0;
  for (const char* key : keys)
    simulator.setReply("Bitstamp", std::string("/api/v2/ticker/") + key + "/", 200,
                       R"({"high":"9300.00000000","last":")" + std::to_string(100 + n++) +
                           R"(.50","timestamp":"1593652929.123","bid":"9232.67","vwap":"9212.05","volume":"4211.92053379",
                           "low":"9096.62000000","ask":"9236.99","open":9230.97})");
  simulator.addFault({"Bitstamp", "/api/v2/ticker/xrpeur/", "reset"});

  const std::optional<Json> dump = run({"--refreshes", "1", "--dump", "-"});
  ASSERT_TRUE(dump) << errors;
  const Json& bitstamp = submenuOf(*dump, "Bitstamp");
  const std::vector<std::string> expected = {
      "BCH/BTC: 114.50", "BCH/EUR: 113.50", "BCH/USD: 112.50", "BTC/EUR: 101.50", "BTC/USD: 100.50",
      "ETH/BTC: 111.50", "ETH/EUR: 110.50", "ETH/USD: 109.50", "EUR/USD: 102.50", "LTC/BTC: 108.50",
      "LTC/EUR: 107.50", "LTC/USD: 106.50", "XRP/BTC: 105.50", "XRP/USD: 103.50"};
  EXPECT_EQ(titles(bitstamp), expected);
  EXPECT_EQ(titles(bitstamp[0]["submenu"]),
            (std::vector<std::string>{"Bid: 9232.67", "Ask: 9236.99", "Last: 114.50", "Low: 9096.62000000",
                                      "High: 9300.00000000", "Volume: 4211.92053379", "Timestamp: 1593652929"}));

  // New pairs reach the store, unmarked, when the program quits.
  int bitstampRecords = 0;
  for (const StoredPair& pair : stored())
    if (pair.exchange == "Bitstamp") {
      ++bitstampRecords;
      EXPECT_FALSE(pair.isFavourite || pair.showInMenubar);
    }
  EXPECT_EQ(bitstampRecords, 14);
}

TEST_F(AppIntegration, EveryExchangeReportsAndEachSiteGetsOnlyItsOwnRequests) {
  const std::optional<Json> dump = run({"--refreshes", "1", "--dump", "-"});
  ASSERT_TRUE(dump) << errors;
  EXPECT_EQ((*dump)["statusMenu"][14]["title"].stringValue(), "Updated: Just now");
  for (const char* exchange : {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "Poloniex", "CoinFloor", "GDAX"})
    EXPECT_GT(titles(submenuOf(*dump, exchange)).size(), 3u) << exchange;
  EXPECT_NE(titles(submenuOf(*dump, "Bitfinex"))[0], "Connection error. I will try again shortly.");

  for (const std::string& target : simulator.requests("OKCoinCNY")) EXPECT_TRUE(target.ends_with("_cny")) << target;
  for (const std::string& target : simulator.requests("OKCoin")) EXPECT_TRUE(target.ends_with("_usd")) << target;
  EXPECT_EQ(simulator.requests("OKCoinCNY").size(), 5u);
  const std::vector<std::string> coinfloor = simulator.requests("CoinFloor");
  EXPECT_NE(std::find(coinfloor.begin(), coinfloor.end(), "/bist/XBT/PLN/ticker/"), coinfloor.end());
  for (const std::string& target : simulator.requests("Kraken")) EXPECT_FALSE(target.ends_with(".d")) << target;
}

TEST_F(AppIntegration, TheBitfinexPlaceholderShowsWhenEveryTickerIsRateLimited) {
  simulator.addFault({"Bitfinex", "/v1/pubticker/*", "ratelimit"});
  simulator.addFault({"Poloniex", "*", "big", 5'000'000});  // several MiB are read like any reply
  const std::optional<Json> dump = run({"--refreshes", "1", "--dump", "-"});
  ASSERT_TRUE(dump) << errors;
  EXPECT_EQ(titles(submenuOf(*dump, "Bitfinex")),
            (std::vector<std::string>{"Connection error. I will try again shortly."}));
  // The 99 markets of the big reply; its text padding member is not a market.
  EXPECT_EQ(titles(submenuOf(*dump, "Poloniex")).size(), 99u);
}

TEST_F(AppIntegration, FavouritesAndPriceItemsFollowTheStoreWhateverTheLocale) {
  seed({{0, "Bitstamp", "BTC/USD", true, true},
        {0, "Bitstamp", "ETH/BTC", true, true},
        {0, "Bitstamp", "XRP/BTC", false, true},
        {0, "Bitstamp", "LTC/BTC", false, true}});
  const auto reply = [&](const char* key, const char* last) {
    simulator.setReply("Bitstamp", std::string("/api/v2/ticker/") + key + "/", 200,
                       std::string(R"({"last":")") + last + R"(","bid":"1","ask":"2"})");
  };
  reply("btcusd", "912.3456");
  reply("ethbtc", "0.00001234");
  reply("xrpbtc", "0.0001");
  reply("ltcbtc", "0");
  const std::optional<Json> dump =
      run({"--refreshes", "1", "--dump", "-"}, 0, {{"LC_ALL", "de_DE.UTF-8"}, {"LOCPATH", PRICORA_TEST_LOCALES}});
  ASSERT_TRUE(dump) << errors;

  const Json& menu = (*dump)["statusMenu"];
  EXPECT_EQ(menu[4]["title"].stringValue(), "BTC/USD: 912.3456");
  EXPECT_EQ(menu[5]["title"].stringValue(), "ETH/BTC: 0.00001234");
  EXPECT_EQ(menu[5]["image"].stringValue(), "swatch #F07F5A");
  EXPECT_EQ(menu[6]["separator"].stringValue(), "true");

  std::map<std::string, const Json*> items;
  (*dump)["statusBar"].forEach([&](std::string_view, const Json& item) {
    const std::string title = item["title"].stringValue();
    items[title.substr(0, title.find('\n'))] = &item;
  });
  ASSERT_EQ(items.size(), 5u);  // the application's icon and four prices
  EXPECT_EQ((*items["BTC/USD"])["title"].stringValue(), "BTC/USD\n912.345");
  EXPECT_EQ((*items["ETH/BTC"])["title"].stringValue(), "ETH/BTC\n1.234e-5");
  EXPECT_EQ((*items["XRP/BTC"])["title"].stringValue(), "XRP/BTC\n1e-4");
  EXPECT_EQ((*items["LTC/BTC"])["title"].stringValue(), "LTC/BTC\n0e+0");
  // The width was fixed when the item was made from the title alone.
  EXPECT_EQ((*items["BTC/USD"])["length"].stringValue(), "45");
  EXPECT_EQ(titles((*items["BTC/USD"])["menu"]),
            (std::vector<std::string>{"Bitstamp", "", "Bid: 1", "Ask: 2", "Last: 912.3456", "Low: ", "High: ",
                                      "Volume: ", "Timestamp: "}));
}

TEST_F(AppIntegration, OldRecordsGoFiveSecondsAfterLaunchAndAQuitBySignalSaves) {
  seed({{0, "BTC-E", "BTC/USD", true, false}, {0, "Kraken", "ASH/SD", false, false}, {0, "BTC-E", std::nullopt, false, false}});
  Subprocess app({PRICORA_BINARY, "--headless", "--timeout", "60"}, home.variables());
  ASSERT_TRUE(app.waitForError("pricora: refresh 1 completed", 30s)) << app.errors();
  // The clean-up runs five seconds after launch and saves each deletion: watch the store.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  auto oldOnesGone = [&] {
    for (const StoredPair& pair : stored())
      if (pair.title == "ASH/SD" || (pair.exchange == "BTC-E" && pair.title)) return false;
    return true;
  };
  while (!oldOnesGone() && std::chrono::steady_clock::now() < deadline) app.waitForError("never printed", 100ms);
  ASSERT_TRUE(oldOnesGone());
  app.signal(SIGTERM);
  app.wait(30s);
  std::size_t records = 0;
  bool untitledKept = false;
  for (const StoredPair& pair : stored()) {
    ++records;
    untitledKept |= pair.exchange == "BTC-E" && !pair.title;
  }
  EXPECT_TRUE(untitledKept);
  EXPECT_GT(records, 500u);  // everything the first refresh discovered was saved on the way out
}

TEST_F(AppIntegration, AnUnusableStoreEndsTheRunWithItsReasonAndIsNeverWritten) {
  std::filesystem::create_directories(home.storeFolder());
  const std::string garbage = "this is not a database, and no byte of it may change\n";
  std::ofstream(storeFile()) << garbage;
  run({"--refreshes", "1"}, 1);
  EXPECT_NE(errors.find("Unresolved error: The file “" + storeFile() + "” is not a Pricora pair store., {path = "),
            std::string::npos)
      << errors;
  EXPECT_EQ(contents(storeFile()), garbage);

  // A newer schema is refused the same way.
  std::filesystem::remove(storeFile());
  sqlite3* db = nullptr;
  sqlite3_open(storeFile().c_str(), &db);
  sqlite3_exec(db, "PRAGMA application_id = 1349675363; PRAGMA user_version = 2; CREATE TABLE Pair (id INTEGER);",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  const std::string before = contents(storeFile());
  run({"--refreshes", "1"}, 1);
  EXPECT_NE(errors.find("newer version of Pricora"), std::string::npos) << errors;
  EXPECT_EQ(contents(storeFile()), before);

  // A file where the store's folder belongs.
  std::filesystem::remove_all(home.storeFolder());
  std::ofstream(home.storeFolder()) << "a file";
  run({"--refreshes", "1"}, 1);
  EXPECT_NE(errors.find("Unresolved error: "), std::string::npos) << errors;
  EXPECT_EQ(contents(home.storeFolder()), "a file");
}

TEST_F(AppIntegration, AStoreLockedForAMomentIsWaitedFor) {
  // Locked while the program starts and saves, released well within the time a save waits.
  seed({{0, "Kraken", "XBT/USD", true, false}});
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(storeFile().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  Subprocess app({PRICORA_BINARY, "--headless", "--refreshes", "1", "--dump", "-"}, home.variables());
  // Held until the program is certainly waiting on it, then let go.
  std::this_thread::sleep_for(1500ms);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(app.wait(60s), 0) << app.errors();
  EXPECT_GT(stored().size(), 1u);
}

TEST_F(AppIntegration, ASaveThatFailsOnQuitIsShownAndTheUserDecides) {
  // Another program holds the store for longer than a save waits: the quit's save fails.
  seed({{0, "Kraken", "XBT/USD", true, false}});
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(storeFile().c_str(), &db), SQLITE_OK);
  // The store is in WAL mode: the program still opens and reads it, but cannot write.
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  Subprocess app({PRICORA_BINARY, "--headless", "--refreshes", "1"}, home.variables());
  const std::optional<int> status = app.wait(60s);
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  // Headless alerts answer with their first button, "Quit anyway".
  EXPECT_EQ(status, 0);
  EXPECT_NE(app.errors().find("Pricora could not save your changes to “" + storeFile() + "”."), std::string::npos)
      << app.errors();
  EXPECT_NE(app.errors().find("Could not save changes while quitting. Quit anyway?"), std::string::npos);
  EXPECT_EQ(stored().size(), 1u);  // nothing of the run reached the store, and nothing broke it
}

}  // namespace
}  // namespace pricora
