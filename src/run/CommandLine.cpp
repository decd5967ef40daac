#include "run/CommandLine.h"

#include <QtGlobal>

#include <bit>
#include <charconv>

namespace pricora {

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
    "      Pricora's own SQLite database beside the store, readable by you alone: the alerts,\n"
    "      the holdings, and a week of prices of the pairs you follow (favourites, price items\n"
    "      and pairs with an alert or a holding)\n"
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

template <bool CommandLine::*flag>
bool setFlag(CommandLine& options, const std::string&) {
  options.*flag = true;
  return true;
}

// A value that may be any text but an empty one.
template <std::optional<std::string> CommandLine::*text>
bool setText(CommandLine& options, const std::string& value) {
  options.*text = value;
  return !value.empty();
}

const CommandLineOption kOptions[] = {
    {Option::headless, "--headless", nullptr, nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "run without a display; the tray is kept in memory"), nullptr,
     setFlag<&CommandLine::headless>},
    {Option::refreshes, "--refreshes", nullptr, QT_TRANSLATE_NOOP("CommandLine", "N"),
     QT_TRANSLATE_NOOP("CommandLine", "quit after N completed refreshes (0: run until the time-out)"),
     QT_TRANSLATE_NOOP("CommandLine", "--refreshes takes a whole number of at least 0"),
     [](CommandLine& options, const std::string& value) {
       return parseNumber(value, options.refreshes) && options.refreshes >= 0;
     }},
    {Option::timeout, "--timeout", nullptr, QT_TRANSLATE_NOOP("CommandLine", "SECONDS"),
     QT_TRANSLATE_NOOP("CommandLine", "quit after SECONDS at the latest (default 60)"),
     QT_TRANSLATE_NOOP("CommandLine",
                       "--timeout takes a number of seconds greater than 0 and at most 2147483 (24 days)"),
     [](CommandLine& options, const std::string& value) {
       return parseNumber(value, options.timeout) && options.timeout > 0 &&
              options.timeout <= CommandLine::kLongestTimeout;
     }},
    {Option::dump, "--dump", nullptr, QT_TRANSLATE_NOOP("CommandLine", "PATH|-"),
     QT_TRANSLATE_NOOP("CommandLine", "write the tray as JSON to PATH (or standard output) before quitting"),
     QT_TRANSLATE_NOOP("CommandLine", "--dump takes a file path, or - for standard output"),
     setText<&CommandLine::dump>},
    {Option::bar, "--bar", nullptr, QT_TRANSLATE_NOOP("CommandLine", "FORMAT"),
     QT_TRANSLATE_NOOP("CommandLine",
                       "print the menu-bar prices for a text bar, one line an update, until the\n"
                       "bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,\n"
                       "never writes it; SIGUSR1 refreshes at once"),
     QT_TRANSLATE_NOOP("CommandLine", "--bar takes the bar's name: waybar, polybar or i3blocks"),
     [](CommandLine& options, const std::string& value) { return (options.bar = barFormatNamed(value)).has_value(); }},
    {Option::noChange, "--no-change", nullptr, nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "the bar leaves out the changes over the last day (arrows, colours, classes)"),
     nullptr, setFlag<&CommandLine::noChange>},
    {Option::barHoldings, "--bar-holdings", nullptr, nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "the bar shows the holdings' worth after the prices, per quote currency"),
     nullptr, setFlag<&CommandLine::barHoldings>},
    {Option::alert, "--alert", nullptr, QT_TRANSLATE_NOOP("CommandLine", "'EXCHANGE PAIR ALERT'"),
     QT_TRANSLATE_NOOP("CommandLine",
                       "make an alert and exit: 'Kraken XBT/USD > 11000' (price rises past 11000),\n"
                       "'< 9500' (falls past), '+5% 1h' or '-5% 1h' (moves 5 % within an hour; 5m to\n"
                       "24h), each optionally followed by 'once'; a running Pricora takes it at\n"
                       "once, against the price it shows"),
     QT_TRANSLATE_NOOP("CommandLine", "--alert takes the exchange, the pair and the alert: 'Kraken XBT/USD > 11000'"),
     setText<&CommandLine::alert>},
    {Option::alerts, "--alerts", nullptr, nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "list the alerts, one a line: number, alert, where it stands"), nullptr,
     setFlag<&CommandLine::listAlerts>},
    {Option::removeAlert, "--remove-alert", nullptr, QT_TRANSLATE_NOOP("CommandLine", "N"),
     QT_TRANSLATE_NOOP("CommandLine", "remove alert number N"),
     QT_TRANSLATE_NOOP("CommandLine", "--remove-alert takes an alert's number, as --alerts lists it"),
     [](CommandLine& options, const std::string& value) {
       std::int64_t id = 0;
       if (!parseNumber(value, id) || id <= 0) return false;
       options.removeAlert = id;
       return true;
     }},
    {Option::hold, "--hold", nullptr, QT_TRANSLATE_NOOP("CommandLine", "'EXCHANGE PAIR AMOUNT'"),
     QT_TRANSLATE_NOOP("CommandLine",
                       "keep how much you own of a pair and exit: 'Kraken XBT/USD 0.25' (up to 8\n"
                       "decimals; 0 removes it); its worth shows in the tool tips"),
     QT_TRANSLATE_NOOP("CommandLine", "--hold takes the exchange, the pair and the amount: 'Kraken XBT/USD 0.25'"),
     setText<&CommandLine::hold>},
    {Option::holdings, "--holdings", nullptr, nullptr,
     QT_TRANSLATE_NOOP("CommandLine",
                       "list the holdings, one a line: pair, amount, and its worth at the last price\n"
                       "the history holds"),
     nullptr, setFlag<&CommandLine::listHoldings>},
    {Option::chart, "--chart", nullptr, QT_TRANSLATE_NOOP("CommandLine", "'EXCHANGE PAIR'"),
     QT_TRANSLATE_NOOP("CommandLine",
                       "show the price chart of a pair of the store, 'Kraken XBT/USD': a running\n"
                       "Pricora opens it; without one, Pricora starts on the desktop with it open"),
     QT_TRANSLATE_NOOP("CommandLine", "--chart takes the exchange and the pair: 'Kraken XBT/USD'"),
     setText<&CommandLine::chart>},
    {Option::help, "--help", "-h", nullptr, QT_TRANSLATE_NOOP("CommandLine", "show this help and exit"), nullptr,
     setFlag<&CommandLine::help>},
    {Option::version, "--version", nullptr, nullptr, QT_TRANSLATE_NOOP("CommandLine", "show the version and exit"),
     nullptr, setFlag<&CommandLine::version>},
};

