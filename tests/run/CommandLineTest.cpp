#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "run/CommandLine.h"

namespace pricora {
namespace {

std::string english(const char* text) { return text; }

TEST(CommandLine, TakesTheCombinationsTheRulesAllowAndNamesTheFirstRuleBroken) {
  const std::string alone = "--alert, --alerts, --remove-alert and --chart go alone";
  const std::string withHeadless = "--refreshes, --timeout and --dump go with --headless";
  const std::string withBar = "--no-change goes with --bar";
  const std::string holdAlone = "--hold and --holdings go alone";
  const std::string notBoth = "--bar runs without a display by itself; leave out --headless";
  const struct {
    std::vector<std::string> arguments;
    std::string error;  // empty: taken
  } cases[] = {
      {{}, ""},
      {{"--headless", "--refreshes", "2", "--timeout", "2147483", "--dump", "-", "--help"}, ""},
      {{"--bar", "i3blocks", "--no-change", "--version"}, ""},
      {{"--alert", "Kraken XBT/USD > 1", "-h", "--version"}, ""},
      {{"--remove-alert", "3"}, ""},
      {{"--chart", "Kraken XBT/USD", "--help"}, ""},
      {{"--chart", "Kraken XBT/USD", "--headless"}, alone},
      {{"--chart", "Kraken XBT/USD", "--alerts"}, alone},
      {{"--bar", "waybar", "--headless"}, notBoth},
      {{"--headless", "--bar", "waybar", "--alerts"}, notBoth},
      {{"--alerts", "--remove-alert", "1"}, alone},
      {{"--alert", "x", "--alert", "y", "--alerts"}, alone},
      {{"--alerts", "--headless"}, alone},
      {{"--bar", "polybar", "--remove-alert", "1"}, alone},
      {{"--alerts", "--no-change"}, alone},
      {{"--dump", "x", "--alerts"}, alone},
      {{"--no-change"}, withBar},
      {{"--headless", "--no-change"}, withBar},
      {{"--no-change", "--dump", "x"}, withBar},
      {{"--dump", "x"}, withHeadless},
      {{"--bar", "waybar", "--timeout", "5"}, withHeadless},
      {{"--refreshes", "1"}, withHeadless},
      {{"--bar"}, "--bar takes the bar's name: waybar, polybar or i3blocks"},
      {{"--bar", "dwm"}, "--bar takes the bar's name: waybar, polybar or i3blocks"},
      {{"--refreshes", "-1"}, "--refreshes takes a whole number of at least 0"},
      {{"--headless", "--refreshes", "2x"}, "--refreshes takes a whole number of at least 0"},
      {{"--timeout", "0"}, "--timeout takes a number of seconds greater than 0 and at most 2147483 (24 days)"},
      {{"--timeout", "2147483.5"}, "--timeout takes a number of seconds greater than 0 and at most 2147483 (24 days)"},
      {{"--dump", ""}, "--dump takes a file path, or - for standard output"},
      {{"--alert", ""}, "--alert takes the exchange, the pair and the alert: 'Kraken XBT/USD > 11000'"},
      {{"--remove-alert", "0"}, "--remove-alert takes an alert's number, as --alerts lists it"},
      {{"--chart", ""}, "--chart takes the exchange and the pair: 'Kraken XBT/USD'"},
      {{"--alerts", "--frobnicate"}, "unknown option %1"},
      {{"--hold", "Kraken XBT/USD 0.25", "--help"}, ""},
      {{"--bar", "waybar", "--bar-holdings", "--no-change"}, ""},
      {{"--hold", "Kraken XBT/USD 1", "--holdings"}, holdAlone},
      {{"--holdings", "--headless"}, holdAlone},
      {{"--alerts", "--holdings"}, alone},
      {{"--holdings", "--alert", "x"}, alone},
      {{"--bar-holdings"}, "--bar-holdings goes with --bar"},
      {{"--hold", ""}, "--hold takes the exchange, the pair and the amount: 'Kraken XBT/USD 0.25'"},
  };
  for (const auto& [arguments, error] : cases) {
    std::string line;
    for (const std::string& argument : arguments) line += argument + " ";
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    EXPECT_EQ(parsed.error, error) << line;
    EXPECT_EQ(parsed.options.has_value(), error.empty()) << line;
  }
  EXPECT_EQ(parseCommandLine({"--help", "--frobnicate"}).argument, "--frobnicate");
}

TEST(CommandLine, ReadsEachOptionsValue) {
  const auto headless = parseCommandLine({"--headless", "--refreshes", "3", "--timeout", "2.5", "--dump", "out.json"});
  ASSERT_TRUE(headless.options);
  EXPECT_TRUE(headless.options->headless);
  EXPECT_EQ(headless.options->refreshes, 3);
  EXPECT_EQ(headless.options->timeout, 2.5);
  EXPECT_EQ(headless.options->dump, "out.json");
  const auto bar = parseCommandLine({"--bar", "polybar", "--no-change", "-h", "--version"});
  ASSERT_TRUE(bar.options);
  EXPECT_EQ(bar.options->bar, BarFormat::polybar);
  EXPECT_TRUE(bar.options->noChange && bar.options->help && bar.options->version && !bar.options->headless);
  EXPECT_EQ(parseCommandLine({"--alert", "Kraken XBT/USD < 9"}).options->alert, "Kraken XBT/USD < 9");
  EXPECT_TRUE(parseCommandLine({"--alerts"}).options->listAlerts);
  EXPECT_EQ(parseCommandLine({"--remove-alert", "12"}).options->removeAlert, 12);
  EXPECT_EQ(parseCommandLine({"--chart", "Kraken XBT/USD"}).options->chart, "Kraken XBT/USD");
}

TEST(CommandLine, UsageListsTheWaysToRunAndEveryOption) {
  EXPECT_EQ(commandLineUsage(english),
            "usage: pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT "
            "[--no-change] [--bar-holdings]]\n"
            "               [--help] [--version]\n"
            "       pricora --alert 'EXCHANGE PAIR ALERT' | --alerts | --remove-alert N | --chart 'EXCHANGE PAIR'\n"
            "       pricora --hold 'EXCHANGE PAIR AMOUNT' | --holdings\n"
            "  --headless        run without a display; the tray is kept in memory\n"
            "  --refreshes N     quit after N completed refreshes (0: run until the time-out)\n"
            "  --timeout SECONDS quit after SECONDS at the latest (default 60)\n"
            "  --dump PATH|-     write the tray as JSON to PATH (or standard output) before quitting\n"
            "  --bar FORMAT      print the menu-bar prices for a text bar, one line an update, until the\n"
            "                    bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,\n"
            "                    never writes it; SIGUSR1 refreshes at once\n"
            "  --no-change       the bar leaves out the changes over the last day (arrows, colours, classes)\n"
            "  --bar-holdings    the bar shows the holdings' worth after the prices, per quote currency\n"
            "  --alert 'EXCHANGE PAIR ALERT'\n"
            "                    make an alert and exit: 'Kraken XBT/USD > 11000' (price rises past 11000),\n"
            "                    '< 9500' (falls past), '+5% 1h' or '-5% 1h' (moves 5 % within an hour; 5m to\n"
            "                    24h), each optionally followed by 'once'; a running Pricora takes it at\n"
            "                    once, against the price it shows\n"
            "  --alerts          list the alerts, one a line: number, alert, where it stands\n"
            "  --remove-alert N  remove alert number N\n"
            "  --hold 'EXCHANGE PAIR AMOUNT'\n"
            "                    keep how much you own of a pair and exit: 'Kraken XBT/USD 0.25' (up to 8\n"
            "                    decimals; 0 removes it); its worth shows in the tool tips\n"
            "  --holdings        list the holdings, one a line: pair, amount, and its worth at the last price\n"
            "                    the history holds\n"
            "  --chart 'EXCHANGE PAIR'\n"
            "                    show the price chart of a pair of the store, 'Kraken XBT/USD': a running\n"
            "                    Pricora opens it; without one, Pricora starts on the desktop with it open\n"
            "  --help            show this help and exit\n"
            "  --version         show the version and exit\n"
            "exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error\n"
            "exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error\n"
            "exit status (alerts and holdings): 0 when done, 1 when nothing was done\n");
}

std::string roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '-')
      out += "\\-";
    else if (c == '\'')
      out += "\\(aq";
    else if (c == '|')
      out += "\\fR|\\fP";
    else
      out += c;
  }
  return out;
}

