#include "core/alerts/AlertText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/common/Texts.h"
#include "core/exchanges/Exchange.h"

namespace pricora {

namespace {

constexpr double kHighestLevel = 1e12;
constexpr double kHighestRise = 1000;  // per cent
constexpr std::int64_t kShortestWindow = 5 * 60;
constexpr std::int64_t kLongestWindow = 24 * 3600;
constexpr std::string_view kMinus = "\xE2\x88\x92";  // U+2212, as typed from a character map

const char* const kHowTo =
    QT_TRANSLATE_NOOP("AppDelegate", "Write > 11000 or < 9500 for a level, +5% 1h or -5% 1h for a move; %1 is not one");

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// The no-break and thin spaces people group digits with, and U+2019, the apostrophe that Swiss
// German groups them with.
std::size_t groupingMarkAt(std::string_view text) {
  for (std::string_view mark : {"\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89", "\xE2\x80\x99"})
    if (text.starts_with(mark)) return mark.size();
  return 0;
}

// Reads the text from the front of `rest`: what is left of it moves along.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) { skipBlanks(); }
  bool done() const { return rest_.empty(); }
  std::string_view rest() const { return rest_; }
  bool take(std::string_view word) {
    if (!rest_.starts_with(word)) return false;
    rest_.remove_prefix(word.size());
    skipBlanks();
    return true;
  }
  // A number the way people write one, with its unit if one follows at once ("1.5h"): digits,
  // points, commas, apostrophes, letters, and blanks between digits ("11 000").
  std::string_view numberText() {
    std::size_t end = 0;
    while (end < rest_.size()) {
      const char c = rest_[end];
      if (isDigit(c) || c == '.' || c == ',' || c == '-' || c == '\'' || isLetter(c)) {
        ++end;
        continue;
      }
      const std::size_t mark = c == ' ' ? 1 : groupingMarkAt(rest_.substr(end));
      const bool betweenDigits =
          end > 0 && isDigit(rest_[end - 1]) && end + mark < rest_.size() && isDigit(rest_[end + mark]);
      if (mark == 0 || (c == ' ' && !betweenDigits)) break;
      end += mark;
    }
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    skipBlanks();
    return word;
  }

 private:
  void skipBlanks() {
    while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

// A window: "1h", "30m", "90 min", "1.5h", "1d".
std::variant<std::int64_t, TextProblem> parseWindow(Cursor& cursor, const NumberSymbols& symbols) {
  std::string_view word = cursor.numberText();
  std::size_t unit = 0;
  while (unit < word.size() && !isLetter(word[unit])) ++unit;
  std::string_view name = word.substr(unit);
  word = word.substr(0, unit);
  if (name.empty()) name = cursor.numberText();
  double seconds = 0;
  if (name == "m" || name == "min")
    seconds = 60;
  else if (name == "h")
    seconds = 3600;
  else if (name == "d")
    seconds = 86400;
  if (word.empty() || seconds == 0)
    return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "Give the move a window from 5m to 24h, as in +5% 1h"),
                       {std::string(word) + std::string(name)}};
  std::variant<double, TextProblem> count = typedNumber(word, symbols);
  if (auto* problem = std::get_if<TextProblem>(&count)) return *problem;
  seconds *= std::get<double>(count);
  if (!(seconds >= kShortestWindow && seconds <= kLongestWindow))
    return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "A move's window is from 5 min to 24 h, not %1"),
                       {std::string(word) + std::string(name)}};
  return static_cast<std::int64_t>(std::llround(seconds));
}

}  // namespace

std::variant<double, TextProblem> typedNumber(std::string_view text, const NumberSymbols& symbols) {
  const TypedNumber typed = readTypedNumber(text, symbols);
  if (typed.value) return *typed.value;
  const std::vector<double>& readings = typed.readings;
  if (readings.size() >= 2)
    return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "%1 reads as %2 or as %3; write %2 or %3 to say which"),
                       {std::string(text), unambiguousText(readings[0]), unambiguousText(readings[1])}};
  if (readings.size() == 1)
    return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "%1 is not how numbers are written here; write %2"),
                       {std::string(text), unambiguousText(readings[0])}};
  return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "%1 is not a number"), {std::string(text)}};
}

