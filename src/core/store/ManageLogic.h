#pragma once

#include <functional>
#include <map>
#include <memory>

#include "core/store/PairList.h"
#include "platform/MainQueue.h"
#include "platform/ManageWindow.h"

namespace pricora {

// The management window's side of the application: the table shows the pair list's arranged
// records; the segment chooses the exchange; each check box writes its flag into the record
// before its action runs. The table follows the store's inserts and deletes as they happen.
class ManageLogic final : public ManageWindowDelegate {
 public:
  struct Actions {
    std::function<void()> favouritesChanged;
    std::function<void(const PairRef&)> statusPairsChanged;
    // The record's alerts as text with the ids it was written from, and the edit of that text
    // (none: no Alert column).
    std::function<ShownAlerts(const PairRef&)> alertsText;
    std::function<ManageNote(const PairRef&, const std::string&, const std::vector<std::int64_t>&)> alertsChanged;
    // The record's holding as text, and the edit of it (none: no Holding column).
    std::function<std::string(const PairRef&)> holdingText;
    std::function<ManageNote(const PairRef&, const std::string&)> holdingChanged;
  };

  ManageLogic(ManageWindow& window, MainQueue& queue, PairList& pairs, Actions actions);
  ~ManageLogic();
  ManageLogic(const ManageLogic&) = delete;
  ManageLogic& operator=(const ManageLogic&) = delete;

  // The filter follows the selected segment; without a selected label it stays as it was.
  void applyExchangeFilter();

  std::size_t numberOfRows() const override;
  ManageRow row(std::size_t index) const override;
  void favouriteChanged(std::uint64_t id, bool on) override;
  void showInMenubarChanged(std::uint64_t id, bool on) override;
  // An error keeps the typed text in the row, beside the error, until it is typed again.
  void alertsChanged(std::uint64_t id, const std::string& text, const std::vector<std::int64_t>& madeFrom) override;
  // As alertsChanged: an error keeps the typed text beside it.
  void holdingChanged(std::uint64_t id, const std::string& text) override;
  void selectedExchangeChanged() override;

 private:
  PairRef recordWithId(std::uint64_t id) const;
  void scheduleReload();

  ManageWindow& window_;
  MainQueue& queue_;
  PairList& pairs_;
  Actions actions_;
  bool reloadScheduled_ = false;
  std::map<std::uint64_t, std::pair<std::string, ManageNote>> typed_;          // by row: the text and what became of it
  std::map<std::uint64_t, std::pair<std::string, ManageNote>> typedHoldings_;  // the same for the Holding column
  std::shared_ptr<ManageLogic*> self_ = std::make_shared<ManageLogic*>(this);  // for posted work
};

}  // namespace pricora
