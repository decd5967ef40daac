#include "core/alerts/AlertStep.h"

#include <algorithm>

namespace pricora {

double alertReading(const AlertRecord& alert, std::span<const PriceSample> recent, double price, WallTime now) {
  if (alert.kind == AlertKind::above || alert.kind == AlertKind::below) return price;
  const WallTime from = now - std::chrono::seconds(alert.windowSeconds);
  double lowest = price, highest = price;
  for (auto sample = recent.rbegin(); sample != recent.rend() && sample->time >= from; ++sample) {
    lowest = std::min(lowest, sample->price);
    highest = std::max(highest, sample->price);
  }
  if (alert.kind == AlertKind::up) return lowest > 0 ? (price / lowest - 1) * 100 : 0;
  return highest > 0 ? (1 - price / highest) * 100 : 0;
}

bool isPast(const AlertRecord& alert, double reading) {
  switch (alert.kind) {
    case AlertKind::above:
      return reading > alert.level;
    case AlertKind::below:
      return reading < alert.level;
    case AlertKind::up:
    case AlertKind::down:
      break;
  }
  return reading >= alert.level;
}

double rearmingReading(const AlertRecord& alert) {
  switch (alert.kind) {
    case AlertKind::above:
      return alert.level * (1 - alert.margin / 100);
    case AlertKind::below:
      return alert.level * (1 + alert.margin / 100);
    case AlertKind::up:
    case AlertKind::down:
      break;
  }
  // A move is never negative: one smaller than the margin arms again at half its size.
  return alert.level - std::min(alert.margin, alert.level / 2);
}

AlertStep stepAlert(const AlertRecord& alert, double reading) {
  const bool past = isPast(alert, reading);
  switch (alert.phase) {
    case AlertPhase::fresh:
      return {past ? AlertPhase::waiting : AlertPhase::armed};
    case AlertPhase::armed:
      if (past) return {alert.once ? AlertPhase::spent : AlertPhase::waiting, true};
      return {AlertPhase::armed};
    case AlertPhase::waiting: {
      const double rearm = rearmingReading(alert);
      const bool back = alert.kind == AlertKind::below ? reading >= rearm : reading <= rearm;
      return {back ? AlertPhase::armed : AlertPhase::waiting};
    }
    case AlertPhase::spent:
      break;
  }
  return {AlertPhase::spent};
}

AlertPhase firstPhase(const AlertRecord& alert, std::span<const PriceSample> prices, WallTime now,
                      std::chrono::duration<double> recentFor) {
  if (prices.empty() || now - prices.back().time > recentFor) return AlertPhase::fresh;
  AlertRecord made = alert;
  made.phase = AlertPhase::fresh;
  return stepAlert(made, alertReading(made, prices.first(prices.size() - 1), prices.back().price, now)).phase;
}

}  // namespace pricora
