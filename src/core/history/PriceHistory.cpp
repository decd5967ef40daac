#include "core/history/PriceHistory.h"

#include <algorithm>

namespace pricora {

namespace {

// Refreshes faster than this keep one price per span: a day at one refresh a second would
// otherwise hold 86,400 prices a pair in memory for nothing a window of five minutes or more
// could tell apart, and the file, which rewrites an hour's row with every price, would write a
// square of them.
constexpr std::chrono::seconds kFinestSpacing{10};

void keep(std::vector<PriceSample>& samples, const PriceSample& sample) {
  const std::size_t n = samples.size();
  if (n >= 2 && sample.time - samples[n - 2].time < kFinestSpacing)
    samples.back() = sample;
  else
    samples.push_back(sample);
}

void forgetBefore(std::vector<PriceSample>& samples, WallTime from) {
  const auto kept = std::find_if(samples.begin(), samples.end(), [&](const PriceSample& s) { return s.time >= from; });
  samples.erase(samples.begin(), kept);
}

}  // namespace

Status PriceHistory::follow(const std::set<PairName>& pairs, WallTime now) {
  std::erase_if(recent_, [&](const auto& entry) { return pairs.count(entry.first) == 0; });
  std::erase_if(written_, [&](const auto& entry) { return pairs.count(entry.first) == 0; });
  Status status;
  for (const PairName& pair : pairs) {
    if (recent_.count(pair) != 0) continue;
    Result<std::vector<PriceSample>> past = file_.samples(pair, now - kKeptInMemory);
    if (!past && status) status = past.error();
    std::vector<PriceSample>& samples = recent_[pair];
    if (past)
      for (const PriceSample& sample : past.value())
        if (sample.time <= now) keep(samples, sample);
  }
  return status;
}

void PriceHistory::add(const PairName& pair, WallTime time, const std::string& text, double price) {
  const auto followed = recent_.find(pair);
  if (followed == recent_.end()) return;
  std::vector<PriceSample>& samples = followed->second;
  if (!samples.empty()) time = std::max(time, samples.back().time);
  forgetBefore(samples, time - kKeptInMemory);
  keep(samples, {time, price});
  const auto same = std::find_if(unwritten_.begin(), unwritten_.end(),
                                 [&](const SampleToWrite& sample) { return sample.pair == pair; });
  if (same != unwritten_.end())
    *same = {pair, time, text, price};
  else
    unwritten_.push_back({pair, time, text, price});
}

std::optional<Status> PriceHistory::flush(WallTime now) {
  if (file_.isReadOnly()) {
    unwritten_.clear();
    return std::nullopt;
  }
  // A price too soon after the pair's last one in the file waits: a newer one replaces it.
  const auto held = std::stable_partition(unwritten_.begin(), unwritten_.end(), [&](const SampleToWrite& sample) {
    const auto last = written_.find(sample.pair);
    return last == written_.end() || sample.time - last->second >= kFinestSpacing;
  });
  const std::vector<SampleToWrite> due(std::make_move_iterator(unwritten_.begin()), std::make_move_iterator(held));
  unwritten_.erase(unwritten_.begin(), held);
  // A week of the time that passed: a clock set forward by a month drops no more than a week.
  const Status status = file_.recordSamples(due, now - kKeptInFile - std::max(setForward_, std::chrono::seconds(0)));
  if (due.empty()) return std::nullopt;
  if (status)
    for (const SampleToWrite& sample : due) written_[sample.pair] = sample.time;
  return status;
}

std::span<const PriceSample> PriceHistory::recent(const PairName& pair) const {
  const auto followed = recent_.find(pair);
  if (followed == recent_.end()) return {};
  return followed->second;
}

Status PriceHistory::clockSet(std::chrono::seconds step, WallTime ownSince) {
  const auto moved = [&](WallTime& time) {
    if (time >= ownSince) time += step;
  };
  for (auto& [pair, samples] : recent_) {
    for (PriceSample& sample : samples) moved(sample.time);
    std::stable_sort(samples.begin(), samples.end(),
                     [](const PriceSample& a, const PriceSample& b) { return a.time < b.time; });
  }
  for (auto& [pair, time] : written_) moved(time);
  for (SampleToWrite& sample : unwritten_) moved(sample.time);
  setForward_ += step;
  if (file_.isReadOnly()) return {};
  return file_.restampSamples(ownSince, step);
}

std::optional<PriceChange> changeOverDay(std::span<const PriceSample> recent, WallTime now) {
  const WallTime from = now - PriceHistory::kKeptInMemory;
  const auto oldest =
      std::find_if(recent.begin(), recent.end(), [&](const PriceSample& sample) { return sample.time >= from; });
  if (recent.size() < 2 || oldest == recent.end() || oldest + 1 >= recent.end() || !(oldest->price > 0))
    return std::nullopt;
  const PriceSample& newest = recent.back();
  return PriceChange{(newest.price / oldest->price - 1) * 100,
                     std::chrono::duration_cast<std::chrono::seconds>(newest.time - oldest->time)};
}

std::vector<double> sparkline(std::span<const PriceSample> recent, WallTime now, std::size_t points) {
  const WallTime from = now - PriceHistory::kKeptInMemory;
  const auto oldest =
      std::find_if(recent.begin(), recent.end(), [&](const PriceSample& sample) { return sample.time >= from; });
  const std::size_t count = static_cast<std::size_t>(recent.end() - oldest);
  std::vector<double> line;
  if (count == 0 || points == 0) return line;
  const std::size_t taken = std::min(count, points);
  line.reserve(taken);
  // The k-th of `taken` points is the price at that fraction of the way; the last is the newest.
  for (std::size_t k = 0; k < taken; ++k)
    line.push_back(oldest[static_cast<std::ptrdiff_t>(taken == 1 ? count - 1 : k * (count - 1) / (taken - 1))].price);
  return line;
}

}  // namespace pricora
