#pragma once

#include <functional>

#include "core/store/PairList.h"
#include "platform/ManageWindow.h"

namespace pricora {

// The management window's side of the application: the table shows the pair list's arranged
// records; the segment chooses the exchange; each check box writes its flag into the record
// before its action runs.
class ManageLogic final : public ManageWindowDelegate {
 public:
  struct Actions {
    std::function<void()> favouritesChanged;
    std::function<void(const PairRef&)> statusPairsChanged;
  };

  ManageLogic(ManageWindow& window, PairList& pairs, Actions actions);
  ~ManageLogic();
  ManageLogic(const ManageLogic&) = delete;
  ManageLogic& operator=(const ManageLogic&) = delete;

  // The filter follows the selected segment; without a selected label it stays as it was.
  void applyExchangeFilter();

  std::size_t numberOfRows() const override;
  ManageRow row(std::size_t index) const override;
  void favouriteChanged(std::uint64_t id, bool on) override;
  void showInMenubarChanged(std::uint64_t id, bool on) override;
  void selectedExchangeChanged() override;

 private:
  PairRef recordWithId(std::uint64_t id) const;

  ManageWindow& window_;
  PairList& pairs_;
  Actions actions_;
};

}  // namespace pricora
