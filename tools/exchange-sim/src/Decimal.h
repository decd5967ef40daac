#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace exsim {

// A price or amount as the exchanges print it: an integer count of 10^-places. Kept as integers
// so that the printed digits are exact and two different values never print alike.
struct Decimal {
  std::int64_t units = 0;
  int places = 0;

  // With exactly `places` digits after the point ("8956.99900", "0.00000044", "73350").
  std::string text() const;
  // Without trailing zeros or a bare point ("8956.999", "8951"), as WEX prints its numbers.
  std::string trimmed() const;
  double value() const;
  // The same value with more places, padded with zeros (GDAX's stats print 8).
  Decimal widened(int morePlaces) const;

  // Rounds; lowers `places` when the value would not fit in 18 digits.
  static Decimal fromDouble(double value, int places);
};

// The number a recording spells, whatever the process locale (Qt sets the user's); 0 if none.
double parseNumber(std::string_view text);

// 10^n for 0 <= n <= 18.
std::int64_t powerOfTen(int n);

// How many places give a price of this size about five significant digits, within [least, most].
int placesFor(double price, int least, int most);

}  // namespace exsim
