#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/bar/BarLine.h"

namespace pricora {

// What a start was asked to do; commandLineOptions() says how each field is given.
struct CommandLine {
  bool headless = false;
  std::optional<BarFormat> bar;             // print the price items for a text bar instead of a tray
  bool noChange = false;                    // the bar leaves out the changes over the last day
  bool barHoldings = false;                 // the bar shows the holdings' totals after the prices
  std::optional<std::string> alert;         // make this alert, "Kraken XBT/USD > 11000", and exit
  bool listAlerts = false;                  // list the alerts and exit
  std::optional<std::int64_t> removeAlert;  // remove the alert with this number and exit
  std::optional<std::string> hold;          // keep this holding, "Kraken XBT/USD 0.25", and exit
  bool listHoldings = false;                // list the holdings and exit
  std::optional<std::string> chart;         // show this pair's chart, "Kraken XBT/USD", on the desktop
  int refreshes = 0;                        // 0: run until the time-out
  double timeout = 60.0;                    // seconds, at most kLongestTimeout
  // The longest time-out a timer takes: 2^31 - 1 milliseconds.
  static constexpr double kLongestTimeout = 2'147'483.0;
  std::optional<std::string> dump;  // "-" is standard output
  bool help = false;
  bool version = false;
};

enum class Option {
  headless,
  refreshes,
  timeout,
  dump,
  bar,
  noChange,
  barHoldings,
  alert,
  alerts,
  removeAlert,
  hold,
  holdings,
  chart,
  help,
  version
};

// Options, one bit each.
using OptionSet = std::uint32_t;
constexpr OptionSet optionSet(std::initializer_list<Option> options) {
  OptionSet set = 0;
  for (const Option option : options) set |= OptionSet{1} << static_cast<unsigned>(option);
  return set;
}

// The texts below are English, to be translated in the context "CommandLine".
struct CommandLineOption {
  Option option;
  const char* name;   // "--timeout"
  const char* alias;  // another name the usage does not show ("-h"), or null
  // What follows the name ("SECONDS"), or null for an option that takes no value.
  const char* value;
  // The usage's account of it; each "\n" starts a line under the first.
  const char* help;
  // Told when the value is missing or wrong; null for an option that takes no value.
  const char* mistake;
  // Records the option in options from its value (empty for one that takes none); false when
  // the value is wrong.
  bool (*take)(CommandLine& options, const std::string& value);
};

enum class OptionRuleKind {
  apart,  // no option of these beside one of those: different ways to run
  alone,  // one option of these at most, and beside it none but those
  needs,  // an option of these only beside one of those
};

struct OptionRule {
  OptionRuleKind kind;
  OptionSet these;
  OptionSet those;
  const char* message;  // told when a command line breaks the rule
};

// Every option, in the order the usage lists them, and the rules about which go together, in
// the order they are checked. The parsing, the usage and the manual page all follow these two.
std::span<const CommandLineOption> commandLineOptions();
std::span<const OptionRule> optionRules();

// The options, or an error message for the user with %1 standing for argument.
struct ParsedCommandLine {
  std::optional<CommandLine> options;
  std::string error;
  std::string argument;
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// A text of this file in the user's language.
using TranslateText = std::function<std::string(const char* english)>;

// Shown with every mistake and atop --help: the ways to start Pricora, the options with what
// each does, and the exit statuses.
std::string commandLineUsage(const TranslateText& translated);
// For --help, after the usage: the files and the environment. English, to be translated in
// the context "CommandLine".
extern const char* const kHelpDetails;

}  // namespace pricora
