#pragma once

#include <cstdint>
#include <string_view>

#include "Decimal.h"

namespace exsim {

// What one exchange's ticker says about one pair at one tick. Prices share `places`; the
// guarantees the program relies on: low <= bid <= last <= ask <= high, open and average within
// [low, high], and `last` of two successive ticks always differs.
struct Quote {
  Decimal last, bid, ask, high, low, open, average;
  Decimal volume;       // in the base currency, 8 places
  Decimal quoteVolume;  // volume x average, 8 places
  std::int64_t trades = 0;
  std::uint64_t noise = 0;  // for fields a venue varies by itself (sides, sizes, ids)
};

// Identifies one pair of one exchange under one seed.
std::uint64_t pairSeed(std::uint64_t seed, std::string_view exchange, std::string_view key);

// Seconds since 1970 at a tick: the time of the WEX recording (April 2018), when the recorded
// prices were current, plus a quarter of a minute per tick.
inline std::int64_t timestampAt(std::uint64_t tick) { return 1524393116 + 15 * static_cast<std::int64_t>(tick); }

// Prices wander within about 1.5% of `reference`, quantised to `places`.
Quote quoteAt(std::uint64_t pair, double reference, int places, std::uint64_t tick);

}  // namespace exsim
