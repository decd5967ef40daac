#include "core/menu/StatusMenu.h"

namespace pricora {

StatusMenu::StatusMenu(AppServices& services, AppState& state) : services_(services), state_(state) {}

void StatusMenu::buildStatusItem() {
  state_.statusItem->setImage(namedImage("iconSmall"));
  state_.statusItem->setMenu(state_.statusMenu);
  state_.statusItem->setToolTip("Pricora " + services_.bundle.shortVersionString());
}

void StatusMenu::buildFixedMenuItems() {
  Menu& menu = *state_.statusMenu;
  menu.removeAllItems();
  menu.addItemWithTitle("Quit Pricora", "terminate:");
  menu.addItemWithTitle("Preferences")->setSubmenu(state_.preferencesMenu);
  menu.addItemWithTitle("Manage", "showManageWindow");
  menu.addItem(MenuItem::separatorItem());
  // Favourites go between these two separators.
  menu.addItem(MenuItem::separatorItem());
  for (Exchange exchange : kAllExchanges) menu.addItem(state_.exchanges[exchange].item);
  menu.addItem(MenuItem::separatorItem());
}

}  // namespace pricora
