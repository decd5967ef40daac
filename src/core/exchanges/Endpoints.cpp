#include "core/exchanges/Endpoints.h"

namespace pricora {

namespace {

std::string configured(const Settings& settings, const std::string& key, std::string_view fallback) {
  std::string address = settings.stringForKey(key).value_or(std::string(fallback));
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}

}  // namespace

Endpoints::Endpoints(const Settings& settings)
    : okcoinYuan_(configured(settings, "api/OKCoinCNY", "https://www.okcoin.cn")) {
  for (Exchange exchange : kAllExchanges)
    bases_[indexOf(exchange)] =
        configured(settings, "api/" + std::string(displayName(exchange)), info(exchange).defaultBaseAddress);
}

}  // namespace pricora