// The section's text from its .SH line to the next one.
std::string section(const std::string& page, const std::string& title) {
  const std::size_t start = page.find("\n.SH " + title + "\n");
  if (start == std::string::npos) return {};
  const std::size_t body = start + title.size() + 6;
  return page.substr(body, page.find("\n.SH ", body) - body + 1);
}

// The manual lists the options in the table's order, each with its value, and says "With
// --headless:" for exactly the options the rules let go only with another.
TEST(CommandLine, ManualPageFollowsTheTable) {
  std::ifstream file(PRICORA_MANUAL);
  std::stringstream page;
  page << file.rdbuf();
  std::string expected;
  for (const CommandLineOption& option : commandLineOptions()) {
    expected += ".TP\n";
    expected += option.value ? ".BI " + roff(option.name) + " \" " + roff(option.value) + "\"\n"
                             : ".B " + roff(option.name) + "\n";
    for (const OptionRule& rule : optionRules())
      if (rule.kind == OptionRuleKind::needs && (rule.these & optionSet({option.option})) != 0)
        for (const CommandLineOption& other : commandLineOptions())
          if ((rule.those & optionSet({other.option})) != 0) expected += "With\n.BR " + roff(other.name) + " :\n";
  }
  std::string heads;
  std::istringstream options(section(page.str(), "OPTIONS"));
  std::string previous;
  for (std::string line; std::getline(options, line); previous = line)
    if (line == ".TP" || previous == ".TP" || line == "With" || previous == "With") heads += line + "\n";
  EXPECT_EQ(heads, expected);
  const std::string synopsis = section(page.str(), "SYNOPSIS");
  for (const CommandLineOption& option : commandLineOptions())
    EXPECT_NE(synopsis.find(roff(option.name)), std::string::npos) << option.name;
}

}  // namespace
}  // namespace pricora
