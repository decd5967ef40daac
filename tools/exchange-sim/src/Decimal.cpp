#include "Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace exsim {

std::int64_t powerOfTen(int n) {
  std::int64_t result = 1;
  for (int i = 0; i < n; ++i) result *= 10;
  return result;
}

std::string Decimal::text() const {
  const std::int64_t scale = powerOfTen(places);
  const std::uint64_t magnitude = static_cast<std::uint64_t>(std::llabs(units));
  std::string result = units < 0 ? "-" : "";
  result += std::to_string(magnitude / static_cast<std::uint64_t>(scale));
  if (places > 0) {
    std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(scale));
    result += '.' + std::string(static_cast<std::size_t>(places) - fraction.size(), '0') + fraction;
  }
  return result;
}

std::string Decimal::trimmed() const {
  std::string result = text();
  if (result.find('.') == std::string::npos) return result;
  while (result.back() == '0') result.pop_back();
  if (result.back() == '.') result.pop_back();
  return result;
}

double Decimal::value() const { return static_cast<double>(units) / static_cast<double>(powerOfTen(places)); }

Decimal Decimal::widened(int morePlaces) const { return {units * powerOfTen(morePlaces), places + morePlaces}; }

Decimal Decimal::fromDouble(double value, int places) {
  while (places > 0 && std::fabs(value) * static_cast<double>(powerOfTen(places)) > 9e17) --places;
  return {std::llround(value * static_cast<double>(powerOfTen(places))), places};
}

double parseNumber(std::string_view text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int placesFor(double price, int least, int most) {
  int places = least;
  while (places < most && price * static_cast<double>(powerOfTen(places)) < 10000) ++places;
  return places;
}

}  // namespace exsim
