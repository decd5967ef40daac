#pragma once

#include <cstddef>
#include <functional>

#include "core/store/EditingContext.h"

namespace pricora {

// Deletes the records that no longer belong in the store, once per launch: those of the
// exchange "BTC-E" (WEX's name before 2017) and those whose titles an old title rule made up
// by cutting keys wrongly ("ASH/SD" for DASH/USD and the like, and the empty title). Records
// without a title are kept whatever their exchange. Each deletion is saved at once.
void cleanUpStoredPairs(EditingContext& context, const std::function<void()>& saveAction);

// The most records per exchange that hold no choice of the user (neither favourite nor shown in
// the menu bar): room for the longest listing taken (kMaxListedKeys) and as many again of pairs
// no longer listed. Only an exchange that keeps listing new keys comes near it.
inline constexpr std::size_t kMaxUnmarkedPairs = 100'000;

// Keeps the store from growing without end: of each exchange with more than limit titled
// records that hold no choice of the user, the oldest such records go, down to the limit.
// Marked records, untitled ones and those of other exchange names stay. Saves nothing: the next
// save writes the deletions with the records the refreshes added.
void boundStoredPairs(EditingContext& context, std::size_t limit = kMaxUnmarkedPairs);

}  // namespace pricora
