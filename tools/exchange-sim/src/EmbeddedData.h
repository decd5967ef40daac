#pragma once

#include <string>
#include <string_view>

namespace exsim {

// The text of a file of tools/exchange-sim/data, compiled into the program, named by its path
// below that folder ("kraken/AssetPairs_2020_xchange.json"). Throws std::out_of_range for any
// other name.
std::string_view embeddedFile(std::string_view name);

}  // namespace exsim
