// The game calendar: clock seconds from Thursday 1 January 1970 to the date line
// of the area view.
#include "core/calendar.hpp"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kDay = 86400;

}  // namespace

TEST(Calendar, StartOfTheClockAndTheTwelveHourFace) {
  EXPECT_EQ(vesk::calendar_line(0), "01 jan 1970 (thu) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(59), "01 jan 1970 (thu) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(3600 + 23 * 60), "01 jan 1970 (thu) 01:23 am");
  // Noon hour still reads "am"; from 13:00 the hour is shown less twelve.
  EXPECT_EQ(vesk::calendar_line(43200), "01 jan 1970 (thu) 12:00 am");
  EXPECT_EQ(vesk::calendar_line(43200 + 59 * 60), "01 jan 1970 (thu) 12:59 am");
  EXPECT_EQ(vesk::calendar_line(46800), "01 jan 1970 (thu) 01:00 pm");
  EXPECT_EQ(vesk::calendar_line(kDay - 1), "01 jan 1970 (thu) 11:59 pm");
  EXPECT_EQ(vesk::calendar_line(kDay), "02 jan 1970 (fri) 00:00 am");
  // A clock below zero reads as the start.
  EXPECT_EQ(vesk::calendar_line(-1), "01 jan 1970 (thu) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(-2147483647 - 1), "01 jan 1970 (thu) 00:00 am");
}

TEST(Calendar, WeekdaysRunMondayOneToSundaySeven) {
  EXPECT_EQ(vesk::calendar_time(0).weekday, 4);
  const char* names[] = {"thu", "fri", "sat", "sun", "mon", "tue", "wed", "thu"};
  const std::int32_t numbers[] = {4, 5, 6, 7, 1, 2, 3, 4};
  for (std::int32_t d = 0; d < 8; ++d) {
    const std::int32_t clock = d * kDay + 3600;
    EXPECT_EQ(vesk::calendar_time(clock).weekday, numbers[d]) << d;
    EXPECT_EQ(vesk::calendar_line(clock).substr(13, 3), names[d]) << d;
  }
}

TEST(Calendar, MonthsYearsAndLeapDays) {
  EXPECT_EQ(vesk::calendar_line(31 * kDay), "01 feb 1970 (sun) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(58 * kDay), "28 feb 1970 (sat) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(59 * kDay), "01 mar 1970 (sun) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(364 * kDay), "31 dec 1970 (thu) 00:00 am");
  // 1972 is a leap year.
  EXPECT_EQ(vesk::calendar_line((730 + 59) * kDay), "29 feb 1972 (tue) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(94608000), "31 dec 1972 (sun) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(94608000 + kDay), "01 jan 1973 (mon) 00:00 am");
  // 2000 is a leap year although divisible by 100, being divisible by 400.
  const std::int32_t y2000 = 10957 * kDay;
  EXPECT_EQ(vesk::calendar_line(y2000), "01 jan 2000 (sat) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(y2000 + 59 * kDay), "29 feb 2000 (tue) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(y2000 + 60 * kDay), "01 mar 2000 (wed) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(y2000 + 366 * kDay), "01 jan 2001 (mon) 00:00 am");
  EXPECT_EQ(vesk::calendar_line(2147483647), "19 jan 2038 (tue) 03:14 am");

  const vesk::CalendarTime last = vesk::calendar_time(2147483647);
  EXPECT_EQ(last.year, 2038);
  EXPECT_EQ(last.month, 1);
  EXPECT_EQ(last.day, 19);
  EXPECT_EQ(last.hour, 3);
  EXPECT_EQ(last.minute, 14);
  EXPECT_EQ(last.weekday, 2);
}
