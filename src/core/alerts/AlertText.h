#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/alerts/TypedNumber.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

// An alert as the user writes it, without its pair:
//   "> 11000"  the price rises past 11000     "< 9500"  the price falls past 9500
//   "+5% 1h"   up 5 % within an hour          "-3% 30m" down 3 % within 30 minutes
// each optionally followed by "once" (fires once, then stays spent). Numbers are written as the
// user's locale writes them or in plain notation, and must read the same both ways (see
// readTypedNumber); windows in m (or min), h or d, from 5 min to 24 h.
struct AlertRule {
  AlertKind kind = AlertKind::above;
  double level = 0;
  std::int64_t windowSeconds = 0;
  bool once = false;
};

// Why a text is not an alert: an English sentence to translate, with %1, %2 ... standing for the
// arguments.
struct TextProblem {
  const char* message;
  std::vector<std::string> arguments;
};
// The problem in the user's language.
std::string problemText(AppHost& host, const TextProblem& problem);
// Tells a command line user the error, in their language: "pricora: <what> <details>".
void logError(AppHost& host, const Error& error);

// A number as the user typed it; never one that reads as another number elsewhere: "11.000" is
// eleven thousand in German and eleven in English.
std::variant<double, TextProblem> typedNumber(std::string_view text, const NumberSymbols& symbols);
// The display name of the exchange typed in any case ("kraken" is "Kraken"), if it is one of
// the eight; and what to tell when it is not.
std::optional<std::string> exchangeTyped(std::string_view name);
TextProblem unknownExchange(std::string_view name);

std::variant<AlertRule, TextProblem> parseAlertRule(std::string_view text, const NumberSymbols& symbols);
// Rules separated by ";" (the Manage window's column); an empty text is no rules.
std::variant<std::vector<AlertRule>, TextProblem> parseAlertRules(std::string_view text, const NumberSymbols& symbols);

// The command line's form: the exchange, the pair's title and the rule, "Kraken XBT/USD > 11000".
// The exchange is one of the eight, in any case; the title is taken as written, for the caller
// to look up among the pairs it knows.
struct TypedAlert {
  PairName pair;
  AlertRule rule;
};
std::variant<TypedAlert, TextProblem> parseTypedAlert(std::string_view text, const NumberSymbols& symbols);
// The command line's pair alone, "Kraken XBT/USD", read the same way.
std::variant<PairName, TextProblem> parseTypedPair(std::string_view text);

// The rule as the user would write it again, in plain notation that reads the same in every
// locale: "> 11000", "+5% 1h", "< 0.00001234 once".
std::string ruleText(const AlertRecord& alert);
// Rules of alerts joined by "; ", in their order.
std::string rulesText(const std::vector<AlertRecord>& alerts);

AlertRecord makeAlert(const PairName& pair, const AlertRule& rule, WallTime created);
// Whether both watch the same thing the same way: kind, level, window and once.
bool sameRule(const AlertRecord& a, const AlertRecord& b);

}  // namespace pricora
