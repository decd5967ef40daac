#pragma once

#include <functional>

#include "core/store/EditingContext.h"

namespace pricora {

// Deletes the records that no longer belong in the store, once per launch: those of the
// exchange "BTC-E" (WEX's name before 2017) and those whose titles an old title rule made up
// by cutting keys wrongly ("ASH/SD" for DASH/USD and the like, and the empty title). Records
// without a title are kept whatever their exchange. Each deletion is saved at once.
void cleanUpStoredPairs(EditingContext& context, const std::function<void()>& saveAction);

}  // namespace pricora
