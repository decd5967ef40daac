#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/HistoryFile.h"

namespace pricora {

// The prices of the pairs the user follows, at most one per ten seconds: the last day of them in
// memory, for the changes, the pictures and the move alerts; a week of them in the history file,
// written once per refresh.
class PriceHistory {
 public:
  static constexpr std::chrono::hours kKeptInFile{24 * 7};
  static constexpr std::chrono::hours kKeptInMemory{24};

  explicit PriceHistory(HistoryFile& file) : file_(file) {}

  // Follows exactly these pairs from now on; a pair newly followed brings its last day from the
  // file, but for prices stamped later than now, which a clock set back made. The failure to
  // read it, if any (the pair then starts without its past).
  Status follow(const std::set<PairName>& pairs, WallTime now);
  bool follows(const PairName& pair) const { return recent_.count(pair) != 0; }
  // A followed pair's price in this refresh; a second one in the same refresh replaces the first
  // on its way to the file. Ignored for pairs not followed. Times never run backwards: a price
  // stamped before the pair's last one takes the last one's time.
  void add(const PairName& pair, WallTime time, const std::string& text, double price);
  // Writes what was added since the last call, in one transaction; a price less than ten
  // seconds after its pair's last one written waits for a later call. A file that refuses keeps
  // nothing of it, and the memory keeps everything. None when there was no price to write.
  std::optional<Status> flush(WallTime now);
  // Oldest first; empty for pairs not followed.
  std::span<const PriceSample> recent(const PairName& pair) const;
  // The wall clock was set by `step`: the prices this process recorded (those from `ownSince` on,
  // as the clock told time before) move with it, in memory and in the file, so that windows and
  // changes measure the time that passed. Prices of earlier runs stay where they are, and the
  // week kept in the file never counts the step as time passed. The file's failure, if any.
  Status clockSet(std::chrono::seconds step, WallTime ownSince);

 private:
  HistoryFile& file_;
  std::map<PairName, std::vector<PriceSample>> recent_;
  std::vector<SampleToWrite> unwritten_;
  std::map<PairName, WallTime> written_;  // the time of each pair's last price in the file
  std::chrono::seconds setForward_{0};    // how far the wall clock was set, all told
};

// The change of price over the last day, or since the oldest price when there is less of it.
struct PriceChange {
  double percent = 0;
  std::chrono::seconds span{0};
};
// None without two prices to compare, or when the older one is not above zero.
std::optional<PriceChange> changeOverDay(std::span<const PriceSample> recent, WallTime now);
// At most `points` prices of the last day, evenly spread over it, oldest first, the newest last.
std::vector<double> sparkline(std::span<const PriceSample> recent, WallTime now, std::size_t points);

}  // namespace pricora
