// The game calendar: Gregorian dates from the game clock.
#include "base/calendar.hpp"

#include <array>
#include <cstdio>

namespace vesk {

namespace {

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kWeek = 7 * kDay;

bool is_leap(std::int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr std::array<const char*, 12> kMonthNames = {"jan", "feb", "mar", "apr", "may", "jun",
                                                     "jul", "aug", "sep", "oct", "nov", "dec"};
// Clock day 0 was a Thursday.
constexpr std::array<const char*, 7> kWeekdayNames = {"thu", "fri", "sat", "sun", "mon", "tue", "wed"};

}  // namespace

CalendarTime calendar_time(std::int32_t clock) {
  if (clock < 0) clock = 0;
  CalendarTime t;
  const std::int32_t w = (clock % kWeek) / kDay;
  t.weekday = (w + 3) % 7 + 1;

  std::int32_t rest = clock;
  while (rest >= (is_leap(t.year) ? 366 : 365) * kDay) {
    rest -= (is_leap(t.year) ? 366 : 365) * kDay;
    ++t.year;
  }
  static constexpr std::array<std::int32_t, 12> kCommon = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (std::size_t m = 0; m < 12; ++m) {
    const std::int32_t length = (kCommon[m] + (m == 1 && is_leap(t.year) ? 1 : 0)) * kDay;
    if (rest < length) break;
    rest -= length;
    ++t.month;
  }
  t.day = rest / kDay + 1;
  rest %= kDay;
  t.hour = rest / 3600;
  t.minute = (rest % 3600) / 60;
  return t;
}

std::string calendar_line(std::int32_t clock) {
  const CalendarTime t = calendar_time(clock);
  const bool pm = t.hour > 12;
  char line[64];
  std::snprintf(line, sizeof line, "%02d %s %04d (%s) %02d:%02d %s", t.day,
                kMonthNames[static_cast<std::size_t>(t.month - 1)], t.year,
                kWeekdayNames[static_cast<std::size_t>((t.weekday + 3) % 7)], pm ? t.hour - 12 : t.hour, t.minute,
                pm ? "pm" : "am");
  return line;
}

}  // namespace vesk
