#include "date/date.h"

#include <array>
#include <string>
#include <ctime>

#include "date/calendar.h"
#include "platform/clock.h"

namespace datelib {

namespace {

// Where "now" and local time come from; nullptr means the system's.
ClockSource g_clock = nullptr;
LocalTimeConversion g_local_conversion = nullptr;

// The record format_now last filled for one kind, and the second it holds.
struct FilledRecordCache {
  bool valid = false;
  int64_t seconds = 0;
  DateRecord record;
};

// The record format_now last filled for each kind. Both stamps of a response
// record, and the records around it, nearly always fall in the same second,
// so the time-zone work and its digit texts are done once per second instead
// of per stamp. The texts formatted from it are not kept: what is composed
// from them is kept where it is composed (the Response writer's reply
// blocks).
std::array<FilledRecordCache, 2> g_filled_record_cache;

// Drops the records filled, once the clock or the local time is replaced.
void forget_filled_records() {
  for (FilledRecordCache& entry : g_filled_record_cache) entry.valid = false;
}

// The system clock in whole seconds since the epoch. time() reads whole
// seconds without the finer clock's work, which counts at two readings per
// answered record; every platform the tools run on counts time_t this way.
int64_t system_clock_seconds() { return static_cast<int64_t>(std::time(nullptr)); }

// The current clock reading, from the installed source or the system.
int64_t clock_seconds() { return g_clock ? g_clock() : system_clock_seconds(); }

// Converts to calendar time of the conversion kind (DATE_LOCAL or DATE_UTC).
bool convert_time(int64_t seconds, int kind, std::tm& out) {
  if (kind == DATE_UTC) return to_utc_time(seconds, out);
  LocalTimeConversion convert = g_local_conversion ? g_local_conversion : to_local_time;
  return convert(seconds, out);
}

// Sets `error` to `code` and gives the -1 by which the library's calls say
// they failed.
int failed(int& error, int code) {
  error = code;
  return -1;
}

// Appends `value` as decimal digits, at least `min_digits` of them after the
// sign (printf's "%.Nd").
void append_decimal(std::string& out, int64_t value, int min_digits) {
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (value < 0) out.push_back('-');
  int digits = 1;
  uint64_t power = 1;
  while (magnitude / power >= 10) {
    power *= 10;
    ++digits;
  }
  for (; digits < min_digits; ++digits) out.push_back('0');
  for (; power != 0; power /= 10) out.push_back(static_cast<char>('0' + magnitude / power % 10));
}

// Replaces a record field by `value` zero-padded to `width` characters, sign
// included (printf's "%0Nd").
void set_field(std::string& field, int64_t value, int width) {
  field.clear();
  append_decimal(field, value, value < 0 ? width - 1 : width);
}

// The names the directives give, in French, and the texts of the error codes.
constexpr std::array<std::string_view, 7> WEEKDAY_NAMES = {
    "Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"};
constexpr std::array<std::string_view, 12> MONTH_NAMES = {
    "Janvier", "Fevrier", "Mars",      "Avril",   "Mai",      "Juin",
    "Juillet", "Aout",    "Septembre", "Octobre", "Novembre", "Decembre"};
constexpr std::array<std::string_view, 3> DAY_KIND_NAMES = {"OUVRE", "OUVRABLE", "FERIE"};
constexpr std::array<std::string_view, 6> ERROR_TEXTS = {
    "Parametre type de date incorrect", "Directive de formatage incorrecte",
    "Erreur de numericite",             "Valeur incorrecte",
    "Buffer destination trop petit",    "Annee inferieure a 1970"};

// Reads a record field as a decimal number (sign allowed); false when it is
// not one or has more digits than any field date_set writes.
bool parse_field(std::string_view text, int64_t& value) {
  size_t i = 0;
  bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  if (i == text.size() || text.size() - i > 16) return false;
  value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  return true;
}

// The entry of `names` selected by a one-digit field, or "" when out of range.
template <size_t N>
std::string_view name_by_digit(const std::array<std::string_view, N>& names, std::string_view field, int first) {
  int64_t index = 0;
  if (!parse_field(field, index) || index < first || index - first >= static_cast<int64_t>(N)) return {};
  return names[static_cast<size_t>(index - first)];
}

// Places characters into the output under the caller's limit. The limit is
// checked before each character against the count already placed, so a limit
// of n lets n + 1 characters through: callers size their areas for that.
struct Placer {
  std::string& output;
  size_t limit;
  size_t placed = 0;

