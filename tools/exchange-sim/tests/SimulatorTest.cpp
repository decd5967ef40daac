#include <gtest/gtest.h>

#include "EmbeddedData.h"
#include "HttpGet.h"
#include "JsonShape.h"
#include "exchange-sim/Simulator.h"

namespace exsim::test {
namespace {

rapidjson::Document recorded(std::string_view name) { return parsed(embeddedFile(name)); }

struct Started {
  Started() { simulator.start(); }
  HttpResult get(std::string_view exchange, const std::string& target) {
    return httpGet(simulator.baseAddress(exchange), target);
  }
  rapidjson::Document json(std::string_view exchange, const std::string& target) {
    const HttpResult reply = get(exchange, target);
    EXPECT_EQ(reply.status, 200) << exchange << target << ": " << reply.body;
    return parsed(reply.body);
  }
  Simulator simulator;
};

// Kraken's replies hold the pair under "result", keyed by a name that differs between samples.
const rapidjson::Value& payload(const rapidjson::Value& document, bool underResult) {
  return underResult ? document["result"].MemberBegin()->value : document;
}

// The program is tested against these replies, so they must look like the recorded ones.
TEST(Replies, HaveTheRecordedShapesListingsAndErrors) {
  struct Shape {
    std::string exchange, target, sample;
    bool underResult = false;
  };
  const Shape tickers[] = {
      {"Wex", "/api/3/ticker/btc_usd", "wex/ticker_btc_usd_docs_example.json"},
      {"Bitfinex", "/v1/pubticker/btcf0:ustf0", "bitfinex/pubticker_btcust_ccxt2024.json"},
      {"Kraken", "/0/public/Ticker?pair=DASHEUR", "kraken/Ticker_XBTUSDT_ccxt2024.json", true},
      {"Bitstamp", "/api/v2/ticker/xrpbtc/", "bitstamp/ticker_btcusdt_ccxt2024.json"},
      {"OKCoin", "/api/v1/ticker.do?symbol=ltc_usd", "okcoin/ticker_docs_example_v1.json"},
      {"OKCoinCNY", "/api/v1/ticker.do?symbol=btc_cny", "okcoin/ticker_docs_example_v1.json"},
      {"CoinFloor", "/bist/XBT/GBP/ticker/", "coinfloor/ticker_XBT_GBP_xchange_null_last.json"},
      {"GDAX", "/products/ETH-BTC/ticker", "coinbase/ticker_docs_example_2015.json"},
  };
  Started sim;
  for (const Shape& c : tickers)
    EXPECT_EQ(shapeOf(payload(sim.json(c.exchange, c.target), c.underResult)),
              shapeOf(payload(recorded(c.sample), c.underResult)))
        << c.exchange << " " << c.target;
  const rapidjson::Document markets = sim.json("Poloniex", "/public?command=returnTicker");
  const rapidjson::Document recordedMarkets = recorded("poloniex/returnTicker_2018-02_99markets.json");
  for (const auto& market : recordedMarkets.GetObject())
    EXPECT_EQ(shapeOf(markets[market.name]), shapeOf(market.value)) << market.name.GetString();

  for (const auto& [exchange, target, sample] :
       {std::tuple{"Wex", "/api/3/info", "wex/info_2018-04-22_52pairs.json"},
        {"Bitfinex", "/v1/symbols", "bitfinex/symbols_circa2022_compact.json"},
        {"Kraken", "/0/public/AssetPairs", "kraken/AssetPairs_2020_xchange.json"},
        {"GDAX", "/products", "coinbase/products_gdax_2017_xchange.json"}})
    EXPECT_TRUE(sim.json(exchange, target) == recorded(sample)) << exchange;

  const std::tuple<std::string, std::string, int, std::string> errors[] = {
      {"Wex", "/api/3/ticker/btc_eth", 200, std::string(embeddedFile("wex/error_invalid_pair_name.json"))},
      {"Bitfinex", "/v1/pubticker/nope", 400, std::string(embeddedFile("bitfinex/error_unknown_symbol_http400.json"))},
      {"Kraken", "/0/public/Ticker?pair=XXBTZUSD.d", 200, std::string(embeddedFile("kraken/error_unknown_asset_pair.json"))},
      {"OKCoinCNY", "/api/v1/ticker.do?symbol=btc_usd", 200, R"({"error_code":1007,"result":false})"},
      {"GDAX", "/products/NOPE-USD/ticker", 404, R"({"message":"NotFound"})"},
  };
  for (const auto& [exchange, target, status, body] : errors) {
    const HttpResult reply = sim.get(exchange, target);
    EXPECT_EQ(reply.status, status) << target;
    EXPECT_EQ(reply.body, body) << target;
  }
}

TEST(Faults, LookLikeTheRealOnes) {
  const std::tuple<std::string, std::string, std::string, int, std::string> canned[] = {
      {"Bitstamp", "/api/v2/ticker/btcusd/", "http500", 500, ""},
      {"OKCoin", "/api/v1/ticker.do?symbol=btc_usd", "nonjson", 200, ""},
      {"Kraken", "/0/public/Ticker?pair=XXBTZUSD", "ratelimit", 200,
       std::string(embeddedFile("kraken/error_too_many_requests_http200.json"))},
      {"Bitfinex", "/v1/pubticker/btcusd", "ratelimit", 429, std::string(embeddedFile("bitfinex/error_rate_limit_http429.json"))},
      {"GDAX", "/products", "ratelimit", 429, std::string(embeddedFile("coinbase/error_429_public_rate_limit.json"))},
      {"Wex", "/api/3/ticker/btc_usd", "error", 200, R"({"success":0,"error":"Invalid pair name: btc_usd"})"},
      {"CoinFloor", "/bist/XBT/EUR/ticker/", "reset", 0, ""},
  };
  Started sim;
  for (const auto& [exchange, target, kind, status, body] : canned) {
    sim.simulator.addFault({exchange, "*", kind});
    const HttpResult reply = sim.get(exchange, target);
    EXPECT_EQ(reply.status, status) << kind;
    if (body.empty())
      EXPECT_TRUE(parsed(reply.body).HasParseError()) << kind << ": " << reply.body;
    else
      EXPECT_EQ(reply.body, body) << kind;
  }

}

}  // namespace
}  // namespace exsim::test
