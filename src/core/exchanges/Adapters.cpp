#include "core/exchanges/Adapters.h"

namespace pricora {

std::vector<std::unique_ptr<ExchangeAdapter>> makeAdapters(AdapterContext& context) {
  std::vector<std::unique_ptr<ExchangeAdapter>> adapters;
  for (auto make : {makeWexAdapter, makeBitfinexAdapter, makeKrakenAdapter, makeBitstampAdapter, makeOKCoinAdapter,
                    makePoloniexAdapter, makeCoinFloorAdapter, makeGDAXAdapter})
    adapters.push_back(make(context));
  return adapters;
}

}  // namespace pricora
