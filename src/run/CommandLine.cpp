#include "run/CommandLine.h"

#include <QtGlobal>

#include <charconv>

namespace pricora {

const char* const kUsage = QT_TRANSLATE_NOOP(
    "CommandLine",
    "usage: pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT [--no-change]]\n"
    "               [--help] [--version]\n"
    "       pricora --alert 'EXCHANGE PAIR ALERT' | --alerts | --remove-alert N\n"
    "  --headless        run without a display; the tray is kept in memory\n"
    "  --refreshes N     quit after N completed refreshes (0: run until the time-out)\n"
    "  --timeout S       quit after S seconds at the latest (default 60)\n"
    "  --dump PATH|-     write the tray as JSON to PATH (or standard output) before quitting\n"
    "  --bar FORMAT      print the menu-bar prices for a text bar, one line an update, until the\n"
    "                    bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,\n"
    "                    never writes it; SIGUSR1 refreshes at once\n"
    "  --no-change       the bar leaves out the changes over the last day (arrows, colours, classes)\n"
    "  --alert 'EXCHANGE PAIR ALERT'\n"
    "                    make an alert and exit: 'Kraken XBT/USD > 11000' (price rises past 11000),\n"
    "                    '< 9500' (falls past), '+5% 1h' or '-5% 1h' (moves 5 % within an hour; 5m to\n"
    "                    24h), each optionally followed by 'once'; a running Pricora takes it at\n"
    "                    once, against the price it shows\n"
    "  --alerts          list the alerts, one a line: number, alert, where it stands\n"
    "  --remove-alert N  remove alert number N\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error\n"
    "exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error\n"
    "exit status (alerts): 0 when done, 1 when nothing was done\n");

const char* const kHelpDetails = QT_TRANSLATE_NOOP(
    "CommandLine",
    "\n"
    "One Pricora runs per store: a second desktop start shows the running one's Manage window and\n"
    "exits with 0 (1 when the running one does not answer); a second headless start names the\n"
    "running one and exits with 1.\n"
    "\n"
    "files:\n"
    "  $XDG_CONFIG_HOME/Pricora/Pricora.conf\n"
    "      settings: exchange addresses, launchAtStartup (~/.config by default)\n"
    "  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata\n"
    "      the pair store, a SQLite database (~/.local/share by default)\n"
    "  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora-history.sqlite\n"
    "      Pricora's own SQLite database beside the store: the alerts, and a week of prices of\n"
    "      the pairs you follow (favourites, price items and pairs with an alert)\n"
    "  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora.lock\n"
    "      locked while Pricora runs on that store; holds its process id\n"
    "  $XDG_CONFIG_HOME/autostart/example.pricora.Pricora-Helper.desktop\n"
    "      written while Preferences > Launch at Login is on, removed when it is off\n"
    "  $XDG_RUNTIME_DIR/pricora-PID/icons\n"
    "      the tray's pictures, for desktops that read icons by name; removed at quit\n"
    "  RESOURCES/iconSmall.svg, RESOURCES/translations/pricora_LANGUAGE.qm\n"
    "  RESOURCES/Experimental.plist\n"
    "      optional: refreshFrequency, the seconds between refreshes (default 60)\n"
    "      RESOURCES is $PRICORA_RESOURCES, else share/pricora beside the program's bin folder\n"
    "\n"
    "environment:\n"
    "  XDG_CONFIG_HOME, XDG_DATA_HOME        where the settings and the store live\n"
    "  XDG_RUNTIME_DIR                       where the tray's pictures go (else /tmp/runtime-USER)\n"
    "  PRICORA_RESOURCES                     the resources folder\n"
    "  http_proxy, https_proxy, no_proxy     the proxy for the exchanges' addresses\n"
    "  LANGUAGE, LC_ALL, LC_MESSAGES, LANG   the language of alerts, the Manage window and messages\n"
    "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
    "                                        the display the tray icon goes to (not with --headless)\n"
    "  DBUS_SESSION_BUS_ADDRESS              the session bus a second start reaches the first on\n"
    "\n"
    "See pricora(1) for more.\n");

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
        return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--bar takes the bar's name: waybar, polybar or i3blocks")};
    } else if (argument == "--no-change") {
      options.noChange = true;
    } else if (argument == "--alert") {
      if (!value(text) || text.empty())
        return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine",
                                                "--alert takes the exchange, the pair and the alert: "
                                                "'Kraken XBT/USD > 11000'")};
      options.alert = text;
    } else if (argument == "--alerts") {
      options.listAlerts = true;
    } else if (argument == "--remove-alert") {
      std::int64_t id = 0;
      if (!value(text) || !parseNumber(text, id) || id <= 0)
        return {std::nullopt,
                QT_TRANSLATE_NOOP("CommandLine", "--remove-alert takes an alert's number, as --alerts lists it")};
      options.removeAlert = id;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--refreshes") {
      if (!value(text) || !parseNumber(text, options.refreshes) || options.refreshes < 0)
        return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--refreshes takes a whole number of at least 0")};
      headlessOnly = true;
    } else if (argument == "--timeout") {
      if (!value(text) || !parseNumber(text, options.timeout) || !(options.timeout > 0) ||
          options.timeout > CommandLine::kLongestTimeout)
        return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine",
                                                "--timeout takes a number of seconds greater than 0 and at most "
                                                "2147483 (24 days)")};
      headlessOnly = true;
    } else if (argument == "--dump") {
      if (!value(text) || text.empty())
        return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--dump takes a file path, or - for standard output")};
      options.dump = text;
      headlessOnly = true;
    } else {
      return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "unknown option %1"), argument};
    }
  }
  if (options.bar && options.headless)
    return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--bar runs without a display by itself; leave out --headless")};
  const int alertCommands =
      int{options.alert.has_value()} + int{options.listAlerts} + int{options.removeAlert.has_value()};
  if (alertCommands > 1 ||
      (alertCommands == 1 && (options.headless || options.bar || headlessOnly || options.noChange)))
    return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--alert, --alerts and --remove-alert go alone")};
  if (options.noChange && !options.bar)
    return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--no-change goes with --bar")};
  if (headlessOnly && !options.headless)
    return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "--refreshes, --timeout and --dump go with --headless")};
  return {options, {}};
}

}  // namespace pricora
