#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// Bitstamp has no listing we use: the fifteen pairs are fixed.
class Bitstamp final : public TickerAdapter {
 public:
  explicit Bitstamp(AdapterContext& context) : TickerAdapter(Exchange::Bitstamp, context) {}

 private:
  std::vector<std::string> fixedKeys() const override {
    return {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur",
            "ltcbtc", "ethusd", "etheur", "ethbtc", "bchusd", "bcheur", "bchbtc"};
  }

  std::string tickerUrl(const std::string& key) const override { return baseAddress() + "/api/v2/ticker/" + key + "/"; }

  std::optional<Parsed> parseTicker(const Json& ticker, const std::string& key) override {
    const std::string title = threeSlashThree(key);
    PairEntryRef entry = tickerEntry(title, ticker, {"bid", "ask", "last", "low", "high", "volume"});
    entry->addLine("Timestamp: " + beforeFirstDot(valueText(ticker["timestamp"])));
    return Parsed{title, entry};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeBitstampAdapter(AdapterContext& context) {
  return std::make_unique<Bitstamp>(context);
}

}  // namespace pricora
