#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using test::FakePlatform;

PairEntryRef entry(const std::string& title, const std::string& price, std::vector<std::string> more = {}) {
  auto made = makeEntry(title, price, {{"Bid: ", "1"}, {"Last: ", price}});
  for (std::string& line : more) made->addLine(std::move(line));
  return made;
}

std::vector<std::string> titles(const Menu& menu, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  std::vector<std::string> out;
  for (std::size_t i = from; i < std::min(to, menu.numberOfItems()); ++i)
    out.push_back(menu.itemAtIndex(i)->isSeparatorItem() ? "---" : menu.itemAtIndex(i)->title());
  return out;
}

class StatusMenuTest : public ::testing::Test {
 protected:
  explicit StatusMenuTest(std::vector<StoredPair> stored = {}) : platform(std::move(stored)) {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  void handOff(Exchange exchange, const std::string& title, const std::string& price) {
    delegate.statusMenu().pairHandOff(exchange, title, entry(title, price));
  }
  std::vector<std::string> favourites() const {
    const Menu& menu = *delegate.state().statusMenu;
    return titles(menu, 4, menu.numberOfItems() - 11);
  }
  const Menu& submenu(Exchange exchange) const { return *delegate.state().exchanges[exchange].submenu; }

  FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
};

TEST_F(StatusMenuTest, PairItemsGoIntoTheirSubmenuInTextOrderAndNewPairsAreStored) {
  handOff(Exchange::Bitstamp, "ETH/USD", "300");
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "BTC/USD", entry("BTC/USD", "9000", {"Volume: 1"}));
  handOff(Exchange::Bitstamp, "BTC/EUR", "8000");
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "BTC/USD", entry("BTC/USD", "9000", {"Volume: 2"}));
  delegate.statusMenu().pairHandOff(Exchange::Bitstamp, "LTC/USD", nullptr);
  EXPECT_EQ(titles(submenu(Exchange::Bitstamp)),
            (std::vector<std::string>{"BTC/EUR: 8000", "BTC/USD: 9000", "BTC/USD: 9000", "ETH/USD: 300"}));
  // Equal titles keep their order of arrival: the newest of the two is the later item.
  EXPECT_EQ(submenu(Exchange::Bitstamp).itemAtIndex(1)->submenu()->itemAtIndex(2)->title(), "Volume: 1");
  EXPECT_EQ(submenu(Exchange::Bitstamp).itemAtIndex(2)->submenu()->itemAtIndex(2)->title(), "Volume: 2");

  EXPECT_EQ(platform.context->content().size(), 3u);
  const PairRef stored = delegate.pairList().findPair("Bitstamp", "BTC/USD");
  ASSERT_TRUE(stored);
  EXPECT_FALSE(stored->isFavourite());
  EXPECT_FALSE(stored->showInMenubar());
  EXPECT_TRUE(favourites().empty());
}

TEST_F(StatusMenuTest, APairThatLeavesItsListingKeepsItsRecordAndFlags) {
  const auto answer = [](const char* listing) {
    return [listing](const std::string& url) -> std::optional<std::string> {
      if (url.ends_with("/api/3/info")) return listing;
      return url.find("/api/3/ticker/") != std::string::npos ? std::optional<std::string>("{}") : std::nullopt;
    };
  };
  platform.fetch.respondToAll(answer(R"({"pairs":{"btc_usd":{},"ltc_btc":{}}})"));
  platform.queue.runUntilIdle();
  const PairRef gone = delegate.pairList().findPair("Wex", "LTC/BTC");
  ASSERT_TRUE(gone);
  gone->setIsFavourite(true);
  gone->setShowInMenubar(true);
  delegate.refreshPairs();
  platform.fetch.respondToAll(answer(R"({"pairs":{"btc_usd":{}}})"));
  platform.queue.runUntilIdle();
  EXPECT_EQ(titles(submenu(Exchange::Wex)), std::vector<std::string>{"BTC/USD: "});
  EXPECT_EQ(delegate.pairList().findPair("Wex", "LTC/BTC"), gone);
  EXPECT_TRUE(gone->isFavourite() && gone->showInMenubar());
}

