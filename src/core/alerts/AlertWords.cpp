#include "core/alerts/AlertWords.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/alerts/AlertStep.h"
#include "core/common/Texts.h"
#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

// Pairs' names come from exchanges and from whatever wrote the history file: they reach
// notifications and notes only through shownText.

// The decimals the exchange wrote, so the locale's form shows the same digits; none for a text
// that is not plain decimals ("1.5e-05") or holds more than twelve.
std::optional<int> decimalsOf(const std::string& text) {
  const std::size_t point = text.find('.');
  const std::size_t end = text.find_first_not_of("0123456789", point == std::string::npos ? 0 : point + 1);
  if (end != std::string::npos) return std::nullopt;
  const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
  return decimals <= 12 ? std::optional(static_cast<int>(decimals)) : std::nullopt;
}

}  // namespace

std::string AlertWords::summary(const AlertRecord& alert) const {
  const std::string title = shownText(alert.pair.title);
  switch (alert.kind) {
    case AlertKind::above:
      return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 above %2"), {title, format_.exact(alert.level)});
    case AlertKind::below:
      return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 below %2"), {title, format_.exact(alert.level)});
    case AlertKind::up:
    case AlertKind::down:
      break;
  }
  const std::string window = duration(std::chrono::seconds(alert.windowSeconds));
  const std::string percent = format_.exact(alert.level);
  return alert.kind == AlertKind::up
             ? localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 up %2 % in %3"), {title, percent, window})
             : localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 down %2 % in %3"), {title, percent, window});
}

std::string AlertWords::body(const AlertRecord& alert, const std::string& priceText, double price, WallTime at) const {
  const std::optional<int> decimals = decimalsOf(priceText);
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1: %2 at %3"),
                       {shownText(alert.pair.exchange),
                        decimals ? format_.number(price, *decimals) : format_.exact(price), format_.time(at)});
}

std::string AlertWords::madeNote(const AlertRecord& alert) const {
  const std::string title = shownText(alert.pair.title);
  if (alert.phase == AlertPhase::fresh)
    return localizedText(host_,
                         QT_TRANSLATE_NOOP("AppDelegate",
                                           "%1 %2 has no recent price: the next price Pricora sees arms the alert, "
                                           "or has it wait if the price is past its level already"),
                         {shownText(alert.pair.exchange), title});
  if (alert.phase != AlertPhase::waiting) return {};
  const std::string rearm = format_.approximate(rearmingReading(alert));
  switch (alert.kind) {
    case AlertKind::above:
      return localizedText(host_,
                           QT_TRANSLATE_NOOP("AppDelegate",
                                             "%1 is above %2 already: the alert fires when it has fallen to %3 and "
                                             "rises past %2 again"),
                           {title, format_.exact(alert.level), rearm});
    case AlertKind::below:
      return localizedText(host_,
                           QT_TRANSLATE_NOOP("AppDelegate",
                                             "%1 is below %2 already: the alert fires when it has risen to %3 and "
                                             "falls past %2 again"),
                           {title, format_.exact(alert.level), rearm});
    case AlertKind::up:
    case AlertKind::down:
      break;
  }
  return localizedText(host_,
                       QT_TRANSLATE_NOOP("AppDelegate",
                                         "%1 has moved %2 % within the window already: the alert fires when the move "
                                         "has shrunk to %3 % and reaches %2 % again"),
                       {title, format_.exact(alert.level), rearm});
}

std::string AlertWords::settledNote(const AlertRecord& alert, std::optional<double> price) const {
  if (alert.phase != AlertPhase::armed || !price) return madeNote(alert);
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 %2: armed at %3"),
                       {shownText(alert.pair.exchange), shownText(alert.pair.title), format_.exact(*price)});
}

std::string AlertWords::phase(const AlertRecord& alert) const {
  switch (alert.phase) {
    case AlertPhase::fresh:
      return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "not seen yet"));
    case AlertPhase::armed:
      return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "armed"));
    case AlertPhase::waiting:
      return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "past its level, arms again at %1"),
                           {format_.approximate(rearmingReading(alert))});
    case AlertPhase::spent:
      break;
  }
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "fired once, spent"));
}

std::string AlertWords::change(const PriceChange& change) const {
  return localizedText(
      host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 % in %2"),
      {format_.signedNumber(change.percent, std::abs(change.percent) < 1 ? 2 : 1), duration(change.span)});
}

std::string AlertWords::earlierPrice(double price, std::chrono::seconds age) const {
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 · %2 ago"), {format_.exact(price), duration(age)});
}

std::string AlertWords::duration(std::chrono::seconds span) const {
  const double hours = static_cast<double>(span.count()) / 3600;
  if (hours >= 48)
    return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 d"), {format_.number(std::round(hours / 24), 0)});
  if (hours >= 1) {
    const double shown = std::round(hours * 10) / 10;
    return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 h"), {format_.number(shown, shown < 10 ? 1 : 0)});
  }
  const double minutes = std::max(1.0, std::round(static_cast<double>(span.count()) / 60));
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "%1 min"), {format_.number(minutes, 0)});
}

std::string AlertWords::action(const std::string& key) const {
  if (key == "again-up") return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Again at +1 %"));
  if (key == "again-down") return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Again at −1 %"));
  return localizedText(host_, QT_TRANSLATE_NOOP("AppDelegate", "Remove"));
}

}  // namespace pricora
