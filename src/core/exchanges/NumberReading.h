#pragma once

#include <optional>
#include <string_view>

namespace pricora {

// Reads text as the C library reads a number in the "C" locale, whatever the user's locale:
// the whole text must be consumed, it must be ASCII and hold no white space. So "30", "-1.5e3",
// "0x1p3" and "inf" read; " 30", "30s", "1,5" and "" do not.
std::optional<double> readDouble(std::string_view text);
std::optional<float> readFloat(std::string_view text);

}  // namespace pricora
