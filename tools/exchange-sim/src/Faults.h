#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange-sim/Simulator.h"

namespace exsim {

// Throws std::invalid_argument unless the exchange and kind exist and the parameter suits the
// kind (a delay or size must be given, the others take none).
void checkFault(const Fault& fault);

// "KIND[=PARAM][xCOUNT]", as in "delay=250x3" or "reset", into the kind, parameter and count of
// `fault`. Throws std::invalid_argument.
void parseFaultKind(std::string_view text, Fault& fault);

// "EXCHANGE:GLOB:KIND[=PARAM][xCOUNT]"; the glob may itself contain colons (Bitfinex symbols).
Fault parseFault(std::string_view text);

// Faults in the order added. Not thread-safe.
class FaultList {
 public:
  void add(Fault fault) { faults_.push_back(std::move(fault)); }
  void clear(std::string_view exchange);  // all when empty
  // The first fault that still applies to this request, used up by one if it is counted.
  std::optional<Fault> take(std::string_view exchange, const std::string& target);

 private:
  std::vector<Fault> faults_;
};

}  // namespace exsim
