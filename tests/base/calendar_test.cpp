// The game calendar at its edges: the twelve-hour face, a clock below zero,
// leap days, weekday numbers and the last second of the clock. The transcripts
// show ordinary dates.
#include "base/calendar.hpp"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kYear2000 = 10957 * kDay;

}  // namespace

TEST(Calendar, DateLines) {
  const std::pair<std::int32_t, const char*> lines[] = {
      {59, "01 jan 1970 (thu) 00:00 am"},
      // Noon still reads "am"; from 13:00 the hour is shown less twelve.
      {43200 + 59 * 60, "01 jan 1970 (thu) 12:59 am"},
      {46800, "01 jan 1970 (thu) 01:00 pm"},
      // A clock below zero reads as the start.
      {-1, "01 jan 1970 (thu) 00:00 am"},
      {-2147483647 - 1, "01 jan 1970 (thu) 00:00 am"},
      {58 * kDay, "28 feb 1970 (sat) 00:00 am"},
      {59 * kDay, "01 mar 1970 (sun) 00:00 am"},
      {(730 + 59) * kDay, "29 feb 1972 (tue) 00:00 am"},
      // 2000 is a leap year although divisible by 100, being divisible by 400.
      {kYear2000 + 59 * kDay, "29 feb 2000 (tue) 00:00 am"},
      {kYear2000 + 60 * kDay, "01 mar 2000 (wed) 00:00 am"},
      {kYear2000 + 366 * kDay, "01 jan 2001 (mon) 00:00 am"},
  };
  for (const auto& [clock, line] : lines) EXPECT_EQ(vesk::calendar_line(clock), line) << clock;
}

TEST(Calendar, TimeFieldsWithWeekdaysFromMondayOne) {
  const std::int32_t numbers[] = {4, 5, 6, 7, 1, 2, 3, 4};
  for (std::int32_t d = 0; d < 8; ++d) EXPECT_EQ(vesk::calendar_time(d * kDay + 3600).weekday, numbers[d]) << d;
  const vesk::CalendarTime last = vesk::calendar_time(2147483647);
  EXPECT_EQ((std::array<std::int32_t, 6>{last.year, last.month, last.day, last.hour, last.minute, last.weekday}),
            (std::array<std::int32_t, 6>{2038, 1, 19, 3, 14, 2}));
}
