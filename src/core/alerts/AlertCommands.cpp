#include "core/alerts/AlertCommands.h"

#include "core/alerts/AlertStep.h"
#include "core/alerts/AlertText.h"
#include "core/app/Texts.h"

namespace pricora {

namespace {

// The newest price in the history file stands for the price now when it is at most this old: a
// running Pricora writes one a refresh. An older one is last night's, from before Pricora quit.
constexpr std::chrono::minutes kRecentPrice{5};

std::string describe(const AlertRecord& alert) {
  return alert.pair.exchange + " " + alert.pair.title + " " + ruleText(alert);
}

}  // namespace

void AlertCommands::fail(const Error& error) {
  const Error shown = host_.localizedError(error);
  host_.log("pricora: " + shown.description + " " + shown.userInfo);
}

int AlertCommands::add(const std::string& line) {
  const std::variant<AlertSpec, TextProblem> parsed = parseAlertSpec(line);
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) {
    host_.log("pricora: " + localizedText(host_, problem->message, {problem->argument}));
    return 1;
  }
  const AlertSpec& made = std::get<AlertSpec>(parsed);
  AlertRecord alert = makeAlert(made.pair, made.rule, now_);
  const Result<std::vector<PriceSample>> past = file_.samples(made.pair, now_ - PriceHistory::kKeptInMemory);
  if (past) alert.phase = firstPhase(alert, past.value(), now_, kRecentPrice);
  const Result<std::int64_t> id = file_.addAlert(alert);
  if (!id) {
    fail(id.error());
    return 1;
  }
  host_.printLine(std::to_string(id.value()) + "\t" + describe(alert));
  if (const std::string note = words_.madeNote(alert); !note.empty()) host_.log("pricora: " + note);
  return 0;
}

int AlertCommands::list() {
  const Result<std::vector<AlertRecord>> alerts = file_.loadAlerts();
  if (!alerts) {
    fail(alerts.error());
    return 1;
  }
  for (const AlertRecord& alert : alerts.value())
    host_.printLine(std::to_string(alert.id) + "\t" + describe(alert) + "\t" + words_.phase(alert));
  return 0;
}

int AlertCommands::remove(std::int64_t id) {
  const Result<bool> removed = file_.removeAlert(id);
  if (!removed) {
    fail(removed.error());
    return 1;
  }
  if (removed.value()) return 0;
  host_.log("pricora: " +
            localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "There is no alert %1"), {std::to_string(id)}));
  return 1;
}

}  // namespace pricora
