#include <algorithm>
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

constexpr std::size_t kLargePairCount = 600;
constexpr std::size_t kHeavyPairCount = 20'000;

// Kraken's old asset names carry an X (crypto) or Z (fiat) prefix: XXBT, ZUSD; newer ones do not.
std::string_view withoutPrefix(std::string_view asset) {
  if (asset.size() == 4 && (asset[0] == 'X' || asset[0] == 'Z')) asset.remove_prefix(1);
  return asset;
}

class Kraken final : public Venue {
 public:
  explicit Kraken(const VenueContext& context) : seed_(context.seed) {
    rapidjson::Document document = recording("kraken/AssetPairs_2020_xchange.json");
    auto& allocator = document.GetAllocator();
    std::vector<std::pair<std::string, rapidjson::Value>> entries;
    for (auto& member : document["result"].GetObject())
      entries.emplace_back(member.name.GetString(), rapidjson::Value(member.value, allocator));
    const std::size_t count = context.heavy ? kHeavyPairCount : kLargePairCount;
    if (context.large) synthesise(entries, count, document["result"]["ADAUSD"], allocator, context.valuation);

    for (auto& [key, entry] : entries) {
      const std::string_view base = withoutPrefix(entry["base"].GetString());
      const std::string_view quote = withoutPrefix(entry["quote"].GetString());
      const int places = entry["pair_decimals"].GetInt();
      names_.emplace(key, pairs_.size());
      names_.emplace(entry["altname"].GetString(), pairs_.size());
      pairs_.push_back({key, context.valuation.rate(base, quote), places, key.ends_with(".d")});
    }

    JsonText listing;
    listing.open().key("error").openArray().closeArray().key("result").open();
    for (const auto& [key, entry] : entries) listing.key(key).value(entry);
    listing_ = listing.close().close().text();
  }

  Reply answer(const Target& target) override {
    if (target.matches({"0", "public", "AssetPairs"})) return {200, listing_};
    if (target.matches({"0", "public", "Ticker"})) {
      const std::optional<std::string> pairs = target.parameter("pair");
      return pairs ? ticker(*pairs) : Reply{200, R"({"error":["EGeneral:Invalid arguments"]})"};
    }
    return {404, R"({"error":["EGeneral:Unknown method"]})"};
  }

  Reply error(const Target&) const override {
    return {200, std::string(embeddedFile("kraken/error_unknown_asset_pair.json"))};
  }
  Reply rateLimited() const override {
    return {200, std::string(embeddedFile("kraken/error_too_many_requests_http200.json"))};
  }

 private:
  struct Pair {
    std::string key;
    double reference = 0;
    int places = 0;
    bool darkPool = false;  // listed, but it has no ticker of its own
  };

  // Several pairs may be asked at once, separated by commas, by key or by altname.
  Reply ticker(std::string_view names) {
    std::vector<const Pair*> asked;
    for (std::size_t start = 0; start <= names.size();) {
      const std::size_t end = std::min(names.find(',', start), names.size());
      const auto found = names_.find(names.substr(start, end - start));
      if (found == names_.end() || pairs_[found->second].darkPool) return error(Target{});
      asked.push_back(&pairs_[found->second]);
      start = end + 1;
    }
    JsonText json;
    json.open().key("error").openArray().closeArray().key("result").open();
    for (const Pair* pair : asked) write(json, *pair);
    return {200, json.close().close().text()};
  }

  void write(JsonText& json, const Pair& pair) {
    const Quote q = quoteAt(pairSeed(seed_, "Kraken", pair.key), pair.reference, pair.places, nextTick(pair.key));
    // Prices are quantised to the pair's decimals but always printed with at least five.
    const int extra = std::max(0, 5 - pair.places);
    auto price = [extra](const Decimal& value) { return value.widened(extra).text(); };
    const std::string lot = std::to_string(1 + q.noise % 9);
    const Decimal today = Decimal::fromDouble(q.volume.value() * 0.35, 8);
    json.key(pair.key).open();
    json.key("a").openArray().string(price(q.ask)).string(lot).string(lot + ".000").closeArray();
    json.key("b").openArray().string(price(q.bid)).string(lot).string(lot + ".000").closeArray();
    json.key("c")
        .openArray()
        .string(price(q.last))
        .string(Decimal{static_cast<std::int64_t>(q.noise % 100000000), 8}.text())
        .closeArray();
    json.key("v").openArray().string(today.text()).string(q.volume.text()).closeArray();
    json.key("p").openArray().string(price(q.average)).string(price(q.open)).closeArray();
    json.key("t").openArray().number(q.trades / 3).number(q.trades).closeArray();
    json.key("l").openArray().string(price(q.low)).string(price(q.low)).closeArray();
    json.key("h").openArray().string(price(q.high)).string(price(q.high)).closeArray();
    json.member("o", price(q.open)).close();
  }

  // Newer listings add assets without prefixes ("DOTUSD", "DOTXBT"); made-up ones follow suit,
  // shaped like a recorded entry, until the listing reaches the size of Kraken's.
  static void synthesise(std::vector<std::pair<std::string, rapidjson::Value>>& entries, std::size_t count,
                         const rapidjson::Value& model, rapidjson::Document::AllocatorType& allocator,
                         const Valuation& valuation) {
    constexpr std::pair<std::string_view, std::string_view> kQuotes[] = {
        {"USD", "ZUSD"}, {"EUR", "ZEUR"}, {"XBT", "XXBT"}, {"ETH", "XETH"},
        {"CAD", "ZCAD"}, {"GBP", "ZGBP"}, {"JPY", "ZJPY"}};
    std::vector<std::string> recordedBases;
    for (const auto& entry : entries) recordedBases.emplace_back(withoutPrefix(entry.second["base"].GetString()));
    auto taken = [&](std::string_view code) {
      return valuation.knows(code) ||
             std::find(recordedBases.begin(), recordedBases.end(), code) != recordedBases.end();
    };
    auto text = [&allocator](const std::string& value) { return rapidjson::Value(value.c_str(), allocator); };
    for (const std::string& code : syntheticCodes(count, taken)) {
      const std::size_t quoteCount = 2 + hashText(code) % 4;
      for (std::size_t i = 0; i < quoteCount && entries.size() < count; ++i) {
        const auto& [shortQuote, asset] = kQuotes[i];
        const std::string key = code + std::string(shortQuote);
        rapidjson::Value entry(model, allocator);
        entry["altname"] = text(key);
        entry["wsname"] = text(code + "/" + std::string(shortQuote));
        entry["base"] = text(code);
        entry["quote"] = text(std::string(asset));
        entry["pair_decimals"] = placesFor(valuation.rate(code, shortQuote), 0, 10);
        entries.emplace_back(key, std::move(entry));
      }
      if (entries.size() == count) break;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  }

  std::uint64_t seed_;
  std::vector<Pair> pairs_;
  std::map<std::string, std::size_t, std::less<>> names_;
  std::string listing_;
};

}  // namespace

std::unique_ptr<Venue> makeKraken(const VenueContext& context) { return std::make_unique<Kraken>(context); }

}  // namespace exsim
