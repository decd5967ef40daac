#pragma once

#include <string>
#include <variant>
#include <vector>

#include "core/alerts/AlertText.h"
#include "platform/HistoryFile.h"

namespace pricora {

// The pairs Pricora has seen, the only ones an alert can watch: a title the exchanges never sent
// would never fire. Alerts made from the command line and from notifications go through here.
class KnownPairs {
 public:
  explicit KnownPairs(std::vector<PairName> pairs);

  // The pair as the store spells it, found on its exchange without regard to case ("kraken
  // xbt/usd" is Kraken's XBT/USD); otherwise why not, with the closest titles the exchange has
  // ("Kraken has no XBT/UDS; did you mean XBT/USD?").
  std::variant<PairName, TextProblem> find(const PairName& typed) const;

 private:
  std::vector<PairName> pairs_;
};

}  // namespace pricora
