#include <gtest/gtest.h>

#include <map>

#include "core/chart/PriceChart.h"
#include "support/FakeHost.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;

// Monday 7 December 2026, 14:05 UTC.
const WallTime kAfternoon = WallTime(std::chrono::seconds(1796652300));
const PairName kPair{"Kraken", "XBT/USD"};

// A host that knows the German of the chart's texts.
class GermanHost final : public AppHost {
 public:
  bool presentError(const Error&) override { return false; }
  std::size_t runModal(const Alert&) override { return 0; }
  std::string localizedString(const std::string& key, const std::string&) override {
    static const std::map<std::string, std::string> german{
        {"%1 on %2, last 24 hours: from %3 to %4, high %5 at %6",
         "%1 auf %2, letzte 24 Stunden: von %3 bis %4, Hoch %5 um %6"},
        {"above %1", "über %1"}};
    const auto found = german.find(key);
    return found == german.end() ? key : found->second;
  }
  void log(const std::string&) override {}
  void printLine(const std::string&) override {}
  void activateIgnoringOtherApps() override {}
  void quit() override {}
};

// Samples at these offsets before now, with these prices.
std::vector<PriceSample> samplesAt(const std::vector<std::pair<std::chrono::seconds, double>>& points, WallTime now) {
  std::vector<PriceSample> samples;
  for (const auto& [ago, price] : points) samples.push_back({now - ago, price});
  return samples;
}

// Every `step` over `span` before now, a price of 100.
std::vector<PriceSample> regular(std::chrono::seconds step, std::chrono::seconds span, WallTime now) {
  std::vector<PriceSample> samples;
  for (auto ago = span; ago >= 0s; ago -= step) samples.push_back({now - ago, 100});
  return samples;
}

std::vector<ChartRun> runsOf(std::vector<PriceSample> samples) {
  test::FakeHost host;
  const LocaleFormat format("en_GB", "UTC");
  return PriceChart({kPair, std::move(samples), {}, {}}, ChartSpan::day, kAfternoon, format, host).runs();
}

TEST(PriceChart, TheLineBreaksWherePricoraRecordedNothingAndOnlyThere) {
  const WallTime now = kAfternoon;
  auto minuteWithHole = regular(60s, 3600s, now);
  // 11 min apart, in the middle of the spacings: the usual spacing is their median, not the middle one.
  minuteWithHole.erase(minuteWithHole.begin() + 26, minuteWithHole.begin() + 36);
  auto minuteWithLateOne = regular(60s, 3600s, now);
  minuteWithLateOne.erase(minuteWithLateOne.begin() + 20);  // 2 min apart: a slow refresh
  auto tenSecondsWithPause = regular(10s, 3600s, now);
  tenSecondsWithPause.erase(tenSecondsWithPause.begin() + 10, tenSecondsWithPause.begin() + 25);  // 160 s
  auto tenMinutes = regular(600s, 6 * 3600s, now);
  tenMinutes.erase(tenMinutes.begin() + 5, tenMinutes.begin() + 7);  // 30 min apart: 3 times, no more
  auto tenMinutesWithHole = regular(600s, 6 * 3600s, now);
  tenMinutesWithHole.erase(tenMinutesWithHole.begin() + 5, tenMinutesWithHole.begin() + 8);  // 40 min
  // Older than the day, newer than now (a clock set back): left out before anything is measured.
  auto outside = samplesAt({{25h, 1}, {120s, 100}, {60s, 100}, {0s, 100}, {-60s, 1}}, now);

  const std::pair<std::vector<PriceSample>, std::vector<ChartRun>> cases[] = {
      {minuteWithHole, {{0, 26}, {26, 51}}},
      {minuteWithLateOne, {{0, 60}}},
      {tenSecondsWithPause, {{0, 346}}},
      {tenMinutes, {{0, 35}}},
      {tenMinutesWithHole, {{0, 5}, {5, 34}}},
      {samplesAt({{0s, 100}}, now), {{0, 1}}},
      {samplesAt({{3600s, 100}, {0s, 100}}, now), {{0, 2}}},
      {outside, {{0, 3}}},
      {{}, {}},
  };
  for (const auto& [samples, runs] : cases) EXPECT_EQ(runsOf(samples), runs) << samples.size() << " samples";
}

