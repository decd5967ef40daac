#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/common/AppState.h"
#include "core/exchanges/PairEntry.h"
#include "core/menu/PriceFormat.h"
#include "core/store/PairList.h"
#include "model/StatusBar.h"
#include "platform/UrlOpener.h"

namespace pricora {

// One pair's own item in the tray: its title over its price.
struct StatusPair {
  PairRef record;  // held by identity: a deleted record keeps its item, which then stops updating
  StatusItemRef item;
};

// The tray items of the pairs marked "show in menu bar".
class PriceItems {
 public:
  PriceItems(StatusBar& statusBar, const TextMetrics& textMetrics, UrlOpener& urlOpener, AppState& state,
             PairList& pairs, std::function<void()> saveAction);

  // One item per marked record with a title, showing the title alone until its first ticker.
  void createAtStartup();
  // Shows the entry's price in the record's item, and its details in the item's menu.
  void updateStatusPair(const PairRef& record, const PairEntryRef& entry);
  // Before the pair's first price in this run: its items that show no price yet show the last
  // one seen in an earlier run, with detail telling its age, until a ticker replaces it.
  void showEarlierPrice(const std::string& exchange, const std::string& title, double price, std::string detail);
  // The record's menu-bar check box changed (the record already holds the new value): its item
  // is made from the pair's current entry (the title alone when there is none yet), or removed;
  // then the store is saved.
  void statusPairsChangedWithSender(const PairRef& record);
  // Opens the web site of the exchange named by the chosen item ("Wex" for any other name).
  void openExchangeWebsiteWithSender(const MenuItem& sender);
  // After the records were re-read from a store another process edits: the items of records no
  // longer marked (or no longer stored) go, marked records without an item get one at the end
  // in title order, showing the title alone until their next ticker. Kept items keep their
  // place and text. Never saves.
  void followMarks();

  const std::vector<StatusPair>& statusPairs() const { return statusPairs_; }
  // Told when the menu of any price item opens (null: nobody); set on the menus made from now on.
  void setMenuDelegate(MenuDelegate* delegate) { menuDelegate_ = delegate; }

 private:
  StatusItemRef makeItem(const Pair& record, AttributedTitle text);
  MenuRef menuFor(const Menu& lines, const std::string& exchange) const;
  void show(StatusItem& item, const std::string& title, const std::string& headline, std::string_view priceText,
            const Menu& lines, const std::string& exchange) const;

  StatusBar& statusBar_;
  const TextMetrics& textMetrics_;
  UrlOpener& urlOpener_;
  AppState& state_;
  PairList& pairs_;
  std::function<void()> saveAction_;
  ScientificFormatter scientificFormatter_;
  std::vector<StatusPair> statusPairs_;
  MenuDelegate* menuDelegate_ = nullptr;
};

}  // namespace pricora
