#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// Kraken names its pairs like XXBTZUSD (asset classes X and Z in front of each code) or, for
// newer pairs, DASHEUR and BCHUSD. It lists dark-pool pairs with a ".d" suffix; we never request
// them. Every ticker value is an array whose first element is the one shown.
class Kraken final : public TickerAdapter {
 public:
  explicit Kraken(AdapterContext& context) : TickerAdapter(Exchange::Kraken, context) {}

 private:
  std::optional<std::string> listingUrl() const override { return baseAddress() + "/0/public/AssetPairs"; }

  // Only an object "result" lists pairs: an array's indexes are no keys.
  bool readListing(const Json& document, std::vector<std::string>& keys) const override {
    const Json::Object* pairs = document["result"].objectValue();
    if (pairs == nullptr) return false;
    for (const Json::Member& pair : *pairs)
      if (!pair.key.ends_with(".d")) keys.push_back(pair.key);
    return true;
  }

  std::string tickerUrl(const std::string& key) const override {
    return baseAddress() + "/0/public/Ticker?pair=" + percentEncoded(key);
  }

  static std::string titleOf(const std::string& key) {
    if (key == "USDTZUSD") return "USDT/USD";
    switch (characterCount(key)) {
      case 7:
        return firstCharacters(key, 4) + "/" + lastCharacters(key, 3);
      case 6:
        return firstCharacters(key, 3) + "/" + lastCharacters(key, 3);
      default:
        // Too short to hold two codes: the key is the best title there is.
        if (characterCount(key) < 5) return key;
        return firstCharacters(charactersFrom(key, 1), 3) + "/" + charactersFrom(key, 5);
    }
  }

  std::optional<Parsed> parseTicker(const Json& document, const std::string& key) override {
    const Json& ticker = document["result"][key];
    const auto first = [&](const char* member) { return valueText(ticker[member][0]); };
    const std::string title = titleOf(key);
    const std::string last = first("c");
    return Parsed{title, makeEntry(title, last,
                                   {{"Bid: ", first("b")},
                                    {"Ask: ", first("a")},
                                    {"Last: ", last},
                                    {"Low: ", first("l")},
                                    {"High: ", first("h")},
                                    {"Volume: ", first("v")}})};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeKrakenAdapter(AdapterContext& context) {
  return std::make_unique<Kraken>(context);
}

}  // namespace pricora
