#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/alerts/LocaleFormat.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

enum class ChartSpan { day, week };

// What a chart shows of one followed pair, as the history file and the alerts have it.
struct ChartData {
  PairName pair;
  std::vector<PriceSample> samples;  // oldest first; those before the span are left out
  std::vector<AlertRecord> alerts;   // those of other pairs, and the moves (up, down), are left out
  std::optional<double> holding;     // the amount held: the chart then also shows its value
};

// A mark on an axis, `at` from 0 (the bottom, or the span's start) to 1 (the top, or now).
struct ChartTick {
  double at = 0;
  std::string label;
  friend bool operator==(const ChartTick&, const ChartTick&) = default;
};

// An alert's level across the chart. One beyond the price scale sits at its edge (at 0 or 1),
// marked so, rather than squeezing the week's line into a sliver.
struct ChartLevel {
  double at = 0;
  std::string label;  // "above 11,000"
  bool beyond = false;
  friend bool operator==(const ChartLevel&, const ChartLevel&) = default;
};

// The samples drawn as one line, [first, end): a gap where Pricora recorded nothing breaks it.
struct ChartRun {
  std::size_t first = 0;
  std::size_t end = 0;
  friend bool operator==(const ChartRun&, const ChartRun&) = default;
};

// Everything a price chart shows, worked out without drawing: the scales, where the line breaks,
// the high and the low, the alert levels, and the texts. A painter maps `at` values and x()/y()
// into its own rectangle.
class PriceChart {
 public:
  // The history records a price per refresh (every 60 s by default, at most one per 10 s).
  // Samples further apart than kGapFactor times their usual spacing, and at least kShortestGap,
  // have a gap between them: Pricora was not running, or the exchange did not answer.
  static constexpr double kGapFactor = 3;
  static constexpr std::chrono::minutes kShortestGap{3};

  PriceChart(const ChartData& data, ChartSpan span, WallTime now, const LocaleFormat& format, AppHost& host);

  const PairName& pair() const { return pair_; }
  ChartSpan span() const { return span_; }
  WallTime start() const { return start_; }
  WallTime now() const { return now_; }
  std::span<const PriceSample> samples() const { return samples_; }
  const std::vector<ChartRun>& runs() const { return runs_; }
  // The sample of the highest and of the lowest price (the first of equal ones); none when empty.
  std::optional<std::size_t> high() const { return high_; }
  std::optional<std::size_t> low() const { return low_; }

  // 0 at the span's start, 1 at now.
  double x(WallTime time) const;
  // 0 at the price scale's bottom, 1 at its top.
  double y(double price) const;
  // The price scale's ticks (left), the holding's value scale (right; empty without a
  // holding), and the times (bottom): every 3 hours of the day, every midnight of the week.
  const std::vector<ChartTick>& priceTicks() const { return priceTicks_; }
  const std::vector<ChartTick>& valueTicks() const { return valueTicks_; }
  const std::vector<ChartTick>& timeTicks() const { return timeTicks_; }
  const std::vector<ChartLevel>& levels() const { return levels_; }

  // A price as the chart writes it, in the user's locale: "10,812.6".
  std::string price(double value) const;
  // A sample's time: "14:05" for the day, "Mon 14:05" for the week.
  std::string when(WallTime time) const;
  // The sample nearest to time, the earlier of two as near; none when there are none.
  std::optional<std::size_t> nearest(WallTime time) const;
  // What the read-out says of a sample: "Mon 14:05 · 10,599.5", with the holding's value
  // "· 2,649.88 USD" when there is one.
  std::string readout(std::size_t index) const;
  // The accessible summary: "XBT/USD on Kraken, last 24 hours: from 10,412 to 10,599.5, high
  // 10,812.6 at 14:05".
  std::string summary() const;

 private:
  void findRuns();
  void makeScales(const std::vector<AlertRecord>& alerts);
  void makeTimeTicks();

  PairName pair_;
  ChartSpan span_;
  WallTime now_;
  WallTime start_;
  const LocaleFormat& format_;
  AppHost& host_;
  std::optional<double> holding_;
  std::vector<PriceSample> samples_;
  std::vector<ChartRun> runs_;
  std::optional<std::size_t> high_, low_;
  double bottom_ = 0, top_ = 1;  // the price scale
  std::vector<ChartTick> priceTicks_, valueTicks_, timeTicks_;
  std::vector<ChartLevel> levels_;
};

// The quote currency of a title, "USD" of "XBT/USD"; empty when the title does not say.
std::string quoteCurrency(const std::string& title);

}  // namespace pricora
