#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace datelib {

// A time value with its calendar fields already written out as fixed-width
// digit texts, so that formatting only copies texts.
struct DateRecord {
  int64_t seconds = 0;        // since 1970-01-01 00:00:00 UTC
  int32_t microseconds = 0;   // 0 whenever filled from the clock
  std::string second;         // "00"-"59"
  std::string minute;         // "00"-"59"
  std::string hour;           // "00"-"23"
  std::string day;            // "01"-"31"
  std::string month;          // "01"-"12"
  std::string year_in_century;  // "00"-"99"
  std::string century;        // "19", "20", ...
  std::string weekday;        // "0" (Sunday) - "6"
  std::string day_of_year;    // "001"-"366"
  std::string daylight_saving;  // "0" or "1"
  std::string day_kind;       // empty until date_day_kind; then "0", "1" or "2"
};

// Conversion kinds of date_set.
constexpr int DATE_LOCAL = 0;
constexpr int DATE_UTC = 1;

// Error codes stored by the operations that fail.
constexpr int DATE_ERR_KIND = 0;
constexpr int DATE_ERR_DIRECTIVE = 1;
constexpr int DATE_ERR_NUMERIC = 2;
constexpr int DATE_ERR_VALUE = 3;
constexpr int DATE_ERR_TOO_SMALL = 4;
constexpr int DATE_ERR_BEFORE_1970 = 5;

// The French text of an error code; empty outside 0-5.
std::string_view date_error_text(int code);

// The seam between the library and the platform: where "now" comes from, in
// seconds since the epoch.
using ClockSource = int64_t (*)();

// The other side of the seam: how a time value becomes local calendar time;
// false when it cannot.
using LocalTimeConversion = bool (*)(int64_t seconds, std::tm& out);

// Installs where "now" comes from. Tests replace it to fix the time; nullptr
// restores the system clock.
void set_clock_source(ClockSource clock);

// Installs how local time is computed. Tests replace it to fix the time
// zone; nullptr restores the system's.
void set_local_time_conversion(LocalTimeConversion convert);

// Fills `record` from `seconds` in local time (DATE_LOCAL) or UTC (DATE_UTC).
// Returns 0, or -1 with DATE_ERR_KIND for another kind (texts left as they
// were) or DATE_ERR_VALUE when the calendar conversion refuses the value or
// gives a year the holiday calendar cannot compute (texts left as well).
int date_set(int64_t seconds, int32_t microseconds, int kind, DateRecord& record, int& error);

// date_set for the current clock reading, microseconds 0.
int date_set_now(int kind, DateRecord& record, int& error);

// Writes `format` into `output`, "+X" directives replaced by the record's
// texts. A limit of 0 means no limit; otherwise a character is refused once
// more than `limit` are already placed. Returns 0, or -1 with
// DATE_ERR_DIRECTIVE or DATE_ERR_TOO_SMALL, `output` then holding the
// characters placed before the failure.
int format_date(DateRecord& record, std::string_view format, std::string& output, size_t limit, int& error);

// Formats the current time (selector 0: UTC, 1: local) or the time value
// `selector` (any other value, local) with the second set of directive letters
// (J M a A Q h m s, introduced by "+" or "%"). Returns the output's length.
// Each call reads the clock anew; failures are not reported.
int format_now(int64_t selector, std::string_view format, std::string& output);

// Day kinds of date_day_kind and the year calendar.
constexpr int DAY_WORKING = 0;   // Monday to Friday
constexpr int DAY_SATURDAY = 1;
constexpr int DAY_HOLIDAY = 2;   // Sunday or public holiday
constexpr int DAY_NONE = 9;      // the 366th day of a 365-day year

// Computes the day kind of the record's date and stores it in the record.
void date_day_kind(DateRecord& record);

}  // namespace datelib
