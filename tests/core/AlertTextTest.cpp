#include <gtest/gtest.h>

#include "core/alerts/AlertStep.h"
#include "core/alerts/AlertText.h"

namespace pricora {
namespace {

// What a text reads as: the rule written back, or the problem with its argument.
std::string reading(const std::variant<AlertRule, TextProblem>& parsed) {
  if (const auto* problem = std::get_if<TextProblem>(&parsed))
    return std::string("error: ") + problem->message + " [" + problem->argument + "]";
  return ruleText(makeAlert({}, std::get<AlertRule>(parsed), {}));
}

TEST(AlertText, RulesReadAsWrittenAndEveryBadInputSaysWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"> 11000", "> 11000"},
      {"<9500.5", "< 9500.5"},
      {"  >  0.00001234   once ", "> 0.00001234 once"},
      {"+5% 1h", "+5% 1h"},
      {"-2.5 % 30 min", "-2.5% 30m"},
      {"−3% 90m", "-3% 90m"},
      {"+1% 1d", "+1% 24h"},
      {"+0.5% 5m once", "+0.5% 5m once"},
      {"> -5", "error: A level is a price greater than 0, not %1 [-5]"},
      {"> 0", "error: A level is a price greater than 0, not %1 [0]"},
      {"> 1e20", "error: %1 is not a number [1e20]"},
      {"> nan", "error: %1 is not a number [nan]"},
      {"< inf", "error: %1 is not a number [inf]"},
      {"> 11,000", "error: Write %1 with a point and without grouping, as in 11000.5 [11,000]"},
      {"> 1.2.3", "error: %1 is not a number [1.2.3]"},
      {"+5% 1m", "error: A move's window is from 5 min to 24 h, not %1 [1m]"},
      {"+5% 25h", "error: A move's window is from 5 min to 24 h, not %1 [25h]"},
      {"+5% 1w", "error: Give the move a window from 5m to 24h, as in +5% 1h [1w]"},
      {"+5%", "error: Give the move a window from 5m to 24h, as in +5% 1h []"},
      {"-100% 1h", "error: A move down is more than 0 % and less than 100 %, not %1 [100%]"},
      {"+1001% 1h", "error: A move up is more than 0 % and at most 1000 %, not %1 [1001%]"},
      {"= 5", "error: Write > 11000 or < 9500 for a level, +5% 1h or -5% 1h for a move; %1 is not one [= 5]"},
      {"> 5 twice",
       "error: Write > 11000 or < 9500 for a level, +5% 1h or -5% 1h for a move; %1 is not one [> 5 twice]"},
      {"", "error: Write > 11000 or < 9500 for a level, +5% 1h or -5% 1h for a move; %1 is not one []"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(reading(parseAlertRule(text)), expected) << text;

  const auto rules = parseAlertRules(" > 1 ;; +5% 1h;");
  ASSERT_TRUE(std::holds_alternative<std::vector<AlertRule>>(rules));
  EXPECT_EQ(std::get<std::vector<AlertRule>>(rules).size(), 2u);
  EXPECT_TRUE(std::holds_alternative<TextProblem>(parseAlertRules("> 1; > x")));
}

TEST(AlertText, AMoveSmallerThanTheMarginArmsAgain) {
  AlertRecord alert = makeAlert({}, std::get<AlertRule>(parseAlertRule("+0.3% 5m")), {});
  alert.phase = AlertPhase::waiting;
  EXPECT_EQ(stepAlert(alert, 0.1).phase, AlertPhase::armed);
}

TEST(AlertText, TheCommandLineNamesAnExchangeOfTheEightAndAnyTitle) {
  const auto parsed = parseAlertSpec("kraken XBT/USD > 11000");
  ASSERT_TRUE(std::holds_alternative<AlertSpec>(parsed));
  EXPECT_EQ(std::get<AlertSpec>(parsed).pair, (PairName{"Kraken", "XBT/USD"}));
  // A title may hold a minus of its own, and pairs never seen are taken as written.
  const auto dashed = parseAlertSpec("GDAX  NEW-COIN X -3% 1h");
  ASSERT_TRUE(std::holds_alternative<AlertSpec>(dashed));
  EXPECT_EQ(std::get<AlertSpec>(dashed).pair.title, "NEW-COIN X");
  EXPECT_EQ(std::get<AlertSpec>(dashed).rule.kind, AlertKind::down);
  for (const char* bad : {"Kraken > 5", "Kraken XBT/USD", "XBT/USD > 5", "Binance BTC/USDT > 5", ""})
    EXPECT_TRUE(std::holds_alternative<TextProblem>(parseAlertSpec(bad))) << bad;
}

}  // namespace
}  // namespace pricora
