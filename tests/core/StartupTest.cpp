#include <gtest/gtest.h>

#include <plist/plist.h>

#include <string>
#include <vector>

#include "core/app/AppDelegate.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using test::FakePlatform;
using test::TempDir;

struct Entry {
  std::string title;
  std::string action;
  bool enabled;
  bool separator;
  std::string image;
  bool hasSubmenu;
  friend bool operator==(const Entry&, const Entry&) = default;
};

std::vector<Entry> entries(const Menu& menu) {
  std::vector<Entry> out;
  for (const MenuItemRef& item : menu.itemArray())
    out.push_back({item->title(), item->action(), item->isEnabled(), item->isSeparatorItem(),
                   item->image() ? item->image()->describe() : "", item->submenu() != nullptr});
  return out;
}

class Startup : public ::testing::Test {
 protected:
  FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
  const AppState& state = delegate.state();
};

TEST_F(Startup, BuildsTheStatusMenuAQuarterSecondAfterLaunch) {
  ASSERT_EQ(platform.statusBar.items().size(), 1u);
  EXPECT_EQ(platform.statusBar.items()[0]->length(), 20.0);
  EXPECT_FALSE(platform.statusBar.items()[0]->image());

  delegate.applicationDidFinishLaunching();
  platform.queue.runUntilIdle();
  platform.queue.advance(Seconds(0.249));
  EXPECT_TRUE(state.statusMenu->empty());
  EXPECT_FALSE(state.statusItem->image());
  EXPECT_EQ(state.exchanges[Exchange::Kraken].item->image()->describe(), "swatch #DA407A");

  platform.queue.advance(Seconds(0.001));
  const std::vector<Entry> expected = {
      {"Quit Pricora", "terminate:", true, false, "", false},
      {"Preferences", "", true, false, "", true},
      {"Manage", "showManageWindow", true, false, "", false},
      {"", "", false, true, "", false},
      {"", "", false, true, "", false},
      {"Wex", "", true, false, "swatch #42C1F7", true},
      {"Bitfinex", "", true, false, "swatch #5D11F7", true},
      {"Kraken", "", true, false, "swatch #DA407A", true},
      {"Bitstamp", "", true, false, "swatch #F07F5A", true},
      {"OKCoin", "", true, false, "swatch #F7C758", true},
      {"Poloniex", "", true, false, "swatch #95D26B", true},
      {"CoinFloor", "", true, false, "swatch #246590", true},
      {"GDAX", "", true, false, "swatch #BE2813", true},
      {"", "", false, true, "", false},
      {"Updating...", "", false, false, "", false},
  };
  EXPECT_EQ(entries(*state.statusMenu), expected);
  EXPECT_EQ(state.statusMenu->itemAtIndex(1)->submenu(), state.preferencesMenu);
  EXPECT_EQ(state.statusItem->image()->describe(), "iconSmall");
  EXPECT_EQ(state.statusItem->menu(), state.statusMenu);
  EXPECT_EQ(state.statusItem->toolTip(), "Pricora 9.8.7");
}

TEST_F(Startup, TheFirstRefreshReplacesTheLaunchTimer) {
  delegate.applicationDidFinishLaunching();
  const RepeatingTimer* launchTimer = delegate.refreshCycle().timer();
  ASSERT_NE(launchTimer, nullptr);
  EXPECT_EQ(launchTimer->interval().count(), 60.0);
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);

  platform.queue.advance(Seconds(0.25));
  EXPECT_NE(delegate.refreshCycle().timer(), launchTimer);
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);
  EXPECT_TRUE(delegate.refreshCycle().timer()->isValid());
}

// The refresh interval comes only from the optional Experimental.plist resource.
class ExperimentalResource : public Startup {
 protected:
  double intervalAfterLaunch() {
    delegate.applicationDidFinishLaunching();
    return delegate.state().refreshFrequency;
  }
  void writeXml(const std::string& body) {
    dir.write("Experimental.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n");
    platform.bundle.folder = dir.path().string();
  }
  TempDir dir;
};

TEST_F(ExperimentalResource, WithoutTheResourceTheIntervalIsOneMinute) { EXPECT_EQ(intervalAfterLaunch(), 60.0); }

TEST_F(ExperimentalResource, ANumericStringSetsTheInterval) {
  writeXml("<dict><key>refreshFrequency</key><string>30</string></dict>");
  EXPECT_EQ(intervalAfterLaunch(), 30.0);
  EXPECT_EQ(delegate.refreshCycle().timer()->interval().count(), 30.0);
}

TEST_F(ExperimentalResource, ABinaryPropertyListReadsTheSame) {
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "refreshFrequency", plist_new_string("2.5e1"));
  char* data = nullptr;
  uint32_t length = 0;
  plist_to_bin(dict, &data, &length);
  dir.write("Experimental.plist", std::string(data, length));
  plist_to_bin_free(data);
  plist_free(dict);
  platform.bundle.folder = dir.path().string();
  EXPECT_EQ(intervalAfterLaunch(), 25.0);
}

TEST_F(ExperimentalResource, AFileIsReadWholeUpToAMegabyte) {
  for (const auto& [padding, interval] : {std::pair{std::size_t{40'000}, 30.0}, {std::size_t{1} << 20, 60.0}}) {
    writeXml("<dict>" + std::string(padding, ' ') + "<key>refreshFrequency</key><string>30</string></dict>");
    AppDelegate fresh(platform.services, *platform.context);
    fresh.applicationDidFinishLaunching();
    EXPECT_EQ(fresh.state().refreshFrequency, interval) << padding;
  }
}

TEST_F(ExperimentalResource, AnythingElseKeepsOneMinuteSilently) {
  const char* rejected[] = {
      "<dict><key>refreshFrequency</key><real>30</real></dict>",
      "<dict><key>refreshFrequency</key><integer>30</integer></dict>",
      "<dict><key>refreshFrequency</key><string> 30</string></dict>",
      "<dict><key>refreshFrequency</key><string>30s</string></dict>",
      "<dict><key>refreshFrequency</key><string>3,5</string></dict>",
      "<dict><key>refreshFrequency</key><string></string></dict>",
      // Intervals that would hammer the exchanges or never fire.
      "<dict><key>refreshFrequency</key><string>0</string></dict>",
      "<dict><key>refreshFrequency</key><string>-30</string></dict>",
      "<dict><key>refreshFrequency</key><string>0.5</string></dict>",
      "<dict><key>refreshFrequency</key><string>inf</string></dict>",
      "<dict><key>refreshFrequency</key><string>nan</string></dict>",
      "<dict><key>somethingElse</key><string>30</string></dict>",
      "<array><string>30</string></array>",
      "<dict><key>refreshFrequency</key><string>30</string>",  // not well-formed
  };
  for (const char* body : rejected) {
    writeXml(body);
    AppDelegate fresh(platform.services, *platform.context);
    fresh.applicationDidFinishLaunching();
    EXPECT_EQ(fresh.state().refreshFrequency, 60.0) << body;
    EXPECT_TRUE(platform.host.logLines.empty());
  }
}

}  // namespace
}  // namespace pricora
