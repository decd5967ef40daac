// Alerts and the change over the last day, in the application on the fake platform, with a real
// history file: prices come through the refreshes, a minute apart on the fake clock.
#include <gtest/gtest.h>

#include "core/alerts/AlertCommands.h"
#include "core/alerts/AlertText.h"
#include "core/bar/BarView.h"
#include "platform/HistoryFileWrapper.h"
#include "store/SqliteHistoryFile.h"
#include "support/FakeNotifier.h"
#include "support/FakePlatform.h"
#include "support/SqliteFaultVfs.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

const PairName kPair{"Bitstamp", "BTC/USD"};

// The history file, whose alerts cannot be read while `busy` (another process in the middle of
// a long write, or a file that turned unreadable).
class BusyAtTimes final : public HistoryFileWrapper {
 public:
  using HistoryFileWrapper::HistoryFileWrapper;
  bool busy = false;
  Result<std::vector<AlertRecord>> loadAlerts() override {
    if (busy) return Error{"The history file is busy.", ""};
    return HistoryFileWrapper::loadAlerts();
  }
};

class Watch : public ::testing::Test {
 protected:
  // With a problem the file could not be opened: nothing is stored.
  explicit Watch(std::optional<Error> problem = std::nullopt)
      : file(problem ? std::unique_ptr<HistoryFile>(std::make_unique<NoHistoryFile>(*problem))
                     : std::make_unique<BusyAtTimes>(open())),
        delegate(platform.services, *platform.context, WatchParts{*file, notifier, "en_US", true, problem}) {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
    platform.manageWindow.selected = "Bitstamp";
  }
  // Answers the refresh under way with BTC/USD at price (every other request fails, and so does
  // BTC/USD's without a price), then moves on a minute, which starts the next refresh.
  void refresh(const std::string& price) {
    platform.fetch.respondToAll([&](const std::string& url) -> std::optional<std::string> {
      if (url.ends_with("/ticker/btcusd/") && !price.empty()) return R"({"last":")" + price + R"("})";
      return std::nullopt;
    });
    platform.queue.runUntilIdle();
    platform.queue.advance(Seconds(60));
  }
  // The Alert column of BTC/USD's row, typed in as the window would: over the row as it was
  // shown, or as the window reads it now.
  const ManageRow& edit(const ManageRow& shown, const std::string& text) {
    platform.manageWindow.delegate->alertsChanged(shown.id, text, shown.alertIds);
    platform.queue.runUntilIdle();
    return platform.manageWindow.rows.at(0);
  }
  const ManageRow& type(const std::string& text) {
    platform.manageWindow.delegate->selectedExchangeChanged();
    return edit(platform.manageWindow.rows.at(0), text);
  }
  std::vector<std::string> summaries() const {
    std::vector<std::string> out;
    for (const auto& [tag, shown] : notifier.shown) out.push_back(std::to_string(tag) + " " + shown.summary);
    return out;
  }
  StatusItem& item() { return *delegate.priceItems().statusPairs().at(0).item; }
  std::unique_ptr<HistoryFile> open() {
    return std::move(
        SqliteHistoryFile::open(dir.file("history.sqlite"), {std::chrono::seconds(0), vfs.name()}).value());
  }

  test::TempDir dir;
  test::SqliteFaultVfs vfs;
  std::unique_ptr<HistoryFile> file;
  test::FakeNotifier notifier;
  test::FakePlatform platform{{{0, "Bitstamp", "BTC/USD", false, true}}};
  AppDelegate delegate;
};

