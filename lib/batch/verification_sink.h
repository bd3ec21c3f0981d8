#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace batch {

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

}  // namespace batch
