#include "core/bar/BarView.h"

namespace pricora {

namespace {

// Prices older than this many refresh intervals are shown as stale.
constexpr double kStaleIntervals = 3.0;

}  // namespace

WallTime staleAt(std::optional<WallTime> lastUpdate, WallTime started, double refreshFrequency) {
  const std::chrono::duration<double> staleAfter(kStaleIntervals * refreshFrequency);
  return lastUpdate.value_or(started) + std::chrono::duration_cast<WallTime::duration>(staleAfter);
}

std::vector<BarItem> barItems(const std::vector<StatusPair>& statusPairs) {
  std::vector<BarItem> items;
  items.reserve(statusPairs.size());
  for (const StatusPair& pair : statusPairs) {
    const StatusItem& item = *pair.item;
    // The item's text is its title over its price.
    const std::string& text = item.attributedTitle().text;
    const std::size_t newline = text.find('\n');
    BarItem shown{text.substr(0, newline), newline == std::string::npos ? "" : text.substr(newline + 1),
                  item.toolTip(),          {},
                  item.subject().colour,   item.move(),
                  item.needsAttention(),   {},
                  item.holding()};
    if (const auto& earlier = item.earlier(); earlier && shown.price.empty()) {
      shown.price = earlier->price;
      shown.earlier = earlier->detail;
    }
    // Its menu: the exchange's name, a separator, then the detail lines.
    if (const MenuRef& menu = item.menu()) {
      for (std::size_t i = 1; i < menu->numberOfItems(); ++i)
        if (const MenuItem& line = *menu->itemAtIndex(i); !line.isSeparatorItem())
          shown.details.push_back(line.title());
    }
    items.push_back(std::move(shown));
  }
  return items;
}

}  // namespace pricora
