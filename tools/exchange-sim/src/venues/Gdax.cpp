#include <ctime>
#include <map>

#include "EmbeddedData.h"
#include "Hashing.h"
#include "JsonText.h"
#include "PriceModel.h"
#include "SyntheticCodes.h"
#include "Venue.h"

namespace exsim {

namespace {

constexpr std::size_t kLargeProductCount = 250;

int placesOf(std::string_view increment) {
  const std::size_t point = increment.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(increment.size() - point - 1);
}

// "2018-04-22T10:31:56.511254Z"
std::string isoTime(std::int64_t seconds, std::uint64_t noise) {
  const std::time_t time = seconds;
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
  const std::string micros = std::to_string(1000000 + noise % 1000000);
  return std::string(text) + "." + micros.substr(1) + "Z";
}

class Gdax final : public Venue {
 public:
  explicit Gdax(const VenueContext& context) : seed_(context.seed) {
    rapidjson::Document products = recording("coinbase/products_gdax_2017_xchange.json");
    if (context.large) synthesise(products, context.valuation);
    for (const auto& product : products.GetArray()) {
      const double reference =
          context.valuation.rate(product["base_currency"].GetString(), product["quote_currency"].GetString());
      references_.emplace(product["id"].GetString(),
                          std::pair{reference, placesOf(product["quote_increment"].GetString())});
    }
    JsonText listing;
    listing_ = listing.value(products).text();
  }

  Reply answer(const Target& target) override {
    if (target.matches({"products"})) return {200, listing_};
    const bool ticker = target.matches({"products", "*", "ticker"});
    if (!ticker && !target.matches({"products", "*", "stats"})) return error(target);
    const auto found = references_.find(target.segments[1]);
    if (found == references_.end()) return error(target);
    const auto [reference, places] = found->second;
    // Counted apart, so that the n-th stats agree with the n-th ticker of the same product.
    const std::string& id = found->first;
    const std::uint64_t tick = nextTick((ticker ? "ticker " : "stats ") + id);
    const Quote q = quoteAt(pairSeed(seed_, "GDAX", id), reference, places, tick);
    return {200, ticker ? tickerText(id, q, tick) : statsText(id, q)};
  }

  Reply error(const Target&) const override { return {404, R"({"message":"NotFound"})"}; }
  Reply rateLimited() const override {
    return {429, std::string(embeddedFile("coinbase/error_429_public_rate_limit.json"))};
  }

 private:
  std::string tickerText(const std::string& id, const Quote& q, std::uint64_t tick) const {
    JsonText json;
    json.open().key("trade_id").number(static_cast<long long>(4000000 + hashText(id) % 1000000 + tick * 7));
    json.member("price", q.last.text())
        .member("size", Decimal{static_cast<std::int64_t>(q.noise % 200000000), 8}.text());
    json.member("bid", q.bid.text()).member("ask", q.ask.text()).member("volume", q.volume.text());
    json.member("time", isoTime(timestampAt(tick), q.noise));
    return json.close().text();
  }

  // Some products' stats came without "last", some also without "volume_30day".
  std::string statsText(const std::string& id, const Quote& q) const {
    const int widen = 8 - q.last.places;
    const std::uint64_t variant = hashText(id) % 4;
    JsonText json;
    json.open().member("open", q.open.widened(widen).text()).member("high", q.high.widened(widen).text());
    json.member("low", q.low.widened(widen).text()).member("volume", q.volume.text());
    if (variant >= 2) json.member("last", q.last.widened(widen).text());
    if (variant >= 1) json.member("volume_30day", Decimal::fromDouble(q.volume.value() * 27.3, 8).text());
    return json.close().text();
  }

  // More coins against dollars, euros, bitcoin and pounds, shaped like a recorded product.
  static void synthesise(rapidjson::Document& products, const Valuation& valuation) {
    constexpr std::string_view kQuotes[] = {"USD", "EUR", "BTC", "GBP"};
    auto& allocator = products.GetAllocator();
    const rapidjson::Value model(products[0], allocator);
    auto text = [&allocator](const std::string& value) { return rapidjson::Value(value.c_str(), allocator); };
    auto taken = [&](std::string_view code) { return valuation.knows(code); };
    for (const std::string& code : syntheticCodes(kLargeProductCount, taken)) {
      for (std::size_t i = 0; i <= hashText(code) % 4 && products.Size() < kLargeProductCount; ++i) {
        const std::string quote(kQuotes[i]);
        rapidjson::Value product(model, allocator);
        product["id"] = text(code + "-" + quote);
        product["base_currency"] = text(code);
        product["quote_currency"] = text(quote);
        product["quote_increment"] = text(Decimal{1, placesFor(valuation.rate(code, quote), 2, 8)}.text());
        product["display_name"] = text(code + "/" + quote);
        products.PushBack(product, allocator);
      }
      if (products.Size() == kLargeProductCount) return;
    }
  }

  std::uint64_t seed_;
  std::map<std::string, std::pair<double, int>, std::less<>> references_;
  std::string listing_;
};

}  // namespace

std::unique_ptr<Venue> makeGdax(const VenueContext& context) { return std::make_unique<Gdax>(context); }

}  // namespace exsim
