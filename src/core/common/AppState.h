#pragma once

#include <optional>

#include "core/exchanges/ExchangeState.h"
#include "model/Menu.h"
#include "model/StatusBar.h"
#include "platform/Clock.h"

namespace pricora {

// The application's state shared between the shell's parts; the AppDelegate owns it.
struct AppState {
  // The menu of the application's tray icon.
  MenuRef statusMenu = Menu::create();
  // Hangs under the "Preferences" entry.
  MenuRef preferencesMenu = Menu::create();
  // In the Preferences submenu: checked while Pricora starts at login.
  MenuItemRef launchAtStartupMenuItem;
  ExchangeTable exchanges;
  bool bitfinexActive = true;
  // Seconds between timed refreshes.
  double refreshFrequency = 60.0;
  // The application's own tray icon.
  StatusItemRef statusItem;
  // When the last refresh completed.
  std::optional<WallTime> updateDate;
};

}  // namespace pricora
