#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace exsim {

// Made-up currency codes for the large scale: three or four capital letters that read like real
// ones, always the same sequence, skipping those for which `taken` is true. Exchanges that skip
// nothing share their first codes, as real exchanges share most coins.
std::vector<std::string> syntheticCodes(std::size_t count, const std::function<bool(std::string_view)>& taken);

}  // namespace exsim
