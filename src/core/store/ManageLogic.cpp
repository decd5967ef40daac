#include "core/store/ManageLogic.h"

#include <algorithm>

namespace pricora {

ManageLogic::ManageLogic(ManageWindow& window, MainQueue& queue, PairList& pairs, Actions actions)
    : window_(window), queue_(queue), pairs_(pairs), actions_(std::move(actions)) {
  window_.setDelegate(this);
  pairs_.setChangeListener([this] { scheduleReload(); });
}

ManageLogic::~ManageLogic() {
  pairs_.setChangeListener(nullptr);
  window_.setDelegate(nullptr);
}

void ManageLogic::scheduleReload() {
  // A refresh may insert thousands of records in a row, the clean-up delete many: the table
  // reloads once after the burst, not once per record.
  if (reloadScheduled_) return;
  reloadScheduled_ = true;
  queue_.post([weak = std::weak_ptr<ManageLogic*>(self_)] {
    const auto self = weak.lock();
    if (!self) return;
    (*self)->reloadScheduled_ = false;
    (*self)->window_.reloadData();
  });
}

void ManageLogic::applyExchangeFilter() {
  if (const std::optional<std::string> label = window_.selectedSegmentLabel()) pairs_.setFilter(*label);
}

std::size_t ManageLogic::numberOfRows() const { return pairs_.arrangedObjects().size(); }

ManageRow ManageLogic::row(std::size_t index) const {
  const std::vector<PairRef>& arranged = pairs_.arrangedObjects();
  if (index >= arranged.size()) return {};
  const Pair& pair = *arranged[index];
  ManageRow row{
      pair.creationOrder(), pair.title().value_or(""), pair.isFavourite(), pair.showInMenubar(), {}, {}, {}, {}, {}};
  if (actions_.alertsText) {
    ShownAlerts shown = actions_.alertsText(arranged[index]);
    row.alerts = std::move(shown.text);
    row.alertIds = std::move(shown.ids);
  }
  if (const auto typed = typed_.find(row.id); typed != typed_.end()) {
    // A text that was refused stays for correcting; the alerts it would edit are the stored ones.
    if (typed->second.second.isError) row.alerts = typed->second.first;
    row.alertsNote = typed->second.second;
  }
  if (actions_.holdingText) row.holding = actions_.holdingText(arranged[index]);
  if (const auto typed = typedHoldings_.find(row.id); typed != typedHoldings_.end()) {
    if (typed->second.second.isError) row.holding = typed->second.first;
    row.holdingNote = typed->second.second;
  }
  return row;
}

PairRef ManageLogic::recordWithId(std::uint64_t id) const {
  // The window shows rows as they were at its last reload; records found by what the row
  // showed, never by a position that new pairs may have shifted since.
  const std::vector<PairRef>& arranged = pairs_.arrangedObjects();
  const auto found =
      std::find_if(arranged.begin(), arranged.end(), [id](const PairRef& pair) { return pair->creationOrder() == id; });
  return found == arranged.end() ? nullptr : *found;
}

void ManageLogic::favouriteChanged(std::uint64_t id, bool on) {
  const PairRef record = recordWithId(id);
  if (!record) return;
  record->setIsFavourite(on);
  actions_.favouritesChanged();
}

void ManageLogic::showInMenubarChanged(std::uint64_t id, bool on) {
  const PairRef record = recordWithId(id);
  if (!record) return;
  record->setShowInMenubar(on);
  actions_.statusPairsChanged(record);
}

void ManageLogic::alertsChanged(std::uint64_t id, const std::string& text, const std::vector<std::int64_t>& madeFrom) {
  const PairRef record = recordWithId(id);
  if (!record || !actions_.alertsChanged) return;
  const ManageNote note = actions_.alertsChanged(record, text, madeFrom);
  if (note.text.empty())
    typed_.erase(id);
  else
    typed_[id] = {text, note};
  scheduleReload();
}

void ManageLogic::holdingChanged(std::uint64_t id, const std::string& text) {
  const PairRef record = recordWithId(id);
  if (!record || !actions_.holdingChanged) return;
  const ManageNote note = actions_.holdingChanged(record, text);
  if (note.text.empty())
    typedHoldings_.erase(id);
  else
    typedHoldings_[id] = {text, note};
  scheduleReload();
}

void ManageLogic::selectedExchangeChanged() {
  applyExchangeFilter();
  window_.reloadData();
}

}  // namespace pricora
