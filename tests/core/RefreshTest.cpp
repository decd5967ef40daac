#include <gtest/gtest.h>

#include "core/app/RefreshCycle.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using test::FakePlatform;

// An exchange whose finishing the test decides: it keeps every refresh's ExchangeDone.
class ScriptedAdapter final : public ExchangeAdapter {
 public:
  using ExchangeAdapter::ExchangeAdapter;
  void start(ExchangeDone done) override { dones.push_back(std::move(done)); }
  std::vector<ExchangeDone> dones;
};

class RefreshTest : public ::testing::Test {
 protected:
  RefreshTest() {
    std::vector<std::unique_ptr<ExchangeAdapter>> list;
    for (Exchange exchange : kAllExchanges) {
      auto adapter = std::make_unique<ScriptedAdapter>(exchange, context);
      adapters.push_back(adapter.get());
      list.push_back(std::move(adapter));
    }
    cycle =
        std::make_unique<RefreshCycle>(platform.queue, platform.queue, state, std::move(list), [this] { ++reloads; });
    state.statusMenu->addItemWithTitle("Updating...");
  }

  // Every exchange of refresh number `refresh` (0 = first) reports, except those left out.
  void finish(std::size_t refresh, std::vector<Exchange> except = {}) {
    for (ScriptedAdapter* adapter : adapters)
      if (std::find(except.begin(), except.end(), adapter->exchange()) == except.end())
        adapter->dones.at(refresh)(true);
  }
  const MenuItem& last() const { return *state.statusMenu->lastItem(); }
  Menu& bitfinex() { return *state.exchanges[Exchange::Bitfinex].submenu; }

  FakePlatform platform;
  AppState state;
  Endpoints endpoints{platform.settings};
  AdapterContext context{platform.fetch, platform.queue, state.exchanges, endpoints, {}, state.bitfinexActive};
  std::vector<ScriptedAdapter*> adapters;
  std::unique_ptr<RefreshCycle> cycle;
  int reloads = 0;
};

TEST_F(RefreshTest, TheLastEntryTurnsWhenTheEighthExchangeOfARefreshHasReported) {
  cycle->refreshPairs();
  finish(0, {Exchange::Kraken});
  platform.queue.advance(Seconds(60));  // the timer starts the second refresh
  EXPECT_EQ(last().title(), "Updating...");
  EXPECT_FALSE(state.updateDate);
  finish(1, {Exchange::Poloniex});
  platform.queue.runUntilIdle();
  EXPECT_EQ(last().title(), "Updating...");

  adapters[2]->dones[0](true);               // the first refresh's slow Kraken completes the first refresh
  EXPECT_EQ(last().title(), "Updating...");  // completion goes through the main queue
  EXPECT_EQ(state.updateDate, platform.queue.now());
  platform.queue.runUntilIdle();
  EXPECT_EQ(last().title(), "Updated: Just now");
  EXPECT_EQ(last().action(), MenuAction::refreshPairs);
  EXPECT_EQ(reloads, 1);

  platform.queue.advance(Seconds(30));
  adapters[5]->dones[1](true);  // and the second completes too, later
  EXPECT_EQ(state.updateDate, platform.queue.now());
  platform.queue.runUntilIdle();
  EXPECT_EQ(reloads, 1);  // the entry was already completed
  platform.queue.advance(Seconds(5));
  adapters[0]->dones[1](true);  // an exchange reporting twice takes the count past eight: nothing
  EXPECT_EQ(state.updateDate, platform.queue.now() - std::chrono::seconds(5));

  state.bitfinexActive = false;
  cycle->refreshPairs();
  EXPECT_TRUE(state.bitfinexActive);
  EXPECT_EQ(last().title(), "Updating...");
  EXPECT_EQ(last().action(), MenuAction::none);
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);
}

TEST_F(RefreshTest, TheBitfinexPlaceholderShowsExactlyWhenNoPairArrived) {
  cycle->refreshPairs();
  adapters[1]->dones[0](true);
  platform.queue.runUntilIdle();
  ASSERT_EQ(bitfinex().numberOfItems(), 1u);
  EXPECT_EQ(bitfinex().itemAtIndex(0)->title(), "Connection error. I will try again shortly.");
  EXPECT_FALSE(bitfinex().itemAtIndex(0)->isEnabled());

  // A pair whose hand-off was queued before Bitfinex reported counts as arrived.
  bitfinex().removeAllItems();
  cycle->refreshPairs();
  platform.queue.post([this] { bitfinex().addItemWithTitle("BTC/USD: 9000"); });
  adapters[1]->dones[1](true);
  platform.queue.runUntilIdle();
  ASSERT_EQ(bitfinex().numberOfItems(), 1u);
  EXPECT_EQ(bitfinex().itemAtIndex(0)->title(), "BTC/USD: 9000");
}

}  // namespace
}  // namespace pricora
