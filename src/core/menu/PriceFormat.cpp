#include "core/menu/PriceFormat.h"

#include <unicode/brkiter.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/unistr.h>

#include <cmath>
#include <vector>

#include "core/exchanges/NumberReading.h"

namespace pricora {

namespace {

// Byte offsets where each grapheme cluster of text starts, and the end.
std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
  std::vector<std::size_t> bounds{0};
  if (text.empty()) return bounds;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> breaks(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
  if (U_FAILURE(status)) {
    utext_close(utext);
    // Not UTF-8 we can read: count bytes, which is never wrong for ASCII prices.
    for (std::size_t i = 1; i <= text.size(); ++i) bounds.push_back(i);
    return bounds;
  }
  breaks->setText(utext, status);
  for (int32_t at = breaks->next(); at != icu::BreakIterator::DONE; at = breaks->next())
    bounds.push_back(static_cast<std::size_t>(at));
  utext_close(utext);
  return bounds;
}

}  // namespace

ScientificFormatter::ScientificFormatter() {
  UErrorCode status = U_ZERO_ERROR;
  // Symbols spelled out, so neither the user's locale nor ICU's default can change the result.
  auto symbols = std::make_unique<icu::DecimalFormatSymbols>(icu::Locale::getRoot(), status);
  symbols->setSymbol(icu::DecimalFormatSymbols::kExponentialSymbol, u"e");
  symbols->setSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol, u".");
  symbols->setSymbol(icu::DecimalFormatSymbols::kMinusSignSymbol, u"-");
  symbols->setSymbol(icu::DecimalFormatSymbols::kPlusSignSymbol, u"+");
  format_ = std::make_unique<icu::DecimalFormat>(u"0.###E+0", symbols.release(), status);
  format_->setRoundingMode(icu::DecimalFormat::kRoundHalfEven);
  if (U_FAILURE(status)) format_.reset();
}

ScientificFormatter::~ScientificFormatter() = default;

std::string ScientificFormatter::format(float value) const {
  if (!format_) return {};
  icu::UnicodeString text;
  format_->format(static_cast<double>(value), text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

std::size_t graphemeCount(std::string_view text) { return graphemeBoundaries(text).size() - 1; }

std::string menuBarPriceText(std::string_view title, std::string_view headline, const ScientificFormatter& formatter) {
  const std::size_t n = graphemeCount(title);
  const std::vector<std::size_t> bounds = graphemeBoundaries(headline);
  if (bounds.size() - 1 <= n + 2) return {};
  const std::string_view rest = headline.substr(bounds[n + 2]);
  const std::size_t cutEnd = bounds[std::min(bounds.size() - 1, 2 * n + 2)];
  const std::string_view cut = headline.substr(bounds[n + 2], cutEnd - bounds[n + 2]);

  const std::optional<double> cutValue = readDouble(cut);
  if (!cutValue || !(*cutValue < 0.001)) return std::string(cut);
  // The whole price carries the digits the cut lost. Text after the number (a unit, say) would
  // make it unreadable; then the cut number is what we have.
  const std::optional<float> whole = readFloat(rest);
  return formatter.format(whole ? *whole : static_cast<float>(*cutValue));
}

}  // namespace pricora
