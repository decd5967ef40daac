#include "core/app/TimeAgo.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using std::chrono::hours;
using std::chrono::seconds;

std::vector<std::string> titles(const Menu& menu, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  std::vector<std::string> out;
  for (std::size_t i = from; i < std::min(to, menu.numberOfItems()); ++i)
    out.push_back(menu.itemAtIndex(i)->isSeparatorItem() ? "---" : menu.itemAtIndex(i)->title());
  return out;
}

class Menus : public test::LaunchedApp {
 protected:
  Menus()
      : LaunchedApp({{0, "Bitstamp", "BTC/USD", true, true},
                     {0, "Bitstamp", "BTC/USDT", true, false},
                     {0, "Bitstamp", "ETH/BTC", false, false},
                     {0, "Kraken", "XBT/EUR", true, false},
                     {0, "BTC-E", "LTC/USD", false, true}}) {}
  std::vector<std::string> favourites() const {
    const Menu& menu = *delegate.state().statusMenu;
    return titles(menu, 4, menu.numberOfItems() - 11);
  }
  Menu& submenu(Exchange exchange) { return *delegate.state().exchanges[exchange].submenu; }
  const std::vector<StatusPair>& items() const { return delegate.priceItems().statusPairs(); }
  void toggle(const std::string& title, bool on) {
    record("Bitstamp", title)->setShowInMenubar(on);
    delegate.statusPairsChangedWithSender(record("Bitstamp", title));
  }
};

TEST_F(Menus, PairItemsGoIntoTheirSubmenuInTextOrderAndNewPairsAreStored) {
  handOff(Exchange::Bitstamp, "ETH/USD", "300");
  handOff(Exchange::Bitstamp, "BTC/USD", "9000", {"Volume: 1"});
  handOff(Exchange::Bitstamp, "BTC/EUR", "8000");
  handOff(Exchange::Bitstamp, "BTC/USD", "9000", {"Volume: 2"});
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "LTC/USD", nullptr);
  EXPECT_EQ(titles(submenu(Exchange::Bitstamp)),
            (std::vector<std::string>{"BTC/EUR: 8000", "BTC/USD: 9000", "BTC/USD: 9000", "ETH/USD: 300"}));
  // Equal titles keep their order of arrival: the newest of the two is the later item.
  EXPECT_EQ(submenu(Exchange::Bitstamp).itemAtIndex(2)->submenu()->itemAtIndex(2)->title(), "Volume: 2");
  EXPECT_EQ(platform.context->content().size(), 7u);
  EXPECT_FALSE(record("Bitstamp", "ETH/USD")->isFavourite() || record("Bitstamp", "ETH/USD")->showInMenubar());
}

TEST_F(Menus, APairThatLeavesItsListingKeepsItsRecordAndFlags) {
  const auto answer = [](const char* listing) {
    return [listing](const std::string& url) -> std::optional<std::string> {
      if (url.ends_with("/api/3/info")) return listing;
      return url.find("/api/3/ticker/") != std::string::npos ? std::optional<std::string>("{}") : std::nullopt;
    };
  };
  platform.fetch.respondToAll(answer(R"({"pairs":{"btc_usd":{},"ltc_btc":{}}})"));
  platform.queue.runUntilIdle();
  const PairRef gone = record("Wex", "LTC/BTC");
  ASSERT_TRUE(gone);
  gone->setIsFavourite(true);
  delegate.refreshPairs();
  platform.fetch.respondToAll(answer(R"({"pairs":{"btc_usd":{}}})"));
  platform.queue.runUntilIdle();
  EXPECT_EQ(titles(submenu(Exchange::Wex)), std::vector<std::string>{"BTC/USD: "});
  EXPECT_EQ(record("Wex", "LTC/BTC"), gone);
  EXPECT_TRUE(gone->isFavourite());
}

