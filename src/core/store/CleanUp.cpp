#include "core/store/CleanUp.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/exchanges/Exchange.h"

namespace pricora {

namespace {

constexpr std::array<std::string_view, 13> kObsoleteTitles = {"",      "ASH/SD", "ASH/UR", "ASH/BT",  "NOE/H",
                                                              "NOE/R", "NOU/D",  "NOX/T",  "SDT/USD", "OSE/H",
                                                              "OSE/R", "OSU/D",  "OSX/T"};

bool obsolete(const Pair& pair) {
  return std::find(kObsoleteTitles.begin(), kObsoleteTitles.end(), *pair.title()) != kObsoleteTitles.end() ||
         pair.exchange() == "BTC-E";
}

}  // namespace

void cleanUpStoredPairs(EditingContext& context, const std::function<void()>& saveAction) {
  // A copy: deleting while walking the context's own list would skip records.
  const std::vector<PairRef> records = context.content();
  for (const PairRef& pair : records) {
    if (!pair->title()) continue;
    if (!obsolete(*pair)) continue;
    context.deletePair(pair);
    saveAction();
  }
}

void boundStoredPairs(EditingContext& context, std::size_t limit) {
  // The exchange whose count a record takes part in, or none for a record that stays anyway.
  const auto countedAs = [](const Pair& pair) -> std::optional<std::size_t> {
    if (pair.isFavourite() || pair.showInMenubar() || !pair.title() || !pair.exchange()) return std::nullopt;
    const std::optional<Exchange> exchange = exchangeNamed(*pair.exchange());
    return exchange ? std::optional(indexOf(*exchange)) : std::nullopt;
  };
  // Each refresh ends here: the common case, a store that holds fewer records than one exchange
  // may keep, costs no walk over them.
  if (context.content().size() <= limit) return;
  std::array<std::size_t, kExchangeCount> excess{};
  for (const PairRef& pair : context.content())
    if (const auto index = countedAs(*pair)) ++excess[*index];
  for (std::size_t& count : excess) count = count > limit ? count - limit : 0;
  if (std::all_of(excess.begin(), excess.end(), [](std::size_t count) { return count == 0; })) return;
  // The records are in creation order: the oldest come first.
  std::vector<PairRef> going;
  for (const PairRef& pair : context.content()) {
    const auto index = countedAs(*pair);
    if (index && excess[*index] > 0) {
      --excess[*index];
      going.push_back(pair);
    }
  }
  context.deletePairs(going);
}

}  // namespace pricora
