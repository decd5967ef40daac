#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>

#include "EmbeddedData.h"
#include "Faults.h"
#include "HttpGet.h"
#include "JsonShape.h"
#include "exchange-sim/Simulator.h"

namespace exsim::test {
namespace {

using namespace std::chrono_literals;
using Failure = HttpResult::Failure;

struct Started {
  Started() { simulator.start(); }
  std::string at(std::string_view exchange) const { return simulator.baseAddress(exchange); }
  Simulator simulator;
};

TEST(Faults, DelayHoldsUpOnlyItsOwnRequest) {
  Started sim;
  sim.simulator.addFault({"Wex", "/api/3/ticker/*", "delay", 1500});
  const auto started = std::chrono::steady_clock::now();
  auto delayed = std::async(std::launch::async, [&] { return httpGet(sim.at("Wex"), "/api/3/ticker/btc_usd"); });
  EXPECT_EQ(httpGet(sim.at("Wex"), "/api/3/info").status, 200);
  EXPECT_EQ(delayed.wait_for(0s), std::future_status::timeout);
  EXPECT_EQ(delayed.get().status, 200);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 1500ms);
}

TEST(Faults, ResetAbortsAndHangHoldsWithoutBlockingOthers) {
  Started sim;
  sim.simulator.addFault({"Kraken", "/0/public/Ticker*", "reset"});
  sim.simulator.addFault({"GDAX", "/products/BTC-USD/ticker", "hang"});
  EXPECT_EQ(httpGet(sim.at("Kraken"), "/0/public/Ticker?pair=XXBTZUSD").failure, Failure::Reset);

  auto hung = std::async(std::launch::async, [&] { return httpGet(sim.at("GDAX"), "/products/BTC-USD/ticker", 60s); });
  // Once the hung request has arrived, the same exchange still answers everyone else.
  for (const auto deadline = std::chrono::steady_clock::now() + 10s;
       sim.simulator.requests("GDAX").empty() && std::chrono::steady_clock::now() < deadline;)
    std::this_thread::yield();
  EXPECT_EQ(httpGet(sim.at("GDAX"), "/products/ETH-USD/ticker").status, 200);
  EXPECT_EQ(hung.wait_for(0s), std::future_status::timeout);
  // Stopping lets go of it.
  sim.simulator.stop();
  ASSERT_EQ(hung.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(hung.get().failure, Failure::Closed);
}

TEST(Faults, CannedFailuresLookLikeTheRealOnes) {
  struct Case {
    std::string exchange, target, kind;
    int status;
    std::string body;  // empty: not JSON
  };
  const Case cases[] = {
      {"Bitstamp", "/api/v2/ticker/btcusd/", "http500", 500, ""},
      {"OKCoin", "/api/v1/ticker.do?symbol=btc_usd", "nonjson", 200, ""},
      {"Kraken", "/0/public/Ticker?pair=XXBTZUSD", "ratelimit", 200,
       std::string(embeddedFile("kraken/error_too_many_requests_http200.json"))},
      {"Bitfinex", "/v1/pubticker/btcusd", "ratelimit", 429, std::string(embeddedFile("bitfinex/error_rate_limit_http429.json"))},
      {"GDAX", "/products", "ratelimit", 429, std::string(embeddedFile("coinbase/error_429_public_rate_limit.json"))},
      {"Wex", "/api/3/ticker/btc_usd", "error", 200, R"({"success":0,"error":"Invalid pair name: btc_usd"})"},
  };
  Started sim;
  for (const Case& c : cases) {
    sim.simulator.addFault({c.exchange, "*", c.kind});
    const HttpResult reply = httpGet(sim.at(c.exchange), c.target);
    EXPECT_EQ(reply.status, c.status) << c.kind;
    if (c.body.empty())
      EXPECT_TRUE(parsed(reply.body).HasParseError()) << c.kind << ": " << reply.body;
    else
      EXPECT_EQ(reply.body, c.body) << c.kind;
  }
}

TEST(Faults, CountsRunOutAndTheFirstMatchWins) {
  Started sim;
  sim.simulator.addFault({"Poloniex", "/public?command=*", "http500", 0, 2});
  sim.simulator.addFault({"Poloniex", "*", "ratelimit"});
  HttpConnection poloniex(sim.at("Poloniex"));
  EXPECT_EQ(poloniex.get("/public?command=returnTicker").status, 500);
  EXPECT_EQ(poloniex.get("/public?command=returnTicker").status, 500);
  EXPECT_EQ(poloniex.get("/public?command=returnTicker").status, 429);
  sim.simulator.clearFaults("Kraken");
  EXPECT_EQ(poloniex.get("/public?command=returnTicker").status, 429);
  sim.simulator.clearFaults();
  EXPECT_EQ(poloniex.get("/public?command=returnTicker").status, 200);
}

TEST(Faults, BigRepliesReachTheSizeAndKeepTheirContent) {
  Started sim;
  sim.simulator.addFault({"Poloniex", "*", "big", 300000});
  sim.simulator.addFault({"Bitfinex", "/v1/symbols", "big", 100000});
  const HttpResult markets = httpGet(sim.at("Poloniex"), "/public?command=returnTicker");
  EXPECT_GE(markets.body.size(), 300000u);
  EXPECT_TRUE(parsed(markets.body)["BTC_ETH"]["last"].IsString());
  const HttpResult symbols = httpGet(sim.at("Bitfinex"), "/v1/symbols");
  EXPECT_GE(symbols.body.size(), 100000u);
  EXPECT_TRUE(parsed(symbols.body) == parsed(embeddedFile("bitfinex/symbols_circa2022_compact.json")));
}

TEST(Faults, OptionTextParsesAndNonsenseIsRejected) {
  const Fault bitfinex = parseFault("Bitfinex:/v1/pubticker/btcf0:ustf0:delay=250x3");
  EXPECT_EQ(bitfinex.exchange, "Bitfinex");
  EXPECT_EQ(bitfinex.targetGlob, "/v1/pubticker/btcf0:ustf0");
  EXPECT_EQ(bitfinex.kind, "delay");
  EXPECT_EQ(bitfinex.parameter, 250);
  EXPECT_EQ(bitfinex.count, 3);
  const Fault kraken = parseFault("Kraken:*:http500x2");
  EXPECT_EQ(kraken.kind, "http500");
  EXPECT_EQ(kraken.count, 2);
  for (const char* bad : {"Nowhere:*:reset", "Kraken:*:explode", "Kraken:*:delay", "Kraken:*:reset=5", "Kraken:*:resetx0",
                          "Kraken:reset", "Kraken:*:big=lots"})
    EXPECT_THROW(parseFault(bad), std::invalid_argument) << bad;
}

TEST(Simulator, ScriptedRepliesAndTheRequestLog) {
  Started sim;
  sim.simulator.setReply("Bitstamp", "/api/v2/ticker/btcusd/", 200, R"({"last":"1.00"})");
  HttpConnection bitstamp(sim.at("Bitstamp"));
  EXPECT_EQ(bitstamp.get("/api/v2/ticker/btcusd/").body, R"({"last":"1.00"})");
  EXPECT_NE(bitstamp.get("/api/v2/ticker/btceur/").body, R"({"last":"1.00"})");
  EXPECT_EQ(sim.simulator.requests("Bitstamp"),
            (std::vector<std::string>{"/api/v2/ticker/btcusd/", "/api/v2/ticker/btceur/"}));
  EXPECT_TRUE(sim.simulator.requests("Kraken").empty());
  sim.simulator.clearRequests();
  EXPECT_TRUE(sim.simulator.requests("Bitstamp").empty());
  EXPECT_THROW(sim.simulator.requests("Mt.Gox"), std::invalid_argument);
}

}  // namespace
}  // namespace exsim::test
