#pragma once

#include "core/app/AppServices.h"
#include "core/app/AppState.h"

namespace pricora {

// The tray icon's menu: its fixed entries, the favourites section between the two separators,
// and the exchange submenus that the pair hand-off fills.
class StatusMenu {
 public:
  StatusMenu(AppServices& services, AppState& state);

  // Gives the application's tray icon its image, menu and tool tip.
  void buildStatusItem();
  // Replaces the menu's content with the fixed entries.
  void buildFixedMenuItems();

 private:
  AppServices& services_;
  AppState& state_;
};

}  // namespace pricora
