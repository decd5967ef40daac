#pragma once

#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace pricora {

// How long ago date was, as the last entry of the status menu tells it: "Just now", "15 seconds
// ago", "1 minute ago", "Yesterday", "2 days ago", "1 week ago" ... Counts whole units of the
// Gregorian calendar in the time zone (the local one when empty), the largest unit that has
// passed at least once. A date in the future gives the empty text.
std::string timeAgoText(WallTime date, WallTime now, std::string_view timeZone = {});

}  // namespace pricora
