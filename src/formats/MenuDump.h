#pragma once

#include <string>
#include <string_view>

#include "model/Menu.h"
#include "model/StatusBar.h"

namespace pricora {

// The whole tray as JSON, for headless runs and outside checks:
//   {"statusBar": [status items in creation order], "statusMenu": [items]}
// A status item is {"image", "toolTip", "title", "titleWeights", "length", "menu"}, where "menu"
// is the text "statusMenu" for the item that carries the status menu, else an item list or
// null, and "titleWeights" is a list of [start, length, weight]. An item is
// {"title", "action", "enabled", "separator", "image", "submenu"}.
std::string dumpTray(const StatusBar& statusBar, const Menu& statusMenu);

// The name the dump gives an item's action, such as "terminate:"; empty for none.
std::string_view selectorName(MenuAction action);

}  // namespace pricora
