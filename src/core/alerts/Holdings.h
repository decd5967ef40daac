#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/alerts/AlertText.h"
#include "core/alerts/LocaleFormat.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

// The most a holding may be: ten billion of a currency, well inside what the file keeps.
inline constexpr std::int64_t kMostHoldingUnits = 10'000'000'000 * kHoldingUnitsPerCoin;

// An amount as the user types it, in units (hundred-millionths): the locale's way or plain
// notation, read as typedNumber reads numbers, from 0 (no holding) up, with at most 8 decimals.
std::variant<std::int64_t, TextProblem> parseAmount(std::string_view text, const NumberSymbols& symbols);
// In plain notation that reads the same in every locale, without trailing zeros: "0.25", "3",
// "0.00000001", "1.2500" (three decimals would read as thousands in German).
std::string amountText(std::int64_t units);

// The command line's form: "Kraken XBT/USD 0.25". The exchange is one of the eight, in any case;
// the title is taken as written, for the caller to look up among the pairs it knows.
struct TypedHolding {
  PairName pair;
  std::int64_t units = 0;
};
std::variant<TypedHolding, TextProblem> parseTypedHolding(std::string_view text, const NumberSymbols& symbols);

// What a pair's price is counted in, and what it is the price of. The title's parts around its
// "/": "XBT/USD" prices XBT in USD, but Poloniex names its markets the other way round ("BTC/ETH"
// prices ETH in BTC). None for a title without a "/", whose currencies cannot be told.
struct PairCurrencies {
  std::string base;   // "XBT"
  std::string quote;  // "USD"
};
std::optional<PairCurrencies> currenciesOf(const PairName& pair);

// The user's holdings, valued at the prices of this run: each holding's value (amount × last
// price, in the quote currency) and its change since the price of 24 hours ago, and the totals
// per quote currency, never summed across currencies.
class HoldingValues {
 public:
  // The prices of a pair over the last day, oldest first.
  using RecentPrices = std::function<std::span<const PriceSample>(const PairName&)>;
  HoldingValues(AppHost& host, const LocaleFormat& format) : host_(host), format_(format) {}

  void setHoldings(std::vector<HoldingRecord> holdings) { holdings_ = std::move(holdings); }
  const std::vector<HoldingRecord>& holdings() const { return holdings_; }
  // The pair's holding in units; 0 without one.
  std::int64_t unitsOf(const PairName& pair) const;
  // A price of this run, as the exchange's entry read it.
  void priceSeen(const PairName& pair, double price) { prices_[pair] = price; }

  // For the pair's price item: "Holding 0.25 XBT: 2,639.70 USD, +1.2 % in 24 h"; without the
  // change when there is no price of 24 hours ago, empty without a holding or a price.
  std::string pairLine(const PairName& pair, const RecentPrices& recent, WallTime now) const;
  // For the application's item: "Holdings: 12,345.67 USD · 2,104.50 EUR, +3.1 % in 24 h", each
  // currency's change beside it when there are several ("Holdings: 12,345.67 USD +3.1 % ·
  // 2,104.50 EUR −0.4 %, in 24 h"). The change counts the holdings that have a price of 24 hours
  // ago. Empty when no holding has a price.
  std::string totalLine(const RecentPrices& recent, WallTime now) const;

 private:
  struct Value {
    double now = 0;
    std::optional<double> dayAgo;
  };
  std::optional<Value> valueOf(const HoldingRecord& holding, const RecentPrices& recent, WallTime now) const;
  std::string money(double value) const;
  std::string percent(double now, double before) const;

  AppHost& host_;
  const LocaleFormat& format_;
  std::vector<HoldingRecord> holdings_;
  std::map<PairName, double> prices_;
};

}  // namespace pricora
