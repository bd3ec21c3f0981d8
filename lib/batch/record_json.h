#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "batch/request_layout.h"

namespace batch {

// The shape of batchcheck-describe's JSON Lines, which batchcheck-make reads
// back into a batch: one object a record, then a closing object. Both
// programs take the names from here, so that the one never writes what the
// other cannot read.

// The kinds of record, as a record's "kind" names them.
namespace json_kind {
constexpr std::string_view HEADER = "header";
constexpr std::string_view BODY = "body";
constexpr std::string_view FOOTER = "footer";
constexpr std::string_view OTHER = "other";
constexpr std::string_view ERROR_FIRST = "error_first";  // the two records of a Response's error response
constexpr std::string_view ERROR_SECOND = "error_second";
}  // namespace json_kind

// The members of the objects, in the order describe writes them.
namespace json_member {
// A record's: its position from 1, its kind, its length in characters, a
// Request record's line end, its fields by name in file order, a Response
// body's outcome, the findings on it.
constexpr std::string_view RECORD = "record";
constexpr std::string_view KIND = "kind";
constexpr std::string_view LENGTH = "length";
constexpr std::string_view LINE_END = "line_end";
constexpr std::string_view FIELDS = "fields";
constexpr std::string_view OUTCOME = "outcome";
constexpr std::string_view FINDINGS = "findings";
// A finding's: its rule, its text, and the field it concerns by name,
// offset and length.
constexpr std::string_view RULE = "rule";
constexpr std::string_view TEXT = "text";
constexpr std::string_view FIELD = "field";
constexpr std::string_view OFFSET = "offset";
// The closing object's: the layout described, a Response's form, the
// result, the findings on the whole file, the counts (null when the file
// could not be read), whether a Request's file number was checked, the
// Request a Response was paired with.
constexpr std::string_view LAYOUT = "layout";
constexpr std::string_view FORM = "form";
constexpr std::string_view RESULT = "result";
constexpr std::string_view COUNTS = "counts";
constexpr std::string_view FILE_NUMBER_CHECKED = "file_number_checked";
constexpr std::string_view REQUEST = "request";
}  // namespace json_member

// The counts of the closing object's "counts": a Request's, as batchcheck
// prints its summary, and a Response's.
namespace json_count {
constexpr std::string_view FILE_NUMBER = "file_number";
constexpr std::string_view RECORDS = "records";
constexpr std::string_view ERRORS = "errors";
constexpr std::string_view HEADER_RECORDS = "header_records";
constexpr std::string_view FOOTER_RECORDS = "footer_records";
constexpr std::string_view BODY_RECORDS = "body_records";
constexpr std::string_view ACCEPTED = "accepted";
constexpr std::string_view REFUSED = "refused";
}  // namespace json_count

// The closing object's "layout", and a Response's "form": the full
// response, or the error response.
namespace json_layout {
constexpr std::string_view REQUEST = "request";
constexpr std::string_view RESPONSE = "response";
constexpr std::string_view FULL = "full";
constexpr std::string_view ERROR = "error";
}  // namespace json_layout

// The line ends a Request record's "line_end" may hold.
constexpr std::array<std::string_view, 3> JSON_LINE_ENDS{"\r\n", "\n", ""};

// A kind of Request record as the JSON Lines give it: its name, and the
// fields its "fields" names.
struct JsonKind {
  std::string_view name;
  RecordKind kind;
  std::span<const Field> fields;
};

// The JSON shape of a Request record of `kind`.
const JsonKind& request_json_kind(RecordKind kind);

// The kind of Request record that `name` names; nullptr for none.
const JsonKind* request_json_kind_named(std::string_view name);

// The names of the kinds of Request record, as a message lists them:
// "header, body, footer and other".
std::string request_json_kind_list();

}  // namespace batch
