#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/AppState.h"
#include "core/exchanges/Adapters.h"
#include "support/FakePlatform.h"

namespace pricora::test {

// One adapter on the fake platform: its requests go to the scripted fetch, its hand-offs and
// its ExchangeDone calls are recorded in order.
class AdapterFixture : public ::testing::Test {
 protected:
  struct HandOff {
    Exchange exchange;
    std::string title;
    PairEntryRef entry;
  };

  // The fake platform with every exchange at a readable address the scripted fetch answers.
  struct Platform : FakePlatform {
    Platform() {
      for (Exchange exchange : kAllExchanges) settings.values["api/" + std::string(displayName(exchange))] = base(exchange);
      settings.values["api/OKCoinCNY"] = "http://okcoin-cny.test";
    }
  };

  // http://bitstamp.test and the like.
  static std::string base(Exchange exchange) {
    std::string name(displayName(exchange));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "http://" + name + ".test";
  }

  ExchangeAdapter& make(std::unique_ptr<ExchangeAdapter> (*factory)(AdapterContext&)) {
    adapter = factory(context);
    return *adapter;
  }
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
                         [this](Exchange exchange, const std::string& title, const PairEntryRef& entry) {
                           handOffs.push_back({exchange, title, entry});
                           events.push_back("hand-off " + title);
                         },
                         state.bitfinexActive};
  std::unique_ptr<ExchangeAdapter> adapter;
};

}  // namespace pricora::test
