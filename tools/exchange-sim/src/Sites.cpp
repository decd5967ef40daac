#include "Sites.h"

#include <stdexcept>
#include <string>

namespace exsim {

Site siteNamed(std::string_view name) {
  for (std::size_t i = 0; i < kSiteCount; ++i)
    if (kExchangeNames[i] == name) return static_cast<Site>(i);
  std::string known;
  for (std::string_view each : kExchangeNames) known += (known.empty() ? "" : ", ") + std::string(each);
  throw std::invalid_argument("unknown exchange \"" + std::string(name) + "\" (known: " + known + ")");
}

}  // namespace exsim
