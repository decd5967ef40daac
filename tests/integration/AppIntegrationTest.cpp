// The whole program, run as users and outside checks run it: headless, against the loopback
// simulator started here, with its store in a folder of its own.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "exchange-sim/Simulator.h"
#include "formats/Json.h"
#include "store/SqlitePairStore.h"
#include "support/AppEnvironment.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::AppEnvironment;
const auto contents = AppEnvironment::contents;

class AppIntegration : public ::testing::Test {
 protected:
  AppIntegration() {
    simulator.start();
    home.writeSettings(simulator.settingsText());
  }

  // Runs pricora with the arguments; its dump (from standard output) when it wrote one.
  std::optional<Json> run(std::vector<std::string> arguments, std::optional<int> expectedStatus = 0,
                          const AppEnvironment::Variables& extra = {}) {
    arguments.insert(arguments.begin(), PRICORA_BINARY);
    const AppEnvironment::Ended ended = home.run(arguments, extra);
    EXPECT_EQ(ended.status, expectedStatus) << ended.errors;
    errors = ended.errors;
    return Json::parse(ended.output);
  }
  std::optional<Json> refreshOnce(const AppEnvironment::Variables& extra = {}) {
    return run({"--headless", "--refreshes", "1", "--dump", "-"}, 0, std::move(extra));
  }
  static std::vector<std::string> titles(const Json& items) {
    std::vector<std::string> out;
    items.forEach([&](std::string_view, const Json& item) { out.push_back(item["title"].stringValue()); });
    return out;
  }
  static const Json& submenuOf(const Json& dump, const std::string& exchange) {
    for (const Json& item : *dump["statusMenu"].arrayObject())
      if (item["title"] == exchange) return item["submenu"];
    return Json::null();
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
  void bitstampReply(const std::string& key, const std::string& body) {
    simulator.setReply("Bitstamp", "/api/v2/ticker/" + key + "/", 200, body);
  }

  exsim::Simulator simulator;
  AppEnvironment home;
  std::string errors;
};

TEST_F(AppIntegration, PairsReportInTextOrderWithTheirOwnDigitsAndNewOnesAreStored) {
  int n = 0;
  for (const char* key : {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur", "ltcbtc",
                          "ethusd", "etheur", "ethbtc", "bchusd", "bcheur", "bchbtc"})
    bitstampReply(key,
                  R"({"high":"9300.00000000","last":")" + std::to_string(100 + n++) +
                      R"(.50","timestamp":"1593652929.123","bid":"9232.67","volume":"4211.92053379","open":9230.97})");
  simulator.addFault({"Bitstamp", "/api/v2/ticker/xrpeur/", "reset"});

  const std::optional<Json> dump = refreshOnce();
  ASSERT_TRUE(dump) << errors;
  const Json& bitstamp = submenuOf(*dump, "Bitstamp");
  EXPECT_EQ(titles(bitstamp),
            (std::vector<std::string>{"BCH/BTC: 114.50", "BCH/EUR: 113.50", "BCH/USD: 112.50", "BTC/EUR: 101.50",
                                      "BTC/USD: 100.50", "ETH/BTC: 111.50", "ETH/EUR: 110.50", "ETH/USD: 109.50",
                                      "EUR/USD: 102.50", "LTC/BTC: 108.50", "LTC/EUR: 107.50", "LTC/USD: 106.50",
                                      "XRP/BTC: 105.50", "XRP/USD: 103.50"}));
  EXPECT_EQ(titles(bitstamp[0]["submenu"]),
            (std::vector<std::string>{"Bid: 9232.67", "Ask: ", "Last: 114.50", "Low: ", "High: 9300.00000000",
                                      "Volume: 4211.92053379", "Timestamp: 1593652929"}));
  // Each site got only its own requests.
  for (const std::string& target : simulator.requests("OKCoinCNY")) EXPECT_TRUE(target.ends_with("_cny")) << target;
  EXPECT_EQ(simulator.requests("OKCoinCNY").size(), 5u);
  for (const std::string& target : simulator.requests("Kraken")) EXPECT_FALSE(target.ends_with(".d")) << target;

  // New pairs reach the store, unmarked, when the program quits.
  int bitstampRecords = 0;
  for (const StoredPair& pair : stored())
    if (pair.exchange == "Bitstamp") {
      ++bitstampRecords;
      EXPECT_FALSE(pair.isFavourite || pair.showInMenubar);
    }
  EXPECT_EQ(bitstampRecords, 14);
}

