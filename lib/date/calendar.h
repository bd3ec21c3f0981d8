#pragma once

#include <array>
#include <cstdint>

namespace datelib {

// A date within a year: month 1-12, day of month 1-31.
struct MonthDay {
  int month;
  int day;
  bool operator==(const MonthDay&) const = default;
};

// True for a leap year of the Gregorian calendar, extended to every year
// before it: one year in four, but not a century year unless it is one in
// four hundred.
bool is_leap_year(int64_t year);

// The day kind of every day of the year last built, indexed by day of year
// minus one. One table for the whole process.
const std::array<int, 366>& year_calendar();

// True for the years build_year_calendar can compute: those of an int.
bool calendar_covers_year(int64_t year);

// Fills the year calendar for `year`: Saturdays, Sundays and the French
// public holidays.
void build_year_calendar(int year);

// Easter Sunday of `year`, Gregorian calendar.
MonthDay easter_sunday(int year);

}  // namespace datelib
