#include "date/date.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "date/date_test_fixture.h"

using namespace date_test;
using namespace datelib;

namespace {

TEST_F(DateTest, ResponseStampsOfTheExample) {
  std::string out;
  EXPECT_EQ(format_now(1, "+J+M+a", out), 8);
  EXPECT_EQ(out, "09022004");
  EXPECT_EQ(format_now(1, "+h+m+s", out), 6);
  EXPECT_EQ(out, "100503");
}

TEST_F(DateTest, Selectors) {
  EXPECT_EQ(now(0, "+J+M+a +h+m+s"), "09022004 090503");  // UTC
  EXPECT_EQ(now(1, "+J+M+a +h+m+s"), "09022004 100503");  // local
  // Any other selector is a time value, in local time; 2 is just after the epoch.
  EXPECT_EQ(now(2, "+J+M+a +h+m+s"), "01011970 010002");
  EXPECT_EQ(now(utc(2004, 5, 1, 22, 59, 59), "+J+M+a +h+m+s"), "01052004 235959");
  EXPECT_EQ(g_clock_reads, 2);
}

TEST_F(DateTest, DatesAfter2038) {
  g_now = utc(2040, 2, 29, 11, 34, 56);
  EXPECT_EQ(now(1, "+J+M+a+h+m+s"), "29022040123456");
  EXPECT_EQ(now(0, "+J+M+a+h+m+s"), "29022040113456");
  DateRecord record = utc_record(utc(2100, 1, 1));
  EXPECT_EQ(formatted(record, "+Y-+m-+d +H+M+S +j +A"), "2100-01-01 000000 001 Vendredi");
  EXPECT_EQ(record.seconds, int64_t{4102444800});
}

TEST_F(DateTest, EachStampReadsTheClockAcrossMidnight) {
  set_clock_source(ticking_clock);
  g_now = utc(2004, 2, 9, 22, 59, 59);  // 23:59:59 local
  EXPECT_EQ(now(1, "+J+M+a"), "09022004");
  EXPECT_EQ(now(1, "+J+M+a"), "10022004");
  EXPECT_EQ(now(1, "+h+m+s"), "000001");
  EXPECT_EQ(g_clock_reads, 3);
}

TEST_F(DateTest, RepeatedSecondSkipsTheConversion) {
  std::string out;
  format_now(1, "+J+M+a", out);
  format_now(1, "+h+m+s", out);
  EXPECT_EQ(g_conversions, 1);
  EXPECT_EQ(g_clock_reads, 2);
  ++g_now;
  EXPECT_EQ(now(1, "+h+m+s"), "100504");
  EXPECT_EQ(g_conversions, 2);
  // The UTC conversion has its own cache and leaves the local one alone.
  EXPECT_EQ(now(0, "+h+m+s"), "090504");
  EXPECT_EQ(now(1, "+h+m+s"), "100504");
  EXPECT_EQ(g_conversions, 2);
  // Installing a conversion, even the same one, forgets what was cached.
  set_local_time_conversion(paris_winter);
  now(1, "+h+m+s");
  EXPECT_EQ(g_conversions, 3);
  set_clock_source(fixed_clock);
  now(1, "+h+m+s");
  EXPECT_EQ(g_conversions, 4);
}

TEST_F(DateTest, LetterSetsOfFormatNowAndFormatDate) {
  DateRecord record = utc_record(utc(2004, 2, 9, 10, 5, 3));
  // +M and +m swap; +A is the year in century in one set, the weekday in the other.
  EXPECT_EQ(now(1, "+M/+m/+A"), "02/05/04");
  EXPECT_EQ(formatted(record, "+M/+m/+A"), "05/02/Lundi");
  // "%" introduces a directive only in format_now.
  EXPECT_EQ(now(1, "%J%M%a %Q"), "09022004 040");
  EXPECT_EQ(formatted(record, "%d"), "%d");
  // Letters outside the translation keep their format_date meaning.
  EXPECT_EQ(now(1, "+d +Y +H +B +C+y"), "09 2004 10 Fevrier 2004");
  // An unknown directive ends format_now silently with what was placed.
  EXPECT_EQ(now(1, "ab+xcd"), "ab");
  EXPECT_EQ(now(1, "ab%"), "ab");
}

TEST_F(DateTest, DateSetFillsEveryText) {
  DateRecord record = utc_record(utc(1999, 2, 7, 10, 5, 3));
  EXPECT_EQ(formatted(record, "+S+M+H +d+m+y +C +j"), "030510 070299 19 038");
  EXPECT_EQ(record.weekday, "0");
  EXPECT_EQ(record.daylight_saving, "0");
  EXPECT_EQ(record.day_kind, "");
}

TEST_F(DateTest, DaylightSavingFlagComesFromTheConversion) {
  g_isdst = 1;
  DateRecord record;
  int error = -1;
  ASSERT_EQ(date_set_now(DATE_LOCAL, record, error), 0);
  EXPECT_EQ(record.daylight_saving, "1");
  ASSERT_EQ(date_set_now(DATE_UTC, record, error), 0);
  EXPECT_EQ(record.daylight_saving, "0");
}

TEST_F(DateTest, DateSetFailures) {
  DateRecord record = utc_record(utc(2004, 5, 1));
  date_day_kind(record);
  int error = -1;
  EXPECT_EQ(date_set(utc(2010, 1, 1), 7, 2, record, error), -1);
  EXPECT_EQ(error, DATE_ERR_KIND);
  EXPECT_EQ(date_error_text(error), "Parametre type de date incorrect");
  EXPECT_EQ(record.seconds, utc(2010, 1, 1));
  EXPECT_EQ(record.microseconds, 7);
  EXPECT_EQ(record.day_kind, "");
  EXPECT_EQ(record.day, "01");
  EXPECT_EQ(record.month, "05");  // texts untouched

  set_local_time_conversion(refusing_conversion);
  error = -1;
  EXPECT_EQ(date_set(0, 0, DATE_LOCAL, record, error), -1);
  EXPECT_EQ(error, DATE_ERR_VALUE);
}

TEST_F(DateTest, Milliseconds) {
  DateRecord record;
  int error = -1;
  ASSERT_EQ(date_set_now(DATE_LOCAL, record, error), 0);
  EXPECT_EQ(formatted(record, "+1"), "000");
  EXPECT_EQ(formatted(utc_record(0, 5000), "+1"), "005");
  EXPECT_EQ(formatted(utc_record(0, 123999), "+1"), "123");
  EXPECT_EQ(formatted(utc_record(0, 1234567), "+1"), "1234");
  EXPECT_EQ(formatted(utc_record(0, -5000), "+1"), "-005");
}

TEST_F(DateTest, Names) {
  EXPECT_EQ(formatted(utc_record(utc(2004, 2, 8)), "+A +B"), "Dimanche Fevrier");
  EXPECT_EQ(formatted(utc_record(utc(2004, 1, 3)), "+A +B"), "Samedi Janvier");
  EXPECT_EQ(formatted(utc_record(utc(2004, 12, 31)), "+A +B"), "Vendredi Decembre");
  EXPECT_EQ(formatted(utc_record(utc(2004, 8, 18)), "+A +B"), "Mercredi Aout");
}

TEST_F(DateTest, FormatDateCopiesAndFails) {
  DateRecord record = utc_record(utc(2004, 2, 9, 10, 5, 3));
  EXPECT_EQ(formatted(record, "+Y-+m-+d"), "2004-02-09");
  EXPECT_EQ(formatted(record, ""), "");

  EXPECT_EQ(refusal(record, "+Y+x"), Refusal(DATE_ERR_DIRECTIVE, "2004"));
  EXPECT_EQ(date_error_text(DATE_ERR_DIRECTIVE), "Directive de formatage incorrecte");
  EXPECT_EQ(refusal(record, "abc+"), Refusal(DATE_ERR_DIRECTIVE, "abc"));
  EXPECT_EQ(refusal(record, "++"), Refusal(DATE_ERR_DIRECTIVE, ""));
}

// A character is refused once more than `limit` are already placed, so a
// limit lets one more character through than its value.
TEST_F(DateTest, OutputLimit) {
  DateRecord record = utc_record(utc(2004, 2, 9, 10, 5, 3));
  EXPECT_EQ(refusal(record, "+Y+m", 3), Refusal(DATE_ERR_TOO_SMALL, "2004"));
  EXPECT_EQ(date_error_text(DATE_ERR_TOO_SMALL), "Buffer destination trop petit");
  EXPECT_EQ(refusal(record, "+Y+m", 4), Refusal(DATE_ERR_TOO_SMALL, "20040"));
  EXPECT_EQ(formatted(record, "+Y+m", 5), "200402");
  EXPECT_EQ(refusal(record, "abcde", 3), Refusal(DATE_ERR_TOO_SMALL, "abcd"));
  // format_now runs with a limit of 250: 251 characters at most.
  std::string out;
  std::string many(300, 'x');
  EXPECT_EQ(format_now(1, many, out), 251);
}

// Codes outside the table have no text.
TEST_F(DateTest, ErrorTextsOutsideTheTable) {
  EXPECT_EQ(date_error_text(-1), "");
  EXPECT_EQ(date_error_text(6), "");
}

// With the seam reset, local time is the system's and the clock is real.
TEST(DateSystem, DefaultSeamUsesTheSystem) {
  set_clock_source(nullptr);
  set_local_time_conversion(nullptr);
  std::time_t value = 1076321103;
  std::tm expected{};
  ASSERT_NE(localtime_r(&value, &expected), nullptr);
  DateRecord record;
  int error = -1;
  ASSERT_EQ(date_set(value, 0, DATE_LOCAL, record, error), 0);
  EXPECT_EQ(record.hour, (expected.tm_hour < 10 ? "0" : "") + std::to_string(expected.tm_hour));
  EXPECT_EQ(record.daylight_saving, expected.tm_isdst > 0 ? "1" : "0");

  int64_t before = std::time(nullptr);
  ASSERT_EQ(date_set_now(DATE_UTC, record, error), 0);
  EXPECT_GE(record.seconds, before);
  EXPECT_LE(record.seconds, before + 5);
}

}  // namespace
