#include "core/alerts/LocaleFormat.h"

#include <unicode/datefmt.h>
#include <unicode/dtptngen.h>
#include <unicode/numberformatter.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <string_view>

namespace pricora {

namespace {

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

std::string format(const icu::number::LocalizedNumberFormatter& formatter, double value) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString text = formatter.formatDouble(value, status).toString(status);
  return U_SUCCESS(status) ? utf8(text) : std::to_string(value);
}

icu::Locale localeNamed(const std::string& name) {
  return name.empty() ? icu::Locale::getDefault() : icu::Locale(name.c_str());
}

}  // namespace

std::string LocaleFormat::number(double value, int maxFraction) const {
  using namespace icu::number;
  return format(NumberFormatter::withLocale(localeNamed(locale_)).precision(Precision::maxFraction(maxFraction)),
                value);
}

std::string LocaleFormat::exact(double value) const {
  using namespace icu::number;
  // The digits of the shortest text that reads back as the same number: 1.1e+04, 1.234e-05.
  char text[32];
  const std::string_view shortest(text,
                                  std::to_chars(text, text + sizeof text, value, std::chars_format::scientific).ptr);
  const std::string_view mantissa = shortest.substr(0, shortest.find('e'));
  const auto digits = std::count_if(mantissa.begin(), mantissa.end(), [](char c) { return c >= '0' && c <= '9'; });
  return format(NumberFormatter::withLocale(localeNamed(locale_))
                    .precision(Precision::maxSignificantDigits(static_cast<int>(std::max<std::ptrdiff_t>(digits, 1)))),
                value);
}

std::string LocaleFormat::approximate(double value) const {
  using namespace icu::number;
  return format(NumberFormatter::withLocale(localeNamed(locale_)).precision(Precision::maxSignificantDigits(6)), value);
}

std::string LocaleFormat::fixed(double value, int fraction) const {
  using namespace icu::number;
  return format(NumberFormatter::withLocale(localeNamed(locale_)).precision(Precision::fixedFraction(fraction)), value);
}

std::string LocaleFormat::signedNumber(double value, int fraction) const {
  using namespace icu::number;
  return format(NumberFormatter::withLocale(localeNamed(locale_))
                    .precision(Precision::fixedFraction(fraction))
                    .sign(UNUM_SIGN_EXCEPT_ZERO),
                value);
}

std::string LocaleFormat::time(WallTime time) const {
  const std::unique_ptr<icu::DateFormat> format(
      icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, localeNamed(locale_)));
  if (!format) return {};
  if (!timeZone_.empty()) format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone_)));
  icu::UnicodeString text;
  format->format(
      static_cast<UDate>(std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count()), text);
  return utf8(text);
}

std::string LocaleFormat::weekdayAndTime(WallTime time) const { return dateText(time, "EEEjmm"); }

std::string LocaleFormat::weekdayAndDate(WallTime time) const { return dateText(time, "EEEd"); }

std::string LocaleFormat::dateText(WallTime time, const char* skeleton) const {
  // The locale's own order and hour cycle for the fields asked for ("j": 14:32 or 2:32 PM).
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale = localeNamed(locale_);
  const std::unique_ptr<icu::DateTimePatternGenerator> patterns(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_FAILURE(status)) return {};
  const icu::UnicodeString pattern = patterns->getBestPattern(icu::UnicodeString(skeleton), status);
  icu::SimpleDateFormat format(pattern, locale, status);
  if (U_FAILURE(status)) return {};
  if (!timeZone_.empty()) format.adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone_)));
  icu::UnicodeString text;
  format.format(
      static_cast<UDate>(std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count()), text);
  return utf8(text);
}

}  // namespace pricora
