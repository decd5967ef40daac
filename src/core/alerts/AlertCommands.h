#pragma once

#include <cstdint>
#include <string>

#include "core/alerts/AlertWords.h"
#include "core/alerts/KnownPairs.h"
#include "platform/AlertHandOff.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

// What the command line's alerts work with.
struct AlertCommandParts {
  HistoryFile& file;
  AppHost& host;
  const LocaleFormat& format;
  const KnownPairs& pairs;  // the store's pairs: the only ones an alert can watch
  AlertHandOff& running;    // the Pricora that runs on the store, if there is one
  WallTime now;
};

// The command line's alerts: made, listed and removed in the history file, whether or not a
// Pricora runs. Results go to standard output (AppHost::printLine), problems and notes to
// standard error (AppHost::log). Each returns the process's exit status: 0, or 1 when nothing
// was done.
class AlertCommands {
 public:
  explicit AlertCommands(AlertCommandParts parts) : parts_(parts), words_(parts.host, parts.format) {}

  // "Kraken XBT/USD > 11000", for a pair of the store. Prints the new alert's number and the
  // alert, and tells where it stands: armed at the price now, or past its level already and
  // waiting for the price to come back first. A running Pricora makes it and settles it against
  // the price it shows; without one the history's price of the last few minutes settles it, and
  // without such a price the first price a Pricora sees.
  int add(const std::string& line);
  // One line an alert: its number, the alert, where it stands.
  int list();
  int remove(std::int64_t id);

 private:
  AlertCommandParts parts_;
  AlertWords words_;
};

}  // namespace pricora
