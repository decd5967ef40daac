#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/Image.h"

namespace pricora {

// The eight exchanges, in the order of the status menu and of every refresh.
enum class Exchange { Wex, Bitfinex, Kraken, Bitstamp, OKCoin, Poloniex, CoinFloor, GDAX };

inline constexpr std::size_t kExchangeCount = 8;

inline constexpr std::array<Exchange, kExchangeCount> kAllExchanges = {
    Exchange::Wex,    Exchange::Bitfinex, Exchange::Kraken,    Exchange::Bitstamp,
    Exchange::OKCoin, Exchange::Poloniex, Exchange::CoinFloor, Exchange::GDAX};

constexpr std::size_t indexOf(Exchange exchange) { return static_cast<std::size_t>(exchange); }

// What the program knows of an exchange that never changes.
struct ExchangeInfo {
  // Shown as its menu title and stored in Pair.exchange.
  std::string_view displayName;
  Rgb colour;
  // Where its public market data lives unless the settings file says otherwise.
  std::string_view defaultBaseAddress;
  // The public web site the price items link to.
  std::string_view homePage;
};

const ExchangeInfo& info(Exchange exchange);
inline std::string_view displayName(Exchange exchange) { return info(exchange).displayName; }

// The exchange with that exact display name.
std::optional<Exchange> exchangeNamed(std::string_view name);

}  // namespace pricora
