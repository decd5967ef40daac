#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/exchanges/Exchange.h"
#include "model/Menu.h"

namespace pricora {

// What the application holds for one exchange.
struct ExchangeState {
  // The exchange's current pair keys, as its URLs spell them, in the order the listing or the
  // fixed list gave them.
  std::vector<std::string> pairs;
  // The pair items of the exchange, under its entry in the status menu.
  MenuRef submenu = Menu::create();
  // The exchange's entry in the status menu.
  MenuItemRef item;
};

// One ExchangeState per exchange, indexed by the enumeration.
class ExchangeTable {
 public:
  ExchangeState& operator[](Exchange exchange) { return states_[indexOf(exchange)]; }
  const ExchangeState& operator[](Exchange exchange) const { return states_[indexOf(exchange)]; }

 private:
  std::array<ExchangeState, kExchangeCount> states_;
};

// The exchange a stored record names; a name that is none of the eight counts as "Wex".
inline Exchange exchangeForName(const std::optional<std::string>& name) {
  return name ? exchangeNamed(*name).value_or(Exchange::Wex) : Exchange::Wex;
}

}  // namespace pricora
