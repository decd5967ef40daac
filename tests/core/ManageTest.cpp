#include "support/FakePlatform.h"

namespace pricora {
namespace {

class ManageTest : public test::LaunchedApp {
 protected:
  ManageTest()
      : LaunchedApp({{0, "Kraken", "XBT/USD", false, false},
                     {0, "Kraken", "ETH/XBT", false, false},
                     {0, "Bitstamp", "BTC/USD", false, false},
                     {0, "Krakenx", "AAA/BBB", false, false}}) {}
  test::FakeManageWindow& window() { return platform.manageWindow; }
  std::vector<std::string> choose(const std::string& exchange) {
    window().selected = exchange;
    window().delegate->selectedExchangeChanged();
    std::vector<std::string> titles;
    for (const ManageRow& row : window().rows) titles.push_back(row.title);
    return titles;
  }
};

TEST_F(ManageTest, TheSelectedSegmentChoosesTheExchangeWhoseRecordsAreListed) {
  EXPECT_TRUE(window().dark && window().floating);
  EXPECT_EQ(choose("Kraken"), (std::vector<std::string>{"ETH/XBT", "XBT/USD"}));
  EXPECT_EQ(choose("Bitstamp"), (std::vector<std::string>{"BTC/USD"}));
  // Lookups and rebuilding the favourites leave the table on its exchange.
  handOff(Exchange::Kraken, "XBT/USD");
  delegate.favouritesChangedWithSender();
  EXPECT_EQ(delegate.pairList().filter(), "Bitstamp");

  MenuItem manage("Manage", MenuAction::showManageWindow);
  delegate.sendAction(MenuAction::showManageWindow, manage);
  EXPECT_EQ(window().shown, 1);
  EXPECT_EQ(platform.host.activations, 1);
}

TEST_F(ManageTest, RowsAreMatchedByTheirRecordAndFollowTheStoreOnceAfterEachBurst) {
  choose("Kraken");
  const std::uint64_t xbt = window().rows[1].id, eth = window().rows[0].id;
  // Pairs discovered since the last reload shift positions: the box still means XBT/USD.
  const int reloads = window().reloads;
  for (int i = 0; i < 1000; ++i) handOff(Exchange::Kraken, "P" + std::to_string(1000 + i));
  window().delegate->favouriteChanged(xbt, true);
  EXPECT_TRUE(record("Kraken", "XBT/USD")->isFavourite());
  // A record deleted meanwhile is not touched at all.
  const PairRef deleted = record("Kraken", "ETH/XBT");
  platform.context->deletePair(deleted);
  window().delegate->favouriteChanged(eth, true);
  EXPECT_FALSE(deleted->isFavourite());

  EXPECT_EQ(window().reloads, reloads);  // posted, never inline
  platform.queue.runUntilIdle();
  EXPECT_EQ(window().reloads, reloads + 1);
  ASSERT_EQ(window().rows.size(), 1001u);
  EXPECT_EQ(window().rows.back().title, "XBT/USD");
}

TEST_F(ManageTest, LaunchAtLoginFollowsTheSettingAndTheLinksOpenTheirAddresses) {
  MenuItem& item = *delegate.state().launchAtStartupMenuItem;
  EXPECT_EQ(item.state(), 0);  // the first start
  EXPECT_EQ(platform.loginItems.registered, (std::map<std::string, bool>{{"example.pricora.Pricora-Helper", false}}));
  EXPECT_TRUE(platform.host.printedLines.empty());

  platform.loginItems.fail = true;
  delegate.sendAction(MenuAction::launchAtStartupChanged, item);
  EXPECT_EQ(item.state(), 1);
  EXPECT_EQ(platform.settings.values["launchAtStartup"], "true");
  AppDelegate next(platform.services, *platform.context);
  next.applicationDidFinishLaunching();
  EXPECT_EQ(next.state().launchAtStartupMenuItem->state(), 1);
  EXPECT_EQ(platform.host.printedLines, std::vector<std::string>(2, "Changing login item status failed."));

  for (const MenuItemRef& link : delegate.state().preferencesMenu->itemArray())
    if (link->action() != MenuAction::launchAtStartupChanged) delegate.sendAction(link->action(), *link);
  EXPECT_EQ(platform.host.openedUrls,
            (std::vector<std::string>{"mailto:support@pricora.example?Subject=Pricora", "https://pricora.example/phone",
                                      "appstream:example.pricora.Pricora"}));
}

}  // namespace
}  // namespace pricora