std::optional<std::string> exchangeTyped(std::string_view name) {
  for (Exchange candidate : kAllExchanges) {
    const std::string_view known = displayName(candidate);
    if (known.size() == name.size() &&
        std::equal(known.begin(), known.end(), name.begin(),
                   [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); }))
      return std::string(known);
  }
  return std::nullopt;
}

TextProblem unknownExchange(std::string_view name) {
  return TextProblem{QT_TRANSLATE_NOOP("AppDelegate",
                                       "%1 is not one of the exchanges Wex, Bitfinex, Kraken, Bitstamp, OKCoin, "
                                       "Poloniex, CoinFloor and GDAX"),
                     {std::string(name)}};
}

void logError(AppHost& host, const Error& error) {
  const Error shown = host.localizedError(error);
  host.log("pricora: " + shown.description + " " + shown.userInfo);
}

std::string problemText(AppHost& host, const TextProblem& problem) {
  return localizedText(host, problem.message, problem.arguments);
}

std::variant<AlertRule, TextProblem> parseAlertRule(std::string_view text, const NumberSymbols& symbols) {
  Cursor cursor(text);
  AlertRule rule;
  const bool above = cursor.take(">");
  if (above || cursor.take("<")) {
    rule.kind = above ? AlertKind::above : AlertKind::below;
    const std::string_view number = cursor.numberText();
    const TextProblem notAPrice{QT_TRANSLATE_NOOP("AppDelegate", "A level is a price greater than 0, not %1"),
                                {std::string(number)}};
    if (number.starts_with('-')) return notAPrice;
    std::variant<double, TextProblem> value = typedNumber(number, symbols);
    if (auto* problem = std::get_if<TextProblem>(&value)) return *problem;
    rule.level = std::get<double>(value);
    if (!(rule.level > 0 && rule.level <= kHighestLevel)) return notAPrice;
  } else if (const bool up = cursor.take("+"); up || cursor.take("-") || cursor.take(kMinus)) {
    rule.kind = up ? AlertKind::up : AlertKind::down;
    std::string_view number = cursor.numberText();
    std::variant<double, TextProblem> value = typedNumber(number, symbols);
    if (auto* problem = std::get_if<TextProblem>(&value)) return *problem;
    if (!cursor.take("%")) return TextProblem{kHowTo, {std::string(text)}};
    rule.level = std::get<double>(value);
    const double highest = rule.kind == AlertKind::up ? kHighestRise : 100;
    if (!(rule.level > 0 && rule.level < highest + (rule.kind == AlertKind::up ? 1e-9 : 0)))
      return TextProblem{
          rule.kind == AlertKind::up
              ? QT_TRANSLATE_NOOP("AppDelegate", "A move up is more than 0 % and at most 1000 %, not %1")
              : QT_TRANSLATE_NOOP("AppDelegate", "A move down is more than 0 % and less than 100 %, not %1"),
          {std::string(number) + "%"}};
    std::variant<std::int64_t, TextProblem> window = parseWindow(cursor, symbols);
    if (auto* problem = std::get_if<TextProblem>(&window)) return *problem;
    rule.windowSeconds = std::get<std::int64_t>(window);
  } else {
    return TextProblem{kHowTo, {std::string(text)}};
  }
  rule.once = cursor.take("once");
  if (!cursor.done()) return TextProblem{kHowTo, {std::string(text)}};
  return rule;
}

std::variant<std::vector<AlertRule>, TextProblem> parseAlertRules(std::string_view text, const NumberSymbols& symbols) {
  std::vector<AlertRule> rules;
  while (!text.empty()) {
    const std::size_t end = text.find(';');
    const std::string_view part = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (part.find_first_not_of(" \t") == std::string_view::npos) continue;
    std::variant<AlertRule, TextProblem> rule = parseAlertRule(part, symbols);
    if (auto* problem = std::get_if<TextProblem>(&rule)) return *problem;
    rules.push_back(std::get<AlertRule>(rule));
  }
  return rules;
}

