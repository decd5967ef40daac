#include "core/AdapterFixture.h"

namespace pricora {
namespace {

using test::AdapterFixture;

std::string lines(const PairEntry& entry) {
  std::string out;
  for (const std::string& line : entry.lines()) out += line + "|";
  return out;
}

class Wex : public AdapterFixture {
 protected:
  Wex() { make(makeWexAdapter); }
};

TEST_F(Wex, ListsItsPairsAndShowsNumbersAsTheirDigits) {
  start();
  platform.fetch.respond("http://wex.test/api/3/info",
                         R"({"server_time":1370814956,"pairs":{"btc_usd":{"fee":0.2},"ltc_btc":{},"dsh_eth_x":{}}})");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"btc_usd", "ltc_btc", "dsh_eth_x"}));
  EXPECT_EQ(platform.fetch.pendingUrls(),
            (std::vector<std::string>{"http://wex.test/api/3/ticker/btc_usd", "http://wex.test/api/3/ticker/ltc_btc",
                                      "http://wex.test/api/3/ticker/dsh_eth_x"}));
  platform.fetch.respond("http://wex.test/api/3/ticker/btc_usd", R"({"btc_usd":{"high":109.88,"low":91.14,"avg":100.51,
      "vol":1632898.2249,"vol_cur":16541.51969,"last":0.5,"buy":101.9,"sell":101.773,"updated":1370816308}})");
  platform.fetch.respond("http://wex.test/api/3/ticker/dsh_eth_x",
                         R"({"success":0,"error":"Invalid pair name: dsh_eth_x"})");
  platform.fetch.fail("http://wex.test/api/3/ticker/ltc_btc");
  settle();
  ASSERT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(handOffs[0].entry->headline(), "BTC/USD: 0.5");
  EXPECT_EQ(lines(*handOffs[0].entry),
            "Bid: 101.773|Ask: 101.9|Last: 0.5|Low: 91.14|High: 109.88|Volume: 16541.51969|Timestamp: 1370816308|");
  EXPECT_EQ(handOffs[1].title, "DSH/ETH/X");
  EXPECT_EQ(lines(*handOffs[1].entry), "Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |");
  EXPECT_EQ(dones, 1);

  // A later listing replaces the keys; a failed one keeps them.
  start();
  platform.fetch.respond("http://wex.test/api/3/info", R"({"pairs":{"eth_usd":{},"btc_eur":{}}})");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"eth_usd", "btc_eur"}));
  platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
  start();
  platform.fetch.fail("http://wex.test/api/3/info");
  EXPECT_EQ(platform.fetch.pendingCount(), 2u);
}

TEST_F(Wex, RepliesCountAgainstTheKeysAsTheyAreNow) {
  // A later listing shrinks the keys while the first batch still answers: the count compares
  // with the two keys there are now.
  start();
  platform.fetch.respond("http://wex.test/api/3/info", R"({"pairs":{"a_b":{},"c_d":{},"e_f":{}}})");
  platform.fetch.fail("http://wex.test/api/3/ticker/a_b");
  start();
  platform.fetch.respond("http://wex.test/api/3/info", R"({"pairs":{"g_h":{},"i_j":{}}})");
  platform.fetch.fail("http://wex.test/api/3/ticker/c_d");
  EXPECT_EQ(dones, 1);
  platform.fetch.fail("http://wex.test/api/3/ticker/e_f");
  platform.fetch.fail("http://wex.test/api/3/ticker/g_h");
  EXPECT_EQ(dones, 1);
  platform.fetch.fail("http://wex.test/api/3/ticker/i_j");
  EXPECT_EQ(dones, 2);
}

TEST_F(Wex, AnExchangeThatNeverListedFinishesAtOnce) {
  // WEX is gone: its listing never answers, yet refreshes must still complete.
  start();
  platform.fetch.fail("http://wex.test/api/3/info");
  EXPECT_EQ(dones, 1);
  EXPECT_EQ(platform.fetch.pendingCount(), 0u);
}

