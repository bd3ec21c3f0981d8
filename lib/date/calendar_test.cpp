#include "date/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "date/date.h"

using namespace datelib;

namespace {

using namespace std::chrono;

// 1-based day of year of a calendar date, computed with std::chrono so that
// it shares nothing with the library.
int day_of_year(int y, int m, int d) {
  sys_days date = year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)};
  sys_days new_year = year{y} / January / 1;
  return static_cast<int>((date - new_year).count()) + 1;
}

// Easter Sunday by Gauss's method with its century terms and the two
// April exceptions, as a day of year.
int gauss_easter(int y) {
  int a = y % 19, b = y % 4, c = y % 7;
  int k = y / 100;
  int p = (13 + 8 * k) / 25;
  int q = k / 4;
  int m = (15 - p + k - q) % 30;
  int n = (4 + k - q) % 7;
  int d = (19 * a + m) % 30;
  int e = (2 * b + 4 * c + 6 * d + n) % 7;
  if (d == 29 && e == 6) return day_of_year(y, 4, 19);
  if (d == 28 && e == 6 && (11 * m + 11) % 30 < 19) return day_of_year(y, 4, 18);
  return day_of_year(y, 3, 22) + d + e;
}

// The expected day kinds of a year: weekends from std::chrono, the fixed
// holidays by their dates, the movable ones from Gauss's Easter.
std::vector<int> reference_calendar(int y) {
  std::vector<int> kinds(366, DAY_WORKING);
  sys_days new_year = year{y} / January / 1;
  for (int i = 0; i < 366; ++i) {
    sys_days date = new_year + days{i};
    if (year_month_day{date}.year() != year{y}) {
      kinds[i] = DAY_NONE;
      continue;
    }
    weekday wd{date};
    if (wd == Saturday) kinds[i] = DAY_SATURDAY;
    if (wd == Sunday) kinds[i] = DAY_HOLIDAY;
  }
  const std::pair<int, int> fixed[] = {{1, 1}, {5, 1}, {5, 8}, {7, 14}, {8, 15}, {11, 1}, {11, 11}, {12, 25}};
  for (auto [m, d] : fixed) kinds[day_of_year(y, m, d) - 1] = DAY_HOLIDAY;
  int easter = gauss_easter(y);
  for (int offset : {1, 39, 50}) kinds[easter + offset - 1] = DAY_HOLIDAY;
  return kinds;
}

TEST(Easter, MatchesGaussForEveryYearTo2199) {
  for (int y = 1970; y <= 2199; ++y) {
    MonthDay easter = easter_sunday(y);
    EXPECT_EQ(day_of_year(y, easter.month, easter.day), gauss_easter(y)) << y;
  }
}

TEST(Easter, KnownDates) {
  EXPECT_EQ(easter_sunday(1970), (MonthDay{3, 29}));
  EXPECT_EQ(easter_sunday(1981), (MonthDay{4, 19}));
  EXPECT_EQ(easter_sunday(2000), (MonthDay{4, 23}));
  EXPECT_EQ(easter_sunday(2004), (MonthDay{4, 11}));
  EXPECT_EQ(easter_sunday(2008), (MonthDay{3, 23}));
  EXPECT_EQ(easter_sunday(2024), (MonthDay{3, 31}));
  EXPECT_EQ(easter_sunday(2038), (MonthDay{4, 25}));
  EXPECT_EQ(easter_sunday(2049), (MonthDay{4, 18}));
}

TEST(Calendar, MatchesReferenceForEveryYearTo2199) {
  for (int y = 1970; y <= 2199; ++y) {
    build_year_calendar(y);
    std::vector<int> built(year_calendar().begin(), year_calendar().end());
    EXPECT_EQ(built, reference_calendar(y)) << y;
  }
}

TEST(Calendar, PublicHolidaysOf2004) {
  build_year_calendar(2004);
  const std::array<int, 366>& kinds = year_calendar();
  std::vector<int> weekday_holidays;  // holidays not on a Sunday
  for (int i = 0; i < 366; ++i) {
    bool sunday = weekday{sys_days{year{2004} / January / 1} + days{i}} == Sunday;
    if (kinds[i] == DAY_HOLIDAY && !sunday) weekday_holidays.push_back(i + 1);
  }
  std::vector<int> expected = {
      day_of_year(2004, 1, 1),  day_of_year(2004, 4, 12), day_of_year(2004, 5, 1),
      day_of_year(2004, 5, 8),  day_of_year(2004, 5, 20), day_of_year(2004, 5, 31),
      day_of_year(2004, 7, 14), day_of_year(2004, 8, 15), day_of_year(2004, 11, 1),
      day_of_year(2004, 11, 11), day_of_year(2004, 12, 25)};
  // 15 August 2004 is itself a Sunday.
  std::erase(expected, day_of_year(2004, 8, 15));
  EXPECT_EQ(weekday_holidays, expected);
  EXPECT_EQ(kinds[day_of_year(2004, 5, 1) - 1], DAY_HOLIDAY);  // a Saturday
  EXPECT_EQ(kinds[day_of_year(2004, 2, 7) - 1], DAY_SATURDAY);
  EXPECT_EQ(kinds[day_of_year(2004, 2, 9) - 1], DAY_WORKING);
}

TEST(Calendar, FixedHolidaysMoveOnePlaceInLeapYears) {
  // 2003 and 2004 have 1 May and 25 December on working days or Saturdays,
  // so only the holiday mark can make them FERIE.
  build_year_calendar(2003);
  EXPECT_EQ(year_calendar()[120], DAY_HOLIDAY);
  EXPECT_EQ(year_calendar()[121], DAY_WORKING);  // Friday 2 May 2003
  EXPECT_EQ(year_calendar()[358], DAY_HOLIDAY);
  EXPECT_EQ(year_calendar()[359], DAY_WORKING);  // Friday 26 December 2003
  build_year_calendar(2004);
  EXPECT_EQ(year_calendar()[120], DAY_WORKING);  // Friday 30 April 2004
  EXPECT_EQ(year_calendar()[121], DAY_HOLIDAY);
  EXPECT_EQ(year_calendar()[358], DAY_WORKING);  // Friday 24 December 2004
  EXPECT_EQ(year_calendar()[359], DAY_HOLIDAY);
}

TEST(Calendar, LastEntry) {
  build_year_calendar(2003);
  EXPECT_EQ(year_calendar()[365], DAY_NONE);
  build_year_calendar(2016);  // leap, 31 December a Saturday: the walk stops at 366
  EXPECT_EQ(year_calendar()[365], DAY_SATURDAY);
  build_year_calendar(2000);  // leap, 31 December a Sunday
  EXPECT_EQ(year_calendar()[364], DAY_SATURDAY);
  EXPECT_EQ(year_calendar()[365], DAY_HOLIDAY);
}

}  // namespace
