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

  std::string tickerUrl(const std::string& key) const override {
    return baseAddress() + "/api/v2/ticker/" + key + "/";
  }

  std::optional<Parsed> parseTicker(const Json& ticker, const std::string& key) override {
    const std::string upper = upperCased(key);
    const std::string title = firstCharacters(upper, 3) + "/" + lastCharacters(upper, 3);
    const std::string last = valueText(ticker["last"]);
    return Parsed{title, makeEntry(title, last,
                                   {{"Bid: ", valueText(ticker["bid"])},
                                    {"Ask: ", valueText(ticker["ask"])},
                                    {"Last: ", last},
                                    {"Low: ", valueText(ticker["low"])},
                                    {"High: ", valueText(ticker["high"])},
                                    {"Volume: ", valueText(ticker["volume"])},
                                    {"Timestamp: ", beforeFirstDot(valueText(ticker["timestamp"]))}})};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeBitstampAdapter(AdapterContext& context) {
  return std::make_unique<Bitstamp>(context);
}

}  // namespace pricora
