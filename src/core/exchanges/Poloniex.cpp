#include <algorithm>

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
      // A reply that holds no market (a failed request, an error object, an array) keeps the
      // last good one's entries in the menu.
      if (reply && hasMarket(*reply)) show(*reply);
      done(true);
    });
  }

 private:
  // Only a member whose value is an object is a market: {"error":"Invalid command."} is none. Its
  // name becomes a record's title, so it must be a key we would dare to request, too.
  static bool isMarket(const Json::Member& member) {
    return member.value.kind() == Json::Kind::Object && usableKey(member.key);
  }

  static bool hasMarket(const Json& document) {
    const Json::Object* members = document.objectValue();
    return members != nullptr && std::any_of(members->begin(), members->end(), isMarket);
  }

  void show(const Json& document) {
    state().pairs.clear();
    state().submenu->removeAllItems();
    for (const Json::Member& member : *document.objectValue()) {
      if (!isMarket(member)) continue;
      if (state().pairs.size() == kMaxListedKeys) break;
      const Json& ticker = member.value;
      state().pairs.push_back(member.key);
      const std::string title = replacedAll(upperCased(member.key), '_', '/');
      const std::string last = valueText(ticker["last"]);
      postHandOff(title, makeEntry(title, last,
                                   {{"Bid: ", valueText(ticker["highestBid"])},
                                    {"Ask: ", valueText(ticker["lowestAsk"])},
                                    {"Last: ", last}}));
    }
  }
};

}  // namespace

std::unique_ptr<ExchangeAdapter> makePoloniexAdapter(AdapterContext& context) {
  return std::make_unique<Poloniex>(context);
}

}  // namespace pricora
