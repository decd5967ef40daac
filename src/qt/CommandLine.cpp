#include "qt/CommandLine.h"

#include <charconv>
#include <cmath>

namespace pricora {

const char* const kUsage =
    "usage: pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT]\n"
    "  --headless        run without a display; the tray is kept in memory\n"
    "  --refreshes N     quit after N completed refreshes (0: run until the time-out)\n"
    "  --timeout S       quit after S seconds at the latest (default 60)\n"
    "  --dump PATH|-     write the tray as JSON to PATH (or standard output) before quitting\n"
    "  --bar FORMAT      print the menu-bar prices for a text bar, one line an update, until the\n"
    "                    bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,\n"
    "                    never writes it; SIGUSR1 refreshes at once\n"
    "exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error\n"
    "exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error\n";

namespace {

template <typename T>
bool parseNumber(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine options;
  bool headlessOnly = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= arguments.size()) return false;
      out = arguments[++i];
      return true;
    };
    std::string text;
    if (argument == "--headless") {
      options.headless = true;
    } else if (argument == "--bar") {
      if (!value(text) || !(options.bar = barFormatNamed(text)))
        return {std::nullopt, "--bar takes the bar's name: waybar, polybar or i3blocks"};
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--refreshes") {
      if (!value(text) || !parseNumber(text, options.refreshes) || options.refreshes < 0)
        return {std::nullopt, "--refreshes takes a whole number of at least 0"};
      headlessOnly = true;
    } else if (argument == "--timeout") {
      if (!value(text) || !parseNumber(text, options.timeout) || !std::isfinite(options.timeout) ||
          options.timeout <= 0)
        return {std::nullopt, "--timeout takes a number of seconds greater than 0"};
      headlessOnly = true;
    } else if (argument == "--dump") {
      if (!value(text) || text.empty()) return {std::nullopt, "--dump takes a file path, or - for standard output"};
      options.dump = text;
      headlessOnly = true;
    } else {
      return {std::nullopt, "unknown option " + argument};
    }
  }
  if (options.bar && options.headless)
    return {std::nullopt, "--bar runs without a display by itself; leave out --headless"};
  if (headlessOnly && !options.headless) return {std::nullopt, "--refreshes, --timeout and --dump go with --headless"};
  return {options, {}};
}

}  // namespace pricora
