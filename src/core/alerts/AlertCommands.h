#pragma once

#include <cstdint>
#include <string>

#include "core/alerts/AlertWords.h"
#include "platform/AppHost.h"
#include "platform/history/HistoryFile.h"

namespace pricora {

// The command line's alerts: made, listed and removed in the history file, whether or not a
// Pricora runs (one that runs takes the change in at its next refresh). Results go to standard
// output (AppHost::printLine), problems and notes to standard error (AppHost::log). Each returns
// the process's exit status: 0, or 1 when nothing was done.
class AlertCommands {
 public:
  AlertCommands(HistoryFile& file, AppHost& host, const LocaleFormat& format, WallTime now)
      : file_(file), host_(host), words_(host, format), now_(now) {}

  // "Kraken XBT/USD > 11000". Prints the new alert's number and the alert. An alert made past
  // its level (as the pair's price of the last few minutes in the history says) waits for the
  // price to come back first; one for a pair without such a price is settled by the first price
  // a running Pricora sees. A note says either.
  int add(const std::string& line);
  // One line an alert: its number, the alert, where it stands.
  int list();
  int remove(std::int64_t id);

 private:
  void fail(const Error& error);

  HistoryFile& file_;
  AppHost& host_;
  AlertWords words_;
  WallTime now_;
};

}  // namespace pricora
