#include "core/menu/StatusMenu.h"

#include <algorithm>

#include "core/common/TextOrder.h"

namespace pricora {

namespace {

// The fixed entries: three on top and two separators around the favourites, then eleven below
// them (eight exchanges, a separator, the last-update entry).
constexpr std::size_t kFirstFavourite = 4;
constexpr std::size_t kEntriesAfterFavourites = 11;
constexpr std::size_t kFixedEntries = 15;

// A favourite's title begins with the pair's display title and ": ". Matching on the whole
// title part keeps BTC/USD and BTC/USDT apart, which share their first seven characters.
std::string titleKey(const std::string& displayTitle) { return displayTitle + ": "; }

}  // namespace

StatusMenu::StatusMenu(const Bundle& bundle, AppState& state, PairList& pairs, UpdateStatusPair updateStatusPair)
    : bundle_(bundle), state_(state), pairs_(pairs), updateStatusPair_(std::move(updateStatusPair)) {}

void StatusMenu::buildStatusItem() {
  state_.statusItem->setImage(namedImage("iconSmall"));
  state_.statusItem->setMenu(state_.statusMenu);
  state_.statusItem->setToolTip("Pricora " + bundle_.shortVersionString());
}

void StatusMenu::buildFixedMenuItems() {
  Menu& menu = *state_.statusMenu;
  menu.removeAllItems();
  menu.addItemWithTitle("Quit Pricora", MenuAction::terminate);
  menu.addItemWithTitle("Preferences")->setSubmenu(state_.preferencesMenu);
  menu.addItemWithTitle("Manage", MenuAction::showManageWindow);
  menu.addItem(MenuItem::separatorItem());
  menu.addItem(MenuItem::separatorItem());
  for (Exchange exchange : kAllExchanges) menu.addItem(state_.exchanges[exchange].item);
  menu.addItem(MenuItem::separatorItem());
}

void StatusMenu::pairHandOff(Exchange exchange, const std::string& displayTitle, const PairEntryRef& entry) {
  if (!entry) return;
  ExchangeState& target = state_.exchanges[exchange];

  // The submenu is always in text order (only this inserts into it), so the first item whose
  // title comes after the headline is found by halving; equal titles keep their arrival order.
  Menu& submenu = *target.submenu;
  const auto& items = submenu.itemArray();
  const auto after = std::upper_bound(
      items.begin(), items.end(), entry->headline(),
      [](const std::string& headline, const MenuItemRef& item) { return comesAfter(item->title(), headline); });
  submenu.insertItem(entry->makeItem(), static_cast<std::size_t>(after - items.begin()));

  const std::string name(displayName(exchange));
  if (const PairRef record = pairs_.findPair(name, displayTitle)) {
    if (record->isFavourite()) updateFavourite(displayTitle, *entry, *target.item);
    if (record->showInMenubar() && updateStatusPair_) updateStatusPair_(record, entry);
  } else {
    pairs_.insertPair(name, displayTitle);
  }
}

void StatusMenu::updateFavourite(const std::string& displayTitle, const PairEntry& entry,
                                 const MenuItem& exchangeItem) {
  Menu& menu = *state_.statusMenu;
  if (menu.numberOfItems() < kFixedEntries) return;
  const std::string key = titleKey(displayTitle);
  MenuItemRef match;
  for (const MenuItemRef& item : menu.itemArray())
    if (item->image() == exchangeItem.image() && hasTitlePrefix(item->title(), key)) match = item;
  if (match) {
    match->setTitle(entry.headline());
    match->setSubmenu(entry.tickerLines()->copy());
    return;
  }
  insertFavourite(entry.makeItem()->copy(), exchangeItem);
}

void StatusMenu::insertFavourite(const MenuItemRef& item, const MenuItem& exchangeItem) {
  Menu& menu = *state_.statusMenu;
  const std::size_t closing = menu.numberOfItems() - kEntriesAfterFavourites;
  std::size_t at = kFirstFavourite;
  for (; at < closing; ++at) {
    const MenuItem& existing = *menu.itemAtIndex(at);
    if (existing.isSeparatorItem() || comesAfter(existing.title(), item->title())) break;
  }
  item->setImage(exchangeItem.image());
  menu.insertItem(item, at);
}

void StatusMenu::rebuildFavourites() {
  Menu& menu = *state_.statusMenu;
  while (menu.numberOfItems() > kFixedEntries) menu.removeItemAtIndex(kFirstFavourite);
  if (menu.numberOfItems() < kFixedEntries) return;
  for (const PairRef& record : pairs_.allArranged()) {
    if (!record->isFavourite() || !record->exchange() || !record->title()) continue;
    const ExchangeState& exchange = state_.exchanges[exchangeForName(record->exchange())];
    const std::string key = titleKey(*record->title());
    const auto& items = exchange.submenu->itemArray();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const MenuItemRef& item) { return hasTitlePrefix(item->title(), key); });
    if (found != items.end()) insertFavourite((*found)->copy(), *exchange.item);
  }
}

}  // namespace pricora
