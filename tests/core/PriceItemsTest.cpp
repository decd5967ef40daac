#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using test::FakePlatform;

std::vector<std::string> titles(const Menu& menu) {
  std::vector<std::string> out;
  for (const MenuItemRef& item : menu.itemArray()) out.push_back(item->isSeparatorItem() ? "---" : item->title());
  return out;
}

class PriceItemsTest : public ::testing::Test {
 protected:
  PriceItemsTest()
      : platform({{0, "Bitstamp", "BTC/USD", false, true},
                  {0, "Bitstamp", "ETH/BTC", false, false},
                  {0, "Bitstamp", "BTC/USDT", false, false},
                  {0, "BTC-E", "LTC/USD", false, true}}) {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  void handOff(const std::string& title, const std::string& price) {
    delegate.statusMenu().pairHandOff(Exchange::Bitstamp, title,
                                      makeEntry(title, price, {{"Bid: ", "1"}, {"Last: ", price}}));
  }
  PairRef record(const std::string& title) { return delegate.pairList().findPair("Bitstamp", title); }
  const std::vector<StatusPair>& items() const { return delegate.priceItems().statusPairs(); }

  FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
};

TEST_F(PriceItemsTest, ShowTheTitleUntilTheFirstTickerThenTheCutPriceAtAFixedWidth) {
  ASSERT_EQ(items().size(), 2u);  // LTC/USD of the old exchange name too, until the clean-up
  const StatusItem& item = *items()[0].item;
  EXPECT_EQ(item.attributedTitle().text, "BTC/USD\n");
  EXPECT_EQ(item.attributedTitle().weights, (std::vector<WeightRange>{{0, 8, 0.25}}));
  EXPECT_EQ(item.length(), 6.0 * 7 + 10.0);
  EXPECT_FALSE(item.menu());

  handOff("BTC/USD", "912.3456");
  EXPECT_EQ(item.attributedTitle().text, "BTC/USD\n912.345");
  EXPECT_EQ(item.attributedTitle().weights, (std::vector<WeightRange>{{0, 7, 0.25}, {7, 8, 0.0}}));
  EXPECT_EQ(item.toolTip(), "BTC/USD: 912.3456");
  EXPECT_EQ(titles(*item.menu()), (std::vector<std::string>{"Bitstamp", "---", "Bid: 1", "Last: 912.3456"}));
  EXPECT_EQ(item.menu()->itemAtIndex(0)->action(), "openExchangeWebsiteWithSender:");

  handOff("BTC/USD", "10912.34567");
  EXPECT_EQ(item.attributedTitle().text, "BTC/USD\n10912.3");
  EXPECT_EQ(item.length(), 6.0 * 7 + 10.0);
}

TEST_F(PriceItemsTest, SwitchingOnUsesThePairsOwnCurrentEntryOrTheTitleUntilItsNextTicker) {
  handOff("BTC/USDT", "1.0001");
  handOff("ETH/BTC", "0.00001234");
  const auto toggle = [&](const std::string& title, bool on) {
    record(title)->setShowInMenubar(on);
    delegate.statusPairsChangedWithSender(record(title));
  };
  toggle("ETH/BTC", true);
  ASSERT_EQ(items().size(), 3u);
  EXPECT_EQ(items()[2].item->attributedTitle().text, "ETH/BTC\n1.234e-5");
  EXPECT_EQ(platform.statusBar.items().back(), items()[2].item);

  // BTC/USD has no entry of its own this refresh and must not take BTC/USDT's.
  toggle("BTC/USD", false);
  toggle("BTC/USD", true);
  ASSERT_EQ(items().size(), 3u);
  EXPECT_EQ(items()[2].item->attributedTitle().text, "BTC/USD\n");
  EXPECT_FALSE(items()[2].item->menu());
  handOff("BTC/USD", "9000");
  EXPECT_EQ(items()[2].item->attributedTitle().text, "BTC/USD\n9000");

  toggle("ETH/BTC", false);
  EXPECT_EQ(items().size(), 2u);
  EXPECT_EQ(platform.statusBar.items().size(), 3u);  // the application's icon, LTC/USD and BTC/USD
  EXPECT_FALSE(platform.context->hasChanges());      // every change was saved
}

TEST_F(PriceItemsTest, ARecordTheCleanUpDeletesKeepsItsItemShowingOnlyTheTitle) {
  platform.queue.advance(Seconds(5));
  ASSERT_EQ(items().size(), 2u);
  EXPECT_TRUE(items()[1].record->isDeleted());
  // Tickers find the new record, not the deleted one the item holds.
  delegate.statusMenu().pairHandOff(Exchange::Wex, "LTC/USD", makeEntry("LTC/USD", "90", {}));
  EXPECT_EQ(items()[1].item->attributedTitle().text, "LTC/USD\n");
}

TEST_F(PriceItemsTest, TheFirstEntryOfTheMenuOpensTheExchangesSite) {
  for (const char* name :
       {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "Poloniex", "CoinFloor", "GDAX", "BTC-E"}) {
    MenuItem item(name, "openExchangeWebsiteWithSender:", "");
    delegate.sendAction(item.action(), item);
  }
  EXPECT_EQ(
      platform.host.openedUrls,
      (std::vector<std::string>{"https://wex.nz", "https://www.bitfinex.com", "https://www.kraken.com",
                                "https://www.bitstamp.net", "https://www.okcoin.com", "https://poloniex.com",
                                "https://www.coinfloor.co.uk", "https://exchange.coinbase.com", "https://wex.nz"}));
}

}  // namespace
}  // namespace pricora
