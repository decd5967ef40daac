#include "core/bar/BarView.h"

#include "core/exchanges/Exchange.h"

namespace pricora {

std::vector<BarItem> barItems(const std::vector<StatusPair>& statusPairs) {
  std::vector<BarItem> items;
  items.reserve(statusPairs.size());
  for (const StatusPair& pair : statusPairs) {
    const StatusItem& item = *pair.item;
    // The item's text is its title over its price.
    const std::string& text = item.attributedTitle().text;
    const std::size_t newline = text.find('\n');
    BarItem shown{text.substr(0, newline),
                  newline == std::string::npos ? "" : text.substr(newline + 1),
                  item.toolTip(),
                  {},
                  std::nullopt};
    // Its menu: the exchange's name, a separator, then the detail lines.
    if (const MenuRef& menu = item.menu()) {
      for (std::size_t i = 0; i < menu->numberOfItems(); ++i) {
        const MenuItem& line = *menu->itemAtIndex(i);
        if (i == 0) {
          if (const auto exchange = exchangeNamed(line.title())) shown.colour = info(*exchange).colour;
        } else if (!line.isSeparatorItem()) {
          shown.details.push_back(line.title());
        }
      }
    } else if (pair.record->exchange()) {
      if (const auto exchange = exchangeNamed(*pair.record->exchange())) shown.colour = info(*exchange).colour;
    }
    items.push_back(std::move(shown));
  }
  return items;
}

}  // namespace pricora
