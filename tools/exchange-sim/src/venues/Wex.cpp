#include <map>
#include <vector>

#include "EmbeddedData.h"
#include "Hashing.h"
#include "JsonText.h"
#include "PriceModel.h"
#include "SyntheticCodes.h"
#include "Venue.h"

namespace exsim {

namespace {

constexpr std::size_t kLargePairCount = 100;

// WEX's "et" tokens (usdet, btcet) are vouchers worth one unit of the currency they name.
std::string_view currencyOf(std::string_view code) {
  if (code.size() > 3 && code.ends_with("et")) code.remove_suffix(2);
  return code;
}

class Wex final : public Venue {
 public:
  explicit Wex(const VenueContext& context) : seed_(context.seed) {
    rapidjson::Document info = recording("wex/info_2018-04-22_52pairs.json");
    if (context.large) synthesise(info, context.valuation);

    const rapidjson::Document recorded = recording("wex/ticker_multi_2018-04-22.json");
    for (const auto& member : info["pairs"].GetObject()) {
      const std::string key = member.name.GetString();
      const std::size_t cut = key.find('_');
      double reference = context.valuation.rate(currencyOf(key.substr(0, cut)), currencyOf(key.substr(cut + 1)));
      if (recorded.HasMember(key.c_str())) reference = recorded[key.c_str()]["last"].GetDouble();
      pairs_.emplace(key, Pair{reference, member.value["decimal_places"].GetInt()});
    }
    JsonText listing;
    listing_ = listing.value(info).text();
  }

  Reply answer(const Target& target) override {
    if (target.matches({"api", "3", "info"})) return {200, listing_};
    if (target.matches({"api", "3", "ticker", "*"})) return ticker(target.segments[3]);
    return {404, R"({"success":0,"error":"Invalid method"})"};
  }

  Reply error(const Target& target) const override {
    return invalidPair(target.segments.empty() ? std::string() : target.segments.back());
  }

  Reply rateLimited() const override { return {429, R"({"success":0,"error":"Requests too often"})"}; }

 private:
  struct Pair {
    double reference = 0;
    int places = 0;
  };

  static Reply invalidPair(const std::string& key) {
    JsonText json;
    return {200, json.open().key("success").number(0).member("error", "Invalid pair name: " + key).close().text()};
  }

  // Several pairs may be asked at once, separated by hyphens ("btc_usd-ltc_btc").
  Reply ticker(std::string_view keys) {
    std::vector<std::pair<std::string, const Pair*>> asked;
    for (std::size_t start = 0; start <= keys.size();) {
      const std::size_t end = std::min(keys.find('-', start), keys.size());
      const std::string key(keys.substr(start, end - start));
      const auto found = pairs_.find(key);
      if (found == pairs_.end()) return invalidPair(key);
      asked.emplace_back(key, &found->second);
      start = end + 1;
    }
    JsonText json;
    json.open();
    for (const auto& [key, pair] : asked) {
      const std::uint64_t tick = nextTick(key);
      const Quote q = quoteAt(pairSeed(seed_, "Wex", key), pair->reference, pair->places, tick);
      // Every value is a JSON number; "buy" is what a buyer pays, so it is the ask.
      json.key(key).open();
      json.key("high").number(q.high.trimmed()).key("low").number(q.low.trimmed());
      json.key("avg").number(q.average.trimmed());
      json.key("vol").number(Decimal::fromDouble(q.quoteVolume.value(), 5).trimmed());
      json.key("vol_cur").number(Decimal::fromDouble(q.volume.value(), 5).trimmed());
      json.key("last").number(q.last.trimmed()).key("buy").number(q.ask.trimmed()).key("sell").number(q.bid.trimmed());
      json.key("updated").number(timestampAt(tick)).close();
    }
    return {200, json.close().text()};
  }

  // More coins against bitcoin, dollars, roubles and euros, shaped like a recorded entry.
  static void synthesise(rapidjson::Document& info, const Valuation& valuation) {
    constexpr std::string_view kQuotes[] = {"btc", "usd", "rur", "eur"};
    auto& allocator = info.GetAllocator();
    rapidjson::Value& pairs = info["pairs"];
    const rapidjson::Value model(pairs["zec_btc"], allocator);
    auto taken = [&](std::string_view code) { return valuation.knows(code); };
    for (std::string code : syntheticCodes(kLargePairCount, taken)) {
      for (char& c : code) c = static_cast<char>(c - 'A' + 'a');
      for (std::size_t i = 0; i <= hashText(code) % 3 && pairs.MemberCount() < kLargePairCount; ++i) {
        const std::string key = code + "_" + std::string(kQuotes[i]);
        rapidjson::Value entry(model, allocator);
        entry["decimal_places"] = placesFor(valuation.rate(code, kQuotes[i]), 3, 8);
        pairs.AddMember(rapidjson::Value(key.c_str(), allocator), entry, allocator);
      }
      if (pairs.MemberCount() == kLargePairCount) return;
    }
  }

  std::uint64_t seed_;
  std::map<std::string, Pair, std::less<>> pairs_;
  std::string listing_;
};

}  // namespace

std::unique_ptr<Venue> makeWex(const VenueContext& context) { return std::make_unique<Wex>(context); }

}  // namespace exsim
