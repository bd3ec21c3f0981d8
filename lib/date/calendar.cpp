#include "date/calendar.h"

#include <limits>

#include "date/date.h"

namespace datelib {

namespace {

// Shared by every day-kind computation; rebuilt whole for each one.
std::array<int, 366> g_calendar{};

// Floor division and its remainder, so that years before year 1 still give
// well-defined (if historically meaningless) answers. 64-bit, so that the
// day counts of any int year fit.
int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
int64_t floor_mod(int64_t a, int64_t b) { return a - floor_div(a, b) * b; }

// Days before the first of each month in a year of 365 days.
constexpr std::array<int, 12> DAYS_BEFORE_MONTH = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// The French public holidays that fall on the same date every year.
constexpr std::array<MonthDay, 8> FIXED_HOLIDAYS = {{
    {1, 1},    // New Year's Day
    {5, 1},    // Labour Day
    {5, 8},    // Victory in Europe Day
    {7, 14},   // Bastille Day
    {8, 15},   // Assumption
    {11, 1},   // All Saints' Day
    {11, 11},  // Armistice Day
    {12, 25},  // Christmas
}};

// The movable public holidays, in days after Easter Sunday: Easter Monday,
// Ascension Thursday and Whit Monday.
constexpr std::array<int, 3> DAYS_AFTER_EASTER = {1, 39, 50};

// Index in the year calendar (0 = 1 January) of `date` in `year`.
int day_index(int year, MonthDay date) {
  int leap_day = date.month > 2 && is_leap_year(year) ? 1 : 0;
  return DAYS_BEFORE_MONTH[static_cast<size_t>(date.month - 1)] + leap_day + date.day - 1;
}

// Weekday of 1 January of `year` (0 = Sunday ... 6 = Saturday).
int weekday_of_new_year(int year) {
  // 1 January of year 1 (proleptic Gregorian) was a Monday; every year moves
  // it one day on, and each leap day one more.
  int64_t y = int64_t{year} - 1;
  int64_t leap_days = floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400);
  return static_cast<int>(floor_mod(1 + y + leap_days, 7));
}

}  // namespace

bool is_leap_year(int64_t year) {
  return (floor_mod(year, 4) == 0 && floor_mod(year, 100) != 0) || floor_mod(year, 400) == 0;
}

const std::array<int, 366>& year_calendar() { return g_calendar; }

bool calendar_covers_year(int64_t year) {
  return year >= std::numeric_limits<int>::min() && year <= std::numeric_limits<int>::max();
}

MonthDay easter_sunday(int year) {
  // Anonymous Gregorian computus: golden number, century corrections for the
  // solar and lunar drift, then the Sunday after the paschal full moon.
  int64_t a = floor_mod(year, 19);
  int64_t b = floor_div(year, 100);
  int64_t c = floor_mod(year, 100);
  int64_t d = floor_div(b, 4);
  int64_t e = floor_mod(b, 4);
  int64_t f = floor_div(b + 8, 25);
  int64_t g = floor_div(b - f + 1, 3);
  int64_t h = floor_mod(19 * a + b - d - g + 15, 30);
  int64_t i = floor_div(c, 4);
  int64_t k = floor_mod(c, 4);
  int64_t l = floor_mod(32 + 2 * e + 2 * i - h - k, 7);
  int64_t m = floor_div(a + 11 * h + 22 * l, 451);
  int64_t month = floor_div(h + l - 7 * m + 114, 31);
  int64_t day = floor_mod(h + l - 7 * m + 114, 31) + 1;
  return {static_cast<int>(month), static_cast<int>(day)};
}

void build_year_calendar(int year) {
  g_calendar.fill(DAY_WORKING);

  // Weekends: i walks the Sundays, the day before each is a Saturday. A year
  // whose last day (index 365) is a Saturday ends the walk at exactly 366.
  int i = 7 - weekday_of_new_year(year);
  for (; i < 366; i += 7) {
    g_calendar[static_cast<size_t>(i)] = DAY_HOLIDAY;
    g_calendar[static_cast<size_t>(i - 1)] = DAY_SATURDAY;
  }
  if (i == 366) g_calendar[365] = DAY_SATURDAY;
  if (!is_leap_year(year)) g_calendar[365] = DAY_NONE;

  // Public holidays overwrite the weekend marks.
  for (MonthDay holiday : FIXED_HOLIDAYS) g_calendar[static_cast<size_t>(day_index(year, holiday))] = DAY_HOLIDAY;
  int easter = day_index(year, easter_sunday(year));
  for (int days : DAYS_AFTER_EASTER) g_calendar[static_cast<size_t>(easter + days)] = DAY_HOLIDAY;
}

}  // namespace datelib
