#pragma once

#include <array>

// The day kind of every day of the year last built, indexed by day of year
// minus one. One table for the whole process.
const std::array<int, 366>& year_calendar();

// Fills the year calendar for `year`: Saturdays, Sundays and the French
// public holidays.
void build_year_calendar(int year);

// Day of year (1 January = 1) of Easter Sunday in `year`, Gregorian calendar.
int easter_day_of_year(int year);
