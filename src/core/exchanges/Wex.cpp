#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// WEX (BTC-e until 2017) lists its pairs as "btc_usd" and wraps each ticker in a member named
// after the key. Its "sell" is the price buyers are offered, which the menu calls the bid.
class Wex final : public TickerAdapter {
 public:
  explicit Wex(AdapterContext& context) : TickerAdapter(Exchange::Wex, context) {}

 private:
  std::optional<std::string> listingUrl() const override { return baseAddress() + "/api/3/info"; }

  // Only an object "pairs" lists pairs: an array's indexes are no keys.
  bool readListing(const Json& document, std::vector<std::string>& keys) const override {
    const Json::Object* pairs = document["pairs"].objectValue();
    if (pairs == nullptr) return false;
    for (const Json::Member& pair : *pairs) keys.push_back(pair.key);
    return true;
  }

  std::string tickerUrl(const std::string& key) const override {
    return baseAddress() + "/api/3/ticker/" + percentEncoded(key);
  }

  std::optional<Parsed> parseTicker(const Json& document, const std::string& key) override {
    const Json& ticker = document[key];
    const std::string title = replacedAll(upperCased(key), '_', '/');
    PairEntryRef entry = tickerEntry(title, ticker, {"sell", "buy", "last", "low", "high", "vol_cur"});
    entry->addLine("Timestamp: " + valueText(ticker["updated"]));
    return Parsed{title, entry};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeWexAdapter(AdapterContext& context) { return std::make_unique<Wex>(context); }

}  // namespace pricora
