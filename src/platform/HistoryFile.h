#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"

namespace pricora {

// A pair as the history and the alerts name it: by its exchange's display name and its title,
// the way the pair store names it too.
struct PairName {
  std::string exchange;  // "Kraken"
  std::string title;     // "XBT/USD"
  friend auto operator<=>(const PairName&, const PairName&) = default;
};

// One price of one pair, as read back from the history.
struct PriceSample {
  WallTime time;
  double price = 0;
  friend bool operator==(const PriceSample&, const PriceSample&) = default;
};

// One price of one refresh, as written: the text the exchange sent and its number.
struct SampleToWrite {
  PairName pair;
  WallTime time;
  std::string priceText;
  double price = 0;
};

// above/below: the price crossing `level`. up/down: the price moving `level` per cent within
// `window` seconds.
enum class AlertKind { above, below, up, down };

// Where an alert stands. fresh: no price seen since it was made; armed: it fires at the next
// crossing; waiting: past its level (it fired, or was made that way) until the price has moved
// back by the margin; spent: fired once and made to fire only once.
enum class AlertPhase { fresh, armed, waiting, spent };

// The phases by name, as the file and the bus write them: "fresh", "armed", "waiting", "spent".
inline constexpr std::string_view kAlertPhaseNames[] = {"fresh", "armed", "waiting", "spent"};
inline std::string_view phaseName(AlertPhase phase) { return kAlertPhaseNames[static_cast<std::size_t>(phase)]; }
// Fresh for a name that is none of them.
inline AlertPhase phaseNamed(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kAlertPhaseNames); ++i)
    if (kAlertPhaseNames[i] == name) return static_cast<AlertPhase>(i);
  return AlertPhase::fresh;
}

struct AlertRecord {
  std::int64_t id = 0;  // given by the file
  PairName pair;
  AlertKind kind = AlertKind::above;
  double level = 0;                // a price, or per cent for up and down
  std::int64_t windowSeconds = 0;  // up and down only
  bool once = false;
  double margin = 0.5;  // per cent (of the price; points of the move for up and down)
  AlertPhase phase = AlertPhase::fresh;
  WallTime created;
  std::optional<WallTime> fired;  // the last time it fired
  friend bool operator==(const AlertRecord&, const AlertRecord&) = default;
};

// An amount of a pair's first currency the user owns, in hundred-millionths: 25000000 is 0.25.
// Kept as a whole number so that it reads back exactly as it was typed.
struct HoldingRecord {
  PairName pair;
  std::int64_t units = 0;  // above 0
  friend bool operator==(const HoldingRecord&, const HoldingRecord&) = default;
};
inline constexpr std::int64_t kHoldingUnitsPerCoin = 100'000'000;

// Pricora's own file beside the pair store: the prices of the pairs the user follows, the
// alerts and the holdings. Written by the process that holds the store (and by `pricora --alert`), read by the
// others. Every write is one transaction: all of it lands, or none.
class HistoryFile {
 public:
  virtual ~HistoryFile() = default;

  // Every write refuses: another process writes the file, or it could not be opened for writing.
  virtual bool isReadOnly() const = 0;
  // Whether another process committed to the file since the last call (or since opening).
  virtual bool changedElsewhere() = 0;

  // Every alert, by id.
  virtual Result<std::vector<AlertRecord>> loadAlerts() = 0;
  // Stores a new alert (its id is ignored); the id it was given.
  virtual Result<std::int64_t> addAlert(const AlertRecord& alert) = 0;
  // False when there was no such alert.
  virtual Result<bool> removeAlert(std::int64_t id) = 0;
  // Removes the alerts of these ids (those still stored) and stores these new ones (their ids
  // are ignored), all at once. Every other alert stays as it is, whoever made it.
  virtual Status editAlerts(const std::vector<std::int64_t>& removed, const std::vector<AlertRecord>& added) = 0;
  // Writes these alerts over the stored ones of the same id; ids no longer stored are skipped.
  virtual Status updateAlerts(const std::vector<AlertRecord>& alerts) = 0;

  // Every holding, by exchange and title.
  virtual Result<std::vector<HoldingRecord>> loadHoldings() = 0;
  // Stores the pair's holding, replacing the one it had; 0 units removes it.
  virtual Status setHolding(const PairName& pair, std::int64_t units) = 0;

  // Appends one refresh's prices and drops what is older than keepSince.
  virtual Status recordSamples(const std::vector<SampleToWrite>& samples, WallTime keepSince) = 0;
  // The pair's prices since `since`, oldest first.
  virtual Result<std::vector<PriceSample>> samples(const PairName& pair, WallTime since) = 0;
  // Moves every price from `since` on by `by`, keeping each pair's prices in time order: the
  // wall clock was set while they were recorded.
  virtual Status restampSamples(WallTime since, std::chrono::seconds by) = 0;
};

// The stand-in when there is no usable file: nothing stored, every write refused with `reason`.
class NoHistoryFile final : public HistoryFile {
 public:
  explicit NoHistoryFile(Error reason) : reason_(std::move(reason)) {}
  bool isReadOnly() const override { return true; }
  bool changedElsewhere() override { return false; }
  Result<std::vector<AlertRecord>> loadAlerts() override { return std::vector<AlertRecord>{}; }
  Result<std::int64_t> addAlert(const AlertRecord&) override { return reason_; }
  Result<bool> removeAlert(std::int64_t) override { return reason_; }
  Status editAlerts(const std::vector<std::int64_t>&, const std::vector<AlertRecord>&) override { return reason_; }
  Status updateAlerts(const std::vector<AlertRecord>&) override { return reason_; }
  Result<std::vector<HoldingRecord>> loadHoldings() override { return std::vector<HoldingRecord>{}; }
  Status setHolding(const PairName&, std::int64_t) override { return reason_; }
  Status recordSamples(const std::vector<SampleToWrite>&, WallTime) override { return reason_; }
  Result<std::vector<PriceSample>> samples(const PairName&, WallTime) override { return std::vector<PriceSample>{}; }
  Status restampSamples(WallTime, std::chrono::seconds) override { return reason_; }

 private:
  Error reason_;
};

}  // namespace pricora
