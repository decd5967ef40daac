#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/menu/PriceItems.h"
#include "model/Image.h"
#include "platform/Clock.h"

namespace pricora {

// One price item as a text bar shows it: what the tray item shows, in plain text.
struct BarItem {
  std::string title;
  std::string price;                 // the cut price of the item's second line; empty before the first ticker
  std::string headline;              // "TITLE: PRICE" as the exchange sent it; empty before the first ticker
  std::vector<std::string> details;  // the detail lines of the item's menu
  std::optional<Rgb> colour;         // the exchange's, when its name is one of the eight
  std::optional<PriceMove> move;     // the change over the last day, once there is one
  bool attention = false;            // an alert of the pair fired
  std::string earlier;               // price is an earlier run's, this old: "10,558.8 · 3 h ago"
  std::string holding;               // "Holding 0.25 XBT: 2,639.70 USD, +1.2 % in 24 h", or empty
  friend bool operator==(const BarItem&, const BarItem&) = default;
};

// ok: the prices are current; updating: a refresh is under way; stale: the last completed
// refresh is older than three refresh intervals.
enum class BarState { ok, updating, stale };

// When the prices turn stale: three refresh intervals (of refreshFrequency seconds) after the last
// completed refresh, or after the start while none has completed.
WallTime staleAt(std::optional<WallTime> lastUpdate, WallTime started, double refreshFrequency);

struct BarView {
  std::vector<BarItem> items;
  BarState state = BarState::ok;
  bool showChange = true;     // the items' changes: classes, arrows and colours
  std::string holdings;       // the holdings' totals, "Holdings: 2,639.70 USD", or empty
  bool showHoldings = false;  // the totals follow the prices in the bar's text, not only its tool tip
};

// The price items as the tray shows them, in the same order.
std::vector<BarItem> barItems(const std::vector<StatusPair>& statusPairs);

}  // namespace pricora
