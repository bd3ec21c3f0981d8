#include "calendar.h"

#include "date.h"

namespace {

// Shared by every day-kind computation; rebuilt whole for each one.
std::array<int, 366> g_calendar{};

// Floor division and its remainder, so that years before year 1 still give
// well-defined (if historically meaningless) answers.
int floor_div(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
int floor_mod(int a, int b) { return a - floor_div(a, b) * b; }

// Days before the first of each month in a year of 365 days.
constexpr std::array<int, 12> kDaysBeforeMonth = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// True for a Gregorian leap year.
bool is_leap_year(int year) {
  return (floor_mod(year, 4) == 0 && floor_mod(year, 100) != 0) || floor_mod(year, 400) == 0;
}

// Weekday of 1 January of `year` (0 = Sunday ... 6 = Saturday).
int weekday_of_new_year(int year) {
  // 1 January of year 1 (proleptic Gregorian) was a Monday; every year moves
  // it one day on, and each leap day one more.
  int y = year - 1;
  int leap_days = floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400);
  return floor_mod(1 + y + leap_days, 7);
}

}  // namespace

const std::array<int, 366>& year_calendar() { return g_calendar; }

int easter_day_of_year(int year) {
  // Anonymous Gregorian computus: golden number, century corrections for the
  // solar and lunar drift, then the Sunday after the paschal full moon.
  int a = floor_mod(year, 19);
  int b = floor_div(year, 100);
  int c = floor_mod(year, 100);
  int d = floor_div(b, 4);
  int e = floor_mod(b, 4);
  int f = floor_div(b + 8, 25);
  int g = floor_div(b - f + 1, 3);
  int h = floor_mod(19 * a + b - d - g + 15, 30);
  int i = floor_div(c, 4);
  int k = floor_mod(c, 4);
  int l = floor_mod(32 + 2 * e + 2 * i - h - k, 7);
  int m = floor_div(a + 11 * h + 22 * l, 451);
  int month = floor_div(h + l - 7 * m + 114, 31);
  int day = floor_mod(h + l - 7 * m + 114, 31) + 1;
  return kDaysBeforeMonth[month - 1] + (month > 2 && is_leap_year(year) ? 1 : 0) + day;
}

void build_year_calendar(int year) {
  g_calendar.fill(DAY_WORKING);
  int leap = is_leap_year(year) ? 1 : 0;

  // Weekends: i walks the Sundays, the day before each is a Saturday. A year
  // whose last day (index 365) is a Saturday ends the walk at exactly 366.
  int i = 7 - weekday_of_new_year(year);
  for (; i < 366; i += 7) {
    g_calendar[i] = DAY_HOLIDAY;
    g_calendar[i - 1] = DAY_SATURDAY;
  }
  if (i == 366) g_calendar[365] = DAY_SATURDAY;
  if (!leap) g_calendar[365] = DAY_NONE;

  // Fixed public holidays: 1 January, then 1 May, 8 May, 14 July, 15 August,
  // 1 November, 11 November and 25 December as steps from each other.
  g_calendar[0] = DAY_HOLIDAY;
  int day = 120 + leap;
  for (int step : {0, 7, 67, 32, 78, 10, 44}) {
    day += step;
    g_calendar[day] = DAY_HOLIDAY;
  }

  // Movable public holidays hang off Easter Sunday: Easter Monday (the index
  // of a 1-based day of year is the next day), Ascension Thursday 38 days
  // after it and Whit Monday 11 days after that.
  int easter_monday = easter_day_of_year(year);
  g_calendar[easter_monday] = DAY_HOLIDAY;
  g_calendar[easter_monday + 38] = DAY_HOLIDAY;
  g_calendar[easter_monday + 38 + 11] = DAY_HOLIDAY;
}
