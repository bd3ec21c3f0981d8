#pragma once

// The date library's tests share one fixture: a fixed clock and a fixed
// local time, so that no test depends on the day or the machine's time zone.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "date/date.h"

namespace date_test {

// Seconds since the epoch of a UTC date and time, from std::chrono.
inline int64_t utc(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
  namespace chrono = std::chrono;
  chrono::sys_seconds t = chrono::sys_days{chrono::year{y} / chrono::month{mo} / chrono::day{d}} + chrono::hours{h} +
                          chrono::minutes{mi} + chrono::seconds{s};
  return t.time_since_epoch().count();
}

// What the clock reads.
inline int64_t g_now = 0;

// How often the clock was read.
inline int g_clock_reads = 0;

// How often a time value was converted to local time.
inline int g_conversions = 0;

// The daylight saving flag the local time gives.
inline int g_isdst = 0;

// A clock fixed at g_now.
inline int64_t fixed_clock() {
  ++g_clock_reads;
  return g_now;
}

// A clock that moves one second on at every reading.
inline int64_t ticking_clock() {
  ++g_clock_reads;
  return g_now++;
}

// A local time one hour ahead of UTC (winter in Paris).
inline bool paris_winter(int64_t seconds, std::tm& out) {
  ++g_conversions;
  std::time_t t = static_cast<std::time_t>(seconds + 3600);
  if (gmtime_r(&t, &out) == nullptr) return false;
  out.tm_isdst = g_isdst;
  return true;
}

// A conversion that refuses every time value.
inline bool refusing_conversion(int64_t, std::tm&) { return false; }

// The clock fixed at 9 February 2004, 10:05:03 local time, for each test;
// the system's clock and time zone put back after it.
class DateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_now = utc(2004, 2, 9, 9, 5, 3);  // 10:05:03 local
    g_clock_reads = 0;
    g_conversions = 0;
    g_isdst = 0;
    datelib::set_clock_source(fixed_clock);
    datelib::set_local_time_conversion(paris_winter);
  }
  void TearDown() override {
    datelib::set_clock_source(nullptr);
    datelib::set_local_time_conversion(nullptr);
  }

  // A record of `seconds` in UTC, checked to fill.
  static datelib::DateRecord utc_record(int64_t seconds, int32_t microseconds = 0) {
    datelib::DateRecord record;
    int error = -1;
    EXPECT_EQ(datelib::date_set(seconds, microseconds, datelib::DATE_UTC, record, error), 0);
    return record;
  }

  // format_date, without a limit unless one is given, expected to succeed.
  static std::string formatted(datelib::DateRecord record, std::string_view format, size_t limit = 0) {
    std::string out;
    int error = -1;
    EXPECT_EQ(datelib::format_date(record, format, out, limit, error), 0) << format;
    return out;
  }

  // What a failed format_date says: the error it sets, and the text it
  // placed before it stopped.
  using Refusal = std::pair<int, std::string>;

  // format_date, without a limit unless one is given, expected to fail.
  static Refusal refusal(datelib::DateRecord record, std::string_view format, size_t limit = 0) {
    std::string out = "stale";
    int error = -1;
    EXPECT_EQ(datelib::format_date(record, format, out, limit, error), -1) << format;
    return {error, out};
  }

  // format_now's text, its length checked.
  static std::string now(int64_t selector, std::string_view format) {
    std::string out = "stale";
    int length = datelib::format_now(selector, format, out);
    EXPECT_EQ(length, static_cast<int>(out.size()));
    return out;
  }
};

}  // namespace date_test
