#include "core/app/Experimental.h"

#include <cmath>

#include "core/exchanges/NumberReading.h"
#include "platform/PropertyList.h"

namespace pricora {

namespace {

// The timer counts its interval in milliseconds in a 32-bit int: anything longer wraps around
// (2500000 s fires every few minutes, 1e7 s after 16 days) instead of waiting.
constexpr double kLongestInterval = 2147483.647;

}  // namespace

std::optional<double> experimentalRefreshFrequency(const Bundle& bundle) {
  const std::optional<std::string> path = bundle.pathForResource("Experimental", "plist");
  if (!path) return std::nullopt;
  const std::optional<std::string> value = readPropertyListString(*path, "refreshFrequency");
  if (!value) return std::nullopt;
  const std::optional<double> seconds = readDouble(*value);
  if (!seconds || !std::isfinite(*seconds) || *seconds < 1.0 || *seconds > kLongestInterval) return std::nullopt;
  return seconds;
}

}  // namespace pricora
