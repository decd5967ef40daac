#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using test::FakePlatform;

// The application beside the one that owns the store: it follows the store and never writes it.
TEST(ReadOnlyStore, FollowsTheOwnersMarksAtEachRefreshAndNeverSaves) {
  FakePlatform platform({{1, "Bitstamp", "ETH/EUR", false, true},
                         {2, "Bitstamp", "BTC/USD", false, true},
                         {3, "BTC-E", "LTC/USD", false, false},
                         {4, "Bitstamp", "XRP/USD", false, false}});
  platform.store->readOnly = true;
  AppDelegate delegate(platform.services, *platform.context);
  const auto shown = [&] {
    std::vector<std::string> titles;
    for (const StatusPair& pair : delegate.priceItems().statusPairs())
      titles.push_back(pair.item->attributedTitle().text);
    return titles;
  };
  delegate.applicationDidFinishLaunching();
  platform.queue.advance(Seconds(6));  // past the start and the moment the clean-up would run
  ASSERT_EQ(shown(), (std::vector<std::string>{"BTC/USD\n", "ETH/EUR\n"}));
  const StatusItemRef btcItem = delegate.priceItems().statusPairs()[0].item;
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "BTC/USD", makeEntry("BTC/USD", "9000.12", {}));
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "BCH/USD", makeEntry("BCH/USD", "700", {}));
  delegate.saveAction();

  // The owner unmarks one pair and marks an old and a new one.
  auto& rows = platform.store->rows();
  rows[1].showInMenubar = false;
  rows[4].showInMenubar = true;
  rows[5] = {5, "Bitstamp", "ADA/USD", false, true};
  delegate.refreshPairs();
  EXPECT_EQ(shown(), (std::vector<std::string>{"BTC/USD\n9000.12", "ADA/USD\n", "XRP/USD\n"}));
  EXPECT_EQ(delegate.priceItems().statusPairs()[0].item, btcItem);  // kept in place, price and all
  // The pair seen for the first time was scratch; the old exchange's record was not cleaned up.
  EXPECT_FALSE(delegate.pairList().findPair("Bitstamp", "BCH/USD"));
  EXPECT_EQ(platform.context->content().size(), 5u);

  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "BCH/USD", makeEntry("BCH/USD", "700", {}));
  EXPECT_EQ(delegate.applicationShouldTerminate(), TerminateReply::Now);
  delegate.terminateWithoutAsking();
  EXPECT_EQ(platform.store->saves, 0);
  EXPECT_EQ(platform.host.quits, 1);
}

}  // namespace
}  // namespace pricora
