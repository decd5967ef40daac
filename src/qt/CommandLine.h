#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/bar/BarLine.h"

namespace pricora {

// pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT] [--help] [--version]
struct CommandLine {
  bool headless = false;
  std::optional<BarFormat> bar;  // print the price items for a text bar instead of a tray
  int refreshes = 0;       // 0: run until the time-out
  double timeout = 60.0;   // seconds
  std::optional<std::string> dump;  // "-" is standard output
  bool help = false;
  bool version = false;
};

// The options, or an error message for the user.
struct ParsedCommandLine {
  std::optional<CommandLine> options;
  std::string error;
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);
extern const char* const kUsage;

}  // namespace pricora