TEST_F(Watch, AlertsFireOncePerCrossingNeverForALevelAlreadyPastAndArmAgainPastTheMargin) {
  refresh("10900");
  const ManageRow wrong = type("> 11000; < abc");
  EXPECT_TRUE(wrong.alertsNote.isError);
  EXPECT_EQ(wrong.alertsNote.text, "abc is not a number");
  EXPECT_EQ(wrong.alerts, "> 11000; < abc");  // kept for correcting, and nothing stored
  EXPECT_TRUE(file->loadAlerts().value().empty());
  const ManageRow made = type("> 11000;< 10950");
  EXPECT_EQ(made.alerts, "> 11000; < 10950");
  EXPECT_FALSE(made.alertsNote.isError);
  EXPECT_EQ(made.alertsNote.text.find("BTC/USD is below 10,950 already"), 0u) << made.alertsNote.text;

  // > 11000 fires at 11100 and arms again only at 10945 (0.5 % under); < 10950, made past its
  // level, arms at 11004.75 and fires at the next fall.
  for (const char* price : {"11100", "11050", "10960", "11010", "10940", "11001"}) refresh(price);
  const auto& alerts = delegate.priceWatch()->alerts();
  const std::string above = std::to_string(alerts.at(0).id), below = std::to_string(alerts.at(1).id);
  EXPECT_EQ(summaries(), (std::vector<std::string>{above + " BTC/USD above 11,000", below + " BTC/USD below 10,950",
                                                   above + " BTC/USD above 11,000"}));
  const Notification& first = notifier.shown.at(0).second;
  EXPECT_EQ(first.body.find("Bitstamp: 11,100 at "), 0u) << first.body;
  EXPECT_EQ(first.actions, (std::vector<std::pair<std::string, std::string>>{
                               {"remove", "Remove"}, {"again-up", "Again at +1 %"}, {"again-down", "Again at −1 %"}}));
  EXPECT_EQ(file->loadAlerts().value().at(1).phase, AlertPhase::waiting);

  // The item calls for attention until its menu opens, and shows the change since the oldest price.
  EXPECT_TRUE(item().needsAttention());
  item().menu()->delegate()->menuWillOpen(*item().menu());
  EXPECT_FALSE(item().needsAttention());
  ASSERT_TRUE(item().move());
  EXPECT_NEAR(item().move()->percent, (11001.0 / 10900 - 1) * 100, 1e-9);
  EXPECT_EQ(item().move()->text, "+0.93 % in 6 min");
  EXPECT_EQ(item().move()->recent.size(), 7u);
  EXPECT_EQ(file->samples(kPair, platform.queue.now() - std::chrono::hours(1)).value().size(), 7u);
}

TEST_F(Watch, EditingARowKeepsWhereItsAlertsStandAndTheirNotificationsWorking) {
  refresh("10900");
  type("> 11000; > 10995 once");
  refresh("11010");
  refresh("10990");  // > 11000 waits for 10945; > 10995 once is spent
  type(" > 10995 once;>11000 ; < 9000");
  refresh("11005");
  EXPECT_EQ(summaries(), (std::vector<std::string>{"1 BTC/USD above 11,000", "2 BTC/USD above 10,995"}));
  notifier.listener->notificationAction(1, "remove");
  EXPECT_EQ(delegate.priceWatch()->alertsText(kPair).text, "> 10995 once; < 9000");
}

TEST_F(Watch, AnEditChangesOnlyTheAlertsItsTextWasWrittenFrom) {
  refresh("10900");
  const ManageRow shown = type("> 11000; < 9500");
  // Elsewhere, while that row is on screen: an alert made (and taken in by the next refresh),
  // then one of the row's removed.
  open()->addAlert(makeAlert(kPair, {AlertKind::below, 9000}, platform.queue.now()));
  refresh("10900");
  open()->removeAlert(shown.alertIds.at(1));
  const ManageRow edited = edit(shown, "> 11000; < 9500; > 12000");
  EXPECT_FALSE(edited.alertsNote.isError);
  EXPECT_EQ(edited.alerts, "> 11000; < 9000; > 12000");
  EXPECT_EQ(edited.alertIds.front(), shown.alertIds.front());
}

TEST_F(Watch, AlertsMadeWithoutARecentPriceAreSettledByTheNextOne) {
  refresh("10500");
  refresh("");
  refresh("");
  const ManageRow made = type("> 11000");
  EXPECT_EQ(made.alertsNote.text.find("Bitstamp BTC/USD has no recent price"), 0u) << made.alertsNote.text;
  // The command line, a night after Pricora last wrote a price.
  const LocaleFormat format("en_US");
  NoAlertHandOff nobody;
  AlertCommands(
      {*file, platform.host, format, KnownPairs({kPair}), nobody, platform.queue.now() + std::chrono::hours(12)})
      .add("Bitstamp BTC/USD < 12500");
  EXPECT_EQ(file->loadAlerts().value().back().phase, AlertPhase::fresh);
  refresh("12000");  // past the first level already: it waits rather than fires
  refresh("11900");
  EXPECT_TRUE(notifier.shown.empty());
  EXPECT_EQ(file->loadAlerts().value().front().phase, AlertPhase::waiting);
}

