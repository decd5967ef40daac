#pragma once

#include <optional>

#include "platform/Bundle.h"

namespace pricora {

// The refresh interval from the optional resource Experimental.plist: its top-level dictionary's
// "refreshFrequency", a string holding a number in C notation. None in every other case, and
// also for an interval under one second, zero, negative or not finite, which would flood the
// exchanges, or longer than a timer can hold (about 24.8 days); the caller then keeps the
// default, silently.
std::optional<double> experimentalRefreshFrequency(const Bundle& bundle);

}  // namespace pricora