TEST(PriceChart, ScalesFitThePricesTheNearLevelsAndTheHoldingsValue) {
  test::FakeHost host;
  const LocaleFormat format("en_GB", "UTC");
  const auto samples =
      samplesAt({{20h, 10412}, {9h, 10812.6}, {5h, 10300}, {4h, 10300}, {3h, 10812.6}, {1h, 10599.5}}, kAfternoon);
  const std::vector<AlertRecord> alerts{
      {.pair = kPair, .kind = AlertKind::below, .level = 10000},               // near: widens the scale
      {.pair = kPair, .kind = AlertKind::above, .level = 12500},               // far: at the top's edge
      {.pair = kPair, .kind = AlertKind::above, .level = 10500},               // inside
      {.pair = kPair, .kind = AlertKind::up, .level = 5},                      // a move: no level
      {.pair = {"Kraken", "ETH/USD"}, .kind = AlertKind::below, .level = 1}};  // another pair's
  const PriceChart chart({kPair, samples, alerts, 0.25}, ChartSpan::day, kAfternoon, format, host);

  EXPECT_EQ(chart.high(), 1u);  // the first of two equal highs, and of two equal lows

  EXPECT_EQ(chart.low(), 2u);
  EXPECT_DOUBLE_EQ(chart.y(10000), 0);
  EXPECT_DOUBLE_EQ(chart.y(11000), 1);
  EXPECT_DOUBLE_EQ(chart.x(kAfternoon - 6h), 0.75);
  EXPECT_EQ(chart.priceTicks(),
            (std::vector<ChartTick>{
                {0, "10,000"}, {0.2, "10,200"}, {0.4, "10,400"}, {0.6, "10,600"}, {0.8, "10,800"}, {1, "11,000"}}));
  EXPECT_EQ(chart.valueTicks(),
            (std::vector<ChartTick>{
                {0, "2,500"}, {0.2, "2,550"}, {0.4, "2,600"}, {0.6, "2,650"}, {0.8, "2,700"}, {1, "2,750"}}));
  EXPECT_EQ(chart.levels(), (std::vector<ChartLevel>{
                                {0, "below 10,000", false}, {1, "above 12,500", true}, {0.5, "above 10,500", false}}));

  // Without a holding there is no second scale; a flat line sits inside a scale of its own.
  const PriceChart flat({kPair, samplesAt({{2h, 0.5}, {1h, 0.5}}, kAfternoon), {}, 0}, ChartSpan::day, kAfternoon,
                        format, host);
  EXPECT_TRUE(flat.valueTicks().empty());
  EXPECT_GT(flat.y(0.5), 0);
  EXPECT_LT(flat.y(0.5), 1);
  EXPECT_EQ(flat.priceTicks().front().label, "0.495");
  EXPECT_EQ(flat.readout(0), "12:05 · 0.5");  // nothing held: no value
  const PriceChart zero({kPair, samplesAt({{1h, 0}}, kAfternoon), {}, {}}, ChartSpan::day, kAfternoon, format, host);
  EXPECT_DOUBLE_EQ(zero.y(0), 0.5);
  EXPECT_TRUE(PriceChart({kPair, {}, {}, {}}, ChartSpan::day, kAfternoon, format, host).priceTicks().empty());
}

