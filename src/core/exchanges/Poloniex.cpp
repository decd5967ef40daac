#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// Poloniex answers every market's ticker in one reply, so it needs no listing and no count of
// replies: the one reply is the exchange's whole part of a refresh.
class Poloniex final : public ExchangeAdapter {
 public:
  explicit Poloniex(AdapterContext& context) : ExchangeAdapter(Exchange::Poloniex, context) {}

  void start(ExchangeDone done) override {
    context().fetch.get(baseAddress() + "/public?command=returnTicker", [this, done](const JsonReply& reply) {
      // A failed reply keeps the last good one's entries in the menu.
      if (reply) show(*reply);
      done(true);
    });
  }

 private:
  void show(const Json& document) {
    state().pairs.clear();
    state().submenu->removeAllItems();
    const bool object = document.kind() == Json::Kind::Object;
    document.forEach([&](std::string_view name, const Json& value) {
      const std::string key(name);
      state().pairs.push_back(key);
      // Only an object's members are tickers; an array's elements get bare labels.
      const Json& ticker = object ? value : Json::null();
      const std::string title = replacedAll(upperCased(key), '_', '/');
      const std::string last = valueText(ticker["last"]);
      postHandOff(title, makeEntry(title, last,
                                   {{"Bid: ", valueText(ticker["highestBid"])},
                                    {"Ask: ", valueText(ticker["lowestAsk"])},
                                    {"Last: ", last}}));
    });
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makePoloniexAdapter(AdapterContext& context) {
  return std::make_unique<Poloniex>(context);
}

}  // namespace pricora
