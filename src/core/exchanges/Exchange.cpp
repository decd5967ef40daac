#include "core/exchanges/Exchange.h"

namespace pricora {

namespace {

// WEX (ex BTC-e), OKCoin's v1 interface and CoinFloor no longer answer; their historical
// addresses are kept so that a settings file can point them anywhere else.
constexpr std::array<ExchangeInfo, kExchangeCount> kCatalogue = {{
    {"Wex", {66, 193, 247}, "https://wex.nz", "https://wex.nz"},
    {"Bitfinex", {93, 17, 247}, "https://api.bitfinex.com", "https://www.bitfinex.com"},
    {"Kraken", {218, 64, 122}, "https://api.kraken.com", "https://www.kraken.com"},
    {"Bitstamp", {240, 127, 90}, "https://www.bitstamp.net", "https://www.bitstamp.net"},
    {"OKCoin", {247, 199, 88}, "https://www.okcoin.com", "https://www.okcoin.com"},
    {"Poloniex", {149, 210, 107}, "https://poloniex.com", "https://poloniex.com"},
    {"CoinFloor", {36, 101, 144}, "https://webapi.coinfloor.co.uk:8090", "https://www.coinfloor.co.uk"},
    {"GDAX", {190, 40, 19}, "https://api.exchange.coinbase.com", "https://exchange.coinbase.com"},
}};

}  // namespace

const ExchangeInfo& info(Exchange exchange) { return kCatalogue[indexOf(exchange)]; }

std::optional<Exchange> exchangeNamed(std::string_view name) {
  for (Exchange exchange : kAllExchanges)
    if (displayName(exchange) == name) return exchange;
  return std::nullopt;
}

}  // namespace pricora
