#pragma once

#include <memory>
#include <vector>

#include "core/exchanges/Adapter.h"

namespace pricora {

// One adapter per exchange; each lives in its own file.
std::unique_ptr<ExchangeAdapter> makeBitstampAdapter(AdapterContext& context);

}  // namespace pricora
