#include "core/alerts/PriceWatch.h"

#include <algorithm>
#include <cmath>

#include "core/alerts/AlertStep.h"
#include "core/alerts/AlertText.h"
#include "core/common/TextOrder.h"
#include "core/common/Texts.h"

namespace pricora {

namespace {

// Points of the price item's picture of the last day: one every quarter of an hour.
constexpr std::size_t kSparklinePoints = 96;

bool shows(const StatusPair& pair, const PairName& name) {
  const ItemSubject& subject = pair.item->subject();
  return subject.exchange == name.exchange && subject.pair == name.title;
}

// Six significant digits: "again at +1 %" of 10,599.53 is 10,705.5, not 10,705.5253.
double rounded(double value) {
  if (!(value > 0)) return value;
  const double scale = std::pow(10.0, 5 - std::floor(std::log10(value)));
  return std::round(value * scale) / scale;
}

}  // namespace

PriceWatch::PriceWatch(AppHost& host, ManageWindow& manageWindow, Clock& clock, AppState& state, PairList& pairs,
                       PriceItems& items, WatchParts parts)
    : host_(host),
      manageWindow_(manageWindow),
      state_(state),
      pairs_(pairs),
      items_(items),
      parts_(std::move(parts)),
      format_(parts_.locale),
      words_(host, format_),
      history_(parts_.file),
      clock_(clock),
      ownSince_(clock_.read().now) {
  parts_.notifier.setListener(this);
  items_.setMenuDelegate(this);
}

PriceWatch::~PriceWatch() {
  items_.setMenuDelegate(nullptr);
  for (const StatusPair& pair : items_.statusPairs())
    if (pair.item->menu() && pair.item->menu()->delegate() == this) pair.item->menu()->setDelegate(nullptr);
  parts_.notifier.setListener(nullptr);
}

void PriceWatch::start() {
  if (parts_.fileProblem) {
    const Error problem = host_.localizedError(*parts_.fileProblem);
    const std::string line =
        localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Alerts and the price history are not saved: %1"),
                      {problem.description});
    host_.log("pricora: " + line + " " + problem.userInfo);
    if (parts_.owner) parts_.notifier.notify(kFileProblemTag, {"Pricora", line, {}});
  }
  reloadAlerts();
  const WallTime now = readClock();
  for (const StatusPair& item : items_.statusPairs()) {
    const PairName pair{item.item->subject().exchange, item.item->subject().pair};
    showMove(pair, now);
    showEarlierPrice(pair, now);
  }
}

void PriceWatch::showEarlierPrice(const PairName& pair, WallTime now) {
  std::optional<PriceSample> last;
  if (const std::span<const PriceSample> recent = history_.recent(pair); !recent.empty()) {
    last = recent.back();
  } else if (const auto older = parts_.file.samples(pair, now - PriceHistory::kKeptInFile); older) {
    if (!older.value().empty() && older.value().back().time <= now) last = older.value().back();
  }
  if (!last) return;
  const auto age = std::chrono::duration_cast<std::chrono::seconds>(now - last->time);
  items_.showEarlierPrice(pair.exchange, pair.title, last->price, words_.earlierPrice(last->price, age));
}

void PriceWatch::refreshStarting() {
  flush();
  // A reload that failed is tried again, whether or not anyone wrote since.
  if (const bool changed = parts_.file.changedElsewhere(); changed || reloadDue_) {
    reloadAlerts();
    manageWindow_.reloadData();
  } else {
    followPairs();
  }
}

void PriceWatch::flush() {
  // Told once until prices are written again: a call with nothing to write proves nothing.
  if (const std::optional<Status> written = history_.flush(readClock())) report(*written, told_.writingPrices);
  save({});
}

WallTime PriceWatch::readClock() {
  const ClockSteps::Reading reading = clock_.read();
  if (reading.step != std::chrono::seconds(0)) {
    report(history_.clockSet(reading.step, ownSince_), told_.writingPrices);
    ownSince_ += reading.step;
  }
  return reading.now;
}

void PriceWatch::reloadAlerts() {
  Result<std::vector<AlertRecord>> loaded = parts_.file.loadAlerts();
  reloadDue_ = !loaded;
  report(loaded ? Status{} : Status{loaded.error()}, told_.readingAlerts);
  if (!loaded) return;
  std::vector<AlertRecord>& fresh = loaded.value();
  // What this process saw stands for an alert whose rule is unchanged: the file holds an older
  // state after a save that failed, and never this process's own beside the owner.
  for (AlertRecord& alert : fresh)
    for (const AlertRecord& known : alerts_)
      if (known.id == alert.id && sameRule(known, alert)) {
        alert.phase = known.phase;
        alert.fired = known.fired;
      }
  alerts_ = std::move(fresh);
  for (const AlertRecord& alert : alerts_) known_.insert_or_assign(alert.id, alert);
  followPairs();
  // An alert made while the price stood past its level must not fire for it.
  const WallTime now = readClock();
  std::vector<AlertRecord> settled;
  for (AlertRecord& alert : alerts_)
    if (alert.phase == AlertPhase::fresh && settle(alert, now)) settled.push_back(alert);
  save(settled);
}

