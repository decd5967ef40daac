#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pricora {

// How a locale writes numbers: its decimal separator and its digit grouping separator, as ICU
// has them ("." and "," in English, "," and "." in German, "," and U+202F in French, "." and
// U+2019 in Swiss German).
struct NumberSymbols {
  std::string decimal = ".";
  std::string grouping = ",";
};
// locale: an ICU locale name such as "de_DE"; empty for ICU's default.
NumberSymbols numberSymbols(const std::string& locale);

// What a number a person typed reads as. People write numbers their locale's way or in plain
// notation (11000.5), and some copy them from elsewhere: "11.000" is eleven thousand in German
// and eleven in English. A text is taken only when every way of reading it that applies gives
// the same number, and when that is the locale's way or plain notation; grouping must be in
// threes. Blanks, no-break spaces and apostrophes group digits in every locale.
struct TypedNumber {
  std::optional<double> value;  // the number, when the text reads as one number
  // Otherwise what it could be: two different numbers ("11.000": 11000 and 11), or the one it
  // is in a locale other than the user's ("1.234,5" in English), or none at all.
  std::vector<double> readings;
  // With value: the number in plain notation, every digit as typed: "11000.50".
  std::string digits;
};
TypedNumber readTypedNumber(std::string_view text, const NumberSymbols& symbols);

// The number in plain notation that reads as the same number in every locale: 11000, 11.5,
// 0.00001234, and 10.1250 rather than 10.125 (which German reads as ten thousand).
std::string unambiguousText(double value);

}  // namespace pricora
