#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// OKCoin's ten pairs are fixed; the yuan markets live on the exchange's Chinese site, the rest
// on its international one. The time stamp sits beside the ticker, not in it.
class OKCoin final : public TickerAdapter {
 public:
  explicit OKCoin(AdapterContext& context) : TickerAdapter(Exchange::OKCoin, context) {}

 private:
  std::vector<std::string> fixedKeys() const override {
    return {"btc_usd", "ltc_usd", "eth_usd", "etc_usd", "bch_usd",
            "btc_cny", "ltc_cny", "eth_cny", "etc_cny", "bch_cny"};
  }

  std::string tickerUrl(const std::string& key) const override {
    const std::string& site = key.ends_with("cny") ? context().endpoints.okcoinYuanBaseAddress() : baseAddress();
    return site + "/api/v1/ticker.do?symbol=" + key;
  }

  std::optional<Parsed> parseTicker(const Json& document, const std::string& key) override {
    const std::string title = replacedAll(upperCased(key), '_', '/');
    PairEntryRef entry = tickerEntry(title, document["ticker"], {"buy", "sell", "last", "low", "high", "vol"});
    entry->addLine("Timestamp: " + beforeFirstDot(valueText(document["date"])));
    return Parsed{title, entry};
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makeOKCoinAdapter(AdapterContext& context) {
  return std::make_unique<OKCoin>(context);
}

}  // namespace pricora