void PriceWatch::followPairs() {
  std::set<PairName> followed;
  for (const PairRef& record : pairs_.content())
    if ((record->isFavourite() || record->showInMenubar()) && record->exchange() && record->title())
      followed.insert({*record->exchange(), *record->title()});
  for (const AlertRecord& alert : alerts_) followed.insert(alert.pair);
  report(history_.follow(followed, readClock()), told_.readingPrices);
}

std::vector<PriceSample> PriceWatch::pricesOf(const PairName& pair, WallTime now) const {
  if (const std::span<const PriceSample> recent = history_.recent(pair); !recent.empty())
    return {recent.begin(), recent.end()};
  const std::optional<Exchange> exchange = exchangeNamed(pair.exchange);
  if (!exchange) return {};
  const std::string key = pair.title + ": ";
  for (const MenuItemRef& item : state_.exchanges[*exchange].submenu->itemArray())
    if (hasTitlePrefix(item->title(), key))
      if (const std::optional<double> price = item->value()) return {{now, *price}};
  return {};
}

std::optional<double> PriceWatch::settle(AlertRecord& alert, WallTime now) {
  const std::vector<PriceSample> prices = pricesOf(alert.pair, now);
  // A price is recent when it is from this refresh or the one before.
  alert.phase = firstPhase(alert, prices, now, std::chrono::duration<double>(2 * state_.refreshFrequency));
  if (alert.phase == AlertPhase::fresh) return std::nullopt;
  return prices.back().price;
}

KnownPairs PriceWatch::knownPairs() const {
  std::vector<PairName> names;
  for (const PairRef& record : pairs_.content())
    if (record->exchange() && record->title()) names.push_back({*record->exchange(), *record->title()});
  return KnownPairs(std::move(names));
}

HandedAlert PriceWatch::takeAlert(const AlertRecord& made) {
  const std::variant<PairName, TextProblem> pair = knownPairs().find(made.pair);
  if (const auto* problem = std::get_if<TextProblem>(&pair)) return {.problem = problemText(host_, *problem)};
  const WallTime now = readClock();
  AlertRecord alert = made;
  alert.pair = std::get<PairName>(pair);
  alert.created = now;
  alert.fired.reset();
  const std::optional<double> price = settle(alert, now);
  const Result<std::int64_t> id = parts_.file.addAlert(alert);
  if (!id) return {.problem = host_.localizedError(id.error()).description};
  reloadAlerts();
  manageWindow_.reloadData();
  return {id.value(), alert.pair, alert.phase, price, {}};
}

void PriceWatch::priceSeen(Exchange exchange, const std::string& title, const PairEntry& entry) {
  PairName pair{std::string(displayName(exchange)), title};
  if (!history_.follows(pair)) return;
  const std::optional<double>& price = entry.price();
  if (!price) return;
  const std::string text(entry.priceText());
  const WallTime now = readClock();
  std::vector<AlertRecord> changed;
  for (AlertRecord& alert : alerts_) {
    if (alert.pair != pair) continue;
    const AlertStep step = stepAlert(alert, alertReading(alert, history_.recent(pair), *price, now));
    if (step.phase == alert.phase) continue;
    alert.phase = step.phase;
    if (step.fires) {
      alert.fired = now;
      fire(alert, text, *price, now);
    }
    changed.push_back(alert);
  }
  history_.add(pair, now, text, *price);
  save(changed);
  showMove(pair, now);
}

void PriceWatch::fire(const AlertRecord& alert, const std::string& priceText, double price, WallTime now) {
  const std::string summary = words_.summary(alert);
  const std::string body = words_.body(alert, priceText, price, now);
  lastWords_[alert.id] = summary + " (" + body + ")";
  for (const StatusPair& pair : items_.statusPairs())
    if (shows(pair, alert.pair)) pair.item->setNeedsAttention(true);
  if (!parts_.owner) return;
  Notification notification{summary, body, {}};
  for (const char* key : {"remove", "again-up", "again-down"})
    notification.actions.emplace_back(key, words_.action(key));
  parts_.notifier.notify(alert.id, notification);
}

void PriceWatch::showMove(const PairName& pair, WallTime now) {
  std::optional<PriceMove> move;
  const std::span<const PriceSample> recent = history_.recent(pair);
  if (const std::optional<PriceChange> change = changeOverDay(recent, now))
    move = PriceMove{change->percent, words_.change(*change), sparkline(recent, now, kSparklinePoints)};
  for (const StatusPair& item : items_.statusPairs())
    if (shows(item, pair)) item.item->setMove(move);
}

