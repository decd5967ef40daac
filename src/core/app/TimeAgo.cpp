#include "core/app/TimeAgo.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <memory>
#include <optional>

namespace pricora {

namespace {

UDate toUDate(WallTime time) {
  return static_cast<UDate>(std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count());
}

// Whole units of field from date to now, or none when the calendar cannot tell.
std::optional<int32_t> elapsed(const icu::TimeZone& zone, UDate date, UDate now, UCalendarDateFields field) {
  UErrorCode status = U_ZERO_ERROR;
  icu::GregorianCalendar calendar(zone, status);
  if (U_FAILURE(status)) return std::nullopt;
  calendar.setTime(date, status);
  const int32_t difference = calendar.fieldDifference(now, field, status);
  if (U_FAILURE(status)) return std::nullopt;
  return difference;
}

std::string count(int32_t n, const char* unit) { return std::to_string(n) + " " + unit + (n > 1 ? "s" : "") + " ago"; }

}  // namespace

std::string timeAgoText(WallTime date, WallTime now, std::string_view timeZone) {
  const std::unique_ptr<icu::TimeZone> zone(
      timeZone.empty() ? icu::TimeZone::createDefault()
                       : icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
                             icu::StringPiece(timeZone.data(), static_cast<int32_t>(timeZone.size())))));
  const UDate from = toUDate(date);
  const UDate to = toUDate(now);
  const auto units = [&](UCalendarDateFields field) { return elapsed(*zone, from, to, field).value_or(0); };

  if (const int32_t years = units(UCAL_YEAR); years > 0) return count(years, "year");
  if (const int32_t months = units(UCAL_MONTH); months > 0) return count(months, "month");
  if (const int32_t weeks = units(UCAL_WEEK_OF_YEAR); weeks > 0) return count(weeks, "week");
  if (const int32_t days = units(UCAL_DATE); days > 0)
    return days == 1 ? "Yesterday" : std::to_string(days) + " days ago";
  if (const int32_t hours = units(UCAL_HOUR); hours > 0) return count(hours, "hour");
  if (const int32_t minutes = units(UCAL_MINUTE); minutes > 0) return count(minutes, "minute");
  const std::optional<int32_t> seconds = elapsed(*zone, from, to, UCAL_SECOND);
  if (seconds && *seconds < 0) return {};
  if (!seconds || *seconds < 15) return "Just now";
  return count(*seconds, "second");
}

}  // namespace pricora
