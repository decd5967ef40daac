#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/bar/BarLine.h"

namespace pricora {

// pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT] [--help] [--version]
struct CommandLine {
  bool headless = false;
  std::optional<BarFormat> bar;     // print the price items for a text bar instead of a tray
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
