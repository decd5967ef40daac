#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// GDAX (now Coinbase Exchange) gives the day's low and high only in a second reply, the
// product's statistics. They are appended to the entry when it arrives, which may be after the
// entry is shown; the pair item shows the same entry, so they appear under it.
class GDAX final : public TickerAdapter {
 public:
  explicit GDAX(AdapterContext& context) : TickerAdapter(Exchange::GDAX, context) {}

 private:
  std::optional<std::string> listingUrl() const override { return baseAddress() + "/products"; }

  // A product is an object with a text "id"; anything else (an error object's message, a
  // product without an id) names no product.
  bool readListing(const Json& document, std::vector<std::string>& keys) const override {
    document.forEach([&](std::string_view, const Json& product) {
      if (product["id"].kind() == Json::Kind::String) keys.push_back(product["id"].stringValue());
    });
    return true;
  }

  std::string tickerUrl(const std::string& key) const override {
    return baseAddress() + "/products/" + percentEncoded(key) + "/ticker";
  }

  std::optional<Parsed> parseTicker(const Json& ticker, const std::string& key) override {
    const std::string title = replacedAll(key, '-', '/');
    const std::string price = valueText(ticker["price"]);
    PairEntryRef entry = makeEntry(
        title, price, {{"Bid: ", valueText(ticker["bid"])}, {"Ask: ", valueText(ticker["ask"])}, {"Last: ", price}});
    context().fetch.get(baseAddress() + "/products/" + percentEncoded(key) + "/stats", [entry](const JsonReply& stats) {
      if (!stats) return;
      entry->addLine("Low: " + valueText((*stats)["low"]));
      entry->addLine("High: " + valueText((*stats)["high"]));
    });
    entry->addLine("Volume: " + valueText(ticker["volume"]));
    return Parsed{title, entry};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeGDAXAdapter(AdapterContext& context) { return std::make_unique<GDAX>(context); }

}  // namespace pricora