// The command line while this Pricora runs: handed to it, an alert is settled against the price
// it shows, which is newer than the file's while a refresh waits for a slow exchange.
TEST_F(Watch, TheCommandLineHandsNewAlertsToTheRunningPricoraWhichKnowsTheNewestPrice) {
  struct ToThisPricora final : AlertHandOff {
    PriceWatch& watch;
    explicit ToThisPricora(PriceWatch& w) : watch(w) {}
    std::optional<HandedAlert> handOver(const AlertRecord& alert) override { return watch.takeAlert(alert); }
  } running(*delegate.priceWatch());
  NoAlertHandOff nobody;
  refresh("10900");
  const std::vector<std::string> pending = platform.fetch.pendingUrls();
  const auto btc =
      std::find_if(pending.begin(), pending.end(), [](const std::string& url) { return url.ends_with("/btcusd/"); });
  ASSERT_TRUE(platform.fetch.respond(*btc, R"({"last":"11100"})"));
  platform.queue.runUntilIdle();

  const LocaleFormat format("en_US");
  const KnownPairs pairs({kPair});
  const auto command = [&](AlertHandOff& handOff, const std::string& line) {
    platform.host.logLines.clear();
    const int status = AlertCommands({*file, platform.host, format, pairs, handOff, platform.queue.now()}).add(line);
    return std::to_string(status) + " " + (platform.host.logLines.empty() ? "" : platform.host.logLines.back());
  };
  EXPECT_EQ(command(running, "bitstamp btc/usd > 11000"),
            "0 pricora: BTC/USD is above 11,000 already: the alert fires when it has fallen to 10,945 and rises past "
            "11,000 again");
  EXPECT_EQ(command(running, "Bitstamp BTC/USD > 11200"), "0 pricora: Bitstamp BTC/USD: armed at 11,100");
  EXPECT_EQ(command(nobody, "Bitstamp BTC/USD > 11000"), "0 pricora: Bitstamp BTC/USD: armed at 10,900");
  EXPECT_EQ(command(running, "Bitstamp BTC/UDS > 1"), "1 pricora: Bitstamp has no BTC/UDS; did you mean BTC/USD?");
  EXPECT_EQ(command(nobody, "Bitstamp XRP/USD > 1"), "1 pricora: Bitstamp has no XRP/USD");
  EXPECT_EQ(file->loadAlerts().value().size(), 3u);
  EXPECT_EQ(platform.host.printedLines,
            (std::vector<std::string>{"1\tBitstamp BTC/USD > 11000", "2\tBitstamp BTC/USD > 11200",
                                      "3\tBitstamp BTC/USD > 11000"}));
}

TEST_F(Watch, AnAlertThatFiredStaysSoWhileItsStateCannotBeSaved) {
  refresh("10900");
  type("> 11000 once");
  vfs.failWrites(SQLITE_FULL);
  refresh("11100");
  // pricora --alert, which gets through, in another process.
  SqliteHistoryFile::open(dir.file("history.sqlite"))
      .value()
      ->addAlert(makeAlert(kPair, {AlertKind::below, 9000}, platform.queue.now()));
  refresh("11200");
  refresh("11300");
  EXPECT_EQ(summaries(), std::vector<std::string>{"1 BTC/USD above 11,000"});
  // Each failure is told once until writing works again.
  ASSERT_EQ(platform.host.logLines.size(), 2u);
  EXPECT_NE(platform.host.logLines[0].find("could not save the alerts"), std::string::npos);
  EXPECT_NE(platform.host.logLines[1].find("could not record the prices"), std::string::npos);
  vfs.clear();
  refresh("11300");
  EXPECT_EQ(file->loadAlerts().value().at(0).phase, AlertPhase::spent);
}

TEST_F(Watch, AReadingOfTheAlertsThatFailedIsTriedAgainAtTheNextRefreshAndToldOnce) {
  refresh("10900");
  open()->addAlert(makeAlert(kPair, {AlertKind::above, 11000}, platform.queue.now()));  // pricora --alert
  auto& busyFile = static_cast<BusyAtTimes&>(*file);
  busyFile.busy = true;
  refresh("10900");
  refresh("10900");
  EXPECT_EQ(platform.host.logLines, std::vector<std::string>{"pricora: The history file is busy. "});
  busyFile.busy = false;
  refresh("10900");
  EXPECT_EQ(delegate.priceWatch()->alertsText(kPair).text, "> 11000");
}

TEST_F(Watch, APriceOfZeroIsNoPrice) {
  refresh("10000");
  type("< 9500; -3% 1h");
  refresh("0");
  refresh("10100");
  EXPECT_TRUE(notifier.shown.empty());
  EXPECT_EQ(file->samples(kPair, {}).value().size(), 2u);
}

