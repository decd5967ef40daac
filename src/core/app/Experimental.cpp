#include "core/app/Experimental.h"

#include <cmath>

#include "core/menu/NumberReading.h"
#include "platform/PropertyList.h"

namespace pricora {

std::optional<double> experimentalRefreshFrequency(const Bundle& bundle) {
  const std::optional<std::string> path = bundle.pathForResource("Experimental", "plist");
  if (!path) return std::nullopt;
  const std::optional<PropertyDictionary> plist = readPropertyListDictionary(*path);
  if (!plist) return std::nullopt;
  const auto value = plist->find("refreshFrequency");
  if (value == plist->end() || !value->second) return std::nullopt;
  const std::optional<double> seconds = readDouble(*value->second);
  if (!seconds || !std::isfinite(*seconds) || *seconds < 1.0) return std::nullopt;
  return seconds;
}

}  // namespace pricora
