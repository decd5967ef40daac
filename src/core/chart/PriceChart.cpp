#include "core/chart/PriceChart.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/common/Texts.h"

namespace pricora {

namespace {

constexpr std::chrono::hours kDay{24};
constexpr std::chrono::hours kWeek{24 * 7};
constexpr int kPriceTickCount = 5;

// A round step near span / count: 1, 2 or 5 times a power of ten.
double roundStep(double span, int count) {
  const double raw = span / count;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double residual = raw / magnitude;
  return (residual <= 1 ? 1 : residual <= 2 ? 2 : residual <= 5 ? 5 : 10) * magnitude;
}

// The decimals a step's multiples need: 0 for 50, 2 for 0.05.
int decimalsOf(double step) { return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9))); }

std::vector<ChartTick> ticks(double bottom, double top, const LocaleFormat& format) {
  std::vector<ChartTick> out;
  if (!(top > bottom)) return out;
  const double step = roundStep(top - bottom, kPriceTickCount);
  for (double value = std::ceil(bottom / step - 1e-9) * step; value <= top + step * 1e-9; value += step)
    out.push_back({(value - bottom) / (top - bottom), format.number(value, decimalsOf(step))});
  return out;
}

UDate udate(WallTime time) {
  return static_cast<UDate>(std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

WallTime wallTime(UDate date) {
  return WallTime(std::chrono::duration_cast<WallTime::duration>(
      std::chrono::milliseconds(static_cast<std::int64_t>(std::llround(date)))));
}

}  // namespace

std::string quoteCurrency(const std::string& title) {
  const std::size_t slash = title.rfind('/');
  return slash == std::string::npos ? std::string() : title.substr(slash + 1);
}

PriceChart::PriceChart(const ChartData& data, ChartSpan span, WallTime now, const LocaleFormat& format, AppHost& host)
    : pair_(data.pair),
      span_(span),
      now_(now),
      start_(now - (span == ChartSpan::day ? WallTime::duration(kDay) : WallTime::duration(kWeek))),
      format_(format),
      host_(host),
      holding_(data.holding) {
  // A sample stamped after now came before the clock was set back: left out, as the history does.
  for (const PriceSample& sample : data.samples)
    if (sample.time >= start_ && sample.time <= now_ && std::isfinite(sample.price)) samples_.push_back(sample);
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    if (!high_ || samples_[i].price > samples_[*high_].price) high_ = i;
    if (!low_ || samples_[i].price < samples_[*low_].price) low_ = i;
  }
  findRuns();
  makeScales(data.alerts);
  makeTimeTicks();
}

void PriceChart::findRuns() {
  if (samples_.empty()) return;
  std::vector<WallTime::duration> spacings;
  for (std::size_t i = 1; i < samples_.size(); ++i) spacings.push_back(samples_[i].time - samples_[i - 1].time);
  WallTime::duration gap = WallTime::duration::max();
  if (!spacings.empty()) {
    auto middle = spacings.begin() + static_cast<std::ptrdiff_t>(spacings.size() / 2);
    std::nth_element(spacings.begin(), middle, spacings.end());
    const auto usual = std::chrono::duration_cast<WallTime::duration>(*middle * kGapFactor);
    gap = std::max<WallTime::duration>(usual, kShortestGap);
  }
  std::size_t first = 0;
  for (std::size_t i = 1; i < samples_.size(); ++i)
    if (samples_[i].time - samples_[i - 1].time > gap) {
      runs_.push_back({first, i});
      first = i;
    }
  runs_.push_back({first, samples_.size()});
}

void PriceChart::makeScales(const std::vector<AlertRecord>& alerts) {
  std::vector<const AlertRecord*> levels;
  for (const AlertRecord& alert : alerts)
    if (alert.pair == pair_ && (alert.kind == AlertKind::above || alert.kind == AlertKind::below))
      levels.push_back(&alert);
  double bottom = 0, top = 0;
  if (high_) {
    bottom = samples_[*low_].price;
    top = samples_[*high_].price;
  } else if (!levels.empty()) {
    bottom = top = levels.front()->level;
  } else {
    return;  // nothing to scale: no ticks
  }
  // A flat line sits in the middle of a scale of a few per cent.
  if (top - bottom <= std::abs(top) * 1e-9) {
    const double pad = top != 0 ? std::abs(top) * 0.01 : 1.0;
    bottom -= pad;
    top += pad;
  }
  // Levels within one range of the prices widen the scale to show them; farther ones would
  // flatten the line, and sit at the edge instead.
  const double reach = top - bottom;
  const double lowest = bottom - reach, highest = top + reach;
  for (const AlertRecord* alert : levels)
    if (alert->level >= lowest && alert->level <= highest) {
      bottom = std::min(bottom, alert->level);
      top = std::max(top, alert->level);
    }
  const double step = roundStep(top - bottom, kPriceTickCount);
  bottom_ = std::floor(bottom / step + 1e-9) * step;
  top_ = std::ceil(top / step - 1e-9) * step;
  if (!(top_ > bottom_)) top_ = bottom_ + step;
  priceTicks_ = ticks(bottom_, top_, format_);
  if (holding_ && *holding_ > 0) {
    const double valueBottom = bottom_ * *holding_, valueTop = top_ * *holding_;
    valueTicks_ = ticks(valueBottom, valueTop, format_);
  }
  for (const AlertRecord* alert : levels) {
    const bool above = alert->kind == AlertKind::above;
    const std::string label = localizedText(
        host_, above ? QT_TRANSLATE_NOOP("AppDelegate", "above %1") : QT_TRANSLATE_NOOP("AppDelegate", "below %1"),
        {format_.exact(alert->level)});
    const double at = y(alert->level);
    levels_.push_back({std::clamp(at, 0.0, 1.0), label, at < 0 || at > 1});
  }
}

