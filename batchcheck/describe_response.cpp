#include "describe_response.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "junit_report.h"
#include "platform.h"
#include "record_view.h"
#include "response_check.h"
#include "response_pairing.h"

namespace {

// Reads a Response file as it is written: records of 200 characters back to
// back, the last one possibly cut short. A line end is a character like any
// other: the file has none of its own.
struct ResponseReader {
  FILE* file = nullptr;
  std::vector<char> buffer = std::vector<char>(1 << 18);
  size_t position = 0;
  size_t end = 0;
  bool at_eof = false;
  bool failed = false;  // a read error, as opposed to the end of the file
};

// Reads more after the bytes not taken yet, until a whole record is there
// or the file ends.
void fill(ResponseReader& reader) {
  size_t kept = reader.end - reader.position;
  std::memmove(reader.buffer.data(), reader.buffer.data() + reader.position, kept);
  reader.position = 0;
  reader.end = kept;
  while (!reader.at_eof && reader.end < RECORD_LENGTH) {
    size_t got = std::fread(reader.buffer.data() + reader.end, 1, reader.buffer.size() - reader.end, reader.file);
    reader.end += got;
    if (got == 0) {
      reader.at_eof = true;
      reader.failed = std::ferror(reader.file) != 0;
    }
  }
}

// Reads the next record into `record`; false at the end of the file.
bool read_response_record(ResponseReader& reader, std::string& record) {
  if (reader.end - reader.position < RECORD_LENGTH) fill(reader);
  size_t size = std::min(reader.end - reader.position, RECORD_LENGTH);
  record.assign(reader.buffer.data() + reader.position, size);
  reader.position += size;
  return size > 0;
}

// True when no record follows.
bool at_end(ResponseReader& reader) {
  if (reader.position == reader.end) fill(reader);
  return reader.position == reader.end;
}

// Says on standard error why the run stops as a machine.
int failed(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  return DESCRIBE_FAILED;
}

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
void emit_end(BlockOutput& out, const DescribeOptions& options, const ResponseCheck& check,
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
    emit(out, end.dump());
    emit(out, "\n");
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
  emit(out, text);
}

}  // namespace

bool describes_response(const DescribeOptions& options) {
  if (options.layout != DescribeOptions::Layout::BY_CONTENT)
    return options.layout == DescribeOptions::Layout::RESPONSE;
  FILE* file = open_for_reading(options.request_file);
  if (!file) return false;
  char first[RESPONSE_SIGNATURE_BYTES];
  size_t got = std::fread(first, 1, sizeof first, file);
  std::fclose(file);
  return looks_like_response({first, got});
}

int describe_response_file(const DescribeOptions& options, FILE* out_file) {
  BlockOutput out{out_file, {}};
  ResponseReader reader;
  reader.file = open_for_reading(options.request_file);
  if (!reader.file) {
    // As for a Request: the reason is a finding on the whole file.
    std::vector<Finding> on_file{{rule::FILE_UNREADABLE, "Error : can't read the file " + options.request_file, {}}};
    emit_end(out, options, ResponseCheck{}, on_file, 2);
    if (!finish_output(out)) return failed("batchcheck-describe: cannot write to standard output\n");
    return DESCRIBE_FAILED;
  }
  std::optional<Pairing> pairing;
  if (options.paired_request) {
    pairing.emplace();
    if (!open_pairing(*options.paired_request, *pairing)) {
      if (pairing->file) std::fclose(pairing->file);
      std::fclose(reader.file);
      return failed("Error : can't read the file " + *options.paired_request + "\n");
    }
  }
  std::optional<JunitReport> junit;
  if (options.junit_file) {
    junit.emplace();
    if (!open_junit_report(*options.junit_file, options.request_file, *junit)) {
      if (pairing) std::fclose(pairing->file);
      std::fclose(reader.file);
      return failed("Error : can't write into the file " + *options.junit_file + "\n");
    }
  }

  ResponseCheck check;
  JsonRecords views;
  size_t column = response_name_column();
  std::string record;
  std::vector<Finding> found;
  bool any_finding = false;
  for (int64_t position = 1; read_response_record(reader, record); ++position) {
    if (position == 1) check.form = response_form(record);
    bool last = at_end(reader);
    ResponseKind kind = response_kind(check.form, position, record);
    found.clear();
    check_response_record(check, position, record, last, found);
    if (pairing) pair_response_record(*pairing, kind, record, found);
    any_finding = any_finding || !found.empty();
    if (junit) report_record(*junit, position, record, found);
    if (position < options.first_record || position > options.last_record) continue;
    if (options.only_findings && found.empty()) continue;
    ShownRecord shown{position, response_kind_name(kind), record, response_fields(kind), outcome_of(kind, record),
                      found, std::nullopt};  // a Response is read in blocks of 200: no line ends
    if (options.json) {
      append_json_record(out.pending, views, shown);
    } else {
      // The text view names the code a body is refused with.
      std::string outcome(shown.outcome);
      if (shown.outcome == "refused") outcome += " with code " + std::string(field_of(record, response::RESPONSE_CODE));
      shown.outcome = outcome;
      append_text_record(out.pending, shown, column);
    }
    emit(out, "");
  }
  bool read_whole = !reader.failed;
  std::fclose(reader.file);
  std::vector<Finding> on_file;
  finish_response_check(check, on_file);
  bool request_whole = !pairing || finish_pairing(*pairing, check.form, on_file);
  std::string stop;
  if (!read_whole) stop = "Error : can't read the file " + options.request_file + "\n";
  else if (!request_whole) stop = "Error : can't read the file " + *options.paired_request + "\n";
  if (!stop.empty()) {
    if (junit) discard_junit_report(*junit);
    return failed(stop);
  }
  int result = any_finding || !on_file.empty() ? 1 : 0;
  emit_end(out, options, check, on_file, result);
  if (junit) {
    report_file(*junit, on_file, result == 0, result == 0 ? "result 0: valid response" : "result 1: invalid response");
    if (!close_junit_report(*junit)) {
      finish_output(out);
      return failed("Error : can't write into the file " + *options.junit_file + "\n");
    }
  }
  if (!finish_output(out)) return failed("batchcheck-describe: cannot write to standard output\n");
  return result == 0 ? DESCRIBE_VALID : DESCRIBE_INVALID;
}
