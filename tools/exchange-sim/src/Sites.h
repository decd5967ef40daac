#pragma once

#include <cstddef>
#include <string_view>

#include "exchange-sim/Simulator.h"

namespace exsim {

// Index of a site in kExchangeNames, which is also its listener's and its venue's index.
enum class Site : std::size_t { Wex, Bitfinex, Kraken, Bitstamp, OKCoin, OKCoinCNY, Poloniex, CoinFloor, GDAX };

inline constexpr std::size_t kSiteCount = kExchangeNames.size();

constexpr std::size_t indexOf(Site site) { return static_cast<std::size_t>(site); }
constexpr std::string_view nameOf(Site site) { return kExchangeNames[indexOf(site)]; }

// The site with exactly that name; throws std::invalid_argument naming the valid ones otherwise.
Site siteNamed(std::string_view name);

}  // namespace exsim
