#include "core/store/CleanUp.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pricora {

namespace {

constexpr std::array<std::string_view, 13> kObsoleteTitles = {
    "", "ASH/SD", "ASH/UR", "ASH/BT", "NOE/H", "NOE/R", "NOU/D", "NOX/T", "SDT/USD", "OSE/H", "OSE/R", "OSU/D", "OSX/T"};

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

}  // namespace pricora