TEST_F(AppIntegration, TheBitfinexPlaceholderShowsWhenEveryTickerIsRateLimited) {
  simulator.addFault({"Bitfinex", "/v1/pubticker/*", "ratelimit"});
  simulator.addFault({"Poloniex", "*", "big", 5'000'000});  // several MiB are read like any reply
  const std::optional<Json> dump = refreshOnce();
  ASSERT_TRUE(dump) << errors;
  EXPECT_EQ(titles(submenuOf(*dump, "Bitfinex")),
            (std::vector<std::string>{"Connection error. I will try again shortly."}));
  // The 99 markets of the big reply; its text padding member is not a market.
  EXPECT_EQ(titles(submenuOf(*dump, "Poloniex")).size(), 99u);
}

TEST_F(AppIntegration, FavouritesAndPriceItemsFollowTheStoreWhateverTheLocale) {
  seed({{0, "Bitstamp", "BTC/USD", true, true},
        {0, "Bitstamp", "ETH/BTC", true, true},
        {0, "Bitstamp", "LTC/BTC", false, true}});
  bitstampReply("btcusd", R"({"last":"912.3456","bid":"1","ask":"2"})");
  bitstampReply("ethbtc", R"({"last":"0.00001234"})");
  bitstampReply("ltcbtc", R"({"last":"0"})");
  const std::optional<Json> dump = refreshOnce({{"LC_ALL", "de_DE.UTF-8"}, {"LOCPATH", PRICORA_TEST_LOCALES}});
  ASSERT_TRUE(dump) << errors;

  const Json& menu = (*dump)["statusMenu"];
  EXPECT_EQ(menu[4]["title"].stringValue(), "BTC/USD: 912.3456");
  EXPECT_EQ(menu[5]["title"].stringValue(), "ETH/BTC: 0.00001234");
  EXPECT_EQ(menu[5]["image"].stringValue(), "swatch #F07F5A");

  std::map<std::string, const Json*> items;
  (*dump)["statusBar"].forEach([&](std::string_view, const Json& item) {
    const std::string title = item["title"].stringValue();
    items[title.substr(0, title.find('\n'))] = &item;
  });
  ASSERT_EQ(items.size(), 4u);  // the application's icon and three prices
  EXPECT_EQ((*items["BTC/USD"])["title"].stringValue(), "BTC/USD\n912.345");
  EXPECT_EQ((*items["ETH/BTC"])["title"].stringValue(), "ETH/BTC\n1.234e-5");
  EXPECT_EQ((*items["LTC/BTC"])["title"].stringValue(), "LTC/BTC\n0e+0");
  // The width was fixed when the item was made from the title alone.
  EXPECT_EQ((*items["BTC/USD"])["length"].stringValue(), "45");
  EXPECT_EQ(titles((*items["BTC/USD"])["menu"]),
            (std::vector<std::string>{"Bitstamp", "", "Bid: 1", "Ask: 2", "Last: 912.3456",
                                      "Low: ", "High: ", "Volume: ", "Timestamp: "}));
}

TEST_F(AppIntegration, OldRecordsGoFiveSecondsAfterLaunchAndAQuitBySignalSaves) {
  seed({{0, "BTC-E", "BTC/USD", true, false},
        {0, "Kraken", "ASH/SD", false, false},
        {0, "BTC-E", std::nullopt, false, false}});
  // The clean-up runs five seconds after launch, the first refresh well before the signal.
  const AppEnvironment::Ended ended = home.run({PRICORA_BINARY, "--headless"}, {}, 10, "TERM");
  EXPECT_NE(ended.errors.find("pricora: refresh 1 completed"), std::string::npos) << ended.errors;
  const std::vector<StoredPair> left = stored();
  for (const StoredPair& pair : left) EXPECT_FALSE(pair.title == "ASH/SD" || (pair.exchange == "BTC-E" && pair.title));
  EXPECT_TRUE(
      std::any_of(left.begin(), left.end(), [](const StoredPair& p) { return p.exchange == "BTC-E" && !p.title; }));
  EXPECT_GT(left.size(), 500u);  // everything the first refresh discovered was saved on the way out
}

