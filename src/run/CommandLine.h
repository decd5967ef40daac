#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/bar/BarLine.h"

namespace pricora {

// pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT [--no-change]]
//         [--help] [--version]
// pricora --alert 'EXCHANGE PAIR RULE' | --alerts | --remove-alert N
struct CommandLine {
  bool headless = false;
  std::optional<BarFormat> bar;     // print the price items for a text bar instead of a tray
  bool noChange = false;            // the bar leaves out the changes over the last day
  std::optional<std::string> alert;         // make this alert, "Kraken XBT/USD > 11000", and exit
  bool listAlerts = false;                  // list the alerts and exit
  std::optional<std::int64_t> removeAlert;  // remove the alert with this number and exit
  int refreshes = 0;                // 0: run until the time-out
  double timeout = 60.0;            // seconds, at most kLongestTimeout
  // The longest time-out a timer takes: 2^31 - 1 milliseconds.
  static constexpr double kLongestTimeout = 2'147'483.0;
  std::optional<std::string> dump;  // "-" is standard output
  bool help = false;
  bool version = false;
};

// The options, or an error message for the user: English, to be translated in the context
// "CommandLine", with %1 standing for argument.
struct ParsedCommandLine {
  std::optional<CommandLine> options;
  std::string error;
  std::string argument;
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);
// The options (shown with every error) and, for --help, the files and environment. English, to be
// translated in the context "CommandLine".
extern const char* const kUsage;
extern const char* const kHelpDetails;

}  // namespace pricora
