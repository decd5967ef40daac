#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// CoinFloor's four pairs are fixed and already read as titles; the slash in "XBT/EUR" is a path
// separator of the ticker's address, as the exchange designed it.
class CoinFloor final : public TickerAdapter {
 public:
  explicit CoinFloor(AdapterContext& context) : TickerAdapter(Exchange::CoinFloor, context) {}

 private:
  std::vector<std::string> fixedKeys() const override { return {"XBT/EUR", "XBT/GBP", "XBT/USD", "XBT/PLN"}; }

  std::string tickerUrl(const std::string& key) const override { return baseAddress() + "/bist/" + key + "/ticker/"; }

  std::optional<Parsed> parseTicker(const Json& ticker, const std::string& key) override {
    return Parsed{key, tickerEntry(key, ticker, {"bid", "ask", "last", "low", "high", "volume"})};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeCoinFloorAdapter(AdapterContext& context) {
  return std::make_unique<CoinFloor>(context);
}

}  // namespace pricora