class Kraken : public AdapterFixture {
 protected:
  Kraken() { make(makeKrakenAdapter); }
  void list(const std::string& keys) {
    start();
    platform.fetch.respond("http://kraken.test/0/public/AssetPairs", R"({"error":[],"result":{)" + keys + "}}");
  }
};

TEST_F(Kraken, DropsDarkPoolPairsAndShowsTheFirstElementOfEachValue) {
  list(R"("XXBTZUSD":{},"XXBTZUSD.d":{},"USDTZUSD":{})");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"XXBTZUSD", "USDTZUSD"}));
  EXPECT_EQ(platform.fetch.pendingUrls()[0], "http://kraken.test/0/public/Ticker?pair=XXBTZUSD");
  platform.fetch.respond("http://kraken.test/0/public/Ticker?pair=XXBTZUSD", R"({"error":[],"result":{"XXBTZUSD":{
      "a":["562.26651","1"],"b":["560.46600","1"],"c":["560.87711","0.01447739"],"v":["84.23095922","600.91850325"],
      "p":["562.19735","576.77284"],"t":[305,2783],"l":["560.00000","560.00000"],"h":["570.00000","591.11000"],"o":"568.98910"}}})");
  platform.fetch.respond("http://kraken.test/0/public/Ticker?pair=USDTZUSD",
                         R"({"error":["EGeneral:Too many requests"]})");
  settle();
  ASSERT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(handOffs[0].entry->headline(), "XBT/USD: 560.87711");
  EXPECT_EQ(lines(*handOffs[0].entry),
            "Bid: 560.46600|Ask: 562.26651|Last: 560.87711|Low: 560.00000|High: 570.00000|Volume: 84.23095922|");
  EXPECT_EQ(handOffs[1].entry->headline(), "USDT/USD: ");
  EXPECT_EQ(lines(*handOffs[1].entry), "Bid: |Ask: |Last: |Low: |High: |Volume: |");
  EXPECT_EQ(dones, 1);
}

TEST_F(Kraken, AListingOfThousandsOfKeysIsAskedForInOneGo) {
  std::string keys;
  for (int i = 0; i < 5000; ++i) keys += (i ? ",\"" : "\"") + std::string("K") + std::to_string(100000 + i) + "\":{}";
  list(keys);
  EXPECT_EQ(platform.fetch.pendingCount(), 5000u);
  platform.fetch.respondToAll([](const std::string&) { return std::string("{}"); });
  settle();
  EXPECT_EQ(handOffs.size(), 5000u);
  EXPECT_EQ(dones, 1);
}

TEST_F(Kraken, TitlesFollowTheKeysLength) {
  list(R"("DASHEUR":{},"BCHUSD":{},"XETHXXBT":{},"XXBTZ":{},"XBT":{})");
  platform.fetch.respondToAll([](const std::string&) { return std::string("{}"); });
  settle();
  std::vector<std::string> titles;
  for (const auto& handOff : handOffs) titles.push_back(handOff.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"DASH/EUR", "BCH/USD", "ETH/XBT", "XBT/", "XBT"}));
}

class Bitfinex : public AdapterFixture {
 protected:
  Bitfinex() { make(makeBitfinexAdapter); }
  static std::string ticker(const std::string& key) { return "http://bitfinex.test/v1/pubticker/" + key; }
  void list(const std::string& symbols) {
    start();
    platform.fetch.respond("http://bitfinex.test/v1/symbols", symbols);
  }
};