void PriceChart::makeTimeTicks() {
  // On the hour every 3 hours, or at every midnight, in the user's time zone.
  UErrorCode status = U_ZERO_ERROR;
  const std::string& zoneName = format_.timeZone();
  icu::GregorianCalendar calendar(zoneName.empty()
                                      ? icu::TimeZone::createDefault()
                                      : icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zoneName)),
                                  status);
  if (U_FAILURE(status)) return;
  const bool day = span_ == ChartSpan::day;
  calendar.setTime(udate(start_), status);
  if (!day) calendar.set(UCAL_HOUR_OF_DAY, 0);
  calendar.set(UCAL_MINUTE, 0);
  calendar.set(UCAL_SECOND, 0);
  calendar.set(UCAL_MILLISECOND, 0);
  const auto next = [&] {
    calendar.add(day ? UCAL_HOUR_OF_DAY : UCAL_DATE, 1, status);
    return U_SUCCESS(status);
  };
  while (calendar.getTime(status) < udate(start_) || (day && calendar.get(UCAL_HOUR_OF_DAY, status) % 3 != 0))
    if (!next()) return;
  for (UDate tick = calendar.getTime(status); U_SUCCESS(status) && tick <= udate(now_);
       tick = calendar.getTime(status)) {
    const WallTime time = wallTime(tick);
    timeTicks_.push_back({x(time), day ? format_.time(time) : format_.weekdayAndDate(time)});
    for (int i = 0; i < (day ? 3 : 1); ++i)
      if (!next()) return;
  }
}

double PriceChart::x(WallTime time) const {
  return std::chrono::duration<double>(time - start_).count() / std::chrono::duration<double>(now_ - start_).count();
}

double PriceChart::y(double price) const { return (price - bottom_) / (top_ - bottom_); }

std::string PriceChart::price(double value) const { return format_.exact(value); }

std::string PriceChart::when(WallTime time) const {
  return span_ == ChartSpan::day ? format_.time(time) : format_.weekdayAndTime(time);
}

std::optional<std::size_t> PriceChart::nearest(WallTime time) const {
  if (samples_.empty()) return std::nullopt;
  const auto after = std::lower_bound(samples_.begin(), samples_.end(), time,
                                      [](const PriceSample& sample, WallTime t) { return sample.time < t; });
  const auto index = static_cast<std::size_t>(after - samples_.begin());
  if (index == 0) return 0;
  if (index == samples_.size()) return index - 1;
  return samples_[index].time - time < time - samples_[index - 1].time ? index : index - 1;
}

std::string PriceChart::readout(std::size_t index) const {
  const PriceSample& sample = samples_.at(index);
  std::string text = when(sample.time) + " · " + price(sample.price);
  if (holding_ && *holding_ > 0) {
    const std::string currency = quoteCurrency(pair_.title);
    text += " · " + format_.fixed(sample.price * *holding_, 2) + (currency.empty() ? "" : " " + currency);
  }
  return text;
}

std::string PriceChart::summary() const {
  const bool day = span_ == ChartSpan::day;
  if (!high_)
    return localizedText(host_,
                         day ? QT_TRANSLATE_NOOP("AppDelegate", "%1 on %2, last 24 hours: no prices recorded")
                             : QT_TRANSLATE_NOOP("AppDelegate", "%1 on %2, last 7 days: no prices recorded"),
                         {pair_.title, pair_.exchange});
  const PriceSample& high = samples_[*high_];
  return localizedText(host_,
                       day ? QT_TRANSLATE_NOOP("AppDelegate", "%1 on %2, last 24 hours: from %3 to %4, high %5 at %6")
                           : QT_TRANSLATE_NOOP("AppDelegate", "%1 on %2, last 7 days: from %3 to %4, high %5 at %6"),
                       {pair_.title, pair_.exchange, price(samples_.front().price), price(samples_.back().price),
                        price(high.price), when(high.time)});
}

}  // namespace pricora