  bool place(char c) {
    if (limit != 0 && placed > limit) return false;
    output.push_back(c);
    ++placed;
    return true;
  }
  bool place(std::string_view text) {
    for (char c : text)
      if (!place(c)) return false;
    return true;
  }
};

// The format_now letter for a format_date directive letter, or the letter
// itself when the two sets agree.
char translate_now_letter(char letter) {
  switch (letter) {
    case 'J': return 'd';
    case 'M': return 'm';
    case 'a': return 'Y';
    case 'A': return 'y';
    case 'Q': return 'j';
    case 'h': return 'H';
    case 'm': return 'M';
    case 's': return 'S';
    default: return letter;
  }
}

// Places one directive's text. Returns 0, DATE_ERR_DIRECTIVE or
// DATE_ERR_TOO_SMALL.
int place_directive(DateRecord& record, char letter, Placer& out) {
  std::string_view text;
  switch (letter) {
    case '1': {
      std::string millis;  // a few digits: stays in the small-string buffer
      append_decimal(millis, record.microseconds / 1000, 3);
      return out.place(millis) ? 0 : DATE_ERR_TOO_SMALL;
    }
    case '2':
    case '3':
      if (record.day_kind.empty()) date_day_kind(record);
      text = letter == '2' ? std::string_view(record.day_kind) : name_by_digit(DAY_KIND_NAMES, record.day_kind, 0);
      break;
    case 'A': text = name_by_digit(WEEKDAY_NAMES, record.weekday, 0); break;
    case 'B': text = name_by_digit(MONTH_NAMES, record.month, 1); break;
    case 'C': text = record.century; break;
    case 'H': text = record.hour; break;
    case 'M': text = record.minute; break;
    case 'S': text = record.second; break;
    case 'Y':
      if (!out.place(record.century)) return DATE_ERR_TOO_SMALL;
      text = record.year_in_century;
      break;
    case 'd': text = record.day; break;
    case 'j': text = record.day_of_year; break;
    case 'm': text = record.month; break;
    case 'y': text = record.year_in_century; break;
    default: return DATE_ERR_DIRECTIVE;
  }
  return out.place(text) ? 0 : DATE_ERR_TOO_SMALL;
}

// The formatter behind format_date and format_now. With `now_letters`, "%"
// introduces a directive as well as "+", and the letters of format_now are
// translated on the way, which is the same as rewriting the format first but
// needs no second string.
int run_format(DateRecord& record, std::string_view format, std::string& output, size_t limit, int& error,
               bool now_letters) {
  output.clear();
  Placer out{output, limit};
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    bool introducer = c == '+' || (now_letters && c == '%');
    int code = 0;
    if (!introducer) {
      if (!out.place(c)) code = DATE_ERR_TOO_SMALL;
    } else if (i + 1 == format.size()) {
      code = DATE_ERR_DIRECTIVE;
    } else {
      ++i;
      char letter = now_letters ? translate_now_letter(format[i]) : format[i];
      code = place_directive(record, letter, out);
    }
    if (code != 0) return failed(error, code);
  }
  return 0;
}

}  // namespace

std::string_view date_error_text(int code) {
  if (code < 0 || code >= static_cast<int>(ERROR_TEXTS.size())) return {};
  return ERROR_TEXTS[static_cast<size_t>(code)];
}

void set_clock_source(ClockSource clock) {
  g_clock = clock;
  forget_filled_records();
}

void set_local_time_conversion(LocalTimeConversion convert) {
  g_local_conversion = convert;
  forget_filled_records();
}

int date_set(int64_t seconds, int32_t microseconds, int kind, DateRecord& record, int& error) {
  record.seconds = seconds;
  record.microseconds = microseconds;
  record.day_kind.clear();
  if (kind != DATE_LOCAL && kind != DATE_UTC) return failed(error, DATE_ERR_KIND);
  std::tm calendar{};
  if (!convert_time(seconds, kind, calendar)) return failed(error, DATE_ERR_VALUE);
  // The day kind of any record that holds a date must be computable, so a
  // year beyond the calendar's reach is refused like an unconvertible value.
  int64_t year = int64_t{calendar.tm_year} + 1900;
  if (!calendar_covers_year(year)) return failed(error, DATE_ERR_VALUE);
  set_field(record.second, calendar.tm_sec, 2);
  set_field(record.minute, calendar.tm_min, 2);
  set_field(record.hour, calendar.tm_hour, 2);
  set_field(record.day, calendar.tm_mday, 2);
  set_field(record.month, int64_t{calendar.tm_mon} + 1, 2);
  set_field(record.year_in_century, year % 100, 2);
  set_field(record.century, year / 100, 2);
  set_field(record.weekday, calendar.tm_wday, 1);
  set_field(record.day_of_year, int64_t{calendar.tm_yday} + 1, 3);
  set_field(record.daylight_saving, calendar.tm_isdst > 0 ? 1 : 0, 1);
  return 0;
}

int date_set_now(int kind, DateRecord& record, int& error) {
  return date_set(clock_seconds(), 0, kind, record, error);
}

int format_date(DateRecord& record, std::string_view format, std::string& output, size_t limit, int& error) {
  return run_format(record, format, output, limit, error, false);
}

int format_now(int64_t selector, std::string_view format, std::string& output) {
  int kind = selector == 0 ? DATE_UTC : DATE_LOCAL;
  int64_t seconds = selector == 0 || selector == 1 ? clock_seconds() : selector;
  FilledRecordCache& filled = g_filled_record_cache[static_cast<size_t>(kind)];
  int error = 0;
  // Results are ignored on purpose: callers only want the text, and a failed
  // fill or directive leaves whatever was placed before it.
  if (!filled.valid || filled.seconds != seconds) {
    filled.record = DateRecord{};
    date_set(seconds, 0, kind, filled.record, error);
    filled.seconds = seconds;
    filled.valid = true;
  }
  // A directive may fill a field of the record on first use (the day kind),
  // so the same format on the same record always gives the same text.
  run_format(filled.record, format, output, 250, error, true);
  return static_cast<int>(output.size());
}

void date_day_kind(DateRecord& record) {
  int64_t century = 0;
  int64_t year_in_century = 0;
  int64_t day_of_year = 0;
  if (!parse_field(record.century, century) || !parse_field(record.year_in_century, year_in_century) ||
      !parse_field(record.day_of_year, day_of_year) || day_of_year < 1 || day_of_year > 366 ||
      !calendar_covers_year(century * 100 + year_in_century)) {
    set_field(record.day_kind, DAY_NONE, 1);
    return;
  }
  build_year_calendar(static_cast<int>(century * 100 + year_in_century));
  set_field(record.day_kind, year_calendar()[static_cast<size_t>(day_of_year - 1)], 1);
}

}  // namespace datelib