TEST_F(Bitfinex, ListsSymbolsOnlyWhenTheListingIsAllTexts) {
  list(R"(["btcusd","ethbtc","ab"])");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"btcusd", "ethbtc", "ab"}));
  platform.fetch.respond(ticker("btcusd"), R"({"mid":"522.935","bid":"522.2","ask":"523.67","last_price":"523.67",
      "low":"514.25","high":"532.74","volume":"6533.86438038","timestamp":"1400949917.858329958"})");
  platform.fetch.respond(ticker("ethbtc"), R"({"message":"Unknown symbol"})");
  platform.fetch.respond(ticker("ab"), R"({"last_price":"1"})");
  settle();
  EXPECT_EQ(titles(), (std::vector<std::string>{"BTC/USD: 523.67", "ETH/BTC: ", "AB/AB: 1"}));
  EXPECT_EQ(
      lines(*handOffs[0].entry),
      "Bid: 522.2|Ask: 523.67|Last: 523.67|Low: 514.25|High: 532.74|Volume: 6533.86438038|Timestamp: 1400949917|");
  EXPECT_EQ(lines(*handOffs[1].entry), "Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: |");

  for (const char* bad : {R"(["btcusd",42])", R"({"btcusd":"x"})", "null"}) {
    handOffs.clear();
    list(bad);
    EXPECT_EQ(exchangeState().pairs.size(), 3u) << bad;
    EXPECT_EQ(platform.fetch.pendingCount(), 3u) << bad;
    platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
  }
}

TEST_F(Bitfinex, ARateLimitReplyStopsRequestsUntilTheNextRefresh) {
  list(R"(["btcusd","ltcbtc","ethusd"])");
  platform.fetch.respond(ticker("ltcbtc"), R"({"last_price":"0.01"})");
  platform.fetch.fail(ticker("btcusd"));
  platform.fetch.respond(ticker("ethusd"), R"({"error":"ERR_RATE_LIMIT"})");
  settle();
  EXPECT_EQ(titles(), (std::vector<std::string>{"LTC/BTC: 0.01"}));
  EXPECT_EQ(dones, 1);
  EXPECT_FALSE(state.bitfinexActive);

  // A batch that begins rate-limited asks for nothing and has finished at once.
  list(R"(["btcusd"])");
  EXPECT_EQ(platform.fetch.pendingCount(), 0u);
  EXPECT_EQ(dones, 2);
  EXPECT_TRUE(exchangeState().submenu->empty());

  state.bitfinexActive = true;  // what the next refresh does
  list(R"(["btcusd"])");
  EXPECT_EQ(platform.fetch.pendingCount(), 1u);
}

class GDAX : public AdapterFixture {
 protected:
  GDAX() { make(makeGDAXAdapter); }
};

TEST_F(GDAX, AddsLowAndHighWhenTheStatisticsArrive) {
  start();
  platform.fetch.respond("http://gdax.test/products", R"([{"id":"BTC-USD","status":"online"},{"id":"ETH-BTC"},{"id":"LTC-EUR"}])");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"BTC-USD", "ETH-BTC", "LTC-EUR"}));
  platform.fetch.respond("http://gdax.test/products/LTC-EUR/ticker", R"({"message":"NotFound"})");
  platform.fetch.respond("http://gdax.test/products/BTC-USD/ticker", R"({"trade_id":4729088,"price":"333.99",
      "size":"0.193","bid":"333.98","ask":"333.99","volume":"5957.11914015","time":"2015-11-14T20:46:03.511254Z"})");
  EXPECT_EQ(dones, 0);
  platform.fetch.fail("http://gdax.test/products/ETH-BTC/ticker");  // no statistics asked for it
  EXPECT_EQ(dones, 1);  // the statistics play no part in finishing
  settle();
  ASSERT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(handOffs[0].title, "LTC/EUR");
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

// Listed keys end up in addresses and in the store: only plain ones are used.
class ListingKeys : public AdapterFixture {};

