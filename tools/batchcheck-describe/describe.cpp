#include "describe.h"

#include <optional>
#include <string_view>
#include <vector>

#include "finding_spill.h"
#include "junit_report.h"
#include "batch/messages.h"
#include "platform/files.h"
#include "platform/process.h"
#include "batch/record_reader.h"
#include "record_view.h"
#include "batch/request_layout.h"
#include "batch/rules.h"
#include "batch/verify.h"

using namespace batch;
using namespace support;

namespace {

// What the verification told, for the views.
struct Findings {
  FindingSpill spill;
  std::vector<Finding> on_file;
  std::optional<VerificationCounts> counts;
  std::optional<Fingerprint> read;  // of the bytes the verification checked
  VerificationResult result = VerificationResult::VALID;
};

// The start of the names of this run's temporary files beside the batch:
// the Request file's path, ".describe-" and the process number. Names of its
// own: a batchcheck checking the same batch meanwhile finds its <request>.TID
// free, and two descriptions of one batch never meet.
std::string temporary_stem(const std::string& request_path) {
  return request_path + ".describe-" + std::to_string(process_id());
}

// Verifies the batch, the findings on records into the spill file.
void verify(const DescribeOptions& options, Findings& findings) {
  std::string stem = temporary_stem(options.request_file);
  findings.spill.name = stem + ".FINDINGS";
  VerificationSink sink;
  sink.finding = [&findings](int64_t record, std::string_view rule, std::string_view text) {
    if (record == NO_RECORD)
      findings.on_file.push_back({rule, std::string(text), rule_list()[rule_index(rule)].field});
    else
      spill_finding(findings.spill, record, rule, text);
  };
  sink.summary = [&findings](const VerificationCounts& counts) { findings.counts = counts; };
  findings.result =
      verify_request_file(options.request_file, options.file_number, sink, &findings.read, stem + ".TID");
}

// A kind as both views name it.
std::string_view kind_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::HEADER:
      return "header";
    case RecordKind::BODY:
      return "body";
    case RecordKind::FOOTER:
      return "footer";
    case RecordKind::OTHER:
      break;
  }
  return "other";
}

// The result as the text view and the report end on it.
std::string result_line(VerificationResult result) {
  int code = result_code(result);
  return "result " + std::to_string(code) + ": " + std::string(result_meaning(code));
}

// The end of either view: the summary, the findings on the whole file, the result.
void show_end(BlockWriter& out, const DescribeOptions& options, const Findings& findings) {
  std::string text;
  if (options.json) {
    Json on_file = Json::array();
    for (const Finding& finding : findings.on_file) on_file.push_back(finding_json(finding));
    Json counts = nullptr;
    if (findings.counts)
      counts = {{"file_number", findings.counts->file_number},
                {"records", findings.counts->records},
                {"errors", findings.counts->errors},
                {"header_records", findings.counts->header_records},
                {"footer_records", findings.counts->footer_records},
                {"body_records", findings.counts->body_records}};
    Json end = {{"layout", "request"},
                {"result", result_code(findings.result)},
                {"findings", std::move(on_file)},
                {"counts", std::move(counts)},
                {"file_number_checked", options.file_number.has_value()}};
    text = end.dump() + "\n";
  } else {
    if (findings.counts) text = summary_text(*findings.counts);
    for (const Finding& finding : findings.on_file) append_marked(text, finding.text, "");
    text += result_line(findings.result) + (options.file_number ? "" : " (file number not checked)") + "\n";
  }
  write_bytes(out, text);
}