TEST_F(AppIntegration, AnUnusableStoreEndsTheRunUntouchedAndAFailedSaveOnQuitIsShown) {
  std::filesystem::create_directories(home.storeFolder());
  const std::string garbage = "this is not a database, and no byte of it may change\n";
  std::ofstream(storeFile()) << garbage;
  run({"--headless", "--refreshes", "1"}, 1);
  EXPECT_NE(errors.find("Unresolved error: The file “" + storeFile() + "” is not a Pricora pair store., {path = "),
            std::string::npos)
      << errors;
  EXPECT_EQ(contents(storeFile()), garbage);
  run({"--bar", "waybar"}, 1, {{"LC_ALL", "de_DE.UTF-8"}, {"LOCPATH", PRICORA_TEST_LOCALES}});
  EXPECT_NE(errors.find("Die Datei „" + storeFile() + "“ ist kein Paarspeicher von Pricora."), std::string::npos)
      << errors;

  // Another program holds the store (in WAL mode the program still reads it) for longer than a
  // save waits: the quit's save fails, headless alerts answer "Quit anyway", and both alerts
  // speak the user's language while the status menu stays the same for the scripts that read it.
  std::filesystem::remove(storeFile());
  seed({{0, "Kraken", "XBT/USD", true, false}});
  struct Case {
    const char* locale;
    std::string saveFailed;
    const char* question;
  };
  for (const Case& c : {Case{"C.UTF-8", "Pricora could not save your changes to “" + storeFile() + "”.",
                             "Could not save changes while quitting. Quit anyway?"},
                        Case{"de_DE.UTF-8", "Pricora konnte Ihre Änderungen nicht in „" + storeFile() + "“ sichern.",
                             "Die Änderungen konnten beim Beenden nicht gesichert werden. Trotzdem beenden?"}}) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(storeFile().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const std::optional<Json> dump = refreshOnce({{"LC_ALL", c.locale}, {"LOCPATH", PRICORA_TEST_LOCALES}});
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_NE(errors.find(c.saveFailed), std::string::npos) << errors;
    EXPECT_NE(errors.find(c.question), std::string::npos) << errors;
    EXPECT_EQ(stored().size(), 1u);  // nothing of the run reached the store, and nothing broke it
    ASSERT_TRUE(dump) << errors;
    EXPECT_EQ(titles((*dump)["statusMenu"])[0] + titles((*dump)["statusMenu"])[2], "Quit PricoraManage");
  }
}

TEST_F(AppIntegration, HeadlessOptionsAndTheTimeOut) {
  // Every exchange unreachable still completes a refresh; the time-out ends with status 2.
  home.writeSettings(AppEnvironment::closedExchanges());
  const std::string dumpPath = home.dir().file("dump.json");
  run({"--headless", "--timeout", "1", "--dump", dumpPath}, 2);
  const std::optional<Json> dump = Json::parse(contents(dumpPath));
  ASSERT_TRUE(dump);
  EXPECT_TRUE((*dump)["statusBar"][0]["toolTip"].stringValue().starts_with("Pricora ")) << contents(dumpPath);
  EXPECT_EQ((*dump)["statusMenu"][14]["title"].stringValue(), "Updated: Just now");
  EXPECT_EQ(titles((*dump)["statusMenu"][6]["submenu"]),
            (std::vector<std::string>{"Connection error. I will try again shortly."}));

  run({}, 1);  // no display: the desktop mode says so
  EXPECT_NE(errors.find("--headless"), std::string::npos) << errors;
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--refreshes", "1"},
                                                    {"--headless", "--timeout", "0"},
                                                    {"--headless", "--timeout", "3000000"},
                                                    {"--headless", "--refreshes", "-1"},
                                                    {"--headless", "--dump"},
                                                    {"--frobnicate"},
                                                    {"--bar", "xmobar"},
                                                    {"--bar"},
                                                    {"--headless", "--bar", "waybar"}}) {
    run(arguments, 1);
    EXPECT_NE(errors.find("usage: pricora"), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace pricora
