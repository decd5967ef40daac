#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchanges/NetworkText.h"
#include "model/Menu.h"

namespace pricora {

// A price an exchange sent, as a number to compare with: none for text that is not a plain
// number, nor for "inf", "nan", 0 or a negative one.
std::optional<double> priceNumber(std::string_view text);

// One ticker reply as the menus show it: the headline (display title, ": ", last price) and the
// detail lines, with the last price (and the bid and ask, where given) read once as numbers for
// everything that compares or draws prices. The entry is shared with the item that shows it: lines added after the
// hand-off (GDAX's low and high arrive with a second reply) appear under that item, once. Copies taken for the
// favourites and the price items keep the lines they had when copied. The headline and every line are kept as
// boundedText: as sent, unless longer than any display takes.
class PairEntry {
 public:
  PairEntry(const std::string& displayTitle, const std::string& price);

  const std::string& headline() const { return headline_; }
  // The last price as the exchange sent it: what follows the display title in the headline.
  std::string_view priceText() const { return std::string_view(headline_).substr(priceStart_); }
  const std::optional<double>& price() const { return price_; }
  const std::optional<double>& bid() const { return bid_; }
  const std::optional<double>& ask() const { return ask_; }
  void setBidAndAsk(std::string_view bid, std::string_view ask);
  // The detail lines as a menu of disabled items, shared with the pair item.
  const MenuRef& tickerLines() const { return lines_; }
  void addLine(std::string line) { lines_->addItemWithTitle(boundedText(std::move(line))); }
  std::vector<std::string> lines() const;

  // The item that shows this entry in an exchange submenu.
  MenuItemRef makeItem() const;

 private:
  std::string headline_;
  std::size_t priceStart_;
  std::optional<double> price_, bid_, ask_;
  MenuRef lines_ = Menu::create();
};

using PairEntryRef = std::shared_ptr<PairEntry>;

}  // namespace pricora
