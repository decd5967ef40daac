#include <gtest/gtest.h>

#include <regex>
#include <set>

#include <rapidjson/pointer.h>

#include "EmbeddedData.h"
#include "HttpGet.h"
#include "JsonShape.h"
#include "exchange-sim/Simulator.h"

namespace exsim::test {
namespace {

rapidjson::Document recorded(std::string_view name) { return parsed(embeddedFile(name)); }

class Running {
 public:
  explicit Running(Options options = {}) : simulator_(std::move(options)) { simulator_.start(); }
  HttpResult get(std::string_view exchange, const std::string& target) {
    return httpGet(simulator_.baseAddress(exchange), target);
  }
  rapidjson::Document json(std::string_view exchange, const std::string& target) {
    const HttpResult reply = get(exchange, target);
    EXPECT_EQ(reply.status, 200) << exchange << target << ": " << reply.body;
    EXPECT_EQ(reply.contentType, "application/json");
    return parsed(reply.body);
  }

 private:
  Simulator simulator_;
};

// Kraken's replies hold the pair under "result", keyed by a name that differs between samples.
const rapidjson::Value& payload(const rapidjson::Value& document, bool underResult) {
  return underResult ? document["result"].MemberBegin()->value : document;
}

TEST(Replies, TickersHaveTheRecordedShapes) {
  struct Case {
    std::string exchange, target, sample;
    bool underResult = false;
  };
  const Case cases[] = {
      {"Wex", "/api/3/ticker/btc_usd", "wex/ticker_btc_usd_docs_example.json"},
      {"Bitfinex", "/v1/pubticker/btcusd", "bitfinex/pubticker_btcust_ccxt2024.json"},
      {"Bitfinex", "/v1/pubticker/btcf0:ustf0", "bitfinex/pubticker_btcust_ccxt2024.json"},
      {"Kraken", "/0/public/Ticker?pair=XXBTZUSD", "kraken/Ticker_XBTUSDT_ccxt2024.json", true},
      {"Kraken", "/0/public/Ticker?pair=DASHEUR", "kraken/Ticker_XBTUSDT_ccxt2024.json", true},
      {"Bitstamp", "/api/v2/ticker/xrpbtc/", "bitstamp/ticker_btcusdt_ccxt2024.json"},
      {"OKCoin", "/api/v1/ticker.do?symbol=ltc_usd", "okcoin/ticker_docs_example_v1.json"},
      {"OKCoinCNY", "/api/v1/ticker.do?symbol=btc_cny", "okcoin/ticker_docs_example_v1.json"},
      {"CoinFloor", "/bist/XBT/GBP/ticker/", "coinfloor/ticker_XBT_GBP_xchange_null_last.json"},
      {"GDAX", "/products/ETH-BTC/ticker", "coinbase/ticker_docs_example_2015.json"},
  };
  Running sim;
  for (const Case& c : cases)
    EXPECT_EQ(shapeOf(payload(sim.json(c.exchange, c.target), c.underResult)),
              shapeOf(payload(recorded(c.sample), c.underResult)))
        << c.exchange << " " << c.target;

  // Only XBT/GBP was recorded without a last trade.
  EXPECT_TRUE(sim.json("CoinFloor", "/bist/XBT/EUR/ticker/")["last"].IsString());

  const rapidjson::Document markets = sim.json("Poloniex", "/public?command=returnTicker");
  const rapidjson::Document recordedMarkets = recorded("poloniex/returnTicker_2018-02_99markets.json");
  EXPECT_EQ(markets.MemberCount(), recordedMarkets.MemberCount());
  for (const auto& market : recordedMarkets.GetObject())
    EXPECT_EQ(shapeOf(markets[market.name]), shapeOf(market.value)) << market.name.GetString();
}

TEST(Replies, GdaxStatsSometimesLackLastLikeTheRecordings) {
  std::set<std::string> allowed;
  for (const char* sample : {"coinbase/stats_docs_example.json", "coinbase/stats_xchange.json",
                             "coinbase/stats_2016_no_last_field.json"})
    allowed.insert(shapeOf(recorded(sample)));
  Running sim;
  std::set<std::string> seen;
  const rapidjson::Document products = sim.json("GDAX", "/products");
  for (const auto& product : products.GetArray())
    seen.insert(shapeOf(sim.json("GDAX", "/products/" + std::string(product["id"].GetString()) + "/stats")));
  EXPECT_EQ(seen, allowed);
}

TEST(Replies, ListingsAreTheRecordedOnes) {
  const std::pair<std::string, std::string> listings[] = {
      {"/api/3/info", "wex/info_2018-04-22_52pairs.json"},
      {"/v1/symbols", "bitfinex/symbols_circa2022_compact.json"},
      {"/0/public/AssetPairs", "kraken/AssetPairs_2020_xchange.json"},
      {"/products", "coinbase/products_gdax_2017_xchange.json"},
  };
  const char* exchanges[] = {"Wex", "Bitfinex", "Kraken", "GDAX"};
  Running sim;
  for (std::size_t i = 0; i < std::size(listings); ++i)
    EXPECT_TRUE(sim.json(exchanges[i], listings[i].first) == recorded(listings[i].second)) << exchanges[i];
}

TEST(Replies, UnknownPairsAndPathsGetTheExchangesErrors) {
  struct Case {
    std::string exchange, target;
    int status;
    std::string body;
  };
  const Case cases[] = {
      {"Wex", "/api/3/ticker/btc_eth", 200, std::string(embeddedFile("wex/error_invalid_pair_name.json"))},
      {"Bitfinex", "/v1/pubticker/nope", 400, std::string(embeddedFile("bitfinex/error_unknown_symbol_http400.json"))},
      {"Kraken", "/0/public/Ticker?pair=NOPE", 200, std::string(embeddedFile("kraken/error_unknown_asset_pair.json"))},
      {"Kraken", "/0/public/Ticker?pair=XXBTZUSD.d", 200, std::string(embeddedFile("kraken/error_unknown_asset_pair.json"))},
      {"OKCoin", "/api/v1/ticker.do?symbol=btc_cny", 200, R"({"error_code":1007,"result":false})"},
      {"OKCoinCNY", "/api/v1/ticker.do?symbol=btc_usd", 200, R"({"error_code":1007,"result":false})"},
      {"GDAX", "/products/NOPE-USD/ticker", 404, R"({"message":"NotFound"})"},
  };
  Running sim;
  for (const Case& c : cases) {
    const HttpResult reply = sim.get(c.exchange, c.target);
    EXPECT_EQ(reply.status, c.status) << c.target;
    EXPECT_EQ(reply.body, c.body) << c.target;
  }
  // Bitstamp's and CoinFloor's addresses need their trailing slash.
  for (const auto& [exchange, target] : {std::pair{"Bitstamp", "/api/v2/ticker/btcusd"}, {"Bitstamp", "/api/v2/ticker/nope/"},
                                         {"CoinFloor", "/bist/XBT/GBP/ticker"}, {"Poloniex", "/nothing"}}) {
    const HttpResult reply = sim.get(exchange, target);
    EXPECT_EQ(reply.status, 404) << target;
    EXPECT_TRUE(parsed(reply.body).IsObject()) << target;
  }
}

TEST(Prices, MoveAtEachRefreshAndRepeatForTheSameSeed) {
  struct Case {
    std::string exchange, target, last;  // a JSON pointer to the last price
  };
  const Case cases[] = {
      {"Wex", "/api/3/ticker/eur_usd", "/eur_usd/last"},
      {"Bitfinex", "/v1/pubticker/ethbtc", "/last_price"},
      {"Kraken", "/0/public/Ticker?pair=XXDGXXBT", "/result/XXDGXXBT/c/0"},
      {"Bitstamp", "/api/v2/ticker/eurusd/", "/last"},
      {"OKCoin", "/api/v1/ticker.do?symbol=etc_usd", "/ticker/last"},
      {"Poloniex", "/public?command=returnTicker", "/BTC_BCN/last"},
      {"CoinFloor", "/bist/XBT/PLN/ticker/", "/last"},
      {"GDAX", "/products/LTC-EUR/ticker", "/price"},
  };
  Running first({.seed = 7}), again({.seed = 7}), other({.seed = 8});
  for (const Case& c : cases) {
    EXPECT_EQ(first.get(c.exchange, c.target).body, again.get(c.exchange, c.target).body) << c.exchange;
    EXPECT_NE(first.get(c.exchange, c.target).body, other.get(c.exchange, c.target).body) << c.exchange;
    auto last = [&] {
      const rapidjson::Document reply = first.json(c.exchange, c.target);
      const rapidjson::Value* price = rapidjson::Pointer(c.last.c_str()).Get(reply);
      return price ? shapeOf(*price) + (price->IsString() ? price->GetString() : std::to_string(price->GetDouble())) : "";
    };
    std::string previous = last();
    for (int refresh = 0; refresh < 6; ++refresh) {
      const std::string next = last();
      EXPECT_NE(next, previous) << c.exchange << " refresh " << refresh;
      previous = next;
    }
  }
}

double number(const rapidjson::Value& value) { return value.IsString() ? std::stod(value.GetString()) : value.GetDouble(); }

TEST(Prices, StayOrderedAndNearTheRecordingsInEachExchangesFormat) {
  Running sim;
  for (int tick = 0; tick < 40; ++tick) {
    const rapidjson::Document markets = sim.json("Poloniex", "/public?command=returnTicker");
    for (const char* name : {"BTC_BCN", "BTC_ETH", "USDT_BTC"}) {
      const auto& m = markets[name];
      EXPECT_LE(number(m["low24hr"]), number(m["highestBid"])) << name;
      EXPECT_LE(number(m["highestBid"]), number(m["last"])) << name;
      EXPECT_LE(number(m["last"]), number(m["lowestAsk"])) << name;
      EXPECT_LE(number(m["lowestAsk"]), number(m["high24hr"])) << name;
      EXPECT_TRUE(std::regex_match(m["last"].GetString(), std::regex(R"(\d+\.\d{8})"))) << m["last"].GetString();
    }
    EXPECT_NEAR(number(markets["BTC_ETH"]["last"]), 0.08184499, 0.08184499 * 0.03);
  }
  EXPECT_NEAR(number(sim.json("Wex", "/api/3/ticker/btc_usd")["btc_usd"]["last"]), 8956.999, 8956.999 * 0.03);
  const std::string kraken = sim.json("Kraken", "/0/public/Ticker?pair=XXBTZUSD")["result"]["XXBTZUSD"]["c"][0].GetString();
  EXPECT_TRUE(std::regex_match(kraken, std::regex(R"(1\d{4}\.\d{5})"))) << kraken;
  const std::string bitstamp = sim.json("Bitstamp", "/api/v2/ticker/btcusd/")["last"].GetString();
  EXPECT_TRUE(std::regex_match(bitstamp, std::regex(R"(1\d{4}\.\d{2})"))) << bitstamp;
  EXPECT_TRUE(sim.json("Wex", "/api/3/ticker/ltc_btc")["ltc_btc"]["last"].IsNumber());
}

TEST(Scale, LargeExtendsEachListingInItsOwnKeyStyle) {
  struct Case {
    std::string exchange, listing;
    std::size_t least, most;
    std::string keyStyle, tickerPrefix, tickerSuffix;
  };
  const Case cases[] = {
      {"Kraken", "/0/public/AssetPairs", 590, 610, R"([A-Z]+(\.d)?)", "/0/public/Ticker?pair=", ""},
      {"Poloniex", "/public?command=returnTicker", 990, 1010, R"((BTC|ETH|USDT|XMR)_[A-Z0-9]+)", "", ""},
      {"GDAX", "/products", 240, 260, R"([A-Z]+-[A-Z]+)", "/products/", "/ticker"},
      {"Wex", "/api/3/info", 95, 105, R"([a-z]+_[a-z]+)", "/api/3/ticker/", ""},
  };
  Running sim({.scale = "large"});
  for (const Case& c : cases) {
    const rapidjson::Document listing = sim.json(c.exchange, c.listing);
    std::vector<std::string> keys;
    if (listing.IsArray())
      for (const auto& product : listing.GetArray()) keys.emplace_back(product["id"].GetString());
    else
      for (const auto& member : (c.exchange == "Kraken" ? listing["result"] : c.exchange == "Wex" ? listing["pairs"] : listing).GetObject())
        keys.emplace_back(member.name.GetString());
    EXPECT_GE(keys.size(), c.least) << c.exchange;
    EXPECT_LE(keys.size(), c.most) << c.exchange;
    EXPECT_EQ(std::set(keys.begin(), keys.end()).size(), keys.size()) << c.exchange;
    for (const std::string& key : keys) EXPECT_TRUE(std::regex_match(key, std::regex(c.keyStyle))) << key;
    if (!c.tickerPrefix.empty()) {
      EXPECT_EQ(sim.get(c.exchange, c.tickerPrefix + keys.back() + c.tickerSuffix).status, 200) << keys.back();
    }
  }
}

}  // namespace
}  // namespace exsim::test
