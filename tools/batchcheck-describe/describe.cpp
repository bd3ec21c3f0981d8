#include "describe.h"

#include <optional>
#include <string_view>
#include <vector>

#include "batch/messages.h"
#include "batch/record_json.h"
#include "batch/record_reader.h"
#include "batch/request_layout.h"
#include "batch/rules.h"
#include "batch/verification_result.h"
#include "batch/verify.h"
#include "description.h"
#include "finding_spill.h"
#include "junit_report.h"
#include "platform/files.h"
#include "platform/process.h"
#include "record_view.h"

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
  std::string stem = temporary_stem(options.file);
  findings.spill.name = stem + ".FINDINGS";
  VerificationSink sink;
  sink.finding = [&findings](int64_t record, std::string_view rule, std::string_view text) {
    if (record == NO_RECORD)
      findings.on_file.push_back({rule, std::string(text), rule_list()[rule_index(rule)].field});
    else
      spill_finding(findings.spill, record, rule, text);
  };
  sink.summary = [&findings](const VerificationCounts& counts) { findings.counts = counts; };
  findings.result = verify_request_file(options.file, options.file_number, sink, &findings.read, stem + ".TID");
}

// The end of a Request's description: batchcheck's summary, the result.
Closing request_closing(const DescribeOptions& options, const Findings& findings) {
  Closing closing;
  closing.layout = json_layout::REQUEST;
  closing.result = result_code(findings.result);
  closing.meaning = result_code_meaning(closing.result);
  if (const std::optional<VerificationCounts>& counts = findings.counts) {
    closing.summary = summary_text(*counts);
    closing.counts = {{{json_count::FILE_NUMBER, counts->file_number},
                       {json_count::RECORDS, counts->records},
                       {json_count::ERRORS, counts->errors},
                       {json_count::HEADER_RECORDS, counts->header_records},
                       {json_count::FOOTER_RECORDS, counts->footer_records},
                       {json_count::BODY_RECORDS, counts->body_records}}};
  }
  closing.note = options.file_number ? "" : " (file number not checked)";
  closing.file_number_checked = options.file_number.has_value();
  return closing;
}

// The Request's records read again, each with the findings the spill file
// holds for it and the line end its file gives it.
RecordSource request_records(RecordReader& reader, SpillReading& spilled, uint64_t& record_bytes) {
  RecordSource source;
  source.next = [&reader, &spilled, &record_bytes, taken = uint64_t{0}](std::string& record) mutable {
    if (spilled.failed || !read_record(reader, record)) return false;
    record_bytes = bytes_taken(reader) - taken;
    taken += record_bytes;
    return true;
  };
  source.examine = [&spilled, &record_bytes](int64_t position, std::string_view record, std::vector<Finding>& found,
                                             ShownRecord& shown) {
    const JsonKind& kind = request_json_kind(record_kind(record));
    shown.kind = kind.name;
    shown.fields = kind.fields;
    shown.line_end = line_end_in_file(record, record_bytes);
    return take_findings(spilled, position, found);
  };
  source.name_column =
      name_column({request::HEADER_FIELDS, request::BODY_FIELDS, request::FOOTER_FIELDS, request::OTHER_FIELDS});
  return source;
}

// Reads the Request file again and shows the records asked for, each with
// the findings the spill file holds for it, and reports them to `junit`.
// False (the message in *err) when a file cannot be read back or the batch
// has changed.
bool show_request_records(const DescribeOptions& options, Findings& findings, SpillReading& spilled,
                          BlockWriter& out, JunitReport* junit, std::string* err) {
  FILE* request = open_for_reading(options.file);
  if (!request) {
    *err = message_text(Message::CANNOT_READ_FILE, {options.file});
    return false;
  }
  RecordReader reader = make_record_reader(request);
  uint64_t record_bytes = 0;
  RecordSource source = request_records(reader, spilled, record_bytes);
  show_records(options, source, junit, out);
  // Findings placed on records other than those checked would mislead:
  // the whole file must read as the verification read it.
  read_to_end(reader);
  std::fclose(request);
  if (reader.failed)
    *err = message_text(Message::CANNOT_READ_FILE, {options.file});
  else if (spilled.failed)
    *err = message_text(Message::CANNOT_READ_BACK, {findings.spill.name});
  else if (!findings.read || !same_bytes(reader.fingerprint, *findings.read))
    *err = message_text(Message::REQUEST_CHANGED, {options.file});
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
  bool shown = open_spill_reading(findings.spill, spilled, err) &&
               show_request_records(options, findings, spilled, out, junit, err);
  close_spill_reading(spilled);
  return shown;
}

}  // namespace

bool describe_request_file(const DescribeOptions& options, BlockWriter& out, Verdict* verdict, std::string* err) {
  Findings findings;
  verify(options, findings);
  bool described = close_spill(findings.spill, err);
  std::optional<JunitReport> junit;
  if (described && options.junit_file && !open_junit_report(*options.junit_file, options.file, junit.emplace())) {
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
  if (!close_description(options, request_closing(options, findings), findings.on_file, junit ? &*junit : nullptr,
                         out, err))
    return false;
  // A file of the run's own failed: the result says nothing of the batch.
  if (findings.result == VerificationResult::FILE_ERROR)
    *verdict = Verdict::FILE_FAILED;
  else
    *verdict = findings.result == VerificationResult::VALID ? Verdict::NO_RULE_BROKEN : Verdict::RULE_BROKEN;
  return true;
}
