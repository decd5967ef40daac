#include <gtest/gtest.h>

#include <tuple>

#include "core/alerts/AlertText.h"
#include "core/alerts/KnownPairs.h"

namespace pricora {
namespace {

const NumberSymbols kEnglish = numberSymbols("en_US");

// What a text reads as: the rule written back, or the problem with its arguments.
std::string reading(const std::variant<AlertRule, TextProblem>& parsed) {
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) {
    std::string arguments;
    for (const std::string& argument : problem->arguments) arguments += (arguments.empty() ? "" : "|") + argument;
    return std::string("error: ") + problem->message + " [" + arguments + "]";
  }
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
  for (const auto& [text, expected] : cases) EXPECT_EQ(reading(parseAlertRule(text, kEnglish)), expected) << text;

  const auto rules = parseAlertRules(" > 1 ;; +5% 1h;", kEnglish);
  ASSERT_TRUE(std::holds_alternative<std::vector<AlertRule>>(rules));
  EXPECT_EQ(std::get<std::vector<AlertRule>>(rules).size(), 2u);
  EXPECT_TRUE(std::holds_alternative<TextProblem>(parseAlertRules("> 1; > x", kEnglish)));
}

// Levels as people write them in their locale or in plain notation; never a number that reads
// as another one elsewhere, and what is written back reads the same everywhere.
TEST(AlertText, NumbersReadTheSameInTheUsersLocaleAndInPlainNotationOrAreRefused) {
  const char* const kTwoWays = "error: %1 reads as %2 or as %3; write %2 or %3 to say which";
  const char* const kNotHere = "error: %1 is not how numbers are written here; write %2";
  const std::string nnbsp = "\xE2\x80\xAF", nbsp = "\xC2\xA0", apostrophe = "\xE2\x80\x99";
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"en_US", "> 11000", "> 11000"},
      {"en_US", "> 11000.5", "> 11000.5"},
      {"en_US", "> 1,234.5", "> 1234.5"},
      {"en_US", "> 1,000,000", "> 1000000"},
      {"en_US", "> 11 000 once", "> 11000 once"},
      {"en_US", "> 11.000", kTwoWays + std::string(" [11.000|11|11000]")},
      {"en_US", "> 11,000", kTwoWays + std::string(" [11,000|11000|11]")},
      {"en_US", "> 10.125", kTwoWays + std::string(" [10.125|10.1250|10125]")},
      {"en_US", "> 1.234,5", kNotHere + std::string(" [1.234,5|1234.5]")},
      {"en_US", "> 11,5", kNotHere + std::string(" [11,5|11.5]")},
      {"en_US", "> 1,23", kNotHere + std::string(" [1,23|1.23]")},
      {"en_US", "> 1'2", "error: %1 is not a number [1'2]"},
      {"de_DE", "> 1.234,5", "> 1234.5"},
      {"de_DE", "> 11000,5", "> 11000.5"},
      {"de_DE", "> 11000.5", "> 11000.5"},
      {"de_DE", "-2,5% 1,5h", "-2.5% 90m"},
      {"de_DE", "> 11.000", kTwoWays + std::string(" [11.000|11000|11]")},
      {"de_DE", "> 11,000", kTwoWays + std::string(" [11,000|11|11000]")},
      {"fr_FR", "> 11" + nnbsp + "000,5", "> 11000.5"},
      {"fr_FR", "> 11" + nbsp + "000", "> 11000"},
      {"fr_FR", "> 11 000", "> 11000"},
      {"fr_FR", "> 0,5", "> 0.5"},
      {"fr_FR", "> 11,000", kTwoWays + std::string(" [11,000|11|11000]")},
      {"de_CH", "> 11" + apostrophe + "000.50", "> 11000.5"},
      {"de_CH", "> 11'000", "> 11000"},
      {"de_CH", "> 11.000", kTwoWays + std::string(" [11.000|11|11000]")},
      {"de_CH", "> 11,5", kNotHere + std::string(" [11,5|11.5]")},
  };
  for (const auto& [locale, text, expected] : cases) {
    const NumberSymbols symbols = numberSymbols(locale);
    const std::variant<AlertRule, TextProblem> parsed = parseAlertRule(text, symbols);
    EXPECT_EQ(reading(parsed), expected) << locale << " " << text;
    // What the Manage window writes back is taken again as it is, in every locale.
    if (std::holds_alternative<AlertRule>(parsed)) {
      EXPECT_EQ(reading(parseAlertRule(reading(parsed), symbols)), expected) << locale << " " << text;
    }
  }
}