TEST_F(Watch, TheSmallestLevelsAndPricesShowTheirDigits) {
  refresh("0.00003");
  const ManageRow made = type("> 0.000000001; < 0.00002");
  EXPECT_EQ(made.alertsNote.text.find("BTC/USD is above 0.000000001 already"), 0u) << made.alertsNote.text;
  refresh("1.5e-05");
  EXPECT_EQ(summaries(), std::vector<std::string>{"2 BTC/USD below 0.00002"});
  EXPECT_EQ(notifier.shown.at(0).second.body.find("Bitstamp: 0.000015 at "), 0u) << notifier.shown.at(0).second.body;
}

TEST_F(Watch, MovesAreMeasuredOverTheirWindowAndAlertsMadeElsewhereArriveAtTheNextRefresh) {
  refresh("100");
  // pricora --alert, in another process, while this one runs.
  open()->addAlert(makeAlert(kPair, {AlertKind::up, 2, 300, true}, platform.queue.now()));
  // 0.3 a minute is 1.5 % in five minutes: never 2 %.
  for (int step = 1; step <= 8; ++step) refresh(std::to_string(100 + 0.3 * step));
  EXPECT_TRUE(notifier.shown.empty());
  EXPECT_EQ(file->loadAlerts().value().at(0).phase, AlertPhase::armed);  // settled where it was made
  refresh("104.5");
  refresh("99");
  refresh("104");
  EXPECT_EQ(summaries(), std::vector<std::string>{"1 BTC/USD up 2 % in 5 min"});  // once: then spent
  EXPECT_EQ(delegate.priceWatch()->alerts().at(0).phase, AlertPhase::spent);

  notifier.listener->notificationUndelivered(1);
  EXPECT_EQ(platform.host.logLines.back().find("pricora: BTC/USD up 2 % in 5 min (Bitstamp: 104.5 at "), 0u);
  // "Again at +1 %" keeps the move and watches the next level beside it.
  notifier.listener->notificationAction(1, "again-up");
  EXPECT_EQ(delegate.priceWatch()->alertsText(kPair).text, "+2% 5m once; > 105.04 once");
  EXPECT_EQ(file->loadAlerts().value().at(1).phase, AlertPhase::armed);
  notifier.listener->notificationAction(1, "remove");
  EXPECT_EQ(file->loadAlerts().value().size(), 1u);
}

TEST_F(Watch, AtStartItemsShowTheLastPriceOfAnEarlierRunUntilThisRunsFirst) {
  test::FakePlatform next{{{0, "Bitstamp", "BTC/USD", false, true}}};
  const WallTime start = next.queue.now();
  ASSERT_TRUE(open()->recordSamples({{kPair, start - std::chrono::hours(3), "10558.80", 10558.8}},
                                    start - PriceHistory::kKeptInFile));
  const std::unique_ptr<HistoryFile> nextFile = open();
  AppDelegate run(next.services, *next.context, WatchParts{*nextFile, notifier, "en_US", true, {}});
  run.applicationDidFinishLaunching();
  next.queue.advance(Seconds(0.25));
  const StatusItem& shown = *run.priceItems().statusPairs().at(0).item;
  EXPECT_EQ(shown.earlier(), (EarlierPrice{"10558.8", "10,558.8 · 3 h ago"}));
  EXPECT_EQ(barItems(run.priceItems().statusPairs()).at(0).price, "10558.8");
  // Only hosts show it: the title and the tool tip wait for this run's price.
  EXPECT_EQ(shown.attributedTitle().text, "BTC/USD\n");
  EXPECT_EQ(shown.toolTip(), "");
  next.fetch.respondToAll([](const std::string& url) -> std::optional<std::string> {
    if (url.ends_with("/ticker/btcusd/")) return R"({"last":"10600"})";
    return std::nullopt;
  });
  next.queue.runUntilIdle();
  EXPECT_EQ(shown.earlier(), std::nullopt);
  EXPECT_EQ(shown.attributedTitle().text, "BTC/USD\n10600");
}

