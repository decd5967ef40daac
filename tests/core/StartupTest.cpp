#include <gtest/gtest.h>

#include <plist/plist.h>

#include <string>
#include <vector>

#include "core/app/AppDelegate.h"
#include "formats/MenuDump.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using test::FakePlatform;
using test::TempDir;

// One line per entry: title, action, flags (e: enabled, s: separator, m: has a submenu), image.
std::vector<std::string> entries(const Menu& menu) {
  std::vector<std::string> out;
  for (const MenuItemRef& item : menu.itemArray())
    out.push_back(item->title() + "|" + std::string(selectorName(item->action())) + "|" +
                  (item->isEnabled() ? "e" : "") + (item->isSeparatorItem() ? "s" : "") + (item->submenu() ? "m" : "") +
                  "|" + (item->image() ? item->image()->describe() : ""));
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
  const RepeatingTimer* launchTimer = delegate.refreshCycle().timer();
  EXPECT_EQ(launchTimer->interval().count(), 60.0);
  platform.queue.advance(Seconds(0.249));
  EXPECT_TRUE(state.statusMenu->empty());
  EXPECT_EQ(state.exchanges[Exchange::Kraken].item->image()->describe(), "swatch #DA407A");

  platform.queue.advance(Seconds(0.001));
  EXPECT_EQ(entries(*state.statusMenu),
            (std::vector<std::string>{
                "Quit Pricora|terminate:|e|", "Preferences||em|", "Manage|showManageWindow|e|", "||s|", "||s|",
                "Wex||em|swatch #42C1F7", "Bitfinex||em|swatch #5D11F7", "Kraken||em|swatch #DA407A",
                "Bitstamp||em|swatch #F07F5A", "OKCoin||em|swatch #F7C758", "Poloniex||em|swatch #95D26B",
                "CoinFloor||em|swatch #246590", "GDAX||em|swatch #BE2813", "||s|", "Updating...|||"}));
  EXPECT_EQ(state.statusMenu->itemAtIndex(1)->submenu(), state.preferencesMenu);
  EXPECT_EQ(state.statusItem->image()->describe(), "iconSmall");
  EXPECT_EQ(state.statusItem->menu(), state.statusMenu);
  EXPECT_EQ(state.statusItem->toolTip(), "Pricora 9.8.7");
  // The first refresh replaced the launch's timer.
  EXPECT_NE(delegate.refreshCycle().timer(), launchTimer);
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);
}

TEST_F(Startup, ChoosingTheUpdatedEntryRefreshesAndPushesTheTimerAFullIntervalAway) {
  const auto refreshes = [&] {
    const std::vector<std::string>& urls = platform.fetch.requests();
    return std::count_if(urls.begin(), urls.end(),
                         [](const std::string& url) { return url.ends_with("returnTicker"); });
  };
  const auto failAll = [&] { platform.fetch.respondToAll([](const std::string&) { return std::nullopt; }); };
  delegate.applicationDidFinishLaunching();
  platform.queue.advance(Seconds(0.25));
  failAll();
  platform.queue.advance(Seconds(30));
  MenuItem& last = *state.statusMenu->lastItem();
  ASSERT_EQ(last.title(), "Updated: Just now");
  delegate.sendAction(last.action(), last);
  EXPECT_EQ(last.title(), "Updating...");
  EXPECT_EQ(refreshes(), 2);
  failAll();
  platform.queue.advance(Seconds(59.9));
  EXPECT_EQ(refreshes(), 2);
  platform.queue.advance(Seconds(0.1));
  EXPECT_EQ(refreshes(), 3);
}

// The refresh interval comes only from the optional Experimental.plist resource.
TEST_F(Startup, TheIntervalComesFromTheExperimentalResourceWhenItIsSound) {
  TempDir dir;
  const auto launch = [&](const std::string& plist) {
    dir.write("Experimental.plist", plist);
    platform.bundle.folder = dir.path().string();
    AppDelegate fresh(platform.services, *platform.context);
    fresh.applicationDidFinishLaunching();
    EXPECT_EQ(fresh.refreshCycle().timer()->interval().count(), fresh.state().refreshFrequency);
    return fresh.state().refreshFrequency;
  };
  const auto xml = [](const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
  };
  const auto frequency = [&](const std::string& text) {
    return xml("<dict><key>refreshFrequency</key><string>" + text + "</string></dict>");
  };
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "refreshFrequency", plist_new_string("2.5e1"));
  char* data = nullptr;
  uint32_t length = 0;
  plist_to_bin(dict, &data, &length);
  const std::string binary(data, length);
  plist_to_bin_free(data);
  plist_free(dict);

  EXPECT_EQ(launch(frequency("30")), 30.0);
  EXPECT_EQ(launch(binary), 25.0);
  EXPECT_EQ(launch(frequency("2147483.647")), 2147483.647);
  for (const std::string& rejected :
       {frequency(" 30"), frequency("30s"), frequency("3,5"), frequency(""), frequency("inf"), frequency("nan"),
        // Intervals that would hammer the exchanges, or that the timer cannot hold.
        frequency("0"), frequency("-30"), frequency("0.5"), frequency("2147483.648"), frequency("1e7"),
        xml("<dict><key>refreshFrequency</key><real>30</real></dict>"),
        xml("<dict><key>refreshFrequency</key><integer>30</integer></dict>"),
        xml("<dict><key>somethingElse</key><string>30</string></dict>"), xml("<array><string>30</string></array>"),
        xml("<dict><key>refreshFrequency</key><string>30</string>"), std::string()})
    EXPECT_EQ(launch(rejected), 60.0) << rejected;
  EXPECT_TRUE(platform.host.logLines.empty());
  // A binary list whose key holds a NUL byte trips an assertion inside the library if keys are read.
  EXPECT_EQ(
      launch(std::string("\x62\x70\x6c\x69\x73\x74\x30\x30\xd4\x01\x02\x03\x04\x05\x08\x09\x0c\x54\x6c\x69\x73\x74\x51"
                         "\x6e\x56\x6e\x65\x73\x74\x65\x64\x57\x00\x00\x72\x65\x66\x72\x65\x73\x68\x46\x72\x65\x71\x75"
                         "\x65\x6e\x63\x79\xa2\x06\x07\x51\x61\x10\x02\x10\x05\xd1\x0a\x0b\x51\x6b\x42\x00\x01\x52\x33"
                         "\x30\x08\x13\x16\x18\x1f\x32\x35\x37\x39\x3b\x3e\x40\x29\x00\x00\x00\x00\x00\x00\x01\x01\x00"
                         "\x00\x00\x00\x00\x00\x00\x0d\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x46",
                         115)),
      60.0);
  // A file is read whole up to a megabyte, and no further.
  EXPECT_EQ(launch(xml("<dict>" + std::string(40'000, ' ') + "<key>refreshFrequency</key><string>30</string></dict>")),
            30.0);
  EXPECT_EQ(launch(xml("<dict>" + std::string(std::size_t{1} << 20, ' ') +
                       "<key>refreshFrequency</key><string>30</string></dict>")),
            60.0);
}

}  // namespace
}  // namespace pricora