TEST(AlertText, TheCommandLineNamesAnExchangeOfTheEightAndAnyTitle) {
  const auto parsed = parseTypedAlert("kraken XBT/USD > 11000", kEnglish);
  ASSERT_TRUE(std::holds_alternative<TypedAlert>(parsed));
  EXPECT_EQ(std::get<TypedAlert>(parsed).pair, (PairName{"Kraken", "XBT/USD"}));
  // A title may hold a minus of its own, and pairs never seen are taken as written.
  const auto dashed = parseTypedAlert("GDAX  NEW-COIN X -3% 1h", kEnglish);
  ASSERT_TRUE(std::holds_alternative<TypedAlert>(dashed));
  EXPECT_EQ(std::get<TypedAlert>(dashed).pair.title, "NEW-COIN X");
  EXPECT_EQ(std::get<TypedAlert>(dashed).rule.kind, AlertKind::down);
  for (const char* bad : {"Kraken > 5", "Kraken XBT/USD", "XBT/USD > 5", "Binance BTC/USDT > 5", ""})
    EXPECT_TRUE(std::holds_alternative<TextProblem>(parseTypedAlert(bad, kEnglish))) << bad;
  // The chart's pair alone, read the same way.
  EXPECT_EQ(std::get<PairName>(parseTypedPair(" kraken  NEW COIN/USD ")), (PairName{"Kraken", "NEW COIN/USD"}));
  for (const char* bad : {"Kraken ", "Binance BTC/USDT", ""})
    EXPECT_TRUE(std::holds_alternative<TextProblem>(parseTypedPair(bad))) << bad;
}

// An alert watches a pair the store knows, spelt as the store spells it.
TEST(AlertText, PairsAreThoseTheStoreKnowsFoundWithoutRegardToCase) {
  const KnownPairs pairs({{"Kraken", "XBT/USD"}, {"Kraken", "XBT/EUR"}, {"Kraken", "ETH/USD"}, {"GDAX", "BTC-USD"}});
  const std::pair<PairName, std::string> cases[] = {
      {{"Kraken", "XBT/USD"}, "Kraken XBT/USD"},
      {{"Kraken", "xbt/usd"}, "Kraken XBT/USD"},
      {{"Kraken", "XBT/UDS"}, "%1 has no %2; did you mean %3? [Kraken|XBT/UDS|XBT/USD]"},
      {{"Kraken", "XBT/US"}, "%1 has no %2; did you mean %3? [Kraken|XBT/US|XBT/USD, XBT/EUR]"},
      {{"Kraken", "BXT/UDS"}, "%1 has no %2; did you mean %3? [Kraken|BXT/UDS|XBT/USD]"},  // two swaps
      {{"Kraken", "DOGE/JPY"}, "%1 has no %2 [Kraken|DOGE/JPY]"},
      {{"GDAX", "XBT/USD"}, "%1 has no %2 [GDAX|XBT/USD]"},
      {{"Bitstamp", "BTC/USD"}, "Pricora has seen no pairs of %1 yet: let it run once, then make the alert [Bitstamp]"},
  };
  for (const auto& [typed, expected] : cases) {
    const auto found = pairs.find(typed);
    std::string shown;
    if (const auto* pair = std::get_if<PairName>(&found)) {
      shown = pair->exchange + " " + pair->title;
    } else {
      const TextProblem& problem = std::get<TextProblem>(found);
      std::string arguments;
      for (const std::string& argument : problem.arguments) arguments += (arguments.empty() ? "" : "|") + argument;
      shown = std::string(problem.message) + " [" + arguments + "]";
    }
    EXPECT_EQ(shown, expected) << typed.title;
  }
}

}  // namespace
}  // namespace pricora