// Reads the Request file again and shows the records asked for, each with
// the findings the spill file holds for it, and reports them to `junit`.
// False (the message in *err) when a file cannot be read back or the batch
// has changed.
bool show_records(const DescribeOptions& options, Findings& findings, SpillReading& spilled, BlockWriter& out,
                  JunitReport* junit, std::string* err) {
  FILE* request = open_for_reading(options.request_file);
  if (!request) {
    *err = message_text(Message::CANNOT_READ_FILE, {options.request_file});
    return false;
  }
  size_t column = name_column({request::HEADER_FIELDS, request::BODY_FIELDS, request::FOOTER_FIELDS,
                               request::OTHER_FIELDS});
  RecordReader reader = make_record_reader(request);
  std::string record;
  std::string text;
  std::vector<Finding> found;
  JsonRecords views;
  int64_t position = 0;
  uint64_t taken = 0;
  while (!spilled.failed && read_record(reader, record)) {
    ++position;
    uint64_t record_bytes = bytes_taken(reader) - taken;
    taken += record_bytes;
    bool more = take_findings(spilled, position, found);
    if (junit) report_record(*junit, position, record, found);
    if (position >= options.first_record && position <= options.last_record &&
        (!options.only_findings || !found.empty())) {
      RecordKind kind = record_kind(record);
      ShownRecord shown{position, kind_name(kind), record, fields_of_kind(kind), {}, found,
                        line_end_in_file(record, record_bytes)};
      text.clear();
      if (options.json)
        append_json_record(text, views, shown);
      else
        append_text_record(text, shown, column);
      write_bytes(out, text);
    }
    // The records shown are out, and so are those the report needs.
    bool showing = position < options.last_record && (more || !options.only_findings);
    if (!showing && !(junit && more)) break;
  }
  // Findings placed on records other than those checked would mislead:
  // the whole file must read as the verification read it.
  read_to_end(reader);
  std::fclose(request);
  if (reader.failed)
    *err = message_text(Message::CANNOT_READ_FILE, {options.request_file});
  else if (spilled.failed)
    *err = message_text(Message::CANNOT_READ_BACK, {findings.spill.name});
  else if (!findings.read || !same_bytes(reader.fingerprint, *findings.read))
    *err = message_text(Message::REQUEST_CHANGED, {options.request_file});
  else
    return true;
  return false;
}

// Shows the records asked for: nothing to read when only records with a
// finding are asked for and none has one.
bool describe_records(const DescribeOptions& options, Findings& findings, BlockWriter& out, JunitReport* junit,
                      std::string* err) {
  if (options.only_findings && findings.spill.run_starts.empty()) return true;
  SpillReading spilled;
  bool shown =
      open_spill_reading(findings.spill, spilled, err) && show_records(options, findings, spilled, out, junit, err);
  close_spill_reading(spilled);
  return shown;
}

}  // namespace

bool describe_request_file(const DescribeOptions& options, BlockWriter& out, Verdict* verdict, std::string* err) {
  Findings findings;
  verify(options, findings);
  bool described = close_spill(findings.spill, err);
  std::optional<JunitReport> junit;
  if (described && options.junit_file &&
      !open_junit_report(*options.junit_file, options.request_file, junit.emplace())) {
    *err = message_text(Message::CANNOT_WRITE_FILE, {*options.junit_file});
    described = false;
  }
  // Without the summary the file could not be read whole: no record to show.
  if (described && findings.counts)
    described = describe_records(options, findings, out, junit ? &*junit : nullptr, err);
  remove_spill(findings.spill);
  if (!described) {
    if (junit) discard_junit_report(*junit);
    return false;
  }
  show_end(out, options, findings);
  bool valid = findings.result == VerificationResult::VALID;
  if (junit) {
    report_file(*junit, findings.on_file, valid, result_line(findings.result));
    if (!close_junit_report(*junit)) {
      flush_block_writer(out);  // the view is whole: it goes out before the run fails
      *err = message_text(Message::CANNOT_WRITE_FILE, {*options.junit_file});
      return false;
    }
  }
  // A file of the run's own failed: the result says nothing of the batch.
  if (findings.result == VerificationResult::FILE_ERROR)
    *verdict = Verdict::FILE_FAILED;
  else
    *verdict = valid ? Verdict::NO_RULE_BROKEN : Verdict::RULE_BROKEN;
  return true;
}
