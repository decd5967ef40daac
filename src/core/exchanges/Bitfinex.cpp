#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// Bitfinex lists plain symbols ("btcusd", and newer ones such as "btcf0:ustf0"). It is the one
// exchange that tells us to slow down: after a rate-limit reply no more tickers are asked for
// until the next refresh.
class Bitfinex final : public TickerAdapter {
 public:
  explicit Bitfinex(AdapterContext& context) : TickerAdapter(Exchange::Bitfinex, context) {}

 private:
  std::optional<std::string> listingUrl() const override { return baseAddress() + "/v1/symbols"; }

  // Only an array of texts is a listing; anything else counts as a failed request.
  bool readListing(const Json& document, std::vector<std::string>& keys) const override {
    const Json::Array* symbols = document.arrayObject();
    if (symbols == nullptr) return false;
    for (const Json& symbol : *symbols) {
      if (symbol.kind() != Json::Kind::String) return false;
      keys.push_back(symbol.stringValue());
    }
    return true;
  }

  bool mayRequest() const override { return context().bitfinexActive; }

  std::string tickerUrl(const std::string& key) const override {
    return baseAddress() + "/v1/pubticker/" + percentEncoded(key);
  }

  std::optional<Parsed> parseTicker(const Json& ticker, const std::string& key) override {
    if (ticker["error"] == "ERR_RATE_LIMIT") {
      context().bitfinexActive = false;
      return std::nullopt;
    }
    const std::string title = threeSlashThree(key);
    PairEntryRef entry = tickerEntry(title, ticker, {"bid", "ask", "last_price", "low", "high", "volume"});
    entry->addLine("Timestamp: " + beforeFirstDot(valueText(ticker["timestamp"])));
    return Parsed{title, entry};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeBitfinexAdapter(AdapterContext& context) {
  return std::make_unique<Bitfinex>(context);
}

}  // namespace pricora