const OptionRule kRules[] = {
    {OptionRuleKind::apart, optionSet({Option::bar}), optionSet({Option::headless}),
     QT_TRANSLATE_NOOP("CommandLine", "--bar runs without a display by itself; leave out --headless")},
    {OptionRuleKind::alone, optionSet({Option::alert, Option::alerts, Option::removeAlert, Option::chart}),
     optionSet({Option::help, Option::version}),
     QT_TRANSLATE_NOOP("CommandLine", "--alert, --alerts, --remove-alert and --chart go alone")},
    {OptionRuleKind::alone, optionSet({Option::hold, Option::holdings}), optionSet({Option::help, Option::version}),
     QT_TRANSLATE_NOOP("CommandLine", "--hold and --holdings go alone")},
    {OptionRuleKind::needs, optionSet({Option::noChange}), optionSet({Option::bar}),
     QT_TRANSLATE_NOOP("CommandLine", "--no-change goes with --bar")},
    {OptionRuleKind::needs, optionSet({Option::barHoldings}), optionSet({Option::bar}),
     QT_TRANSLATE_NOOP("CommandLine", "--bar-holdings goes with --bar")},
    {OptionRuleKind::needs, optionSet({Option::refreshes, Option::timeout, Option::dump}),
     optionSet({Option::headless}),
     QT_TRANSLATE_NOOP("CommandLine", "--refreshes, --timeout and --dump go with --headless")},
};

bool breaks(const OptionRule& rule, OptionSet given) {
  switch (rule.kind) {
    case OptionRuleKind::apart:
      return (given & rule.these) != 0 && (given & rule.those) != 0;
    case OptionRuleKind::alone: {
      const int count = std::popcount(given & rule.these);
      return count > 1 || (count == 1 && (given & ~(rule.these | rule.those)) != 0);
    }
    case OptionRuleKind::needs:
      break;
  }
  return (given & rule.these) != 0 && (given & rule.those) == 0;
}

const CommandLineOption* optionNamed(const std::string& argument) {
  for (const CommandLineOption& option : kOptions)
    if (argument == option.name || (option.alias != nullptr && argument == option.alias)) return &option;
  return nullptr;
}

}  // namespace

std::span<const CommandLineOption> commandLineOptions() { return kOptions; }
std::span<const OptionRule> optionRules() { return kRules; }

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine options;
  OptionSet given = 0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const CommandLineOption* option = optionNamed(arguments[i]);
    if (option == nullptr) return {std::nullopt, QT_TRANSLATE_NOOP("CommandLine", "unknown option %1"), arguments[i]};
    std::string value;
    if (option->value != nullptr) {
      if (i + 1 >= arguments.size()) return {std::nullopt, option->mistake};
      value = arguments[++i];
    }
    if (!option->take(options, value)) return {std::nullopt, option->mistake};
    given |= optionSet({option->option});
  }
  for (const OptionRule& rule : kRules)
    if (breaks(rule, given)) return {std::nullopt, rule.message};
  return {options, {}};
}

}  // namespace pricora
