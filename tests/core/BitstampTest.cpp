#include "core/AdapterFixture.h"

namespace pricora {
namespace {

class Bitstamp : public test::AdapterFixture {
 protected:
  Bitstamp() { make(makeBitstampAdapter); }
  static std::string url(const std::string& key) { return "http://bitstamp.test/api/v2/ticker/" + key + "/"; }
};

TEST_F(Bitstamp, AsksForItsFifteenPairsAndReadsTheirTickers) {
  exchangeState().pairs = {"stale"};
  exchangeState().submenu->addItemWithTitle("old");
  start();
  EXPECT_TRUE(exchangeState().submenu->empty());
  const std::vector<std::string> keys = {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur",
                                         "ltcbtc", "ethusd", "etheur", "ethbtc", "bchusd", "bcheur", "bchbtc"};
  EXPECT_EQ(exchangeState().pairs, keys);
  ASSERT_EQ(platform.fetch.requests().size(), 15u);
  EXPECT_EQ(platform.fetch.requests()[0], url("btcusd"));

  // A recorded reply, whose "open" is a number, and one whose time stamp has a fraction.
  platform.fetch.respond(url("bchbtc"), R"({"high": "9300.00000000", "last": "9240.58", "timestamp": "1593652929",
      "bid": "9232.67", "vwap": "9212.05", "volume": "4211.92053379", "low": "9096.62000000", "ask": "9236.99",
      "open": 9230.97})");
  platform.fetch.respond(url("eurusd"), R"({"last":"1.08","timestamp":"1710328241.517","bid":"1.07"})");
  platform.fetch.respond(url("btcusd"), R"({"error":"Not found"})");
  settle();
  ASSERT_EQ(handOffs.size(), 3u);
  EXPECT_EQ(handOffs[0].title, "BCH/BTC");
  EXPECT_EQ(handOffs[0].entry->headline(), "BCH/BTC: 9240.58");
  EXPECT_EQ(handOffs[0].entry->lines(),
            (std::vector<std::string>{"Bid: 9232.67", "Ask: 9236.99", "Last: 9240.58", "Low: 9096.62000000",
                                      "High: 9300.00000000", "Volume: 4211.92053379", "Timestamp: 1593652929"}));
  EXPECT_EQ(handOffs[1].title, "EUR/USD");
  EXPECT_EQ(handOffs[1].entry->lines().back(), "Timestamp: 1710328241");
  EXPECT_EQ(handOffs[2].entry->headline(), "BTC/USD: ");
  EXPECT_EQ(handOffs[2].entry->lines(), (std::vector<std::string>{"Bid: ", "Ask: ", "Last: ", "Low: ", "High: ",
                                                                   "Volume: ", "Timestamp: "}));
  EXPECT_EQ(dones, 0);
}

TEST_F(Bitstamp, FinishesAfterTheFifteenthReplyEvenWhenEveryRequestFails) {
  start();
  platform.fetch.respondToAll([](const std::string&) -> std::optional<std::string> { return "<html>502</html>"; });
  settle();
  EXPECT_EQ(dones, 1);
  EXPECT_TRUE(handOffs.empty());

  // Each refresh counts its own replies: the last reply of a slow refresh finishes that one,
  // not the refresh that started meanwhile.
  start();
  for (int i = 0; i < 14; ++i) platform.fetch.fail(platform.fetch.pendingUrls().front());
  start();
  platform.fetch.fail(platform.fetch.pendingUrls().front());
  EXPECT_EQ(dones, 2);
  for (int i = 0; i < 14; ++i) platform.fetch.fail(platform.fetch.pendingUrls().front());
  EXPECT_EQ(dones, 2);
  platform.fetch.fail(platform.fetch.pendingUrls().front());
  EXPECT_EQ(dones, 3);
}

}  // namespace
}  // namespace pricora
