#pragma once

#include <array>
#include <string>

#include "core/exchanges/Exchange.h"
#include "platform/Settings.h"

namespace pricora {

// The base address of each exchange's market data, such as https://api.kraken.com or
// http://127.0.0.1:8001/kraken (no trailing slash). The settings keys "api/<display name>" and,
// for OKCoin's yuan site, "api/OKCoinCNY" override the built-in addresses.
class Endpoints {
 public:
  explicit Endpoints(const Settings& settings);
  const std::string& baseAddress(Exchange exchange) const { return bases_[indexOf(exchange)]; }
  const std::string& okcoinYuanBaseAddress() const { return okcoinYuan_; }

 private:
  std::array<std::string, kExchangeCount> bases_;
  std::string okcoinYuan_;
};

}  // namespace pricora
