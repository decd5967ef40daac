#include <gtest/gtest.h>

#include "core/alerts/Holdings.h"
#include "core/bar/BarLine.h"
#include "support/FakeHost.h"

namespace pricora {
namespace {

using std::chrono::hours;
using std::chrono::minutes;

// An amount typed on the command line, or the problem with its arguments.
std::string reading(const std::string& text, const NumberSymbols& symbols) {
  const auto parsed = parseTypedHolding(text, symbols);
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) {
    std::string arguments;
    for (const std::string& argument : problem->arguments) arguments += (arguments.empty() ? "" : "|") + argument;
    return std::string("error: ") + problem->message + " [" + arguments + "]";
  }
  const TypedHolding& holding = std::get<TypedHolding>(parsed);
  return holding.pair.exchange + " " + holding.pair.title + " " + std::to_string(holding.units);
}

// Amounts are kept exactly, to the hundred-millionth, whatever a double would make of them.
TEST(Holdings, AmountsReadExactlyInTheUsersLocaleOrAreRefusedWithTheReason) {
  const NumberSymbols english = numberSymbols("en_US"), german = numberSymbols("de_DE");
  const std::string range = "error: A holding is an amount from 0 to 10,000,000,000 with at most 8 decimals, not %1";
  const struct {
    const NumberSymbols& symbols;
    const char* text;
    std::string read;
  } cases[] = {
      {english, "kraken XBT/USD 0.25", "Kraken XBT/USD 25000000"},
      {english, " Kraken  xbt/usd   0.3 ", "Kraken xbt/usd 30000000"},
      {english, "Kraken XBT/USD 12345678.12345678", "Kraken XBT/USD 1234567812345678"},
      {english, "Kraken XBT/USD 1,000.5", "Kraken XBT/USD 100050000000"},
      {german, "Kraken XBT/USD 1.000,5", "Kraken XBT/USD 100050000000"},
      {german, "Kraken XBT/USD 0,00000001", "Kraken XBT/USD 1"},
      {english, "Kraken XBT/USD 0.100000000", "Kraken XBT/USD 10000000"},
      {english, "Kraken XBT/USD 0", "Kraken XBT/USD 0"},
      {english, "Kraken XBT/USD 000000000001.5", "Kraken XBT/USD 150000000"},
      {english, "Kraken XBT/USD 10000000000", "Kraken XBT/USD 1000000000000000000"},
      {german, "Kraken XBT/USD 1.250", "error: %1 reads as %2 or as %3; write %2 or %3 to say which [1.250|1250|1.25]"},
      {english, "Kraken XBT/USD 0.123456789", range + " [0.123456789]"},
      {english, "Kraken XBT/USD 10000000000.00000001", range + " [10000000000.00000001]"},
      {english, "Kraken XBT/USD -1", range + " [-1]"},
      {english, "Kraken XBT/USD −0.5", range + " [−0.5]"},
      {english, "Kraken XBT/USD abc", "error: %1 is not a number [abc]"},
      {english, "Kraken XBT/USD 1e3", "error: %1 is not a number [1e3]"},
      {english, "Kraken XBT/USD",
       "error: Write the exchange, the pair and the amount, as in: Kraken XBT/USD 0.25 "
       "[Kraken XBT/USD]"},
      {english, "Binance BTC/USDT 1",
       "error: %1 is not one of the exchanges Wex, Bitfinex, Kraken, Bitstamp, OKCoin, Poloniex, CoinFloor and GDAX "
       "[Binance]"},
  };
  for (const auto& [symbols, text, read] : cases) EXPECT_EQ(reading(text, symbols), read) << text;

  // Written back the way every locale reads alike.
  const std::pair<std::int64_t, const char*> written[] = {{25000000, "0.25"},
                                                          {1, "0.00000001"},
                                                          {300000000, "3"},
                                                          {112500000, "1.1250"},
                                                          {1234567812345678, "12345678.12345678"}};
  for (const auto& [units, text] : written) EXPECT_EQ(amountText(units), text);
}

TEST(Holdings, QuoteCurrencyIsAfterTheSlashButOnPoloniexBeforeIt) {
  const std::pair<PairName, std::string> cases[] = {
      {{"Kraken", "XBT/USD"}, "XBT in USD"},
      {{"Poloniex", "BTC/ETH"}, "ETH in BTC"},
      {{"Kraken", "XBTUSD"}, "none"},
      {{"GDAX", "BTC/"}, "none"},
  };
  for (const auto& [pair, expected] : cases) {
    const auto currencies = currenciesOf(pair);
    EXPECT_EQ(currencies ? currencies->base + " in " + currencies->quote : "none", expected) << pair.title;
  }
}

class Values : public ::testing::Test {
 protected:
  const WallTime now{std::chrono::seconds(1768471200)};
  test::FakeHost host;
  LocaleFormat format{"en_US"};
  HoldingValues values{host, format};
  std::map<PairName, std::vector<PriceSample>> history;
  HoldingValues::RecentPrices recent = [this](const PairName& pair) -> std::span<const PriceSample> {
    return history[pair];
  };
};

TEST_F(Values, EachHoldingAndTheTotalsPerQuoteCurrencyWithTheirChangeSinceADayAgo) {
  const PairName xbtUsd{"Kraken", "XBT/USD"}, ethUsd{"Kraken", "ETH/USD"}, xbtEur{"Kraken", "XBT/EUR"},
      noSlash{"Kraken", "XBTJPY"}, unpriced{"Kraken", "LTC/USD"};
  values.setHoldings(
      {{xbtUsd, 25000000}, {ethUsd, 200000000}, {xbtEur, 10000000}, {noSlash, 100000000}, {unpriced, 100000000}});
  EXPECT_EQ(values.totalLine(recent, now), "");  // no price yet
  values.priceSeen(xbtUsd, 10558.8);
  values.priceSeen(ethUsd, 700);
  values.priceSeen(xbtEur, 9000);
  values.priceSeen(noSlash, 1500000);
  // XBT/USD has a price of a day ago (the oldest of the day, 20 minutes late); ETH/USD's oldest
  // is too young to stand for it; XBT/EUR fell.
  history[xbtUsd] = {{now - hours(24) + minutes(20), 10433.6}, {now, 10558.8}};
  history[ethUsd] = {{now - hours(23), 650}, {now, 700}};
  history[xbtEur] = {{now - hours(24), 9100}, {now, 9000}};

  const std::pair<PairName, std::string> lines[] = {
      {xbtUsd, "Holding 0.25 XBT: 2,639.70 USD, +1.2 % in 24 h"},
      {ethUsd, "Holding 2 ETH: 1,400.00 USD"},
      {xbtEur, "Holding 0.1 XBT: 900.00 EUR, -1.1 % in 24 h"},
      {noSlash, "Holding 1: 1,500,000.00"},
      {unpriced, ""},
      {{"Kraken", "DOGE/USD"}, ""},
  };
  for (const auto& [pair, line] : lines) EXPECT_EQ(values.pairLine(pair, recent, now), line) << pair.title;
  // Never summed across currencies; each change counts the holdings with a price of a day ago.
  EXPECT_EQ(values.totalLine(recent, now), "Holdings: 900.00 EUR -1.1 % · 4,039.70 USD +1.2 %, in 24 h");
  values.setHoldings({{xbtUsd, 25000000}, {ethUsd, 200000000}});
  EXPECT_EQ(values.totalLine(recent, now), "Holdings: 4,039.70 USD, +1.2 % in 24 h");
  history[xbtUsd].erase(history[xbtUsd].begin());
  EXPECT_EQ(values.totalLine(recent, now), "Holdings: 4,039.70 USD");

  const LocaleFormat german("de_DE");
  HoldingValues inGerman(host, german);
  inGerman.setHoldings({{xbtEur, 10000000}});
  inGerman.priceSeen(xbtEur, 9900.5);
  EXPECT_EQ(inGerman.pairLine(xbtEur, recent, now), "Holding 0,1 XBT: 990,05 EUR, +8,8 % in 24 h");
}

// The bars say nothing of holdings unless there are some, and show the totals when asked to.
TEST(BarLine, ListsHoldingsInWaybarsToolTipAndShowsTheTotalsWhenAsked) {
  BarItem held{"XBT/USD", "10599.5", "XBT/USD: 10599.5", {}, std::nullopt};
  held.holding = "Holding 0.25 XBT: 2,649.88 USD";
  BarView view{{held, {"ETH/EUR", "706.76", "ETH/EUR: 706.76", {}, std::nullopt}}, BarState::ok};
  view.holdings = "Holdings: 2,649.88 USD";
  EXPECT_EQ(barLine(BarFormat::waybar, view),
            R"({"text":"XBT/USD 10599.5  ETH/EUR 706.76","tooltip":"XBT/USD: 10599.5\nHolding 0.25 XBT: 2,649.88 USD)"
            R"(\n\nETH/EUR: 706.76\n\nHoldings: 2,649.88 USD","class":"ok","alt":"ok"})"
            "\n");
  EXPECT_EQ(barLine(BarFormat::polybar, view), "XBT/USD 10599.5  ETH/EUR 706.76\n");
  view.showHoldings = true;
  const std::pair<BarFormat, std::string> shown[] = {
      {BarFormat::waybar, R"({"text":"XBT/USD 10599.5  ETH/EUR 706.76  Holdings: 2,649.88 USD",)"},
      {BarFormat::polybar, "XBT/USD 10599.5  ETH/EUR 706.76  Holdings: 2,649.88 USD\n"},
      {BarFormat::i3blocks, R"({"full_text":"XBT/USD 10599.5  ETH/EUR 706.76  Holdings: 2,649.88 USD",)"},
  };
  for (const auto& [format, start] : shown) EXPECT_EQ(barLine(format, view).find(start), 0u) << barLine(format, view);
}

}  // namespace
}  // namespace pricora
