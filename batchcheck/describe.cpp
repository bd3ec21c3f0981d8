#include "describe.h"

#include <string_view>
#include <vector>

#include "describe_view.h"
#include "finding_spill.h"
#include "messages.h"
#include "platform.h"
#include "record_reader.h"

namespace {

// What the verification told, for the views.
struct Findings {
  FindingSpill spill;
  std::vector<std::string> on_file;
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
  sink.finding = [&findings](int64_t record, std::string_view text) {
    if (record == NO_RECORD)
      findings.on_file.emplace_back(text);
    else
      spill_finding(findings.spill, record, text);
  };
  sink.summary = [&findings](const VerificationCounts& counts) { findings.counts = counts; };
  findings.result =
      verify_request_file(options.request_file, options.file_number, sink, &findings.read, stem + ".TID");
}

// Reads the Request file again and shows the records asked for, each with
// the findings the spill file holds for it. False (the message in *err)
// when a file cannot be read back or the batch has changed.
bool show_records(const DescribeOptions& options, Findings& findings, SpillReading& spilled, DescribeView& view,
                  BlockWriter& out, std::string* err) {
  FILE* request = open_for_reading(options.request_file);
  if (!request) {
    *err = message_text(Message::CANNOT_READ_FILE, {options.request_file});
    return false;
  }
  RecordReader reader = make_record_reader(request);
  std::string record;
  std::vector<std::string> found;
  int64_t position = 0;
  while (position < options.last_record && !spilled.failed && read_record(reader, record)) {
    ++position;
    bool more = take_findings(spilled, position, found);
    if (position >= options.first_record && (!options.only_findings || !found.empty()))
      show_record(view, out, position, record, found);
    if (options.only_findings && !more) break;
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
bool describe_records(const DescribeOptions& options, Findings& findings, DescribeView& view, BlockWriter& out,
                      std::string* err) {
  if (options.only_findings && findings.spill.run_starts.empty()) return true;
  SpillReading spilled;
  bool shown = open_spill_reading(findings.spill, spilled, err) && show_records(options, findings, spilled, view, out, err);
  close_spill_reading(spilled);
  return shown;
}

}  // namespace

bool describe_request_file(const DescribeOptions& options, BlockWriter& out, VerificationResult* result,
                           std::string* err) {
  Findings findings;
  verify(options, findings);
  DescribeView view = make_describe_view(options.json);
  bool described = close_spill(findings.spill, err);
  // Without the summary the file could not be read whole: no record to show.
  if (described && findings.counts) described = describe_records(options, findings, view, out, err);
  remove_spill(findings.spill);
  if (!described) return false;
  show_end(view, out, {findings.result, findings.counts, findings.on_file, options.file_number.has_value()});
  *result = findings.result;
  return true;
}
