#pragma once

#include <chrono>
#include <span>

#include "platform/HistoryFile.h"

namespace pricora {

// What an alert watches, at a price: for above and below the price itself; for up and down the
// move within the alert's window, in per cent in the alert's direction: how far the price now
// stands above the window's lowest (up) or below its highest (down). recent: the pair's prices
// before this one, oldest first.
double alertReading(const AlertRecord& alert, std::span<const PriceSample> recent, double price, WallTime now);

// The reading has passed the alert's level: above it (above, up, down) or below it (below).
bool isPast(const AlertRecord& alert, double reading);
// The reading at which an alert that is past its level arms again: back past the level by the
// margin (per cent of the level for prices, points of per cent for moves, at most half the move).
double rearmingReading(const AlertRecord& alert);

// One price seen. An alert fires only on a crossing: armed (its last reading was short of the
// level) and now past. A fresh alert never fires: its first reading arms it, or finds it past
// its level already and has it wait. A waiting alert arms again once the reading is back past
// the margin; a spent one stays spent.
struct AlertStep {
  AlertPhase phase;
  bool fires = false;
};
AlertStep stepAlert(const AlertRecord& alert, double reading);

// Where a new alert starts, from the pair's prices (oldest first, the newest its price now):
// armed, or waiting when that price stands past the level already. Fresh without a price seen
// within `recentFor`: an older one says nothing of where the price stands now, and the first
// price seen settles the alert instead.
AlertPhase firstPhase(const AlertRecord& alert, std::span<const PriceSample> prices, WallTime now,
                      std::chrono::duration<double> recentFor);

}  // namespace pricora