TEST_F(ListingKeys, OnlyPlainKeysOfTheRightShapeAreRequestedAndAListingOfNoneCountsAsFailed) {
  struct Case {
    std::unique_ptr<ExchangeAdapter> (*make)(AdapterContext&);
    std::string listing, open, member, close, ticker, wrongShape;
  };
  const Case cases[] = {
      {makeWexAdapter, "http://wex.test/api/3/info", R"({"pairs":{)", R"("K":{})", "}}",
       "http://wex.test/api/3/ticker/", R"({"pairs":[{},{}]})"},
      {makeKrakenAdapter, "http://kraken.test/0/public/AssetPairs", R"({"result":{)", R"("K":{})", "}}",
       "http://kraken.test/0/public/Ticker?pair=", R"({"result":["XXBTZUSD"]})"},
      {makeBitfinexAdapter, "http://bitfinex.test/v1/symbols", "[", R"("K")", "]", "http://bitfinex.test/v1/pubticker/",
       R"({"btcusd":"x"})"},
      {makeGDAXAdapter, "http://gdax.test/products", "[", R"({"id":"K"})", "]", "http://gdax.test/products/",
       R"([{"id":7},"BTC-USD",{"display_name":"no id"},{"id":["BTC-USD"]}])"},
  };
  const std::vector<std::string> hostile = {"../../../../x", "a?b=c", "a#b", "a/b", "a b", "a%2F", "", ".", "..",
                                            std::string(65, 'k'), "\u00e9"};
  for (const Case& c : cases) {
    make(c.make);
    const auto listing = [&](std::vector<std::string> keys) {
      std::string body = c.open;
      for (const std::string& key : keys) {
        std::string member = c.member;
        body += (body == c.open ? "" : ",") + member.replace(member.find('K'), 1, key);
      }
      start();
      platform.fetch.respond(c.listing, body + c.close);
    };
    std::vector<std::string> keys = hostile;
    keys.push_back("a.b-c_d:" + std::string(56, 'e'));
    listing(keys);
    EXPECT_EQ(exchangeState().pairs, std::vector<std::string>{keys.back()}) << c.listing;
    ASSERT_EQ(platform.fetch.pendingCount(), 1u) << c.listing;
    EXPECT_TRUE(platform.fetch.pendingUrls()[0].starts_with(c.ticker + keys.back())) << platform.fetch.pendingUrls()[0];
    platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
    // Neither a listing of unusable keys nor one of the wrong shape replaces the keys.
    listing(hostile);
    EXPECT_EQ(exchangeState().pairs, std::vector<std::string>{keys.back()}) << c.listing;
    platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
    for (const std::string& wrong : {c.wrongShape, std::string(R"({"error":["EGeneral:Too many requests"]})")}) {
      start();
      platform.fetch.respond(c.listing, wrong);
      EXPECT_EQ(exchangeState().pairs, std::vector<std::string>{keys.back()}) << wrong;
      platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
    }
  }
  EXPECT_EQ(percentEncoded("a/b?c#d%e f:\xC3\xA9"), "a%2Fb%3Fc%23d%25e%20f:%C3%A9");
}

class Poloniex : public AdapterFixture {
 protected:
  Poloniex() { make(makePoloniexAdapter); }
  void reply(const char* body) {  // none: the request fails
    start();
    const std::string url = "http://poloniex.test/public?command=returnTicker";
    body ? platform.fetch.respond(url, body) : platform.fetch.fail(url);
  }
};

TEST_F(Poloniex, OneReplyGivesEveryMarketThenTheExchangeIsDone) {
  reply(R"({"BTC_ETH":{"id":7,"last":"0.0712","lowestAsk":"0.0713","highestBid":"0.0711","isFrozen":"0"},
            "error":"not a market","USDT_BTC":{"highestBid":"9000"},"list":[1],"../x":{}})");
  EXPECT_EQ(exchangeState().pairs, (std::vector<std::string>{"BTC_ETH", "USDT_BTC"}));
  settle();
  // Hand-offs were queued before the exchange reported done, so they land before what done queues.
  EXPECT_EQ(events, (std::vector<std::string>{"done", "hand-off BTC/ETH", "hand-off USDT/BTC", "queued by done"}));
  EXPECT_EQ(lines(*handOffs[0].entry), "Bid: 0.0711|Ask: 0.0713|Last: 0.0712|");
  EXPECT_EQ(handOffs[1].entry->headline(), "USDT/BTC: ");

  // A reply without a market is a failed one: the last good entries stay, the exchange is done.
  exchangeState().submenu->addItemWithTitle("BTC/ETH: 0.0712");
  for (const char* other :
       {static_cast<const char*>(nullptr), R"({"error":"Invalid command."})", R"([{"last":"1"}])", "{}", "null"}) {
    reply(other);
    settle();
    EXPECT_EQ(exchangeState().pairs.size(), 2u) << (other ? other : "failed");
    EXPECT_EQ(exchangeState().submenu->numberOfItems(), 1u) << (other ? other : "failed");
  }
  EXPECT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(dones, 6);
}

