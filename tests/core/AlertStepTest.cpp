// The firing rules, one price at a time: where each alert stands after a reading and whether it
// fired, at and around its level and its margin (0.5 %).
#include <gtest/gtest.h>

#include "core/alerts/AlertStep.h"
#include "core/alerts/AlertText.h"

namespace pricora {
namespace {

// A price exactly where the alert arms again.
constexpr double kRearming = -1;

struct Case {
  const char* rule;
  AlertPhase before;
  std::vector<std::pair<int, double>> recent;  // seconds before now, price; oldest first
  double price;
  bool fires;
  AlertPhase after;
};

TEST(AlertStep, AnAlertFiresOnlyWhenArmedAndPastItsLevelAndArmsAgainPastTheMargin) {
  using enum AlertPhase;
  const Case cases[] = {
      // Prices: past means beyond the level, not at it; armed again at the level less the margin.
      {"> 100", armed, {}, 100, false, armed},
      {"> 100", armed, {}, 100.01, true, waiting},
      {"> 100 once", armed, {}, 150, true, spent},
      {"> 100", waiting, {}, 99.6, false, waiting},
      {"> 100", waiting, {}, kRearming, false, armed},
      {"> 100", waiting, {}, 120, false, waiting},
      {"> 100", fresh, {}, 101, false, waiting},
      {"> 100", fresh, {}, 99.9, false, armed},
      {"> 100", spent, {}, 99, false, spent},
      {"> 100", spent, {}, 101, false, spent},
      {"< 100", armed, {}, 100, false, armed},
      {"< 100", armed, {}, 99.99, true, waiting},
      {"< 100 once", armed, {}, 1, true, spent},
      {"< 100", waiting, {}, 100.4, false, waiting},
      {"< 100", waiting, {}, kRearming, false, armed},
      {"< 100", fresh, {}, 99, false, waiting},
      {"< 100", fresh, {}, 101, false, armed},
      // Moves: at the level is past; measured from the window's lowest (up) or highest (down),
      // and a price older than the window counts for nothing.
      {"+25% 5m", armed, {{200, 100}}, 125, true, waiting},
      {"+2% 5m", armed, {{200, 100}}, 101.9, false, armed},
      {"+2% 5m", armed, {{400, 90}, {100, 101}}, 102, false, armed},
      {"+2% 5m", armed, {{250, 100}, {60, 103}}, 102.5, true, waiting},
      {"+2% 5m once", armed, {{300, 100}}, 103, true, spent},
      {"+2% 5m", waiting, {{200, 100}}, 101.6, false, waiting},
      {"+2% 5m", waiting, {{200, 100}}, 101.45, false, armed},
      {"+2% 5m", fresh, {{200, 100}}, 102, false, waiting},
      {"-25% 5m", armed, {{200, 100}}, 75, true, waiting},
      {"-2% 5m", armed, {{200, 100}}, 98.1, false, armed},
      {"-2% 5m", armed, {{400, 110}, {100, 99}}, 98, false, armed},
      {"-2% 5m", armed, {{250, 100}, {60, 97}}, 97.5, true, waiting},
      {"-2% 5m once", armed, {{100, 100}}, 90, true, spent},
      {"-2% 5m", waiting, {{200, 100}}, 98.4, false, waiting},
      {"-2% 5m", waiting, {{200, 100}}, 98.55, false, armed},
      {"-2% 5m", armed, {}, 50, false, armed},  // no earlier price in the window: no move
      // A move smaller than the margin arms again at half its size.
      {"+0.3% 5m", waiting, {{200, 100}}, 100.16, false, waiting},
      {"+0.3% 5m", waiting, {{200, 100}}, 100.14, false, armed},
  };
  const WallTime now{std::chrono::hours(1000)};
  for (const Case& c : cases) {
    const auto rule = parseAlertRule(c.rule, numberSymbols("en_US"));
    ASSERT_TRUE(std::holds_alternative<AlertRule>(rule)) << c.rule;
    AlertRecord alert = makeAlert({"Kraken", "XBT/USD"}, std::get<AlertRule>(rule), now);
    alert.phase = c.before;
    std::vector<PriceSample> recent;
    for (const auto& [ago, price] : c.recent) recent.push_back({now - std::chrono::seconds(ago), price});
    const double price = c.price == kRearming ? rearmingReading(alert) : c.price;
    const AlertStep step = stepAlert(alert, alertReading(alert, recent, price, now));
    EXPECT_EQ(step.fires, c.fires) << c.rule << " at " << c.price << " from " << int(c.before);
    EXPECT_EQ(step.phase, c.after) << c.rule << " at " << c.price << " from " << int(c.before);
  }
}

}  // namespace
}  // namespace pricora
