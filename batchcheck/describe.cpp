#include "describe.h"

#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "junit_report.h"
#include "platform.h"
#include "record_view.h"
#include "request_record.h"
#include "rules.h"
#include "verify.h"

namespace {

// The findings on records, kept on disk until the file is read again: a
// batch can draw one for each of its million records. The verification
// hands them over in file order, then the repeated ids in file order again:
// each stretch in order is a run, and the second reading merges the runs.
// The file sits beside the batch as the TID file does, created by this run
// alone, removed at the end and should the run be interrupted.
struct FindingSpill {
  std::string name;
  FILE* file = nullptr;
  bool created = false;  // by this run, so that it removes the file
  std::string failure;   // why the findings could not be kept, once they cannot
  std::vector<uint64_t> run_starts;
  uint64_t written = 0;
  int64_t last_record = 0;
};

// One finding as the spill file holds it: the record, the text's length,
// the rule's place in the rule list, then the text.
struct SpilledHead {
  int64_t record;
  uint32_t length;
  uint32_t rule;
};

// The start of the names of this run's temporary files beside the batch:
// the Request file's path, ".describe-" and the process number. Names of its
// own: a batchcheck checking the same batch meanwhile finds its <request>.TID
// free, and two descriptions of one batch never meet.
std::string temporary_stem(const std::string& request_path) {
  return request_path + ".describe-" + std::to_string(process_id());
}

// Creates the spill file at the first finding on a record; false (the
// reason kept in `failure`) when it cannot.
bool open_spill(FindingSpill& spill) {
  CreateResult created = create_temporary(spill.name, spill.file, create_private);
  if (created == CreateResult::CREATED) {
    spill.created = true;
    return true;
  }
  // An existing file of that name may be the merchant's: never empty it.
  spill.failure = created == CreateResult::EXISTS ? "Error : the temporary file " + spill.name + " already exists\n"
                                                  : "Error : can't write into the temporary file " + spill.name + "\n";
  return false;
}

// Appends one finding, starting a new run when it comes before the last one.
void spill_finding(FindingSpill& spill, int64_t record, std::string_view rule, std::string_view text) {
  if (!spill.failure.empty() || (!spill.file && !open_spill(spill))) return;
  if (spill.run_starts.empty() || record < spill.last_record) spill.run_starts.push_back(spill.written);
  spill.last_record = record;
  SpilledHead head{record, static_cast<uint32_t>(text.size()), static_cast<uint32_t>(rule_index(rule))};
  bool ok = std::fwrite(&head, sizeof head, 1, spill.file) == 1 &&
            std::fwrite(text.data(), 1, text.size(), spill.file) == text.size();
  spill.written += sizeof head + text.size();
  if (!ok) spill.failure = "Error : can't write into the temporary file " + spill.name + "\n";
}

// Closes the spill file once every finding is in; false when it could not be written whole.
bool close_spill(FindingSpill& spill) {
  if (!spill.file) return spill.failure.empty();
  if (std::fclose(spill.file) != 0 && spill.failure.empty())
    spill.failure = "Error : can't write into the temporary file " + spill.name + "\n";
  spill.file = nullptr;
  return spill.failure.empty();
}

// Removes the spill file, if this run created it.
void remove_spill(FindingSpill& spill) {
  if (spill.file) std::fclose(spill.file);
  spill.file = nullptr;
  if (!spill.created) return;
  remove_temporary(spill.name);
}

// Reads one run of the spill file back, one finding ahead.
struct RunCursor {
  FILE* file = nullptr;
  uint64_t left = 0;  // bytes of the run not read yet
  bool has_head = false;
  int64_t record = 0;
  Finding finding;
};

// Moves to the next finding of the run; false at its end or on a read error.
bool advance(RunCursor& cursor, bool& read_failed) {
  cursor.has_head = false;
  if (cursor.left < sizeof(SpilledHead)) return false;
  SpilledHead head;
  if (std::fread(&head, sizeof head, 1, cursor.file) != 1 || cursor.left - sizeof head < head.length) {
    read_failed = true;
    return false;
  }
  if (head.rule >= rule_list().size()) {
    read_failed = true;
    return false;
  }
  const Rule& rule = rule_list()[head.rule];
  cursor.finding.rule = rule.id;
  cursor.finding.field = rule.field;
  std::string& text = cursor.finding.text;
  text.resize(head.length);
  if (head.length > 0 && std::fread(text.data(), 1, head.length, cursor.file) != head.length) {
    read_failed = true;
    return false;
  }
  cursor.left -= sizeof head + head.length;
  cursor.record = head.record;
  cursor.has_head = true;
  return true;
}

// What the verification told, for the views.
struct Findings {
  FindingSpill spill;
  std::vector<Finding> on_file;
  std::optional<VerificationCounts> counts;
  ReadTally read;  // the bytes the verification checked
  int result = VERIFY_OK;
  bool ids_lost = false;  // the repeat check could not read its own files back
};

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

// The end of either view: the summary, the findings on the whole file, the result.
void emit_end(BlockOutput& out, const DescribeOptions& options, const Findings& findings) {
  std::string checked = options.file_number ? "" : " (file number not checked)";
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
                {"result", findings.result},
                {"findings", std::move(on_file)},
                {"counts", std::move(counts)},
                {"file_number_checked", options.file_number.has_value()}};
    emit(out, end.dump());
    emit(out, "\n");
    return;
  }
  if (findings.counts) emit(out, summary_text(*findings.counts));
  std::string text;
  for (const Finding& finding : findings.on_file) append_marked(text, finding.text, "");
  emit(out, text + "result " + std::to_string(findings.result) + ": " +
                std::string(result_meaning(findings.result)) + checked + "\n");
}

