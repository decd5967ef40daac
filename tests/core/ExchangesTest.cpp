#include "core/AdapterFixture.h"

namespace pricora {
namespace {

using test::AdapterFixture;

std::string lines(const PairEntry& entry) {
  std::string out;
  for (const std::string& line : entry.lines()) out += line + "|";
  return out;
}

const auto kFail = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };

using Factory = std::unique_ptr<ExchangeAdapter> (*)(AdapterContext&);

class Adapters : public AdapterFixture {};

// Recorded replies (and an error object each) read into the entry of each exchange's rules.
TEST_F(Adapters, ReadTheirTickersIntoTitlesAndLines) {
  struct Case {
    Factory make;
    const char *listing, *listingBody, *ticker, *body, *title, *lines, *emptyLines;
  };
  const Case cases[] = {
      {makeWexAdapter, "http://wex.test/api/3/info", R"({"pairs":{"btc_usd":{"fee":0.2},"dsh_eth_x":{}}})",
       "http://wex.test/api/3/ticker/btc_usd", R"({"btc_usd":{"high":109.88,"low":91.14,"vol":1632898.2249,
       "vol_cur":16541.51969,"last":0.5,"buy":101.9,"sell":101.773,"updated":1370816308}})",
       "BTC/USD: 0.5",
       "Bid: 101.773|Ask: 101.9|Last: 0.5|Low: 91.14|High: 109.88|Volume: 16541.51969|Timestamp: 1370816308|",
       "DSH/ETH/X: |Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |"},
      {makeKrakenAdapter, "http://kraken.test/0/public/AssetPairs",
       R"({"result":{"XXBTZUSD":{},"XXBTZUSD.d":{},"USDTZUSD":{}}})",
       "http://kraken.test/0/public/Ticker?pair=XXBTZUSD", R"({"error":[],"result":{"XXBTZUSD":{"a":["562.26651","1"],
       "b":["560.46600","1"],"c":["560.87711","0.01"],"v":["84.23095922","600.9"],"l":["560.00000","1"],"h":["570.00000","1"]}}})",
       "XBT/USD: 560.87711",
       "Bid: 560.46600|Ask: 562.26651|Last: 560.87711|Low: 560.00000|High: 570.00000|Volume: 84.23095922|",
       "USDT/USD: |Bid: |Ask: |Last: |Low: |High: |Volume: |"},
      {makeBitfinexAdapter, "http://bitfinex.test/v1/symbols", R"(["btcusd","ethbtc"])",
       "http://bitfinex.test/v1/pubticker/btcusd",
       R"({"mid":"522.935","bid":"522.2","ask":"523.67","last_price":"523.67","low":"514.25","high":"532.74",
       "volume":"6533.86438038","timestamp":"1400949917.858329958"})",
       "BTC/USD: 523.67",
       "Bid: 522.2|Ask: 523.67|Last: 523.67|Low: 514.25|High: 532.74|Volume: 6533.86438038|Timestamp: 1400949917|",
       "ETH/BTC: |Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |"},
      {makeBitstampAdapter, nullptr, nullptr, "http://bitstamp.test/api/v2/ticker/bchbtc/", R"({"high": "9300.00000000",
       "last": "9240.58", "timestamp": "1593652929.517", "bid": "9232.67", "vwap": "9212.05", "volume": "4211.92053379",
       "low": "9096.62000000", "ask": "9236.99", "open": 9230.97})",
       "BCH/BTC: 9240.58",
       "Bid: 9232.67|Ask: 9236.99|Last: 9240.58|Low: 9096.62000000|High: 9300.00000000|Volume: "
       "4211.92053379|Timestamp: 1593652929|",
       "BTC/USD: |Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |"},
      // Yuan pairs live on the exchange's other site; the time stamp sits beside the ticker.
      {makeOKCoinAdapter, nullptr, nullptr, "http://okcoin-cny.test/api/v1/ticker.do?symbol=btc_cny",
       R"({"date":"1410431279.5","ticker":{"buy":"33.15","high":"34.15","last":"33.15","low":"32.05","sell":"33.16",
       "vol":"10532696.39199642"}})",
       "BTC/CNY: 33.15",
       "Bid: 33.15|Ask: 33.16|Last: 33.15|Low: 32.05|High: 34.15|Volume: 10532696.39199642|Timestamp: 1410431279|",
       "BTC/USD: |Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |"},
      // CoinFloor's keys are titles whose slash is part of the path.
      {makeCoinFloorAdapter, nullptr, nullptr, "http://coinfloor.test/bist/XBT/GBP/ticker/",
       R"({"last":null,"high":"834.00","low":"761.00","vwap":"800.37","volume":"590.1081","bid":"827.00","ask":"832.00"})",
       "XBT/GBP: ", "Bid: 827.00|Ask: 832.00|Last: |Low: 761.00|High: 834.00|Volume: 590.1081|",
       "XBT/EUR: |Bid: |Ask: |Last: |Low: |High: |Volume: |"},
  };
  for (const Case& c : cases) {
    make(c.make);
    handOffs.clear();
    dones = 0;
    start();
    if (c.listing) platform.fetch.respond(c.listing, c.listingBody);
    ASSERT_TRUE(platform.fetch.respond(c.ticker, c.body)) << c.ticker;
    // The first pending key answers with an error object, every other one fails.
    platform.fetch.respond(platform.fetch.pendingUrls().at(0), R"({"error":"Unknown symbol","result":{}})");
    platform.fetch.respondToAll(kFail);
    settle();
    ASSERT_EQ(handOffs.size(), 2u) << c.ticker;
    EXPECT_EQ(handOffs[0].entry->headline(), c.title);
    EXPECT_EQ(lines(*handOffs[0].entry), c.lines);
    EXPECT_EQ(handOffs[1].entry->headline() + "|" + lines(*handOffs[1].entry), c.emptyLines);
    EXPECT_EQ(dones, 1) << c.ticker;
  }
  EXPECT_EQ(state.exchanges[Exchange::Kraken].pairs, (std::vector<std::string>{"XXBTZUSD", "USDTZUSD"}));
}

