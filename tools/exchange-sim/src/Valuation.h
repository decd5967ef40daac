#pragma once

#include <map>
#include <string>
#include <string_view>

namespace exsim {

// What one unit of a currency was worth in US dollars around the recordings (early 2018), so
// that every exchange quotes a pair close to the recordings and to the other exchanges.
class Valuation {
 public:
  Valuation();  // from the embedded Poloniex recording and a table of the rest

  // Any code, in any exchange's spelling ("XXBT", "dsh", "UST"); codes nobody recorded, such as
  // the synthesised ones, get a made-up but stable worth between 0.02 and 200 dollars.
  double usd(std::string_view code) const;
  double rate(std::string_view base, std::string_view quote) const { return usd(base) / usd(quote); }

  bool knows(std::string_view code) const;

 private:
  std::map<std::string, double, std::less<>> usd_;
};

// One spelling per currency: upper case, exchange-specific aliases resolved ("XBT" -> "BTC",
// "DSH" -> "DASH", "RUR" -> "RUB").
std::string canonicalCode(std::string_view code);

}  // namespace exsim
