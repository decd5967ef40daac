#include <map>

#include "JsonText.h"
#include "PriceModel.h"
#include "Venue.h"

namespace exsim {

namespace {

class OKCoin final : public Venue {
 public:
  OKCoin(const VenueContext& context, bool yuanSite) : seed_(context.seed), site_(yuanSite ? "OKCoinCNY" : "OKCoin") {
    for (std::string_view coin : {"btc", "ltc", "eth", "etc", "bch"}) {
      const std::string key = std::string(coin) + (yuanSite ? "_cny" : "_usd");
      const double reference = context.valuation.rate(coin, yuanSite ? "cny" : "usd");
      references_.emplace(key, std::pair{reference, placesFor(reference, 2, 8)});
    }
  }

  Reply answer(const Target& target) override {
    if (!target.matches({"api", "v1", "ticker.do"})) return notFound();
    const auto found = references_.find(target.parameter("symbol").value_or(""));
    if (found == references_.end()) return error(target);
    const auto [reference, places] = found->second;
    const std::uint64_t tick = nextTick(found->first);
    const Quote q = quoteAt(pairSeed(seed_, site_, found->first), reference, places, tick);
    JsonText json;
    json.open().member("date", std::to_string(timestampAt(tick))).key("ticker").open();
    json.member("buy", q.bid.text()).member("high", q.high.text()).member("last", q.last.text());
    json.member("low", q.low.text()).member("sell", q.ask.text()).member("vol", q.volume.text());
    return {200, json.close().close().text()};
  }

  // Including a pair of the other site, which each site refused.
  Reply error(const Target&) const override { return {200, R"({"error_code":1007,"result":false})"}; }
  Reply rateLimited() const override { return {429, R"({"error_code":10001,"result":false})"}; }

 private:
  std::uint64_t seed_;
  std::string site_;
  std::map<std::string, std::pair<double, int>, std::less<>> references_;
};

}  // namespace

std::unique_ptr<Venue> makeOKCoin(const VenueContext& context, bool yuanSite) {
  return std::make_unique<OKCoin>(context, yuanSite);
}

}  // namespace exsim