TEST(PriceChart, TheSummaryTellsTheSpanTheEndsAndTheHighInTheUsersLanguage) {
  test::FakeHost english;
  GermanHost german;
  const LocaleFormat british("en_GB", "UTC"), american("en_US", "UTC"), berlin("de_DE", "Europe/Berlin");
  const auto day = samplesAt({{20h, 10412}, {0s, 10599.5}}, kAfternoon);
  const auto withHigh = samplesAt({{20h, 10412}, {60s, 10812.6}, {0s, 10599.5}}, kAfternoon);
  struct Case {
    AppHost& host;
    const LocaleFormat& format;
    ChartSpan span;
    std::vector<PriceSample> samples;
    const char* summary;
  };
  const Case cases[] = {
      {english, british, ChartSpan::day, withHigh,
       "XBT/USD on Kraken, last 24 hours: from 10,412 to 10,599.5, high 10,812.6 at 14:04"},
      {english, american, ChartSpan::day, withHigh,
       "XBT/USD on Kraken, last 24 hours: from 10,412 to 10,599.5, high 10,812.6 at 2:04\u202fPM"},
      {english, british, ChartSpan::week, withHigh,
       "XBT/USD on Kraken, last 7 days: from 10,412 to 10,599.5, high 10,812.6 at Mon 14:04"},
      {german, berlin, ChartSpan::day, withHigh,
       "XBT/USD auf Kraken, letzte 24 Stunden: von 10.412 bis 10.599,5, Hoch 10.812,6 um 15:04"},
      {english, british, ChartSpan::day, {}, "XBT/USD on Kraken, last 24 hours: no prices recorded"},
      {english, british, ChartSpan::week, day,
       "XBT/USD on Kraken, last 7 days: from 10,412 to 10,599.5, high "
       "10,599.5 at Mon 14:05"},
  };
  for (const Case& test : cases)
    EXPECT_EQ(PriceChart({kPair, test.samples, {}, {}}, test.span, kAfternoon, test.format, test.host).summary(),
              test.summary);
  // The levels' labels are translated too.
  const PriceChart chart({kPair, withHigh, {{.pair = kPair, .kind = AlertKind::above, .level = 11000.5}}, {}},
                         ChartSpan::day, kAfternoon, berlin, german);
  EXPECT_EQ(chart.levels().at(0).label, "über 11.000,5");
}

TEST(PriceChart, TheReadOutShowsTheNearestSampleAndTheTicksFallOnRoundTimes) {
  test::FakeHost host;
  const LocaleFormat format("en_GB", "UTC");
  const auto samples = samplesAt({{3h, 10000}, {2h, 10400}, {1h, 10800}}, kAfternoon);
  const PriceChart chart({kPair, samples, {}, 0.5}, ChartSpan::day, kAfternoon, format, host);
  const std::pair<WallTime, std::optional<std::size_t>> cases[] = {
      {kAfternoon - 5h, 0},
      {kAfternoon - 2h - 31min, 0},
      {kAfternoon - 2h - 30min, 0},
      {kAfternoon - 2h - 29min, 1},
      {kAfternoon - 2h, 1},
      {kAfternoon - 61min, 2},
      {kAfternoon, 2},
  };
  for (const auto& [time, index] : cases) EXPECT_EQ(chart.nearest(time), index);
  EXPECT_EQ(chart.readout(1), "12:05 · 10,400 · 5,200.00 USD");
  const PriceChart empty({kPair, {}, {}, {}}, ChartSpan::day, kAfternoon, format, host);
  EXPECT_EQ(empty.nearest(kAfternoon), std::nullopt);

  // The day from 14:05 yesterday: 15:00, 18:00 ... 12:00; the week from Monday 30 November: Tuesday's
  // midnight first.
  EXPECT_EQ(chart.timeTicks().size(), 8u);
  EXPECT_EQ(chart.timeTicks().front().label, "15:00");
  EXPECT_DOUBLE_EQ(chart.timeTicks().front().at, 55.0 / (24 * 60));
  EXPECT_EQ(chart.timeTicks().back().label, "12:00");
  const PriceChart week({kPair, samples, {}, {}}, ChartSpan::week, kAfternoon, format, host);
  EXPECT_EQ(week.timeTicks().size(), 7u);
  EXPECT_EQ(week.timeTicks().front().label, "Tue 1");
  EXPECT_EQ(week.readout(2), "Mon 13:05 · 10,800");
}

}  // namespace
}  // namespace pricora
