#include "core/alerts/TypedNumber.h"

#include <unicode/dcfmtsym.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pricora {

namespace {

// Characters that group digits whatever the locale: no one writes a decimal point with them.
constexpr std::string_view kBlanks[] = {" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};  // NBSP, NNBSP, thin
constexpr std::string_view kApostrophes[] = {"'", "\xE2\x80\x99"};                         // ASCII, U+2019

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One way of writing numbers: its decimal separator and the separators it groups digits with.
struct Convention {
  std::string_view decimal;
  std::vector<std::string_view> grouping;
};

Convention withUniversalGrouping(std::string_view decimal, std::vector<std::string_view> grouping) {
  grouping.insert(grouping.end(), std::begin(kBlanks), std::end(kBlanks));
  grouping.insert(grouping.end(), std::begin(kApostrophes), std::end(kApostrophes));
  return {decimal, std::move(grouping)};
}

// The separator at the front of text, if it is one of these; its length.
std::size_t separatorAt(std::string_view text, const std::vector<std::string_view>& separators) {
  for (std::string_view separator : separators)
    if (!separator.empty() && text.starts_with(separator)) return separator.size();
  return 0;
}

// The text read by one convention: digits, grouped in threes or not at all, and at most one
// decimal separator followed by digits. The number in plain notation, as typed: "11000.50".
std::optional<std::string> readAs(std::string_view text, const Convention& convention) {
  std::string digits;
  std::size_t group = 0;  // digits since the last grouping separator
  int groups = 0;         // grouping separators seen
  bool leadingZero = false, fraction = false;
  for (std::size_t i = 0; i < text.size();) {
    if (isDigit(text[i])) {
      if (digits.empty() && text[i] == '0') leadingZero = true;
      digits += text[i++];
      ++group;
      continue;
    }
    if (!fraction) {
      if (const std::size_t length = separatorAt(text.substr(i), convention.grouping); length > 0) {
        // The first group holds one to three digits and no leading zero, every other three.
        if (group == 0 || group > 3 || (groups > 0 && group != 3) || leadingZero) return std::nullopt;
        ++groups;
        group = 0;
        i += length;
        continue;
      }
      if (text.substr(i).starts_with(convention.decimal)) {
        if (groups > 0 && group != 3) return std::nullopt;
        fraction = true;
        digits += '.';
        group = 0;
        i += convention.decimal.size();
        continue;
      }
    }
    return std::nullopt;
  }
  if (groups > 0 && !fraction && group != 3) return std::nullopt;
  if (group == 0 || (fraction && digits.size() == 1)) return std::nullopt;  // nothing after a separator
  return digits;
}

std::optional<double> valueOf(const std::optional<std::string>& digits) {
  if (!digits) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(digits->data(), digits->data() + digits->size(), value);
  if (error != std::errc() || end != digits->data() + digits->size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

NumberSymbols numberSymbols(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(locale.empty() ? icu::Locale::getDefault() : icu::Locale(locale.c_str()),
                                          status);
  if (U_FAILURE(status)) return {};
  return {utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)),
          utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol))};
}

TypedNumber readTypedNumber(std::string_view text, const NumberSymbols& symbols) {
  // The locale's own grouping separator, and what people type for it when it is a blank or an
  // apostrophe, which every convention here takes anyway.
  const Convention locale = withUniversalGrouping(symbols.decimal, {symbols.grouping});
  const std::optional<std::string> ownDigits = readAs(text, locale);
  const std::optional<std::string> plainDigits = readAs(text, {".", {}});
  const std::optional<double> own = valueOf(ownDigits);
  const std::optional<double> plain = valueOf(plainDigits);
  // The two conventions of the world's points and commas, whichever the locale's is.
  const std::optional<double> point = valueOf(readAs(text, withUniversalGrouping(".", {","})));
  const std::optional<double> comma = valueOf(readAs(text, withUniversalGrouping(",", {"."})));
  std::vector<double> readings;
  for (const std::optional<double>& reading : {own, plain, point, comma})
    if (reading && std::find(readings.begin(), readings.end(), *reading) == readings.end())
      readings.push_back(*reading);
  if (readings.size() == 1 && (own || plain)) return {readings.front(), {}, own ? *ownDigits : *plainDigits};
  return {std::nullopt, readings, {}};
}

std::string unambiguousText(double value) {
  char text[512];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  std::string out(text, error == std::errc() ? end : std::to_chars(text, text + sizeof text, value).ptr);
  // Three digits after the point read as a group of thousands where the comma is the decimal.
  const std::size_t point = out.find('.');
  if (point != std::string::npos && out.size() - point - 1 == 3 && out.compare(0, point, "0") != 0) out += '0';
  return out;
}

}  // namespace pricora