TEST_F(Adapters, FixedListsAskForTheirPairsAndFinishOnceWhenEveryRequestFails) {
  const std::pair<Factory, std::vector<std::string>> cases[] = {
      {makeBitstampAdapter,
       {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur", "ltcbtc", "ethusd", "etheur",
        "ethbtc", "bchusd", "bcheur", "bchbtc"}},
      {makeOKCoinAdapter,
       {"btc_usd", "ltc_usd", "eth_usd", "etc_usd", "bch_usd", "btc_cny", "ltc_cny", "eth_cny", "etc_cny", "bch_cny"}},
      {makeCoinFloorAdapter, {"XBT/EUR", "XBT/GBP", "XBT/USD", "XBT/PLN"}},
  };
  for (const auto& [factory, keys] : cases) {
    dones = 0;
    make(factory);
    exchangeState().submenu->addItemWithTitle("from the last refresh");
    start();
    EXPECT_TRUE(exchangeState().submenu->empty());
    EXPECT_EQ(exchangeState().pairs, keys);
    EXPECT_EQ(platform.fetch.pendingCount(), keys.size());
    platform.fetch.respondToAll([](const std::string&) -> std::optional<std::string> { return "<html>502</html>"; });
    settle();
    EXPECT_EQ(dones, 1) << displayName(adapter->exchange());
    EXPECT_TRUE(exchangeState().submenu->empty());
  }
  EXPECT_TRUE(handOffs.empty());
}

TEST_F(Adapters, EachBatchCountsItsOwnRepliesAgainstTheKeysAsTheyAreNow) {
  make(makeWexAdapter);
  start();
  platform.fetch.respond("http://wex.test/api/3/info", R"({"pairs":{"a_b":{},"c_d":{},"e_f":{}}})");
  platform.fetch.fail("http://wex.test/api/3/ticker/a_b");
  // A later listing shrinks the keys while the first batch still answers: its second reply
  // makes as many as there are keys now.
  start();
  platform.fetch.respond("http://wex.test/api/3/info", R"({"pairs":{"g_h":{},"i_j":{}}})");
  platform.fetch.fail("http://wex.test/api/3/ticker/c_d");
  EXPECT_EQ(dones, 1);
  platform.fetch.fail("http://wex.test/api/3/ticker/e_f");
  platform.fetch.fail("http://wex.test/api/3/ticker/g_h");
  EXPECT_EQ(dones, 1);
  platform.fetch.fail("http://wex.test/api/3/ticker/i_j");
  EXPECT_EQ(dones, 2);

  // A failed listing keeps the keys; one that never succeeded leaves none, and finishes at once.
  start();
  platform.fetch.fail("http://wex.test/api/3/info");
  EXPECT_EQ(platform.fetch.pendingCount(), 2u);
  make(makeGDAXAdapter);
  start();
  platform.fetch.fail("http://gdax.test/products");
  EXPECT_EQ(dones, 3);
}

