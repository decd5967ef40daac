#include <map>

#include "EmbeddedData.h"
#include "JsonText.h"
#include "PriceModel.h"
#include "Venue.h"

namespace exsim {

namespace {

// "btcusd", "dusk:usd", derivatives "btcf0:ustf0" and test pairs "testbtc:testusd".
std::pair<std::string, std::string> currenciesOf(std::string_view symbol) {
  const std::size_t colon = symbol.find(':');
  const std::size_t cut = colon == std::string_view::npos ? 3 : colon;
  auto plain = [](std::string_view code) {
    if (code.starts_with("test")) code.remove_prefix(4);
    if (code.ends_with("f0")) code.remove_suffix(2);
    return std::string(code);
  };
  return {plain(symbol.substr(0, cut)), plain(symbol.substr(colon == std::string_view::npos ? cut : cut + 1))};
}

// Bitfinex prints five significant digits and never a bare integer: "73350.0", "522.2".
std::string bitfinexNumber(const Decimal& value) {
  std::string text = value.trimmed();
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

// The symbol list already has the size of the real one (453), so the large scale adds nothing.
class Bitfinex final : public Venue {
 public:
  explicit Bitfinex(const VenueContext& context) : seed_(context.seed) {
    const rapidjson::Document symbols = recording("bitfinex/symbols_circa2022_compact.json");
    for (const auto& symbol : symbols.GetArray()) {
      const auto [base, quote] = currenciesOf(symbol.GetString());
      const double reference = context.valuation.rate(base, quote);
      references_.emplace(symbol.GetString(), std::pair{reference, placesFor(reference, 0, 12)});
    }
    JsonText listing;
    listing_ = listing.value(symbols).text();
  }

  Reply answer(const Target& target) override {
    if (target.matches({"v1", "symbols"})) return {200, listing_};
    if (target.matches({"v1", "pubticker", "*"})) return ticker(target.segments[2]);
    return {404, R"({"message":"Not Found"})"};
  }

  Reply error(const Target&) const override {
    return {400, std::string(embeddedFile("bitfinex/error_unknown_symbol_http400.json"))};
  }
  Reply rateLimited() const override {
    return {429, std::string(embeddedFile("bitfinex/error_rate_limit_http429.json"))};
  }

 private:
  Reply ticker(const std::string& symbol) {
    const auto found = references_.find(symbol);
    if (found == references_.end()) return error(Target{});
    const auto [reference, places] = found->second;
    const std::uint64_t tick = nextTick(symbol);
    const Quote q = quoteAt(pairSeed(seed_, "Bitfinex", symbol), reference, places, tick);
    const Decimal mid{(q.bid.units + q.ask.units) * 5, places + 1};
    const std::string fraction = std::to_string(1000000 + q.noise % 9000000);
    JsonText json;
    json.open()
        .member("mid", bitfinexNumber(mid))
        .member("bid", bitfinexNumber(q.bid))
        .member("ask", bitfinexNumber(q.ask));
    json.member("last_price", bitfinexNumber(q.last))
        .member("low", bitfinexNumber(q.low))
        .member("high", bitfinexNumber(q.high));
    json.member("volume", q.volume.text()).member("timestamp", std::to_string(timestampAt(tick)) + "." + fraction);
    return {200, json.close().text()};
  }

  std::uint64_t seed_;
  std::map<std::string, std::pair<double, int>, std::less<>> references_;
  std::string listing_;
};

}  // namespace

std::unique_ptr<Venue> makeBitfinex(const VenueContext& context) { return std::make_unique<Bitfinex>(context); }

}  // namespace exsim
