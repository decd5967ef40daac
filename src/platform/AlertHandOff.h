#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/HistoryFile.h"

namespace pricora {

// What a running Pricora made of an alert handed to it: the alert's number, its pair as the store
// spells it, where it stands and the price that settled it (none when it has seen no recent
// price of the pair); or, with a problem, why it made none.
struct HandedAlert {
  std::int64_t id = 0;
  PairName pair;
  AlertPhase phase = AlertPhase::fresh;
  std::optional<double> price;
  std::string problem;  // for people, in the running Pricora's language
};

// The Pricora that runs on this store, when there is one to reach: it settles a new alert
// against the prices it shows, which are newer than the file's while a refresh is under way.
class AlertHandOff {
 public:
  virtual ~AlertHandOff() = default;
  // None when no Pricora runs on this store or it could not be reached: the alert is not made.
  virtual std::optional<HandedAlert> handOver(const AlertRecord& alert) = 0;
};

// No Pricora runs on the store.
class NoAlertHandOff final : public AlertHandOff {
 public:
  std::optional<HandedAlert> handOver(const AlertRecord&) override { return std::nullopt; }
};

}  // namespace pricora