TEST_F(Adapters, KrakenTitlesFollowTheKeysLength) {
  make(makeKrakenAdapter);
  start();
  platform.fetch.respond("http://kraken.test/0/public/AssetPairs",
                         R"({"result":{"DASHEUR":{},"BCHUSD":{},"XETHXXBT":{},"XXBTZ":{},"XBT":{}}})");
  platform.fetch.respondToAll([](const std::string&) { return std::string("{}"); });
  settle();
  std::vector<std::string> titles;
  for (const auto& handOff : handOffs) titles.push_back(handOff.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"DASH/EUR", "BCH/USD", "ETH/XBT", "XBT/", "XBT"}));
}

TEST_F(Adapters, BitfinexStopsAskingAfterARateLimitReplyUntilTheNextRefresh) {
  make(makeBitfinexAdapter);
  const auto list = [&] {
    start();
    platform.fetch.respond("http://bitfinex.test/v1/symbols", R"(["btcusd","ltcbtc","ethusd"])");
  };
  list();
  platform.fetch.respond("http://bitfinex.test/v1/pubticker/ltcbtc", R"({"last_price":"0.01"})");
  platform.fetch.respond("http://bitfinex.test/v1/pubticker/ethusd", R"({"error":"ERR_RATE_LIMIT"})");
  platform.fetch.fail("http://bitfinex.test/v1/pubticker/btcusd");
  settle();
  ASSERT_EQ(handOffs.size(), 1u);
  EXPECT_EQ(dones, 1);
  EXPECT_FALSE(state.bitfinexActive);
  list();  // a batch that begins rate-limited asks for nothing and has finished at once
  EXPECT_EQ(platform.fetch.pendingCount(), 0u);
  EXPECT_EQ(dones, 2);
  state.bitfinexActive = true;  // what the next refresh does
  list();
  EXPECT_EQ(platform.fetch.pendingCount(), 3u);
}

TEST_F(Adapters, GDAXAddsLowAndHighWhenTheStatisticsArrive) {
  make(makeGDAXAdapter);
  start();
  platform.fetch.respond("http://gdax.test/products",
                         R"([{"id":"BTC-USD","status":"online"},{"id":"ETH-BTC"},{"id":"LTC-EUR"}])");
  platform.fetch.respond("http://gdax.test/products/LTC-EUR/ticker", R"({"message":"NotFound"})");
  platform.fetch.respond("http://gdax.test/products/BTC-USD/ticker", R"({"trade_id":4729088,"price":"333.99",
      "size":"0.193","bid":"333.98","ask":"333.99","volume":"5957.11914015","time":"2015-11-14T20:46:03.511254Z"})");
  EXPECT_EQ(dones, 0);
  platform.fetch.fail("http://gdax.test/products/ETH-BTC/ticker");  // no statistics asked for it
  EXPECT_EQ(dones, 1);                                              // the statistics play no part in finishing
  settle();
  ASSERT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(handOffs[1].title, "BTC/USD");
  EXPECT_EQ(lines(*handOffs[1].entry), "Bid: 333.98|Ask: 333.99|Last: 333.99|Volume: 5957.11914015|");
  EXPECT_EQ(platform.fetch.pendingUrls(), (std::vector<std::string>{"http://gdax.test/products/LTC-EUR/stats",
                                                                    "http://gdax.test/products/BTC-USD/stats"}));
  platform.fetch.fail("http://gdax.test/products/LTC-EUR/stats");
  platform.fetch.respond("http://gdax.test/products/BTC-USD/stats",
                         R"({"open":"6745.61000000","high":"7292.11000000","low":"6650.00000000","volume":"26185.5"})");
  EXPECT_EQ(lines(*handOffs[1].entry),
            "Bid: 333.98|Ask: 333.99|Last: 333.99|Volume: 5957.11914015|Low: 6650.00000000|High: 7292.11000000|");
  EXPECT_EQ(lines(*handOffs[0].entry), "Bid: |Ask: |Last: |Volume: |");
}

