#include <map>

#include "JsonText.h"
#include "PriceModel.h"
#include "Venue.h"

namespace exsim {

namespace {

// Bitstamp has no listing the program reads; these are the pairs it asks for.
constexpr std::string_view kKeys[] = {"btcusd", "btceur", "eurusd", "xrpusd", "xrpeur", "xrpbtc", "ltcusd", "ltceur",
                                      "ltcbtc", "ethusd", "etheur", "ethbtc", "bchusd", "bcheur", "bchbtc"};

class Bitstamp final : public Venue {
 public:
  explicit Bitstamp(const VenueContext& context) : seed_(context.seed) {
    for (std::string_view key : kKeys) {
      const double reference = context.valuation.rate(key.substr(0, 3), key.substr(3));
      references_.emplace(key, std::pair{reference, placesFor(reference, 2, 8)});
    }
  }

  // Only with the trailing slash, as on the real site.
  Reply answer(const Target& target) override {
    if (target.matches({"api", "v2", "ticker", "*", ""})) return ticker(target.segments[3]);
    return notFound();
  }

  Reply error(const Target&) const override { return {404, R"({"status":"error","reason":"Invalid currency pair"})"}; }
  Reply rateLimited() const override { return {429, R"({"status":"error","reason":"Rate limit exceeded"})"}; }

 private:
  Reply ticker(const std::string& key) {
    const auto found = references_.find(key);
    if (found == references_.end()) return error(Target{});
    const auto [reference, places] = found->second;
    const std::uint64_t tick = nextTick(key);
    const Quote q = quoteAt(pairSeed(seed_, "Bitstamp", key), reference, places, tick);
    const Decimal change = Decimal::fromDouble((q.last.value() / q.average.value() - 1) * 100, 2);
    JsonText json;
    json.open().member("timestamp", std::to_string(timestampAt(tick))).member("open", q.open.text());
    json.member("high", q.high.text()).member("low", q.low.text()).member("last", q.last.text());
    json.member("volume", q.volume.text()).member("vwap", q.average.text());
    json.member("bid", q.bid.text()).member("ask", q.ask.text()).member("side", q.noise % 2 ? "1" : "0");
    json.member("open_24", q.average.text()).member("percent_change_24", change.text());
    return {200, json.close().text()};
  }

  std::uint64_t seed_;
  std::map<std::string, std::pair<double, int>, std::less<>> references_;
};

}  // namespace

std::unique_ptr<Venue> makeBitstamp(const VenueContext& context) { return std::make_unique<Bitstamp>(context); }

}  // namespace exsim