void PriceWatch::save(const std::vector<AlertRecord>& changed) {
  if ((changed.empty() && !unsaved_) || !parts_.owner || parts_.file.isReadOnly()) return;
  // After a save that failed, all of them: a fired alert left armed in the file would fire
  // again for the same crossing in the next run.
  const Status saved = parts_.file.updateAlerts(unsaved_ ? alerts_ : changed);
  unsaved_ = !saved;
  report(saved, told_.savingAlerts);
}

void PriceWatch::report(const Status& status, bool& told) {
  if (status) {
    told = false;
    return;
  }
  // Once until it works again: a full disk must not fill the log at every refresh.
  if (std::exchange(told, true)) return;
  const Error error = host_.localizedError(status.error());
  host_.log("pricora: " + error.description + " " + error.userInfo);
}

ShownAlerts PriceWatch::alertsText(const PairName& pair) const {
  std::vector<AlertRecord> own;
  std::copy_if(alerts_.begin(), alerts_.end(), std::back_inserter(own),
               [&](const AlertRecord& alert) { return alert.pair == pair; });
  ShownAlerts shown{rulesText(own), {}};
  for (const AlertRecord& alert : own) shown.ids.push_back(alert.id);
  return shown;
}

ManageNote PriceWatch::setAlertsText(const PairName& pair, const std::string& text,
                                     const std::vector<std::int64_t>& madeFrom) {
  std::variant<std::vector<AlertRule>, TextProblem> parsed = parseAlertRules(text, format_.symbols());
  if (const auto* problem = std::get_if<TextProblem>(&parsed)) return {problemText(host_, *problem), true};
  const WallTime now = readClock();
  std::vector<std::int64_t> removed = madeFrom;
  std::vector<AlertRecord> added;
  std::string note;
  for (const AlertRule& rule : std::get<std::vector<AlertRule>>(parsed)) {
    AlertRecord alert = makeAlert(pair, rule, now);
    // An alert the text still holds stays as it is: its id (which its notification goes by),
    // where it stands and when it fired. Made again, a spent one would fire again.
    const auto same = std::find_if(removed.begin(), removed.end(), [&](std::int64_t id) {
      const auto known = known_.find(id);
      return known != known_.end() && sameRule(known->second, alert);
    });
    if (same != removed.end()) {
      removed.erase(same);
      continue;
    }
    settle(alert, now);
    if (const std::string said = words_.madeNote(alert); !said.empty()) note = said;
    added.push_back(alert);
  }
  if (const Status saved = parts_.file.editAlerts(removed, added); !saved)
    return {host_.localizedError(saved.error()).description, true};
  reloadAlerts();
  return {note, false};
}

void PriceWatch::notificationAction(std::int64_t tag, const std::string& key) {
  const auto alert = std::find_if(alerts_.begin(), alerts_.end(), [&](const AlertRecord& a) { return a.id == tag; });
  if (alert == alerts_.end()) return;
  Status done;
  if (key == "remove") {
    if (Result<bool> removed = parts_.file.removeAlert(tag); !removed) done = removed.error();
  } else if (key == "again-up" || key == "again-down") {
    const WallTime now = readClock();
    const std::vector<PriceSample> prices = pricesOf(alert->pair, now);
    if (prices.empty()) return;
    // The next level, a step past the latest price: a price alert moves to it; a move alert
    // stays as the user made it, and a new price alert beside it watches the level.
    AlertRecord again = *alert;
    again.kind = key == "again-up" ? AlertKind::above : AlertKind::below;
    again.level = rounded(prices.back().price * (key == "again-up" ? 1.01 : 0.99));
    again.windowSeconds = 0;
    if (alert->kind == AlertKind::up || alert->kind == AlertKind::down) {
      // A new alert, made as the command line's are.
      if (const HandedAlert made = takeAlert(again); !made.problem.empty()) host_.log("pricora: " + made.problem);
      return;
    }
    settle(again, now);
    done = parts_.file.updateAlerts({again});
  } else {
    return;
  }
  if (!done) {
    const Error error = host_.localizedError(done.error());
    host_.log("pricora: " + error.description + " " + error.userInfo);
    return;
  }
  reloadAlerts();
  manageWindow_.reloadData();
}

void PriceWatch::notificationUndelivered(std::int64_t tag) {
  // Nobody shows notifications: standard error, one line an alert.
  if (const auto words = lastWords_.find(tag); words != lastWords_.end()) host_.log("pricora: " + words->second);
}

void PriceWatch::menuWillOpen(Menu& menu) {
  for (const StatusPair& pair : items_.statusPairs())
    if (pair.item->menu().get() == &menu) pair.item->setNeedsAttention(false);
}

}  // namespace pricora
