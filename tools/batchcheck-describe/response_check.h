#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "batch/response_layout.h"
#include "batch/rules.h"

// The two forms of a Response file: the full response (a header, one body
// per request body, a footer with the counts) and the two-record error
// response that carries the verification result.
enum class ResponseForm { FULL, ERROR };

// What a Response record is, by its form, its place and its code.
enum class ResponseKind { HEADER, BODY, FOOTER, ERROR_FIRST, ERROR_SECOND, OTHER };

// How many of a file's first bytes content_kind reads.
constexpr size_t RESPONSE_SIGNATURE_BYTES = 2 * batch::RECORD_LENGTH;

// What a file's first bytes say it is: a Request file, a Response file, or
// either of the two.
enum class ContentKind { REQUEST, RESPONSE, EITHER };

// What a file's first bytes (up to RESPONSE_SIGNATURE_BYTES) say it is. A
// Request file when they hold a line end, less than one whole record, or
// anything but two digits at offsets 41-42 of the first record, where a
// Response carries its header's response_code or the error response's
// verification_code. Otherwise a Response file when there is no second whole
// record, or when the second is shaped as an answer's: a body whose
// response_code is two digits, or a footer whose offsets 41-58 are the three
// counts or whose rest from offset 41 is blank. Otherwise either: a batch
// written back to back reads as such an answer with that record damaged, and
// such an answer reads as a valid batch, so the content cannot tell.
ContentKind content_kind(std::string_view first_bytes);

// The form of a Response, told by its first record: the full response's
// header carries the code 00 where the error response carries the result.
ResponseForm response_form(std::string_view first_record);

// The kind of the record at `position` (1 for the first) of a Response.
ResponseKind response_kind(ResponseForm form, int64_t position, std::string_view record);

// The kind's name in the views.
std::string_view response_kind_name(ResponseKind kind);

// The fields of a record of the kind, in file order.
std::span<const batch::Field> response_fields(ResponseKind kind);

// What became of a body record, as the views say it: accepted (code 00),
// refused, or refused without a reply block (code 14).
namespace outcome {
constexpr std::string_view ACCEPTED = "accepted";
constexpr std::string_view REFUSED = "refused";
constexpr std::string_view REFUSED_WITHOUT_REPLY = "refused without a reply block";
}  // namespace outcome

// The outcome of a body record.
std::string_view body_outcome(std::string_view record);

// What the Response's rules keep from record to record.
struct ResponseCheck {
  ResponseForm form = ResponseForm::FULL;
  int64_t records = 0;
  int64_t bodies = 0;
  int64_t accepted = 0;
  int64_t refused = 0;
};

// Checks the record at `position` against the Response's own rules, `last`
// when no record follows it, and appends its findings to `found`. Records
// come in file order, each once.
void check_response_record(ResponseCheck& check, int64_t position, std::string_view record, bool last,
                           std::vector<batch::Finding>& found);

// Appends the findings on the whole file, once every record is checked.
void finish_response_check(const ResponseCheck& check, std::vector<batch::Finding>& on_file);