TEST_F(Menus, FavouritesAreInsertedInOrderUpdatedInPlaceAndRebuiltFromTheStore) {
  handOff(Exchange::Kraken, "XBT/EUR", "8000.1", {"Volume: 10"});
  EXPECT_EQ(delegate.state().statusMenu->itemAtIndex(4)->image(),
            delegate.state().exchanges[Exchange::Kraken].item->image());
  handOff(Exchange::Bitstamp, "BTC/USDT", "9001");
  handOff(Exchange::Bitstamp, "ETH/BTC", "0.3");  // not a favourite
  EXPECT_EQ(favourites(), (std::vector<std::string>{"BTC/USDT: 9001", "XBT/EUR: 8000.1"}));
  // Each keeps its own price, though their first seven characters are the same.
  handOff(Exchange::Bitstamp, "BTC/USD", "9100");
  handOff(Exchange::Bitstamp, "BTC/USDT", "9101");
  EXPECT_EQ(favourites(), (std::vector<std::string>{"BTC/USD: 9100", "BTC/USDT: 9101", "XBT/EUR: 8000.1"}));
  // A favourite is a copy: lines that reach the entry later show in the submenu only.
  submenu(Exchange::Kraken).itemAtIndex(0)->submenu()->addItemWithTitle("Low: 7900");
  EXPECT_EQ(delegate.state().statusMenu->itemAtIndex(6)->submenu()->numberOfItems(), 3u);

  // BTC/USD has no item of its own now: the rebuild must not borrow BTC/USDT's.
  submenu(Exchange::Bitstamp).removeItemAtIndex(0);
  record("Kraken", "XBT/EUR")->setIsFavourite(false);
  record("Bitstamp", "ETH/BTC")->setIsFavourite(true);
  delegate.favouritesChangedWithSender();
  EXPECT_EQ(favourites(), (std::vector<std::string>{"BTC/USDT: 9001", "ETH/BTC: 0.3"}));
  EXPECT_FALSE(platform.context->hasChanges());
}

TEST_F(Menus, PriceItemsShowTheTitleUntilTheFirstTickerThenTheCutPriceAtAFixedWidth) {
  ASSERT_EQ(items().size(), 2u);  // LTC/USD of the old exchange name too, until the clean-up
  const StatusItem& item = *items()[0].item;
  EXPECT_EQ(item.attributedTitle().text, "BTC/USD\n");
  EXPECT_EQ(item.attributedTitle().weights, (std::vector<WeightRange>{{0, 8, 0.25}}));
  EXPECT_FALSE(item.menu());
  handOff(Exchange::Bitstamp, "BTC/USD", "10912.34567");
  EXPECT_EQ(item.attributedTitle().text, "BTC/USD\n10912.3");
  EXPECT_EQ(item.attributedTitle().weights, (std::vector<WeightRange>{{0, 7, 0.25}, {7, 8, 0.0}}));
  EXPECT_EQ(item.length(), 6.0 * 7 + 10.0);
  EXPECT_EQ(item.toolTip(), "BTC/USD: 10912.34567");
  EXPECT_EQ(titles(*item.menu()), (std::vector<std::string>{"Bitstamp", "---", "Bid: 1", "Last: 10912.34567"}));

  // Its menu's first entry opens the exchange's site ("Wex" for a name that is none).
  for (const char* name : {"Bitstamp", "GDAX", "BTC-E"}) {
    MenuItem site(name, MenuAction::openExchangeWebsite);
    delegate.sendAction(site.action(), site);
  }
  EXPECT_EQ(platform.host.openedUrls,
            (std::vector<std::string>{"https://www.bitstamp.net", "https://exchange.coinbase.com", "https://wex.nz"}));

  // The clean-up deletes LTC/USD's record; tickers find the new record, not the one the item holds.
  platform.queue.advance(Seconds(4.749));  // five seconds after launch, not before
  EXPECT_FALSE(items()[1].record->isDeleted());
  platform.queue.advance(Seconds(0.001));
  EXPECT_TRUE(items()[1].record->isDeleted());
  handOff(Exchange::Wex, "LTC/USD", "90");
  EXPECT_EQ(items()[1].item->attributedTitle().text, "LTC/USD\n");
}

