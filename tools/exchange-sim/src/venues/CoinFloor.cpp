#include <map>

#include "JsonText.h"
#include "PriceModel.h"
#include "Venue.h"

namespace exsim {

namespace {

class CoinFloor final : public Venue {
 public:
  explicit CoinFloor(const VenueContext& context) : seed_(context.seed) {
    for (std::string_view quote : {"EUR", "GBP", "USD", "PLN"}) {
      const double reference = context.valuation.rate("XBT", quote);
      references_.emplace(quote, std::pair{reference, placesFor(reference, 2, 8)});
    }
  }

  // The pair is two path segments, XBT/EUR, and the address ends with a slash.
  Reply answer(const Target& target) override {
    if (!target.matches({"bist", "XBT", "*", "ticker", ""})) return notFound();
    const std::string& quote = target.segments[2];
    const auto found = references_.find(quote);
    if (found == references_.end()) return error(target);
    const auto [reference, places] = found->second;
    const Quote q = quoteAt(pairSeed(seed_, "CoinFloor", "XBT/" + quote), reference, places, nextTick(quote));
    JsonText json;
    json.open().key("last");
    // The recorded XBT/GBP ticker had no last trade; the program has to cope with a null.
    if (quote == "GBP")
      json.null();
    else
      json.string(q.last.text());
    json.member("high", q.high.text()).member("low", q.low.text()).member("vwap", q.average.text());
    json.member("volume", Decimal::fromDouble(q.volume.value(), 4).text());
    json.member("bid", q.bid.text()).member("ask", q.ask.text());
    return {200, json.close().text()};
  }

  Reply error(const Target&) const override { return {404, R"({"error_code":1,"error_msg":"Unknown market"})"}; }
  Reply rateLimited() const override { return {429, R"({"error_code":429,"error_msg":"Too many requests"})"}; }

 private:
  std::uint64_t seed_;
  std::map<std::string, std::pair<double, int>, std::less<>> references_;
};

}  // namespace

std::unique_ptr<Venue> makeCoinFloor(const VenueContext& context) { return std::make_unique<CoinFloor>(context); }

}  // namespace exsim
