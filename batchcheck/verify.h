#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "request_record.h"

// Verification results, handed to the error response as two digits.
constexpr int VERIFY_OK = 0;
constexpr int VERIFY_CONTENT_ERROR = 1;
constexpr int VERIFY_ALREADY_TREATED = 2;
constexpr int VERIFY_FILE_ERROR = 2;  // a file could not be opened or written
constexpr int VERIFY_FILE_SEQUENCE_GAP = 3;
constexpr int VERIFY_STRUCTURE_ERROR = 4;

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
  // Called, when given, if the ids could not be read back for the repeat
  // check after the summary (a file of the run's own, not the batch, failed):
  // the result is then 2.
  std::function<void()> repeat_check_failed;
};

// Reads the Request file at `path` once, hands every finding and the summary
// of counts to `sink`, has the transaction ids checked for repeats and
// returns the verification result. `expected_file_number` is the command
// line's text; without it the rules on the header's file_number are left out.
// `read`, when given, receives the tally of the bytes the pass read, so that
// an answer can be built from the very bytes that were checked; a read error
// is reported as a file that cannot be read. The ids wait in the TID file
// `tid_name`, batchcheck's <request>.TID when empty.
int verify_request_file(const std::string& path, const std::optional<std::string>& expected_file_number,
                        const VerificationSink& sink, ReadTally* read = nullptr, const std::string& tid_name = {});

// The same, printing each finding and the summary at once, as batchcheck does.
int verify_request_file(const std::string& path, const std::string& expected_file_number,
                        ReadTally* read = nullptr);