// Setting the wall clock is no time passing: windows, changes and the week kept count what
// passed, and the prices recorded under the clock that was wrong move with it.
TEST_F(Watch, AClockSetBackAnHourKeepsRecordingAndFiresNothingForPricesStampedAhead) {
  for (int minute = 0; minute < 6; ++minute) refresh("100");
  for (int minute = 0; minute < 6; ++minute) refresh("97.5");
  type("-2% 5m");
  platform.queue.setWallClock(Seconds(-3600));
  for (int minute = 0; minute < 3; ++minute) refresh("97.5");
  EXPECT_TRUE(notifier.shown.empty());
  const std::vector<PriceSample> written = file->samples(kPair, {}).value();
  EXPECT_EQ(written.size(), 15u);
  EXPECT_TRUE(std::is_sorted(written.begin(), written.end(),
                             [](const PriceSample& a, const PriceSample& b) { return a.time < b.time; }));
  EXPECT_LT(written.back().time, platform.queue.now());
  EXPECT_EQ(item().move()->recent.size(), 15u);
}

TEST_F(Watch, AClockSetForwardKeepsTheWeekAndTheChangeOfTheDay) {
  // An earlier run's price, from yesterday.
  ASSERT_TRUE(open()->recordSamples({{kPair, platform.queue.now() - std::chrono::hours(20), "90", 90}}, {}));
  refresh("100");
  refresh("101");
  platform.queue.setWallClock(Seconds(8 * 24 * 3600));
  refresh("102");
  ASSERT_TRUE(item().move());
  EXPECT_EQ(item().move()->text, "+2.0 % in 2 min");
  EXPECT_EQ(file->samples(kPair, {}).value().size(), 4u);
  EXPECT_EQ(file->samples(kPair, platform.queue.now() - std::chrono::minutes(5)).value().size(), 3u);
}

TEST_F(Watch, AWindowAcrossASuspendComparesOnlyThePricesInsideIt) {
  for (int minute = 0; minute < 6; ++minute) refresh("100");
  type("-2% 5m");
  platform.queue.suspend(Seconds(8 * 3600));
  refresh("97.5");
  refresh("97");
  EXPECT_TRUE(notifier.shown.empty());
  EXPECT_EQ(file->samples(kPair, platform.queue.now() - std::chrono::hours(1)).value().size(), 2u);
  EXPECT_EQ(item().move()->text, "-3.0 % in 8.1 h");
}

class WatchWithoutItsFile : public Watch {
 protected:
  WatchWithoutItsFile() : Watch(Error{"The history file “h” is damaged.", "{quick_check = \"*** page 2\"}"}) {}
};

TEST_F(WatchWithoutItsFile, TellsOnceAndRunsOnWithTheHistoryInMemory) {
  ASSERT_EQ(notifier.shown.size(), 1u);
  EXPECT_EQ(notifier.shown[0].first, PriceWatch::kFileProblemTag);
  EXPECT_NE(platform.host.logLines.at(0).find("not saved: The history file “h” is damaged."), std::string::npos);
  refresh("10");
  refresh("11");
  ASSERT_TRUE(item().move());
  EXPECT_EQ(item().move()->text, "+10.0 % in 1 min");
}

TEST_F(Watch, HoldingsShowTheirWorthAndItsChangeOfTheDayInTheToolTips) {
  refresh("10000");
  platform.manageWindow.delegate->selectedExchangeChanged();
  const auto holding = [this](const std::string& text) {
    platform.manageWindow.delegate->holdingChanged(platform.manageWindow.rows.at(0).id, text);
    platform.queue.runUntilIdle();
    return platform.manageWindow.rows.at(0);
  };
  const ManageRow wrong = holding("0,25");
  EXPECT_EQ(wrong.holdingNote, (ManageNote{"0,25 is not how numbers are written here; write 0.25", true}));
  EXPECT_EQ(wrong.holding, "0,25");  // kept for correcting, and nothing stored
  EXPECT_TRUE(file->loadHoldings().value().empty());
  EXPECT_EQ(holding("0.250").holding, "0.25");
  StatusItem& application = *delegate.state().statusItem;
  EXPECT_EQ(item().holding(), "Holding 0.25 BTC: 2,500.00 USD");
  EXPECT_EQ(application.holding(), "Holdings: 2,500.00 USD");

  platform.queue.suspend(Seconds(24 * 3600 - 120));
  refresh("10120");
  EXPECT_EQ(item().holding(), "Holding 0.25 BTC: 2,530.00 USD, +1.2 % in 24 h");
  EXPECT_EQ(application.holding(), "Holdings: 2,530.00 USD, +1.2 % in 24 h");

  // Removed elsewhere (pricora --hold ... 0): gone at the next refresh.
  ASSERT_TRUE(open()->setHolding(kPair, 0));
  refresh("10120");
  EXPECT_EQ(item().holding(), "");
  EXPECT_EQ(application.holding(), "");
  EXPECT_EQ(holding("").holding, "");
}

}  // namespace
}  // namespace pricora
