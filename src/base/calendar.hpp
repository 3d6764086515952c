// The game calendar: the clock in seconds from Thursday 1 January 1970, 00:00,
// turned into the date and time that the area view shows.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

struct CalendarTime {
  std::int32_t year = 1970;
  std::int32_t month = 1;  // 1 to 12
  std::int32_t day = 1;    // day of the month, from 1
  std::int32_t hour = 0;   // 0 to 23
  std::int32_t minute = 0;
  std::int32_t weekday = 4;  // 1 Monday ... 7 Sunday
};

// The calendar time of `clock`; a clock below 0 reads as clock 0.
CalendarTime calendar_time(std::int32_t clock);

// The calendar line without its leading empty line: "01 jan 1970 (thu) 00:00 am".
// Hours above 12 are shown less 12 with "pm"; 12:30 is still "am".
std::string calendar_line(std::int32_t clock);

}  // namespace vesk
