#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using test::FakeManageWindow;
using test::FakePlatform;

std::vector<std::string> rowTitles(const std::vector<ManageRow>& rows) {
  std::vector<std::string> titles;
  for (const ManageRow& row : rows) titles.push_back(row.title);
  return titles;
}

class ManageTest : public ::testing::Test {
 protected:
  ManageTest()
      : platform({{0, "Kraken", "XBT/USD", false, false},
                  {0, "Kraken", "ETH/XBT", false, false},
                  {0, "Bitstamp", "BTC/USD", false, false},
                  {0, "Krakenx", "AAA/BBB", false, false}}) {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  FakeManageWindow& window() { return platform.manageWindow; }
  void choose(const std::string& exchange) {
    window().selected = exchange;
    window().delegate->selectedExchangeChanged();
  }
  const ManageRow& row(const std::string& title) {
    for (const ManageRow& row : window().rows)
      if (row.title == title) return row;
    throw std::runtime_error("no row " + title);
  }
  void handOff(Exchange exchange, const std::string& title) {
    delegate.statusMenu().pairHandOff(exchange, title, makeEntry(title, "1", {}));
  }
  test::FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
};

TEST_F(ManageTest, TheSelectedSegmentChoosesTheExchangeWhoseRecordsAreListed) {
  EXPECT_TRUE(window().dark);
  EXPECT_TRUE(window().floating);
  choose("Kraken");
  EXPECT_EQ(rowTitles(window().rows), (std::vector<std::string>{"ETH/XBT", "XBT/USD"}));
  choose("Bitstamp");
  EXPECT_EQ(rowTitles(window().rows), (std::vector<std::string>{"BTC/USD"}));

  // Lookups and rebuilding the favourites leave the table on its exchange.
  handOff(Exchange::Kraken, "XBT/USD");
  delegate.favouritesChangedWithSender();
  EXPECT_EQ(delegate.pairList().filter(), "Bitstamp");

  MenuItem manage("Manage", "showManageWindow", "");
  delegate.sendAction("showManageWindow", manage);
  EXPECT_EQ(window().shown, 1);
  EXPECT_EQ(platform.host.activations, 1);
}

TEST_F(ManageTest, RowsAreMatchedByTheRecordTheyShowedNotTheirPosition) {
  choose("Kraken");
  const std::uint64_t xbt = row("XBT/USD").id;
  // A pair discovered since the last reload would shift positions: the box still means XBT/USD.
  handOff(Exchange::Kraken, "ADA/EUR");
  window().delegate->favouriteChanged(xbt, true);
  EXPECT_TRUE(delegate.pairList().findPair("Kraken", "XBT/USD")->isFavourite());
  EXPECT_FALSE(delegate.pairList().findPair("Kraken", "ADA/EUR")->isFavourite());
  // A record deleted meanwhile is not touched at all.
  const PairRef deleted = delegate.pairList().findPair("Kraken", "ETH/XBT");
  platform.context->deletePair(deleted);
  window().delegate->favouriteChanged(row("ETH/XBT").id, true);
  EXPECT_FALSE(deleted->isFavourite());
}

TEST_F(ManageTest, TheTableFollowsInsertsAndDeletesOnceAfterEachBurst) {
  choose("Kraken");
  const int reloads = window().reloads;
  for (int i = 0; i < 1000; ++i) handOff(Exchange::Kraken, "P" + std::to_string(1000 + i));
  platform.context->deletePair(delegate.pairList().findPair("Kraken", "ETH/XBT"));
  EXPECT_EQ(window().reloads, reloads);  // posted, never inline
  platform.queue.runUntilIdle();
  EXPECT_EQ(window().reloads, reloads + 1);
  ASSERT_EQ(window().rows.size(), 1001u);
  EXPECT_EQ(window().rows.back().title, "XBT/USD");
}

class LaunchAtLoginTest : public ::testing::Test {
 protected:
  void launch() {
    delegate = std::make_unique<AppDelegate>(platform.services, *platform.context);
    delegate->applicationDidFinishLaunching();
  }
  MenuItem& item() { return *delegate->state().launchAtStartupMenuItem; }
  void choose() { delegate->sendAction("launchAtStartupChanged:", item()); }

  FakePlatform platform;
  std::unique_ptr<AppDelegate> delegate;
};

TEST_F(LaunchAtLoginTest, AtFirstStartItIsOffAndTheHelperUnregistered) {
  launch();
  EXPECT_EQ(item().state(), 0);
  EXPECT_EQ(platform.loginItems.registered, (std::map<std::string, bool>{{"example.pricora.Pricora-Helper", false}}));
  EXPECT_TRUE(platform.host.printedLines.empty());
}

TEST_F(LaunchAtLoginTest, AFailedRegistrationIsReportedOncePerAttempt) {
  platform.settings.setBool("launchAtStartup", true);
  platform.loginItems.fail = true;
  launch();
  EXPECT_EQ(item().state(), 1);
  EXPECT_EQ(platform.host.printedLines, (std::vector<std::string>{"Changing login item status failed."}));
  choose();
  EXPECT_EQ(item().state(), 0);
  EXPECT_EQ(platform.settings.values["launchAtStartup"], "false");
  EXPECT_EQ(platform.host.printedLines.size(), 2u);
}

TEST_F(LaunchAtLoginTest, TheLinksOpenTheirAddresses) {
  launch();
  for (const MenuItemRef& link : delegate->state().preferencesMenu->itemArray())
    if (link->action().ends_with("ButtonClick:")) delegate->sendAction(link->action(), *link);
  EXPECT_EQ(platform.host.openedUrls,
            (std::vector<std::string>{"mailto:support@pricora.example?Subject=Pricora", "https://pricora.example/phone",
                                      "appstream:example.pricora.Pricora"}));
}

}  // namespace
}  // namespace pricora