TEST_F(Menus, SwitchingOnUsesThePairsOwnCurrentEntryOrTheTitleUntilItsNextTicker) {
  handOff(Exchange::Bitstamp, "BTC/USDT", "1.0001");
  handOff(Exchange::Bitstamp, "ETH/BTC", "0.00001234");
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
  handOff(Exchange::Bitstamp, "BTC/USD", "9000");
  EXPECT_EQ(items()[2].item->attributedTitle().text, "BTC/USD\n9000");

  toggle("ETH/BTC", false);
  EXPECT_EQ(items().size(), 2u);
  EXPECT_EQ(platform.statusBar.items().size(), 3u);  // the application's icon, LTC/USD and BTC/USD
  EXPECT_FALSE(platform.context->hasChanges());      // every change was saved
}

TEST(TimeAgo, CountsTheLargestWholeCalendarUnitInTheLocalZone) {
  // 2026-03-10 12:00:00 UTC; the zone has no daylight saving change nearby.
  const WallTime done{seconds(1773144000)};
  const std::pair<WallTime::duration, const char*> cases[] = {
      {seconds(0), "Just now"},         {seconds(14), "Just now"},
      {seconds(15), "15 seconds ago"},  {seconds(61), "1 minute ago"},
      {hours(2), "2 hours ago"},        {hours(23), "23 hours ago"},
      {hours(24), "Yesterday"},         {hours(47), "Yesterday"},
      {hours(48), "2 days ago"},        {hours(24 * 7), "1 week ago"},
      {hours(24 * 20), "2 weeks ago"},  {hours(24 * 40), "1 month ago"},
      {hours(24 * 800), "2 years ago"}, {-seconds(1), ""},
  };
  for (const auto& [elapsed, text] : cases) EXPECT_EQ(timeAgoText(done, done + elapsed, "Europe/Berlin"), text) << text;
  // Across the spring change in Berlin (2026-03-29) a calendar day has 23 hours.
  const WallTime before{seconds(1774692000)};  // 2026-03-28 11:00 CET
  EXPECT_EQ(timeAgoText(before, before + hours(23), "Europe/Berlin"), "Yesterday");
  EXPECT_EQ(timeAgoText(before, before + hours(23), "UTC"), "23 hours ago");
}

TEST_F(Menus, ARefreshAskedForFromOutsideStartsOnlyWhenNoneIsUnderway) {
  const std::size_t asked = platform.fetch.requests().size();
  delegate.refreshIfIdle();  // the first refresh is still under way
  EXPECT_EQ(platform.fetch.requests().size(), asked);
  platform.fetch.respondToAll([](const std::string&) { return std::optional<std::string>(); });
  platform.queue.runUntilIdle();
  ASSERT_TRUE(delegate.state().statusMenu->lastItem()->title().starts_with("Updated: "));
  delegate.refreshIfIdle();
  EXPECT_GT(platform.fetch.requests().size(), asked);
}

TEST_F(Menus, TheLastUpdateLabelTicksEverySecondOnlyWhileTheMenuIsOpen) {
  Menu& menu = *delegate.state().statusMenu;
  delegate.menuWillOpen(menu);
  platform.queue.advance(Seconds(5));
  EXPECT_EQ(menu.lastItem()->title(), "Updating...");  // a refresh in progress is left alone
  delegate.menuDidClose(menu);
  delegate.state().updateDate = platform.queue.now();
  menu.lastItem()->setTitle("Updated: Just now");  // what a completed refresh leaves
  delegate.menuWillOpen(menu);
  delegate.menuWillOpen(menu);  // announced twice: still one label timer
  platform.queue.advance(Seconds(14));
  EXPECT_EQ(menu.lastItem()->title(), "Updated: Just now");
  platform.queue.advance(Seconds(1));
  EXPECT_EQ(menu.lastItem()->title(), "Updated: 15 seconds ago");
  EXPECT_EQ(platform.queue.liveTimerCount(), 2u);  // the refresh timer and the label's
  delegate.menuDidClose(menu);
  platform.queue.advance(Seconds(30));
  EXPECT_EQ(menu.lastItem()->title(), "Updated: 15 seconds ago");
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);
}

}  // namespace
}  // namespace pricora