std::variant<TypedAlert, TextProblem> parseTypedAlert(std::string_view text, const NumberSymbols& symbols) {
  const std::size_t start = text.find_first_not_of(" \t");
  const std::size_t space = text.find_first_of(" \t", start);
  // The rule begins at the first sign after a blank: titles may hold a "-" of their own.
  std::size_t rule = space;
  while (rule != std::string_view::npos && (rule == 0 || (text[rule - 1] != ' ' && text[rule - 1] != '\t')))
    rule = text.find_first_of("<>+-\xE2", rule + 1);
  const auto title = [&] {
    const std::string_view middle = text.substr(space, rule - space);
    const std::size_t first = middle.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : middle.substr(first, middle.find_last_not_of(" \t") - first + 1);
  };
  if (start == std::string_view::npos || space == std::string_view::npos || rule == std::string_view::npos ||
      title().empty())
    return TextProblem{
        QT_TRANSLATE_NOOP("AppDelegate", "Write the exchange, the pair and the alert, as in: Kraken XBT/USD > 11000"),
        {std::string(text)}};
  const std::string_view name = text.substr(start, space - start);
  const std::optional<std::string> exchange = exchangeTyped(name);
  if (!exchange) return unknownExchange(name);
  std::variant<AlertRule, TextProblem> parsed = parseAlertRule(text.substr(rule), symbols);
  if (auto* problem = std::get_if<TextProblem>(&parsed)) return *problem;
  return TypedAlert{{*exchange, std::string(title())}, std::get<AlertRule>(parsed)};
}

std::variant<PairName, TextProblem> parseTypedPair(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  const std::size_t space = text.find_first_of(" \t", start);
  const std::size_t first = text.find_first_not_of(" \t", space);
  if (first == std::string_view::npos)
    return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "Write the exchange and the pair, as in: Kraken XBT/USD"),
                       {std::string(text)}};
  const std::string_view name = text.substr(start, space - start);
  const std::optional<std::string> exchange = exchangeTyped(name);
  if (!exchange) return unknownExchange(name);
  return PairName{*exchange, std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1))};
}

std::string ruleText(const AlertRecord& alert) {
  // Built by appending: GCC 12 at -O3 takes assignments and literal-plus-temporary here for
  // overlapping copies.
  std::string text;
  switch (alert.kind) {
    case AlertKind::above:
      text.append("> ").append(unambiguousText(alert.level));
      break;
    case AlertKind::below:
      text.append("< ").append(unambiguousText(alert.level));
      break;
    case AlertKind::up:
    case AlertKind::down: {
      const std::int64_t window = alert.windowSeconds;
      text.push_back(alert.kind == AlertKind::up ? '+' : '-');
      text.append(unambiguousText(alert.level)).append("% ");
      if (window % 3600 == 0)
        text.append(std::to_string(window / 3600)).push_back('h');
      else
        text.append(unambiguousText(static_cast<double>(window) / 60)).push_back('m');
      break;
    }
  }
  if (alert.once) text.append(" once");
  return text;
}

std::string rulesText(const std::vector<AlertRecord>& alerts) {
  std::string text;
  for (const AlertRecord& alert : alerts) text += (text.empty() ? "" : "; ") + ruleText(alert);
  return text;
}

AlertRecord makeAlert(const PairName& pair, const AlertRule& rule, WallTime created) {
  AlertRecord alert;
  alert.pair = pair;
  alert.kind = rule.kind;
  alert.level = rule.level;
  alert.windowSeconds = rule.windowSeconds;
  alert.once = rule.once;
  alert.created = created;
  return alert;
}

bool sameRule(const AlertRecord& a, const AlertRecord& b) {
  return a.kind == b.kind && a.level == b.level && a.windowSeconds == b.windowSeconds && a.once == b.once;
}

}  // namespace pricora
