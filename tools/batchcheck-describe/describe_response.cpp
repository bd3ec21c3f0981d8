#include "describe_response.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "batch/messages.h"
#include "batch/record_json.h"
#include "batch/record_reader.h"
#include "batch/response_layout.h"
#include "batch/verification_result.h"
#include "description.h"
#include "junit_report.h"
#include "platform/files.h"
#include "record_view.h"
#include "response_check.h"
#include "response_pairing.h"

using namespace batch;
using namespace support;

namespace {

// The width of the name column: the longest name of any Response record.
size_t response_name_column() {
  return name_column({response::HEADER_FIELDS, response::BODY_FIELDS, response::FOOTER_FIELDS,
                      response::ERROR_FIRST_FIELDS, response::ERROR_SECOND_FIELDS, request::OTHER_FIELDS});
}

// What a record of `kind` shows beside its kind: a body's outcome, or the
// meaning of the result an error response carries.
std::string_view outcome_of(ResponseKind kind, std::string_view record) {
  if (kind == ResponseKind::BODY) return body_outcome(record);
  if (kind != ResponseKind::ERROR_FIRST) return {};
  return result_code_meaning(result_code_of_digits(field_of(record, response::VERIFICATION_CODE)));
}

// The end of a Response's description: its counts, and the result 0 (no
// rule broken), 1 (a rule broken) or 2 (the file unreadable).
Closing response_closing(const DescribeOptions& options, const ResponseCheck& check, int result) {
  bool full = check.form == ResponseForm::FULL;
  Closing closing;
  closing.layout = json_layout::RESPONSE;
  closing.form = full ? json_layout::FULL : json_layout::ERROR;
  closing.result = result;
  closing.meaning = result == 0 ? "valid response" : result == 1 ? "invalid response" : "file unreadable";
  closing.summary = full ? "\nresponse: " : "\nerror response: ";
  closing.summary += std::to_string(check.records) + " records";
  if (full)
    closing.summary += ", " + std::to_string(check.bodies) + " body records, " + std::to_string(check.accepted) +
                       " accepted, " + std::to_string(check.refused) + " refused";
  closing.summary += "\n\n";
  closing.counts = {{{json_count::RECORDS, check.records},
                     {json_count::BODY_RECORDS, check.bodies},
                     {json_count::ACCEPTED, check.accepted},
                     {json_count::REFUSED, check.refused}}};
  if (options.paired_request) closing.note = " (against the request file " + *options.paired_request + ")";
  closing.paired_request = options.paired_request;
  return closing;
}

// Opens what the description reads beside the Response: the paired Request
// and the report's file. False (the message in *err) when one cannot be opened.
bool open_companions(const DescribeOptions& options, std::optional<Pairing>& pairing,
                     std::optional<JunitReport>& junit, std::string* err) {
  if (options.paired_request && !open_pairing(*options.paired_request, pairing.emplace())) {
    if (pairing->file) std::fclose(pairing->file);
    *err = message_text(Message::CANNOT_READ_FILE, {*options.paired_request});
    return false;
  }
  if (options.junit_file && !open_junit_report(*options.junit_file, options.file, junit.emplace())) {
    if (pairing) std::fclose(pairing->file);
    *err = message_text(Message::CANNOT_WRITE_FILE, {*options.junit_file});
    return false;
  }
  return true;
}

// What the reading of the Response found.
struct Checked {
  ResponseCheck check;
  bool any_finding = false;
};

// The Response's records, each checked against the Response's rules (and
// its Request's, with a pairing) as it is read.
RecordSource response_records(RecordReader& reader, std::optional<Pairing>& pairing, Checked& checked) {
  RecordSource source;
  source.next = [&reader](std::string& record) { return read_fixed_record(reader, record); };
  source.examine = [&reader, &pairing, &checked](int64_t position, std::string_view record,
                                                 std::vector<Finding>& found, ShownRecord& shown) {
    ResponseCheck& check = checked.check;
    if (position == 1) check.form = response_form(record);
    bool last = at_end(reader);
    ResponseKind kind = response_kind(check.form, position, record);
    found.clear();
    check_response_record(check, position, record, last, found);
    if (pairing) pair_response_record(*pairing, kind, record, found);
    checked.any_finding = checked.any_finding || !found.empty();
    // No line end: a Response is read in blocks of 200.
    shown.kind = response_kind_name(kind);
    shown.fields = response_fields(kind);
    shown.outcome = outcome_of(kind, record);
    // The text view names the code a body is refused with.
    if (shown.outcome == outcome::REFUSED) shown.refusal_code = field_of(record, response::RESPONSE_CODE);
    return true;
  };
  source.reads_all = true;
  source.name_column = response_name_column();
  return source;
}

}  // namespace

bool describes_response(const DescribeOptions& options, bool* response, std::string* err) {
  *response = options.layout == DescribeOptions::Layout::RESPONSE;
  if (options.layout != DescribeOptions::Layout::BY_CONTENT) return true;
  FILE* file = open_for_reading(options.file);
  if (!file) return true;
  char first[RESPONSE_SIGNATURE_BYTES];
  size_t got = std::fread(first, 1, sizeof first, file);
  std::fclose(file);
  ContentKind kind = content_kind({first, got});
  if (kind == ContentKind::EITHER && !options.paired_request) {
    *err = "the file " + options.file +
           " could be a Request or a Response file (records back to back, two digits at offsets 41-42): "
           "give --as request or --as response";
    return false;
  }
  *response = kind != ContentKind::REQUEST;
  return true;
}

bool describe_response_file(const DescribeOptions& options, BlockWriter& out, Verdict* verdict, std::string* err) {
  RecordReader reader = make_record_reader(open_for_reading(options.file));
  if (!reader.file) {
    // As for a Request: the reason is a finding on the whole file.
    std::vector<Finding> on_file{{rule::FILE_UNREADABLE, message_text(Message::CANNOT_READ_FILE, {options.file}), {}}};
    close_description(options, response_closing(options, ResponseCheck{}, 2), on_file, nullptr, out, err);
    *verdict = Verdict::FILE_FAILED;
    return true;
  }
  std::optional<Pairing> pairing;
  std::optional<JunitReport> junit;
  if (!open_companions(options, pairing, junit, err)) {
    std::fclose(reader.file);
    return false;
  }
  Checked checked;
  RecordSource source = response_records(reader, pairing, checked);
  show_records(options, source, junit ? &*junit : nullptr, out);
  bool read_whole = !reader.failed;
  std::fclose(reader.file);
  std::vector<Finding> on_file;
  finish_response_check(checked.check, on_file);
  bool request_whole = !pairing || finish_pairing(*pairing, checked.check.form, on_file);
  if (!read_whole || !request_whole) {
    *err = message_text(Message::CANNOT_READ_FILE, {!read_whole ? options.file : *options.paired_request});
    if (junit) discard_junit_report(*junit);
    return false;
  }
  int result = checked.any_finding || !on_file.empty() ? 1 : 0;
  if (!close_description(options, response_closing(options, checked.check, result), on_file,
                         junit ? &*junit : nullptr, out, err))
    return false;
  *verdict = result == 0 ? Verdict::NO_RULE_BROKEN : Verdict::RULE_BROKEN;
  return true;
}