class OKCoin : public AdapterFixture {
 protected:
  OKCoin() { make(makeOKCoinAdapter); }
};

TEST_F(OKCoin, AsksTheYuanSiteForYuanPairsOnly) {
  start();
  const std::vector<std::string> urls = platform.fetch.pendingUrls();
  ASSERT_EQ(urls.size(), 10u);
  EXPECT_EQ(urls[0], "http://okcoin.test/api/v1/ticker.do?symbol=btc_usd");
  EXPECT_EQ(urls[4], "http://okcoin.test/api/v1/ticker.do?symbol=bch_usd");
  EXPECT_EQ(urls[5], "http://okcoin-cny.test/api/v1/ticker.do?symbol=btc_cny");
  EXPECT_EQ(urls[9], "http://okcoin-cny.test/api/v1/ticker.do?symbol=bch_cny");

  platform.fetch.respond(urls[0], R"({"date":"1410431279.5","ticker":{"buy":"33.15","high":"34.15","last":"33.15",
      "low":"32.05","sell":"33.16","vol":"10532696.39199642"}})");
  platform.fetch.respond(urls[5], R"({"date":"1410431279","error_code":10010})");
  for (std::size_t i = 1; i < 10; ++i)
    if (i != 5) platform.fetch.fail(urls[i]);
  settle();
  EXPECT_EQ(dones, 1);
  ASSERT_EQ(handOffs.size(), 2u);
  EXPECT_EQ(
      lines(*handOffs[0].entry),
      "Bid: 33.15|Ask: 33.16|Last: 33.15|Low: 32.05|High: 34.15|Volume: 10532696.39199642|Timestamp: 1410431279|");
  EXPECT_EQ(handOffs[1].title, "BTC/CNY");
  EXPECT_EQ(lines(*handOffs[1].entry), "Bid: |Ask: |Last: |Low: |High: |Volume: |Timestamp: 1410431279|");
}

// The fixed lists finish once, with an empty submenu, when every request fails.
class FixedLists : public AdapterFixture {};

TEST_F(FixedLists, FinishOnceWhenEveryRequestFails) {
  for (auto factory : {makeOKCoinAdapter, makeCoinFloorAdapter, makeBitstampAdapter}) {
    dones = 0;
    make(factory);
    exchangeState().submenu->addItemWithTitle("from the last refresh");
    start();
    platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
    settle();
    EXPECT_EQ(dones, 1) << displayName(adapter->exchange());
    EXPECT_TRUE(exchangeState().submenu->empty()) << displayName(adapter->exchange());
  }
  EXPECT_TRUE(handOffs.empty());
}

class CoinFloor : public AdapterFixture {
 protected:
  CoinFloor() { make(makeCoinFloorAdapter); }
};

TEST_F(CoinFloor, KeepsTheSlashOfItsKeysInThePath) {
  start();
  EXPECT_EQ(platform.fetch.pendingUrls(),
            (std::vector<std::string>{
                "http://coinfloor.test/bist/XBT/EUR/ticker/", "http://coinfloor.test/bist/XBT/GBP/ticker/",
                "http://coinfloor.test/bist/XBT/USD/ticker/", "http://coinfloor.test/bist/XBT/PLN/ticker/"}));
  platform.fetch.respond(
      "http://coinfloor.test/bist/XBT/GBP/ticker/",
      R"({"last":null,"high":"834.00","low":"761.00","vwap":"800.37","volume":"590.1081","bid":"827.00","ask":"832.00"})");
  platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
  settle();
  EXPECT_EQ(dones, 1);
  ASSERT_EQ(handOffs.size(), 1u);
  EXPECT_EQ(handOffs[0].entry->headline(), "XBT/GBP: ");
  EXPECT_EQ(lines(*handOffs[0].entry), "Bid: 827.00|Ask: 832.00|Last: |Low: 761.00|High: 834.00|Volume: 590.1081|");
}

}  // namespace
}  // namespace pricora
