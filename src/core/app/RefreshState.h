#pragma once

#include "model/Menu.h"

namespace pricora {

// Whether a refresh is under way is told by the status menu's last entry and nothing else:
// "Updating..." while one runs (and from start-up until the first completes), "Updated: ..." once
// the last one has completed. Everything that needs to know asks here, so the rule lives once.
// Before start-up has added the entry, neither holds.

// The last entry reads "Updated: ...".
bool lastRefreshCompleted(const Menu& statusMenu);
// The last entry reads "Updating...".
bool refreshUnderWay(const Menu& statusMenu);

}  // namespace pricora
