#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/exchanges/NetworkText.h"
#include "platform/menu/Menu.h"

namespace pricora {

// One ticker reply as the menus show it: the headline (display title, ": ", last price) and the
// detail lines. The entry is shared with the item that shows it: lines added after the hand-off
// (GDAX's low and high arrive with a second reply) appear under that item, once. Copies taken
// for the favourites and the price items keep the lines they had when copied. The headline and
// every line are kept as boundedText: as sent, unless longer than any display takes.
class PairEntry {
 public:
  explicit PairEntry(std::string headline) : headline_(boundedText(std::move(headline))) {}

  const std::string& headline() const { return headline_; }
  // The detail lines as a menu of disabled items, shared with the pair item.
  const MenuRef& tickerLines() const { return lines_; }
  void addLine(std::string line) { lines_->addItemWithTitle(boundedText(std::move(line))); }
  std::vector<std::string> lines() const;

  // The item that shows this entry in an exchange submenu.
  MenuItemRef makeItem() const;

 private:
  std::string headline_;
  MenuRef lines_ = Menu::create();
};

using PairEntryRef = std::shared_ptr<PairEntry>;

}  // namespace pricora