class Favourites : public StatusMenuTest {
 protected:
  Favourites()
      : StatusMenuTest({{0, "Bitstamp", "BTC/USD", true, false},
                        {0, "Bitstamp", "BTC/USDT", true, false},
                        {0, "Kraken", "XBT/EUR", true, false},
                        {0, "Kraken", "ADA/EUR", false, false}}) {}
};

TEST_F(Favourites, AreInsertedInHeadlineOrderThenUpdatedInPlace) {
  handOff(Exchange::Kraken, "XBT/EUR", "8000.1");
  EXPECT_EQ(favourites(), (std::vector<std::string>{"XBT/EUR: 8000.1"}));
  EXPECT_EQ(delegate.state().statusMenu->itemAtIndex(4)->image(), delegate.state().exchanges[Exchange::Kraken].item->image());

  handOff(Exchange::Bitstamp, "BTC/USDT", "9001");
  handOff(Exchange::Bitstamp, "BTC/USD", "9000");
  handOff(Exchange::Kraken, "ADA/EUR", "0.3");  // not a favourite
  EXPECT_EQ(favourites(), (std::vector<std::string>{"BTC/USD: 9000", "BTC/USDT: 9001", "XBT/EUR: 8000.1"}));

  // Each keeps its own price, though their first seven characters are the same.
  handOff(Exchange::Bitstamp, "BTC/USD", "9100");
  handOff(Exchange::Bitstamp, "BTC/USDT", "9101");
  handOff(Exchange::Kraken, "XBT/EUR", "1.5");
  EXPECT_EQ(favourites(), (std::vector<std::string>{"BTC/USD: 9100", "BTC/USDT: 9101", "XBT/EUR: 1.5"}));
  EXPECT_EQ(delegate.state().statusMenu->numberOfItems(), 18u);
}

TEST_F(Favourites, KeepTheLinesTheyWereCopiedWithWhileTheSubmenuGainsLateOnes) {
  const PairEntryRef gdaxLike = entry("XBT/EUR", "8000", {"Volume: 10"});
  delegate.statusMenu().pairHandOff(Exchange::Kraken, "XBT/EUR", gdaxLike);
  gdaxLike->addLine("Low: 7900");
  gdaxLike->addLine("High: 8100");
  EXPECT_EQ(submenu(Exchange::Kraken).itemAtIndex(0)->submenu()->numberOfItems(), 5u);
  EXPECT_EQ(delegate.state().statusMenu->itemAtIndex(4)->submenu()->numberOfItems(), 3u);
}

TEST_F(Favourites, RebuildFollowsTheStoreAndPicksUpTheRightItems) {
  handOff(Exchange::Bitstamp, "BTC/USDT", "9001");
  handOff(Exchange::Kraken, "XBT/EUR", "8000");
  handOff(Exchange::Kraken, "ADA/EUR", "0.3");
  // BTC/USD has no item of its own this refresh: it must not borrow BTC/USDT's.
  delegate.pairList().findPair("Bitstamp", "BTC/USD")->setIsFavourite(true);
  delegate.pairList().findPair("Kraken", "XBT/EUR")->setIsFavourite(false);
  delegate.pairList().findPair("Kraken", "ADA/EUR")->setIsFavourite(true);
  delegate.favouritesChangedWithSender();
  EXPECT_EQ(favourites(), (std::vector<std::string>{"ADA/EUR: 0.3", "BTC/USDT: 9001"}));
  EXPECT_FALSE(platform.context->hasChanges());

  for (const PairRef& pair : platform.context->content()) pair->setIsFavourite(false);
  delegate.favouritesChangedWithSender();
  EXPECT_TRUE(favourites().empty());
  EXPECT_EQ(delegate.state().statusMenu->numberOfItems(), 15u);
}

}  // namespace
}  // namespace pricora
