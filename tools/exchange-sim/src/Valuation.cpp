#include "Valuation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "Decimal.h"
#include "Hashing.h"
#include "JsonText.h"

namespace exsim {

namespace {

// Fiat money, stable coins and the coins Poloniex did not list in 2018, at early-2018 values.
constexpr std::pair<std::string_view, double> kFixed[] = {
    {"USD", 1},     {"USDT", 1},     {"USDC", 1},   {"TUSD", 1},     {"DAI", 1},     {"PAX", 1},
    {"EUR", 1.23},  {"EURT", 1.23},  {"GBP", 1.40}, {"JPY", 0.0093}, {"CAD", 0.79},  {"CNY", 0.158},
    {"CNH", 0.158}, {"CNHT", 0.158}, {"PLN", 0.29}, {"RUB", 0.0163}, {"CHF", 1.06},  {"AUD", 0.78},
    {"XAUT", 1330}, {"ADA", 0.35},   {"ATOM", 4.5}, {"EOS", 8.5},    {"QTUM", 20},   {"XTZ", 2.8},
    {"ICN", 2.0},   {"MLN", 45},     {"IOTA", 1.6}, {"NEO", 90},     {"BTG", 60},    {"TRX", 0.04},
    {"NVC", 3.1},   {"SAN", 1.2},    {"ETP", 2.5},  {"EDO", 2.2},    {"DATA", 0.12}, {"LINK", 0.6},
};

constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"XBT", "BTC"}, {"XDG", "DOGE"}, {"XLM", "STR"},  {"DSH", "DASH"}, {"IOT", "IOTA"}, {"QTM", "QTUM"},
    {"RUR", "RUB"}, {"UST", "USDT"}, {"UDC", "USDC"}, {"TSD", "TUSD"}, {"EUT", "EURT"}, {"DAT", "DATA"},
};

}  // namespace

std::string canonicalCode(std::string_view code) {
  std::string upper(code);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (const auto& [alias, name] : kAliases)
    if (upper == alias) return std::string(name);
  return upper;
}

Valuation::Valuation() {
  for (const auto& [code, worth] : kFixed) usd_.emplace(code, worth);

  const rapidjson::Document markets = recording("poloniex/returnTicker_2018-02_99markets.json");
  auto lastOf = [&](const char* market) { return parseNumber(markets[market]["last"].GetString()); };
  usd_["BTC"] = lastOf("USDT_BTC");
  usd_["ETH"] = lastOf("USDT_ETH");
  usd_["XMR"] = lastOf("BTC_XMR") * usd_["BTC"];
  // Poloniex names markets QUOTE_BASE: BTC_LTC is litecoin priced in bitcoin.
  for (const auto& member : markets.GetObject()) {
    const std::string market = member.name.GetString();
    const std::size_t cut = market.find('_');
    const auto quote = usd_.find(market.substr(0, cut));
    if (quote == usd_.end()) continue;
    usd_.emplace(market.substr(cut + 1), parseNumber(member.value["last"].GetString()) * quote->second);
  }
}

bool Valuation::knows(std::string_view code) const { return usd_.contains(canonicalCode(code)); }

double Valuation::usd(std::string_view code) const {
  const std::string name = canonicalCode(code);
  if (const auto found = usd_.find(name); found != usd_.end()) return found->second;
  return std::exp(std::log(0.02) + unitInterval(hashText(name)) * (std::log(200.0) - std::log(0.02)));
}

}  // namespace exsim
