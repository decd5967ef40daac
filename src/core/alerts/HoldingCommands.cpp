#include "core/alerts/HoldingCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/alerts/Holdings.h"
#include "core/common/Texts.h"
#include "core/history/PriceHistory.h"

namespace pricora {

namespace {

bool sameFolded(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// For scripts: a point, no grouping; cents, or eight decimals below one.
std::string plainValue(double value) {
  char text[64];
  const int decimals = std::abs(value) >= 1 ? 2 : 8;
  std::string out(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr);
  if (decimals == 8) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  return out;
}

}  // namespace

int HoldingCommands::hold(const std::string& line) {
  const std::variant<TypedHolding, TextProblem> parsed = parseTypedHolding(line, parts_.format.symbols());
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) {
    parts_.host.log("pricora: " + problemText(parts_.host, *problem));
    return 1;
  }
  const TypedHolding& typed = std::get<TypedHolding>(parsed);
  std::optional<PairName> pair;
  const std::variant<PairName, TextProblem> known = parts_.pairs.find(typed.pair, KnownPairs::kNoneSeenForHolding);
  if (const auto* found = std::get_if<PairName>(&known)) pair = *found;
  // A holding of a pair the store has dropped can still go.
  if (!pair && typed.units == 0)
    if (const Result<std::vector<HoldingRecord>> held = parts_.file.loadHoldings())
      for (const HoldingRecord& holding : held.value())
        if (holding.pair.exchange == typed.pair.exchange && sameFolded(holding.pair.title, typed.pair.title))
          pair = holding.pair;
  if (!pair) {
    parts_.host.log("pricora: " + problemText(parts_.host, std::get<TextProblem>(known)));
    return 1;
  }
  if (const Status saved = parts_.file.setHolding(*pair, typed.units); !saved) {
    logError(parts_.host, saved.error());
    return 1;
  }
  parts_.host.printLine(pair->exchange + " " + pair->title + "\t" + amountText(typed.units));
  return 0;
}

int HoldingCommands::list() {
  const Result<std::vector<HoldingRecord>> holdings = parts_.file.loadHoldings();
  if (!holdings) {
    logError(parts_.host, holdings.error());
    return 1;
  }
  for (const HoldingRecord& holding : holdings.value()) {
    std::string line = holding.pair.exchange + " " + holding.pair.title + "\t" + amountText(holding.units);
    const Result<std::vector<PriceSample>> prices =
        parts_.file.samples(holding.pair, parts_.now - PriceHistory::kKeptInMemory);
    if (prices && !prices.value().empty()) {
      line +=
          "\t" + plainValue(static_cast<double>(holding.units) / kHoldingUnitsPerCoin * prices.value().back().price);
      if (const std::optional<PairCurrencies> currencies = currenciesOf(holding.pair)) line += " " + currencies->quote;
    }
    parts_.host.printLine(line);
  }
  return 0;
}

}  // namespace pricora
