#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "support/fingerprint.h"

namespace batch {

// What the verification concludes. The error response carries it as two
// digits (result_code): a batch already treated and a file that cannot be
// read or written both show 2, as the server answers them, but they are
// different things to the programs that act on them.
enum class VerificationResult {
  VALID,
  CONTENT_ERROR,
  ALREADY_TREATED,
  FILE_ERROR,  // a file could not be opened, read or written
  FILE_SEQUENCE_GAP,
  STRUCTURE_ERROR,
};

// The number a result is shown as: 0 to 4.
int result_code(VerificationResult result);

// The longest file number the command line takes, as the server accepts it.
constexpr size_t FILE_NUMBER_ARGUMENT_WIDTH = 7;

// The record a finding concerns when it concerns the whole file.
constexpr int64_t NO_RECORD = 0;

// The summary of counts that follows the pass over the file.
struct VerificationCounts {
  int64_t file_number = 0;  // the header's, as a number (0 without a record)
  int64_t records = 0;
  int64_t errors = 0;
  int64_t header_records = 0;
  int64_t footer_records = 0;
  int64_t body_records = 0;
};

// The summary of counts as batchcheck prints it.
std::string summary_text(const VerificationCounts& counts);

// Where the verification hands what it finds, as it finds it.
struct VerificationSink {
  // A finding: the record it concerns (its position in the file, 1 for the
  // first record) or NO_RECORD, the id of the rule it breaks (rules.h), and
  // the exact text batchcheck prints for it. Findings on records come in file
  // order during the pass, then, for the repeated transaction ids, in file
  // order again.
  std::function<void(int64_t record, std::string_view rule, std::string_view text)> finding;
  // The summary, once the whole file is read. A run that cannot read the
  // file or store its transaction ids never gets this far.
  std::function<void(const VerificationCounts&)> summary;
  // False when the positions are of no use to the sink: a repeated id then
  // comes as NO_RECORD, without reading the file again to place it.
  bool wants_record_positions = true;
};

// Reads the Request file at `path` once, hands every finding and the summary
// of counts to `sink`, has the transaction ids checked for repeats and
// returns the verification result. `expected_file_number` is the command
// line's text; without it the rules on the header's file_number are left out.
// `read`, when given, receives the fingerprint of the file once the pass has
// read it to its end, so that an answer can be built from the very bytes
// that were checked; a read error is reported as a file that cannot be read.
// The ids wait in the TID file `tid_name`, batchcheck's <request>.TID when
// empty.
VerificationResult verify_request_file(const std::string& path, const std::optional<std::string>& expected_file_number,
                                       const VerificationSink& sink, std::optional<Fingerprint>* read = nullptr,
                                       const std::string& tid_name = {});

// The same, printing each finding and the summary at once, as batchcheck does.
VerificationResult verify_request_file(const std::string& path, const std::string& expected_file_number,
                                       std::optional<Fingerprint>* read = nullptr);

}  // namespace batch
