#include "describe_response.h"

#include <optional>
#include <string>
#include <vector>

#include "junit_report.h"
#include "batch/messages.h"
#include "platform/files.h"
#include "batch/record_reader.h"
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
  std::string_view code = field_of(record, response::VERIFICATION_CODE);
  bool known = code.size() == 2 && code[0] == '0' && code[1] >= '1' && code[1] <= '4';
  return known ? result_meaning(code[1] - '0') : result_meaning(-1);
}

// The end of either view: the counts, the findings on the whole file, the result.
void show_end(BlockWriter& out, const DescribeOptions& options, const ResponseCheck& check,
              const std::vector<Finding>& on_file, int result) {
  bool full = check.form == ResponseForm::FULL;
  std::string_view meaning = result == 0 ? "valid response" : result == 1 ? "invalid response" : "file unreadable";
  if (options.json) {
    Json findings = Json::array();
    for (const Finding& finding : on_file) findings.push_back(finding_json(finding));
    Json end = {{"layout", "response"},
                {"form", full ? "full" : "error"},
                {"result", result},
                {"findings", std::move(findings)},
                {"counts",
                 {{"records", check.records},
                  {"body_records", check.bodies},
                  {"accepted", check.accepted},
                  {"refused", check.refused}}},
                {"request", options.paired_request ? Json(latin1_to_utf8(*options.paired_request)) : Json(nullptr)}};
    write_bytes(out, end.dump() + "\n");
    return;
  }
  std::string text = full ? "\nresponse: " : "\nerror response: ";
  text += std::to_string(check.records) + " records";
  if (full)
    text += ", " + std::to_string(check.bodies) + " body records, " + std::to_string(check.accepted) + " accepted, " +
            std::to_string(check.refused) + " refused";
  text += "\n\n";
  for (const Finding& finding : on_file) append_marked(text, finding.text, "");
  text += "result " + std::to_string(result) + ": " + std::string(meaning);
  if (options.paired_request) text += " (against the request file " + *options.paired_request + ")";
  text += "\n";
  write_bytes(out, text);
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
  if (options.junit_file && !open_junit_report(*options.junit_file, options.request_file, junit.emplace())) {
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

// Reads the Response record by record, checks each and shows those asked for.
void check_records(const DescribeOptions& options, RecordReader& reader, std::optional<Pairing>& pairing,
                   std::optional<JunitReport>& junit, BlockWriter& out, Checked& checked) {
  ResponseCheck& check = checked.check;
  JsonRecords views;
  size_t column = response_name_column();
  std::string record;
  std::string text;
  std::vector<Finding> found;
  for (int64_t position = 1; read_fixed_record(reader, record); ++position) {
    if (position == 1) check.form = response_form(record);
    bool last = at_end(reader);
    ResponseKind kind = response_kind(check.form, position, record);
    found.clear();
    check_response_record(check, position, record, last, found);
    if (pairing) pair_response_record(*pairing, kind, record, found);
    checked.any_finding = checked.any_finding || !found.empty();
    if (junit) report_record(*junit, position, record, found);
    if (position < options.first_record || position > options.last_record) continue;
    if (options.only_findings && found.empty()) continue;
    ShownRecord shown{position, response_kind_name(kind), record, response_fields(kind), outcome_of(kind, record),
                      found, std::nullopt};  // a Response is read in blocks of 200: no line ends
    text.clear();
    if (options.json) {
      append_json_record(text, views, shown);
    } else {
      // The text view names the code a body is refused with.
      std::string outcome(shown.outcome);
      if (shown.outcome == "refused") outcome += " with code " + std::string(field_of(record, response::RESPONSE_CODE));
      shown.outcome = outcome;
      append_text_record(text, shown, column);
    }
    write_bytes(out, text);
  }
}

}  // namespace

bool describes_response(const DescribeOptions& options, bool* response, std::string* err) {
  *response = options.layout == DescribeOptions::Layout::RESPONSE;
  if (options.layout != DescribeOptions::Layout::BY_CONTENT) return true;
  FILE* file = open_for_reading(options.request_file);
  if (!file) return true;
  char first[RESPONSE_SIGNATURE_BYTES];
  size_t got = std::fread(first, 1, sizeof first, file);
  std::fclose(file);
  ContentKind kind = content_kind({first, got});
  if (kind == ContentKind::EITHER && !options.paired_request) {
    *err = "the file " + options.request_file +
           " could be a Request or a Response file (records back to back, two digits at offsets 41-42): "
           "give --as request or --as response";
    return false;
  }
  *response = kind != ContentKind::REQUEST;
  return true;
}

bool describe_response_file(const DescribeOptions& options, BlockWriter& out, Verdict* verdict, std::string* err) {
  RecordReader reader = make_record_reader(open_for_reading(options.request_file));
  if (!reader.file) {
    // As for a Request: the reason is a finding on the whole file.
    std::vector<Finding> on_file{
        {rule::FILE_UNREADABLE, message_text(Message::CANNOT_READ_FILE, {options.request_file}), {}}};
    show_end(out, options, ResponseCheck{}, on_file, 2);
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
  check_records(options, reader, pairing, junit, out, checked);
  bool read_whole = !reader.failed;
  std::fclose(reader.file);
  std::vector<Finding> on_file;
  finish_response_check(checked.check, on_file);
  bool request_whole = !pairing || finish_pairing(*pairing, checked.check.form, on_file);
  if (!read_whole || !request_whole) {
    *err = message_text(Message::CANNOT_READ_FILE, {!read_whole ? options.request_file : *options.paired_request});
    if (junit) discard_junit_report(*junit);
    return false;
  }
  int result = checked.any_finding || !on_file.empty() ? 1 : 0;
  show_end(out, options, checked.check, on_file, result);
  if (junit) {
    report_file(*junit, on_file, result == 0, result == 0 ? "result 0: valid response" : "result 1: invalid response");
    if (!close_junit_report(*junit)) {
      flush_block_writer(out);  // the view is whole: it goes out before the run fails
      *err = message_text(Message::CANNOT_WRITE_FILE, {*options.junit_file});
      return false;
    }
  }
  *verdict = result == 0 ? Verdict::NO_RULE_BROKEN : Verdict::RULE_BROKEN;
  return true;
}
