#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/common/AppState.h"
#include "core/exchanges/Adapters.h"
#include "support/FakePlatform.h"

namespace pricora::test {

// One adapter on the fake platform: its requests go to the scripted fetch, its hand-offs and
// its ExchangeDone calls are recorded in order.
class AdapterFixture : public ::testing::Test {
 protected:
  struct HandOff {
    std::string title;
    PairEntryRef entry;
  };

  // The fake platform with every exchange at a readable address: http://bitstamp.test and the like.
  struct Platform : FakePlatform {
    Platform() {
      for (const char* name : {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "Poloniex", "CoinFloor", "GDAX"}) {
        std::string lower(name);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        settings.values["api/" + std::string(name)] = "http://" + lower + ".test";
      }
      settings.values["api/OKCoinCNY"] = "http://okcoin-cny.test";
    }
  };

  void make(std::unique_ptr<ExchangeAdapter> (*factory)(AdapterContext&)) { adapter = factory(context); }
  void start() {
    adapter->start([this](bool) {
      ++dones;
      events.push_back("done");
      // Like the refresh's completion, which must come after the hand-offs already queued.
      platform.queue.post([this] { events.push_back("queued by done"); });
    });
  }
  // Runs the hand-offs the adapter queued.
  void settle() { platform.queue.runUntilIdle(); }
  ExchangeState& exchangeState() { return state.exchanges[adapter->exchange()]; }

  Platform platform;
  AppState state;
  Endpoints endpoints{platform.settings};
  std::vector<HandOff> handOffs;
  std::vector<std::string> events;  // "done", "hand-off <title>", "queued by done", in order
  int dones = 0;
  AdapterContext context{platform.fetch,
                         platform.queue,
                         state.exchanges,
                         endpoints,
                         [this](Exchange, const std::string& title, const PairEntryRef& entry) {
                           handOffs.push_back({title, entry});
                           events.push_back("hand-off " + title);
                         },
                         state.bitfinexActive};
  std::unique_ptr<ExchangeAdapter> adapter;
};

}  // namespace pricora::test
