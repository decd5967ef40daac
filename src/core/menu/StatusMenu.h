#pragma once

#include <functional>
#include <string>

#include "core/common/AppState.h"
#include "core/exchanges/PairEntry.h"
#include "core/store/PairList.h"
#include "platform/Bundle.h"

namespace pricora {

// The tray icon's menu: its fixed entries, the favourites section between the two separators,
// and the exchange submenus that the pair hand-off fills.
class StatusMenu {
 public:
  // Keeps a pair's price item current; called for records marked for the menu bar.
  using UpdateStatusPair = std::function<void(const PairRef& record, const PairEntryRef& entry)>;

  StatusMenu(const Bundle& bundle, AppState& state, PairList& pairs, UpdateStatusPair updateStatusPair);

  // Gives the application's tray icon its image, menu and tool tip.
  void buildStatusItem();
  // Replaces the menu's content with the fixed entries.
  void buildFixedMenuItems();

  // Places one pair's entry: into its exchange's submenu in text order, into the favourites and
  // its price item when the stored record asks for them; a pair never seen before is stored.
  void pairHandOff(Exchange exchange, const std::string& displayTitle, const PairEntryRef& entry);
  // Rewrites the pair's favourite item, or adds one in headline order.
  void updateFavourite(const std::string& displayTitle, const PairEntry& entry, const MenuItem& exchangeItem);
  // Empties the favourites section and fills it again from the store.
  void rebuildFavourites();

 private:
  void insertFavourite(const MenuItemRef& item, const MenuItem& exchangeItem);

  const Bundle& bundle_;
  AppState& state_;
  PairList& pairs_;
  UpdateStatusPair updateStatusPair_;
};

}  // namespace pricora
