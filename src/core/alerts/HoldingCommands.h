#pragma once

#include <string>

#include "core/alerts/KnownPairs.h"
#include "core/alerts/LocaleFormat.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

// What the command line's holdings work with.
struct HoldingCommandParts {
  HistoryFile& file;
  AppHost& host;
  const LocaleFormat& format;
  const KnownPairs& pairs;  // the store's pairs: the only ones a holding can be of
  WallTime now;
};

// The command line's holdings, kept in the history file alone: a running Pricora takes them in
// at its next refresh (which the caller may start at once). Results go to standard output, problems to standard error;
// each returns the exit status: 0, or 1 when nothing was done.
class HoldingCommands {
 public:
  explicit HoldingCommands(HoldingCommandParts parts) : parts_(parts) {}

  // "Kraken XBT/USD 0.25", for a pair of the store; 0 removes the pair's holding, also of a pair
  // the store no longer has. Prints the pair and the amount stored: "Kraken XBT/USD<TAB>0.25".
  int hold(const std::string& line);
  // One line a holding: "Kraken XBT/USD<TAB>0.25", and when the history has a price of the last
  // day, its worth in plain notation and the quote currency: "<TAB>2639.70 USD".
  int list();

 private:
  HoldingCommandParts parts_;
};

}  // namespace pricora