// Listed keys end up in addresses and in the store: only plain ones of the listing's documented
// shape are used, and a listing without any counts as failed.
TEST_F(Adapters, ListingsGiveOnlyPlainKeysOfTheRightShape) {
  struct Case {
    Factory make;
    std::string listing, open, member, close, ticker, wrongShape;
  };
  const Case cases[] = {
      {makeWexAdapter, "http://wex.test/api/3/info", R"({"pairs":{)", R"("K":{})", "}}",
       "http://wex.test/api/3/ticker/", R"({"pairs":[{},{}]})"},
      {makeKrakenAdapter, "http://kraken.test/0/public/AssetPairs", R"({"result":{)", R"("K":{})", "}}",
       "http://kraken.test/0/public/Ticker?pair=", R"({"result":["XXBTZUSD"]})"},
      {makeBitfinexAdapter, "http://bitfinex.test/v1/symbols", "[", R"("K")", "]", "http://bitfinex.test/v1/pubticker/",
       R"(["btcusd",42])"},
      {makeGDAXAdapter, "http://gdax.test/products", "[", R"({"id":"K"})", "]", "http://gdax.test/products/",
       R"([{"id":7},"BTC-USD",{"display_name":"no id"},{"id":["BTC-USD"]}])"},
  };
  const std::vector<std::string> hostile = {"../../../../x",      "a?b=c", "a#b", "a/b", "a b", "a%2F", "", ".", "..",
                                            std::string(65, 'k'), "\u00e9"};
  const std::string good = "a.b-c_d:" + std::string(56, 'e');
  for (const Case& c : cases) {
    make(c.make);
    const auto listing = [&](const std::vector<std::string>& keys) {
      std::string body = c.open;
      for (const std::string& key : keys) {
        std::string member = c.member;
        body += (body == c.open ? "" : ",") + member.replace(member.find('K'), 1, key);
      }
      return body + c.close;
    };
    std::vector<std::string> keys = hostile;
    keys.push_back(good);
    for (const std::string& body : {listing(keys), listing(hostile), c.wrongShape, std::string(R"({"error":["x"]})")}) {
      start();
      platform.fetch.respond(c.listing, body);
      EXPECT_EQ(exchangeState().pairs, std::vector<std::string>{good}) << body;
      ASSERT_EQ(platform.fetch.pendingCount(), 1u) << body;
      EXPECT_TRUE(platform.fetch.pendingUrls()[0].starts_with(c.ticker + good)) << platform.fetch.pendingUrls()[0];
      platform.fetch.respondToAll(kFail);
    }
  }
  EXPECT_EQ(percentEncoded("a/b?c#d%e f:\xC3\xA9"), "a%2Fb%3Fc%23d%25e%20f:%C3%A9");

  // More keys than any exchange lists: the first ones only.
  make(makeBitfinexAdapter);
  std::string many = "[\"k0\"";
  for (std::size_t i = 1; i <= kMaxListedKeys; ++i) many += ",\"k" + std::to_string(i) + "\"";
  start();
  platform.fetch.respond("http://bitfinex.test/v1/symbols", many + "]");
  EXPECT_EQ(exchangeState().pairs.size(), kMaxListedKeys);
  EXPECT_EQ(exchangeState().pairs.back(), "k" + std::to_string(kMaxListedKeys - 1));
  platform.fetch.respondToAll(kFail);
}

TEST_F(Adapters, PoloniexTakesEveryMarketFromOneReplyThenIsDone) {
  make(makePoloniexAdapter);
  const auto reply = [&](const char* body) {  // none: the request fails
    start();
    const std::string url = "http://poloniex.test/public?command=returnTicker";
    body ? platform.fetch.respond(url, body) : platform.fetch.fail(url);
    settle();
  };
  reply(R"({"BTC_ETH":{"id":7,"last":"0.0712","lowestAsk":"0.0713","highestBid":"0.0711","isFrozen":"0"},
            "error":"not a market","USDT_BTC":{"highestBid":"9000"},"list":[1],"../x":{}})");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"BTC_ETH", "USDT_BTC"}));
  // Hand-offs were queued before the exchange reported done, so they land before what done queues.
  EXPECT_EQ(events, (std::vector<std::string>{"done", "hand-off BTC/ETH", "hand-off USDT/BTC", "queued by done"}));
  EXPECT_EQ(lines(*handOffs[0].entry), "Bid: 0.0711|Ask: 0.0713|Last: 0.0712|");
  EXPECT_EQ(handOffs[1].entry->headline(), "USDT/BTC: ");

  // A reply without a market is a failed one: the last good entries stay, the exchange is done.
  exchangeState().submenu->addItemWithTitle("BTC/ETH: 0.0712");
  for (const char* other :
       {static_cast<const char*>(nullptr), R"({"error":"Invalid command."})", R"([{"last":"1"}])", "{}", "null"}) {
    reply(other);
    EXPECT_EQ(exchangeState().pairs.size(), 2u) << (other ? other : "failed");
    EXPECT_EQ(exchangeState().submenu->numberOfItems(), 1u) << (other ? other : "failed");
  }
  EXPECT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(dones, 6);
}

}  // namespace
}  // namespace pricora
