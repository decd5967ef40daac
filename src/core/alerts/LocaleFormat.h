#pragma once

#include <string>

#include "core/alerts/TypedNumber.h"
#include "platform/Clock.h"

namespace pricora {

// Numbers and times as the user's locale writes them, for what people read (alerts, changes);
// never for what the menus and the dump show, which keep the exchanges' own texts.
class LocaleFormat {
 public:
  // locale: an ICU locale name such as "de_DE"; empty for ICU's default. timeZone: an Olson name
  // such as "Europe/Berlin" for the times; empty for the system's.
  explicit LocaleFormat(std::string locale, std::string timeZone = {})
      : locale_(std::move(locale)), timeZone_(std::move(timeZone)), symbols_(numberSymbols(locale_)) {}

  // How the locale writes numbers, for reading what the user types.
  const NumberSymbols& symbols() const { return symbols_; }

  // 11000 → "11,000" (en) or "11.000" (de), with at most maxFraction digits after the point.
  std::string number(double value, int maxFraction) const;
  // As many significant digits as the number needs to read back the same, however small:
  // 11,000, 0.000000001, 0.00001234.
  std::string exact(double value) const;
  // Six significant digits, for numbers Pricora worked out rather than the user typed: 10,945.
  std::string approximate(double value) const;
  // Exactly `fraction` digits after the point: "2,639.70".
  std::string fixed(double value, int fraction) const;
  // With its sign unless zero and exactly `fraction` digits after the point: "+1.5", "−0.25".
  std::string signedNumber(double value, int fraction) const;
  // The time of day, short: "14:32", "2:32 PM".
  std::string time(WallTime time) const;
  // The weekday and the time of day: "Mon 14:32", "Mo. 14:32".
  std::string weekdayAndTime(WallTime time) const;
  // The weekday and the day of the month: "Mon 7", "Mo., 7.".
  std::string weekdayAndDate(WallTime time) const;
  const std::string& timeZone() const { return timeZone_; }

 private:
  // The time as the locale writes this ICU skeleton ("EEEjmm"), in the format's time zone.
  std::string dateText(WallTime time, const char* skeleton) const;

  std::string locale_;
  std::string timeZone_;
  NumberSymbols symbols_;
};

}  // namespace pricora
