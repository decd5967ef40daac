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

  // Bitfinex's unknown symbol is an HTTP 400 with a JSON body, as recorded.
  const HttpResult unknown = sim.get("Bitfinex", "/v1/pubticker/nope");
  EXPECT_EQ(unknown.status, 400);
  EXPECT_EQ(unknown.body, embeddedFile("bitfinex/error_unknown_symbol_http400.json"));
}

}  // namespace
}  // namespace exsim::test
