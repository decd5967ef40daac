#include "core/alerts/AlertCommands.h"

#include "core/alerts/AlertStep.h"
#include "core/alerts/AlertText.h"
#include "core/common/Texts.h"

namespace pricora {

namespace {

// The newest price in the history file stands for the price now when it is at most this old: a
// running Pricora writes one a refresh. An older one is last night's, from before Pricora quit.
constexpr std::chrono::minutes kRecentPrice{5};

std::string describe(const AlertRecord& alert) {
  return alert.pair.exchange + " " + alert.pair.title + " " + ruleText(alert);
}

}  // namespace

int AlertCommands::add(const std::string& line) {
  const std::variant<TypedAlert, TextProblem> parsed = parseTypedAlert(line, parts_.format.symbols());
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) {
    parts_.host.log("pricora: " + problemText(parts_.host, *problem));
    return 1;
  }
  const TypedAlert& typed = std::get<TypedAlert>(parsed);
  AlertRecord alert = makeAlert(typed.pair, typed.rule, parts_.now);
  std::optional<double> price;
  // The running Pricora knows the pairs it saw this minute, which its store may not hold yet.
  if (const std::optional<HandedAlert> handed = parts_.running.handOver(alert)) {
    if (!handed->problem.empty()) {
      parts_.host.log("pricora: " + handed->problem);
      return 1;
    }
    alert.pair = handed->pair;
    alert.id = handed->id;
    alert.phase = handed->phase;
    price = handed->price;
  } else {
    const std::variant<PairName, TextProblem> pair = parts_.pairs.find(typed.pair);
    if (const auto* problem = std::get_if<TextProblem>(&pair)) {
      parts_.host.log("pricora: " + problemText(parts_.host, *problem));
      return 1;
    }
    alert.pair = std::get<PairName>(pair);
    const Result<std::vector<PriceSample>> past =
        parts_.file.samples(alert.pair, parts_.now - PriceHistory::kKeptInMemory);
    if (past) alert.phase = firstPhase(alert, past.value(), parts_.now, kRecentPrice);
    if (alert.phase != AlertPhase::fresh) price = past.value().back().price;
    const Result<std::int64_t> id = parts_.file.addAlert(alert);
    if (!id) {
      logError(parts_.host, id.error());
      return 1;
    }
    alert.id = id.value();
  }
  parts_.host.printLine(std::to_string(alert.id) + "\t" + describe(alert));
  if (const std::string note = words_.settledNote(alert, price); !note.empty()) parts_.host.log("pricora: " + note);
  return 0;
}

int AlertCommands::list() {
  const Result<std::vector<AlertRecord>> alerts = parts_.file.loadAlerts();
  if (!alerts) {
    logError(parts_.host, alerts.error());
    return 1;
  }
  for (const AlertRecord& alert : alerts.value())
    parts_.host.printLine(std::to_string(alert.id) + "\t" + describe(alert) + "\t" + words_.phase(alert));
  return 0;
}

int AlertCommands::remove(std::int64_t id) {
  const Result<bool> removed = parts_.file.removeAlert(id);
  if (!removed) {
    logError(parts_.host, removed.error());
    return 1;
  }
  if (removed.value()) return 0;
  parts_.host.log("pricora: " + localizedText(parts_.host, QT_TRANSLATE_NOOP("AppDelegate", "There is no alert %1"),
                                              {std::to_string(id)}));
  return 1;
}

}  // namespace pricora