// Says on standard error why the run stops as a machine.
int failed(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  return DESCRIBE_FAILED;
}

// Reads the Request file again and writes the records asked for, each with
// the findings the spill file holds for it. Returns 0 or DESCRIBE_FAILED.
int emit_records(BlockOutput& out, const DescribeOptions& options, Findings& findings, JunitReport* junit) {
  FindingSpill& spill = findings.spill;
  // Only records with a finding are shown and none has one: nothing to read.
  if (options.only_findings && spill.run_starts.empty()) return 0;
  size_t column = name_column({request::HEADER_FIELDS, request::BODY_FIELDS, request::FOOTER_FIELDS,
                               request::OTHER_FIELDS});
  std::vector<RunCursor> cursors(spill.run_starts.size());
  bool spill_unreadable = false;
  for (size_t i = 0; i < cursors.size(); ++i) {
    uint64_t end = i + 1 < cursors.size() ? spill.run_starts[i + 1] : spill.written;
    cursors[i].left = end - spill.run_starts[i];
    cursors[i].file = open_for_reading(spill.name);
    if (!cursors[i].file || !seek_to(cursors[i].file, spill.run_starts[i]))
      spill_unreadable = true;
    else
      advance(cursors[i], spill_unreadable);
  }
  FILE* request = spill_unreadable ? nullptr : open_for_reading(options.request_file);
  int status = 0;
  if (spill_unreadable)
    status = failed("Error fopen (r) file " + spill.name + "\n");
  else if (!request)
    status = failed("Error : can't read the file " + options.request_file + "\n");
  if (status == 0) {
    RecordReader reader = make_record_reader(request);
    std::string record;
    std::vector<Finding> found;
    JsonRecords views;
    int64_t position = 0;
    uint64_t taken = 0;
    while (!spill_unreadable && read_record(reader, record)) {
      ++position;
      uint64_t record_bytes = bytes_taken(reader) - taken;
      taken += record_bytes;
      found.clear();
      bool more = false;
      for (RunCursor& cursor : cursors) {
        while (cursor.has_head && cursor.record < position) advance(cursor, spill_unreadable);
        while (cursor.has_head && cursor.record == position) {
          found.push_back(cursor.finding);
          advance(cursor, spill_unreadable);
        }
        more = more || cursor.has_head;
      }
      if (junit) report_record(*junit, position, record, found);
      if (position >= options.first_record && position <= options.last_record &&
          (!options.only_findings || !found.empty())) {
        RecordKind kind = record_kind(record);
        ShownRecord shown{position, kind_name(kind), record, fields_of_kind(kind), {}, found,
                          line_end_in_file(record, record_bytes)};
        if (options.json)
          append_json_record(out.pending, views, shown);
        else
          append_text_record(out.pending, shown, column);
        emit(out, "");
      }
      // The records shown are out, and so are those the report needs.
      bool showing = position < options.last_record && (more || !options.only_findings);
      if (!showing && !(junit && more)) break;
    }
    // Findings placed on records other than those checked would mislead:
    // the whole file must read as the verification read it.
    read_to_end(reader);
    if (reader.failed)
      status = failed("Error : can't read the file " + options.request_file + "\n");
    else if (spill_unreadable)
      status = failed("Error fopen (r) file " + spill.name + "\n");
    else if (!same_bytes(reader.tally, findings.read))
      status = failed("Error : the request file " + options.request_file + " changed during the run\n");
  }
  if (request) std::fclose(request);
  for (RunCursor& cursor : cursors)
    if (cursor.file) std::fclose(cursor.file);
  return status;
}

}  // namespace

int describe_request_file(const DescribeOptions& options, FILE* out_file) {
  Findings findings;
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
  sink.repeat_check_failed = [&findings] { findings.ids_lost = true; };
  findings.result =
      verify_request_file(options.request_file, options.file_number, sink, &findings.read, stem + ".TID");

  BlockOutput out{out_file, {}};
  int status = close_spill(findings.spill) ? 0 : failed(findings.spill.failure);
  std::optional<JunitReport> junit;
  if (status == 0 && options.junit_file && !open_junit_report(*options.junit_file, options.request_file, junit.emplace()))
    status = failed("Error : can't write into the file " + *options.junit_file + "\n");
  // Without the summary the file could not be read whole: no record to show.
  if (status == 0 && findings.counts) status = emit_records(out, options, findings, junit ? &*junit : nullptr);
  remove_spill(findings.spill);
  if (status != 0) {
    if (junit) discard_junit_report(*junit);
    return status;
  }
  emit_end(out, options, findings);
  if (junit) {
    report_file(*junit, findings.on_file, findings.result == VERIFY_OK,
                "result " + std::to_string(findings.result) + ": " + std::string(result_meaning(findings.result)));
    if (!close_junit_report(*junit)) {
      finish_output(out);
      return failed("Error : can't write into the file " + *options.junit_file + "\n");
    }
  }
  if (!finish_output(out)) return failed("batchcheck-describe: cannot write to standard output\n");
  // A file of the run's own failed: the result says nothing of the batch.
  if (!findings.counts || findings.ids_lost) return DESCRIBE_FAILED;
  return findings.result == VERIFY_OK ? DESCRIBE_VALID : DESCRIBE_INVALID;
}
