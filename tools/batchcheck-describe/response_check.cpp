#include "response_check.h"

#include <algorithm>

#include "batch/record_json.h"
#include "batch/verification_result.h"
#include "date/calendar.h"
#include "support/escaped_text.h"

using namespace batch;

namespace {

// True for a decimal digit.
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True when `text` holds `width` characters, all digits.
bool digits(std::string_view text, size_t width) {
  return text.size() == width && std::all_of(text.begin(), text.end(), is_digit);
}

// True when `text` is all blanks (so true for empty text).
bool blank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// The number that two digits write.
int two_digits(std::string_view text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

// True for a real calendar date written DDMMYYYY.
bool is_real_date(std::string_view text) {
  if (!digits(text, 8)) return false;
  int day = two_digits(text.substr(0, 2));
  int month = two_digits(text.substr(2, 2));
  int year = two_digits(text.substr(4, 2)) * 100 + two_digits(text.substr(6, 2));
  if (month < 1 || month > 12 || day < 1) return false;
  static constexpr int DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return day <= DAYS[month - 1] + (month == 2 && datelib::is_leap_year(year) ? 1 : 0);
}

// True for a time of day written HHMMSS, 000000 to 235959.
bool is_real_time(std::string_view text) {
  return digits(text, 6) && two_digits(text.substr(0, 2)) < 24 && two_digits(text.substr(2, 2)) < 60 &&
         two_digits(text.substr(4, 2)) < 60;
}

// `count` followed by `noun`, in the plural unless the count is 1.
std::string counted(int64_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

// A value inside a finding's text: between quotes, escaped as the text view
// escapes it, so that the text stays one line of printable characters.
std::string quoted(std::string_view text) {
  std::string out;
  append_quoted(out, text);
  return out;
}

// Appends the finding of `rule` on `field`.
void add(std::vector<Finding>& found, std::string_view rule, std::string text, const Field& field) {
  found.push_back({rule, std::move(text), field});
}

// The rules of one body record: its code, its reply block, and what the
// block holds for that code. A blank block where one belongs draws one
// finding, not one per field it lacks.
void check_body(std::string_view record, std::vector<Finding>& found) {
  std::string_view code = field_of(record, response::RESPONSE_CODE);
  std::string_view block = field_of(record, response::REPLY_BLOCK);
  if (code == response::CODE_NO_REPLY) {
    if (!blank(block))
      add(found, rule::REPLY_BLOCK_WITH_CODE_14, "response code 14 comes without a reply block, but this one is filled",
          response::REPLY_BLOCK);
    return;
  }
  if (blank(block)) {
    add(found, rule::REPLY_BLOCK_MISSING, "response code " + quoted(code) + " needs a reply block, but it is blank",
        response::REPLY_BLOCK);
    return;
  }
  std::string_view repeat = field_of(record, response::RESPONSE_CODE_REPEAT);
  if (repeat != code)
    add(found, rule::RESPONSE_CODE_REPEAT_DIFFERS,
        "response_code_repeat " + quoted(repeat) + " is not the response_code " + quoted(code),
        response::RESPONSE_CODE_REPEAT);
  bool accepted = code == response::CODE_ACCEPTED;
  for (const Field& field : {response::AUTHORISATION_NUMBER, response::APPROVAL_REFERENCE}) {
    bool filled = !blank(field_of(record, field));
    if (accepted && !filled)
      add(found, rule::AUTHORISATION_MISSING, std::string(field.name) + " is blank for an accepted body (code 00)",
          field);
    if (!accepted && filled)
      add(found, rule::AUTHORISATION_UNEXPECTED,
          std::string(field.name) + " is filled for a refused body (code " + quoted(code) + ")", field);
  }
  std::string_view date = field_of(record, response::RESPONSE_DATE);
  if (!is_real_date(date))
    add(found, rule::RESPONSE_DATE_INVALID, "response_date " + quoted(date) + " is not a date DDMMYYYY",
        response::RESPONSE_DATE);
  std::string_view time = field_of(record, response::RESPONSE_TIME);
  if (!is_real_time(time))
    add(found, rule::RESPONSE_TIME_INVALID, "response_time " + quoted(time) + " is not a time HHMMSS",
        response::RESPONSE_TIME);
}

// The footer's three counts against what the bodies held.
void check_counts(const ResponseCheck& check, std::string_view record, std::vector<Finding>& found) {
  struct Count {
    const Field& field;
    std::string_view rule;
    int64_t value;
    std::string what;
  };
  auto are = [](int64_t count, std::string_view what) {
    return counted(count, "body record") + (count == 1 ? " is " : " are ") + std::string(what);
  };
  const Count counts[] = {
      {response::BODY_COUNT, rule::BODY_COUNT_DIFFERS, check.bodies,
       "the file holds " + counted(check.bodies, "body record")},
      {response::ACCEPTED_COUNT, rule::ACCEPTED_COUNT_DIFFERS, check.accepted, are(check.accepted, "accepted")},
      {response::REFUSED_COUNT, rule::REFUSED_COUNT_DIFFERS, check.refused, are(check.refused, "refused")},
  };
  for (const Count& count : counts) {
    std::string_view written = field_of(record, count.field);
    if (written != zero_padded(count.value, count.field.width))
      add(found, count.rule, std::string(count.field.name) + " is " + quoted(written) + ", but " + count.what,
          count.field);
  }
}

// The rules of the record at `position` of a full response: a header
// first, bodies between, a footer last whose counts are the bodies'.
void check_full_record(ResponseCheck& check, int64_t position, std::string_view record, bool last,
                       std::vector<Finding>& found) {
  std::string_view code = field_of(record, response::RECORD_CODE);
  if (position == 1) {
    if (code != response::HEADER_CODE)
      add(found, rule::FIRST_RECORD_NOT_HEADER, "the first record's code is " + quoted(code) + ", not \"00\"",
          response::RECORD_CODE);
    return;
  }
  if (last && code != response::FOOTER_CODE)
    add(found, rule::LAST_RECORD_NOT_FOOTER, "the last record's code is " + quoted(code) + ", not \"09\"",
        response::RECORD_CODE);
  if (!last && code != response::BODY_CODE)
    add(found, rule::RECORD_NOT_BODY, "a record between the header and the footer has the code " + quoted(code) +
                                          ", not \"03\"",
        response::RECORD_CODE);
  // A record cut short holds only part of its fields: its length is its fault.
  bool whole = record.size() == RECORD_LENGTH;
  if (code == response::BODY_CODE) {
    ++check.bodies;
    if (field_of(record, response::RESPONSE_CODE) == response::CODE_ACCEPTED)
      ++check.accepted;
    else
      ++check.refused;
    if (whole) check_body(record, found);
  } else if (last && code == response::FOOTER_CODE && whole) {
    check_counts(check, record, found);
  }
}

// The rules of the record at `position` of an error response: a known
// result in the first, a footer second, nothing after.
void check_error_record(int64_t position, std::string_view record, std::vector<Finding>& found) {
  if (position == 1) {
    std::string_view result = field_of(record, response::VERIFICATION_CODE);
    if (result_code_of_digits(result) < 0)
      add(found, rule::VERIFICATION_CODE_UNKNOWN,
          "verification_code " + quoted(result) + " is no verification result (01 to 04)", response::VERIFICATION_CODE);
  } else if (position == 2) {
    std::string_view code = field_of(record, response::RECORD_CODE);
    if (code != response::FOOTER_CODE)
      add(found, rule::LAST_RECORD_NOT_FOOTER,
          "the second record of an error response has the code " + quoted(code) + ", not \"09\"",
          response::RECORD_CODE);
  } else {
    found.push_back({rule::RECORD_AFTER_FOOTER, "an error response ends after its second record", std::nullopt});
  }
}

// True when the second record of a file is shaped as an answer's: a body
// whose response_code is two digits, or a footer whose offsets 41-58 are the
// three counts or whose rest from offset 41 is blank.
bool shaped_as_answer(std::string_view second) {
  std::string_view code = field_of(second, response::RECORD_CODE);
  if (code == response::BODY_CODE) return digits(field_of(second, response::RESPONSE_CODE), 2);
  if (code != response::FOOTER_CODE) return false;
  constexpr Field COUNTS = spanning("counts", response::BODY_COUNT, response::REFUSED_COUNT);
  return digits(field_of(second, COUNTS), COUNTS.width) || blank(second.substr(response::BODY_COUNT.offset));
}

}  // namespace

ContentKind content_kind(std::string_view first_bytes) {
  if (first_bytes.size() < RECORD_LENGTH || first_bytes.find('\n') != std::string_view::npos)
    return ContentKind::REQUEST;
  std::string_view first = first_bytes.substr(0, RECORD_LENGTH);
  if (!digits(field_of(first, response::HEADER_RESPONSE_CODE), 2)) return ContentKind::REQUEST;
  if (first_bytes.size() < 2 * RECORD_LENGTH || shaped_as_answer(first_bytes.substr(RECORD_LENGTH, RECORD_LENGTH)))
    return ContentKind::RESPONSE;
  return ContentKind::EITHER;
}

ResponseForm response_form(std::string_view first_record) {
  return field_of(first_record, response::HEADER_RESPONSE_CODE) == response::CODE_ACCEPTED ? ResponseForm::FULL
                                                                                           : ResponseForm::ERROR;
}

ResponseKind response_kind(ResponseForm form, int64_t position, std::string_view record) {
  std::string_view code = field_of(record, response::RECORD_CODE);
  if (form == ResponseForm::ERROR) {
    if (position == 1) return ResponseKind::ERROR_FIRST;
    if (position == 2 && code == response::FOOTER_CODE) return ResponseKind::ERROR_SECOND;
    return ResponseKind::OTHER;
  }
  if (code == response::HEADER_CODE) return ResponseKind::HEADER;
  if (code == response::BODY_CODE) return ResponseKind::BODY;
  if (code == response::FOOTER_CODE) return ResponseKind::FOOTER;
  return ResponseKind::OTHER;
}

namespace {

// Each kind of Response record, in ResponseKind's order: its name in the
// JSON Lines and the fields it is shown by.
struct ResponseKindShape {
  std::string_view name;
  std::span<const Field> fields;
};
const ResponseKindShape RESPONSE_KIND_SHAPES[] = {
    {json_kind::HEADER, response::HEADER_FIELDS},
    {json_kind::BODY, response::BODY_FIELDS},
    {json_kind::FOOTER, response::FOOTER_FIELDS},
    {json_kind::ERROR_FIRST, response::ERROR_FIRST_FIELDS},
    {json_kind::ERROR_SECOND, response::ERROR_SECOND_FIELDS},
    {json_kind::OTHER, request::OTHER_FIELDS},
};

}  // namespace

std::string_view response_kind_name(ResponseKind kind) { return RESPONSE_KIND_SHAPES[static_cast<int>(kind)].name; }

std::span<const Field> response_fields(ResponseKind kind) { return RESPONSE_KIND_SHAPES[static_cast<int>(kind)].fields; }

std::string_view body_outcome(std::string_view record) {
  std::string_view code = field_of(record, response::RESPONSE_CODE);
  if (code == response::CODE_ACCEPTED) return outcome::ACCEPTED;
  if (code == response::CODE_NO_REPLY) return outcome::REFUSED_WITHOUT_REPLY;
  return outcome::REFUSED;
}

void check_response_record(ResponseCheck& check, int64_t position, std::string_view record, bool last,
                           std::vector<Finding>& found) {
  ++check.records;
  if (record.size() < RECORD_LENGTH)
    found.push_back({rule::RECORD_CUT_SHORT,
                     "the record is cut short: " + counted(static_cast<int64_t>(record.size()), "character") +
                         " instead of 200",
                     std::nullopt});
  if (check.form == ResponseForm::FULL)
    check_full_record(check, position, record, last, found);
  else
    check_error_record(position, record, found);
}

void finish_response_check(const ResponseCheck& check, std::vector<Finding>& on_file) {
  if (check.records < 2)
    on_file.push_back({rule::FOOTER_MISSING,
                       "the file ends after " + counted(check.records, "record") + ", before its footer record",
                       std::nullopt});
}
