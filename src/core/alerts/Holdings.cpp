#include "core/alerts/Holdings.h"

#include <algorithm>
#include <cmath>

#include "core/alerts/AlertWords.h"
#include "core/common/Texts.h"
#include "core/exchanges/Exchange.h"
#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

constexpr std::size_t kMostDecimals = 8;
constexpr std::chrono::hours kDay{24};
// How much later than 24 hours ago the oldest price of the last day may be and still stand for
// the price of then: a refresh or two, or a short pause.
constexpr std::chrono::minutes kDayAgoSlack{30};

const char* const kOutOfRange =
    QT_TRANSLATE_NOOP("AppDelegate", "A holding is an amount from 0 to 10,000,000,000 with at most 8 decimals, not %1");

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The price of 24 hours ago: the oldest of the last day, when it is that old.
std::optional<double> priceDayAgo(std::span<const PriceSample> recent, WallTime now) {
  const WallTime from = now - kDay;
  const auto oldest =
      std::find_if(recent.begin(), recent.end(), [&](const PriceSample& sample) { return sample.time >= from; });
  if (oldest == recent.end() || oldest->time > from + kDayAgoSlack || !(oldest->price > 0)) return std::nullopt;
  return oldest->price;
}

}  // namespace

std::variant<std::int64_t, TextProblem> parseAmount(std::string_view text, const NumberSymbols& symbols) {
  text = trimmed(text);
  const TextProblem outOfRange{kOutOfRange, {std::string(text)}};
  if (text.starts_with("-") || text.starts_with("\xE2\x88\x92")) return outOfRange;  // U+2212
  const TypedNumber typed = readTypedNumber(text, symbols);
  if (!typed.value) return std::get<TextProblem>(typedNumber(text, symbols));
  const std::string& digits = typed.digits;
  const std::size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (fraction.size() > kMostDecimals || whole.size() > 11) return outOfRange;
  fraction.resize(kMostDecimals, '0');
  const std::int64_t units = (whole.empty() ? 0 : std::stoll(whole)) * kHoldingUnitsPerCoin + std::stoll(fraction);
  if (units > kMostHoldingUnits) return outOfRange;
  return units;
}

std::string amountText(std::int64_t units) {
  std::string fraction = std::to_string(units % kHoldingUnitsPerCoin);
  fraction.insert(0, kMostDecimals - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  const std::int64_t whole = units / kHoldingUnitsPerCoin;
  if (fraction.empty()) return std::to_string(whole);
  // Three digits after the point read as a group of thousands where the comma is the decimal.
  if (fraction.size() == 3 && whole != 0) fraction += '0';
  return std::to_string(whole) + "." + fraction;
}

std::variant<TypedHolding, TextProblem> parseTypedHolding(std::string_view text, const NumberSymbols& symbols) {
  text = trimmed(text);
  const std::size_t space = text.find_first_of(" \t");
  const std::string_view rest = trimmed(space == std::string_view::npos ? std::string_view() : text.substr(space));
  const std::size_t titleEnd = rest.find_first_of(" \t");
  if (text.empty() || rest.empty() || titleEnd == std::string_view::npos)
    return TextProblem{
        QT_TRANSLATE_NOOP("AppDelegate", "Write the exchange, the pair and the amount, as in: Kraken XBT/USD 0.25"),
        {std::string(text)}};
  const std::string_view name = text.substr(0, space);
  const std::optional<std::string> exchange = exchangeTyped(name);
  if (!exchange) return unknownExchange(name);
  std::variant<std::int64_t, TextProblem> units = parseAmount(rest.substr(titleEnd), symbols);
  if (auto* problem = std::get_if<TextProblem>(&units)) return *problem;
  return TypedHolding{{*exchange, std::string(rest.substr(0, titleEnd))}, std::get<std::int64_t>(units)};
}

std::optional<PairCurrencies> currenciesOf(const PairName& pair) {
  const std::size_t slash = pair.title.find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == pair.title.size()) return std::nullopt;
  std::string first = pair.title.substr(0, slash), second = pair.title.substr(slash + 1);
  if (pair.exchange == displayName(Exchange::Poloniex)) return PairCurrencies{std::move(second), std::move(first)};
  return PairCurrencies{std::move(first), std::move(second)};
}

