#pragma once

#include <memory>
#include <utility>

#include "platform/HistoryFile.h"

namespace pricora {

// Hands every call to another history file: the base of files that change a few calls and keep
// the rest as they are.
class HistoryFileWrapper : public HistoryFile {
 public:
  explicit HistoryFileWrapper(std::unique_ptr<HistoryFile> target) : target_(std::move(target)) {}

  bool isReadOnly() const override { return target_->isReadOnly(); }
  bool changedElsewhere() override { return target_->changedElsewhere(); }
  Result<std::vector<AlertRecord>> loadAlerts() override { return target_->loadAlerts(); }
  Result<std::int64_t> addAlert(const AlertRecord& alert) override { return target_->addAlert(alert); }
  Result<bool> removeAlert(std::int64_t id) override { return target_->removeAlert(id); }
  Status editAlerts(const std::vector<std::int64_t>& removed, const std::vector<AlertRecord>& added) override {
    return target_->editAlerts(removed, added);
  }
  Status updateAlerts(const std::vector<AlertRecord>& alerts) override { return target_->updateAlerts(alerts); }
  Result<std::vector<HoldingRecord>> loadHoldings() override { return target_->loadHoldings(); }
  Status setHolding(const PairName& pair, std::int64_t units) override { return target_->setHolding(pair, units); }
  Status recordSamples(const std::vector<SampleToWrite>& samples, WallTime keepSince) override {
    return target_->recordSamples(samples, keepSince);
  }
  Result<std::vector<PriceSample>> samples(const PairName& pair, WallTime since) override {
    return target_->samples(pair, since);
  }
  Status restampSamples(WallTime since, std::chrono::seconds by) override { return target_->restampSamples(since, by); }

 protected:
  void setTarget(std::unique_ptr<HistoryFile> target) { target_ = std::move(target); }

 private:
  std::unique_ptr<HistoryFile> target_;
};

}  // namespace pricora
