#include <vector>

#include "Hashing.h"
#include "JsonText.h"
#include "PriceModel.h"
#include "SyntheticCodes.h"
#include "Venue.h"

namespace exsim {

namespace {

constexpr std::size_t kLargeMarketCount = 1000;
// Poloniex printed every price with eight places, down to "0.00000044".
constexpr int kPlaces = 8;

class Poloniex final : public Venue {
 public:
  explicit Poloniex(const VenueContext& context) : seed_(context.seed) {
    const rapidjson::Document recorded = recording("poloniex/returnTicker_2018-02_99markets.json");
    int lastId = 0;
    for (const auto& member : recorded.GetObject()) {
      const auto& fields = member.value;
      markets_.push_back({member.name.GetString(), fields["id"].GetInt(), parseNumber(fields["last"].GetString()),
                          fields["isFrozen"].GetString()});
      lastId = std::max(lastId, fields["id"].GetInt());
    }
    if (context.large) synthesise(lastId, context.valuation);
  }

  // Every market moves at each returnTicker, the only command the program uses.
  Reply answer(const Target& target) override {
    if (!target.matches({"public"})) return notFound();
    if (target.parameter("command") != "returnTicker") return error(target);
    JsonText json;
    json.open();
    for (const Market& market : markets_) {
      const Quote q =
          quoteAt(pairSeed(seed_, "Poloniex", market.name), market.reference, kPlaces, nextTick(market.name));
      const Decimal change = Decimal::fromDouble(q.last.value() / q.open.value() - 1, kPlaces);
      json.key(market.name).open().key("id").number(market.id);
      json.member("last", q.last.text()).member("lowestAsk", q.ask.text()).member("highestBid", q.bid.text());
      json.member("percentChange", change.text());
      // Markets are named QUOTE_BASE: BTC_ETH trades ether, so its base volume is in bitcoin.
      json.member("baseVolume", q.quoteVolume.text()).member("quoteVolume", q.volume.text());
      json.member("isFrozen", market.frozen).member("high24hr", q.high.text()).member("low24hr", q.low.text()).close();
    }
    return {200, json.close().text()};
  }

  Reply error(const Target&) const override { return {200, R"({"error":"Invalid command."})"}; }
  Reply rateLimited() const override {
    return {429, R"({"error":"Please do not make more than 6 API calls per second."})"};
  }

 private:
  struct Market {
    std::string name;
    int id = 0;
    double reference = 0;
    std::string frozen;
  };

  void synthesise(int lastId, const Valuation& valuation) {
    constexpr std::string_view kQuotes[] = {"BTC", "USDT", "ETH", "XMR"};
    auto taken = [&](std::string_view code) { return valuation.knows(code); };
    for (const std::string& code : syntheticCodes(kLargeMarketCount, taken)) {
      for (std::size_t i = 0; i <= hashText(code) % 4 && markets_.size() < kLargeMarketCount; ++i)
        markets_.push_back({std::string(kQuotes[i]) + "_" + code, ++lastId, valuation.rate(code, kQuotes[i]), "0"});
      if (markets_.size() == kLargeMarketCount) return;
    }
  }

  std::uint64_t seed_;
  std::vector<Market> markets_;
};

}  // namespace

std::unique_ptr<Venue> makePoloniex(const VenueContext& context) { return std::make_unique<Poloniex>(context); }

}  // namespace exsim
