#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class DecimalFormat;
U_NAMESPACE_END

namespace pricora {

// Writes a 32-bit value in the short scientific form of the price items: "0.###E+0" with a
// lower-case "e" and a point, rounding half to even, whatever the user's locale (1.234e-5,
// 1e-4, 0e+0). Made once and shared: building ICU formatters is not cheap.
class ScientificFormatter {
 public:
  ScientificFormatter();
  ~ScientificFormatter();
  ScientificFormatter(const ScientificFormatter&) = delete;
  ScientificFormatter& operator=(const ScientificFormatter&) = delete;

  // Empty when the formatter gives nothing.
  std::string format(float value) const;

 private:
  std::unique_ptr<icu::DecimalFormat> format_;
};

// The number of user-perceived characters (grapheme clusters) in text.
std::size_t graphemeCount(std::string_view text);

// The price line of a pair's menu-bar item, as wide as its title: the price that follows
// "<title>: " in the headline, cut (never rounded) to as many characters as the title has. A cut
// price below 0.001 would read as zero, so the whole price is written in scientific form
// instead; when the whole price is not a plain number, the cut one is.
std::string menuBarPriceText(std::string_view title, std::string_view headline, const ScientificFormatter& formatter);

}  // namespace pricora