std::int64_t HoldingValues::unitsOf(const PairName& pair) const {
  const auto found = std::find_if(holdings_.begin(), holdings_.end(),
                                  [&](const HoldingRecord& holding) { return holding.pair == pair; });
  return found == holdings_.end() ? 0 : found->units;
}

std::optional<HoldingValues::Value> HoldingValues::valueOf(const HoldingRecord& holding, const RecentPrices& recent,
                                                           WallTime now) const {
  const auto price = prices_.find(holding.pair);
  if (price == prices_.end()) return std::nullopt;
  const double amount = static_cast<double>(holding.units) / kHoldingUnitsPerCoin;
  Value value{amount * price->second, std::nullopt};
  if (const std::optional<double> before = priceDayAgo(recent(holding.pair), now)) value.dayAgo = amount * *before;
  return value;
}

// Cents for amounts of money, six significant digits below one: a holding of a coin priced in
// another coin is worth 0.0123456 of it.
std::string HoldingValues::money(double value) const {
  return std::abs(value) >= 1 ? format_.fixed(value, 2) : format_.approximate(value);
}

std::string HoldingValues::percent(double now, double before) const {
  const double change = (now / before - 1) * 100;
  return format_.signedNumber(change, std::abs(change) < 1 ? 2 : 1) + " %";
}

std::string HoldingValues::pairLine(const PairName& pair, const RecentPrices& recent, WallTime now) const {
  const auto holding =
      std::find_if(holdings_.begin(), holdings_.end(), [&](const HoldingRecord& held) { return held.pair == pair; });
  if (holding == holdings_.end()) return {};
  const std::optional<Value> value = valueOf(*holding, recent, now);
  if (!value) return {};
  const std::string amount =
      format_.number(static_cast<double>(holding->units) / kHoldingUnitsPerCoin, static_cast<int>(kMostDecimals));
  const std::optional<PairCurrencies> currencies = currenciesOf(pair);
  std::string line =
      currencies
          ? localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Holding %1 %2: %3 %4"),
                          {amount, shownText(currencies->base), money(value->now), shownText(currencies->quote)})
          : localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Holding %1: %2"), {amount, money(value->now)});
  if (value->dayAgo && *value->dayAgo > 0)
    line += ", " + localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 in %2"),
                                 {percent(value->now, *value->dayAgo), AlertWords(host_, format_).duration(kDay)});
  return line;
}

std::string HoldingValues::totalLine(const RecentPrices& recent, WallTime now) const {
  struct Total {
    double now = 0, changedNow = 0, dayAgo = 0;  // the last two of the holdings with a price of 24 hours ago
  };
  std::map<std::string, Total> totals;
  for (const HoldingRecord& holding : holdings_) {
    const std::optional<PairCurrencies> currencies = currenciesOf(holding.pair);
    const std::optional<Value> value = valueOf(holding, recent, now);
    if (!currencies || !value) continue;
    Total& total = totals[currencies->quote];
    total.now += value->now;
    if (value->dayAgo) {
      total.changedNow += value->now;
      total.dayAgo += *value->dayAgo;
    }
  }
  if (totals.empty()) return {};
  std::string parts;
  bool changed = false;
  for (const auto& [currency, total] : totals) {
    if (!parts.empty()) parts += " · ";
    parts += money(total.now) + " " + shownText(currency);
    if (totals.size() > 1 && total.dayAgo > 0) {
      parts += " " + percent(total.changedNow, total.dayAgo);
      changed = true;
    }
  }
  std::string line = localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Holdings: %1"), {parts});
  const std::string day = AlertWords(host_, format_).duration(kDay);
  if (const Total& only = totals.begin()->second; totals.size() == 1 && only.dayAgo > 0)
    line += ", " + localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 in %2"),
                                 {percent(only.changedNow, only.dayAgo), day});
  else if (changed)
    line += ", " + localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "in %1"), {day});
  return line;
}

}  // namespace pricora
