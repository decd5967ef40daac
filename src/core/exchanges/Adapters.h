#pragma once

#include <memory>
#include <vector>

#include "core/exchanges/Adapter.h"

namespace pricora {

// One adapter per exchange; each lives in its own file.
std::unique_ptr<ExchangeAdapter> makeWexAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeBitfinexAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeKrakenAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeBitstampAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeOKCoinAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makePoloniexAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeCoinFloorAdapter(AdapterContext& context);
std::unique_ptr<ExchangeAdapter> makeGDAXAdapter(AdapterContext& context);

// Every exchange's adapter, in exchange order.
std::vector<std::unique_ptr<ExchangeAdapter>> makeAdapters(AdapterContext& context);

}  // namespace pricora
