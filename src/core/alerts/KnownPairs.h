#pragma once

#include <string>
#include <variant>
#include <vector>

#include "core/alerts/AlertText.h"
#include "core/common/Texts.h"
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
  // noneSeen: what to say when the store has no pair of that exchange yet (%1: the exchange), in
  // the context "AppDelegate", to be translated.
  std::variant<PairName, TextProblem> find(const PairName& typed, const char* noneSeen = kNoneSeenForAlert) const;

  static constexpr const char* kNoneSeenForAlert =
      QT_TRANSLATE_NOOP("AppDelegate", "Pricora has seen no pairs of %1 yet: let it run once, then make the alert");
  static constexpr const char* kNoneSeenForHolding =
      QT_TRANSLATE_NOOP("AppDelegate", "Pricora has seen no pairs of %1 yet: let it run once, then set the holding");
  static constexpr const char* kNoneSeenForChart =
      QT_TRANSLATE_NOOP("AppDelegate", "Pricora has seen no pairs of %1 yet: let it run once to record its prices");

 private:
  std::vector<PairName> pairs_;
};

}  // namespace pricora
