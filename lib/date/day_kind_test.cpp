#include "date/date.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "date/date_test_fixture.h"

using namespace date_test;
using namespace datelib;

namespace {

TEST_F(DateTest, DayKinds) {
  DateRecord may_day = utc_record(utc(2004, 5, 1, 12));  // a Saturday
  date_day_kind(may_day);
  EXPECT_EQ(may_day.day_kind, "2");
  EXPECT_EQ(formatted(may_day, "+2 +3"), "2 FERIE");

  // The directives compute the day kind when it is missing and keep it.
  DateRecord saturday = utc_record(utc(2004, 2, 7, 12));
  std::string out;
  int error = -1;
  ASSERT_EQ(format_date(saturday, "+3", out, 0, error), 0);
  EXPECT_EQ(out, "OUVRABLE");
  EXPECT_EQ(saturday.day_kind, "1");

  EXPECT_EQ(formatted(utc_record(utc(2004, 2, 9, 12)), "+2 +3"), "0 OUVRE");
  EXPECT_EQ(formatted(utc_record(utc(2004, 2, 8, 12)), "+2 +3"), "2 FERIE");
  EXPECT_EQ(formatted(utc_record(utc(2004, 4, 12, 12)), "+3"), "FERIE");   // Easter Monday
  EXPECT_EQ(formatted(utc_record(utc(2049, 4, 19, 12)), "+3"), "FERIE");   // Easter Monday 2049
  EXPECT_EQ(formatted(utc_record(utc(2049, 4, 26, 12)), "+3"), "OUVRE");
  EXPECT_EQ(formatted(utc_record(utc(2040, 12, 25, 12)), "+3"), "FERIE");  // 64-bit seconds

  // A new fill forgets the day kind of the previous date.
  ASSERT_EQ(date_set(utc(2004, 2, 9, 12), 0, DATE_UTC, may_day, error), 0);
  EXPECT_EQ(may_day.day_kind, "");
  EXPECT_EQ(formatted(may_day, "+2"), "0");
}

// Seconds since the epoch of 00:00 UTC on a date of any 64-bit year, by the
// days-from-civil count (eras of 400 years), beyond std::chrono's years.
int64_t far_utc(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t year_of_era = y - era * 400;
  int64_t day_of_year = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return (era * 146097 + day_of_era - 719468) * 86400;
}

// Far years still get their day kinds (1 January a holiday, the first
// Saturday a Saturday); a year past what the calendar holds is refused.
TEST_F(DateTest, FarYears) {
  for (int64_t y : {int64_t{2000000000}, int64_t{2147483000}, int64_t{-2000000000}}) {
    int64_t new_year = far_utc(y, 1, 1);
    DateRecord record = utc_record(new_year);
    EXPECT_EQ(formatted(record, "+Y-+m-+d +2 +3"), std::to_string(y) + "-01-01 2 FERIE");
    int64_t weekday = ((new_year / 86400 + 4) % 7 + 7) % 7;  // 1 January 1970 was a Thursday
    int64_t first_saturday = new_year + (6 - weekday) * 86400 + (weekday == 6 ? 7 * 86400 : 0);
    EXPECT_EQ(formatted(utc_record(first_saturday), "+A +2"), "Samedi 1") << y;
  }
  DateRecord record = utc_record(far_utc(2004, 2, 9));
  int error = -1;
  EXPECT_EQ(date_set(far_utc(2147484000, 6, 1), 0, DATE_UTC, record, error), -1);
  EXPECT_EQ(error, DATE_ERR_VALUE);
  EXPECT_EQ(date_error_text(error), "Valeur incorrecte");
  EXPECT_EQ(formatted(record, "+Y+m+d"), "20040209");  // texts untouched
}

}  // namespace
