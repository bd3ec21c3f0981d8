#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "block_writer.h"
#include "verify.h"

// What batchcheck-describe is asked to show.
struct DescribeOptions {
  std::string request_file;
  std::optional<std::string> file_number;  // without it the file-number rules are left out
  bool json = false;                       // JSON Lines instead of the text view
  bool only_findings = false;              // only the records that have a finding
  int64_t first_record = 1;                // the records shown, counted from 1
  int64_t last_record = std::numeric_limits<int64_t>::max();
};

// Verifies the Request file as batchcheck would, then writes to `out` each
// record asked for with its fields by name and the findings on it, then the
// summary, the findings on the whole file and the result, which *result
// receives. A verification that a file failed (the batch unreadable, a
// temporary file of the run's own lost) is described too, with the result
// FILE_ERROR, which says nothing of the batch. False (the message in *err)
// when the description cannot be made whole: the findings cannot be kept,
// the batch cannot be read again or has changed since it was verified; the
// end is not written then. Memory stays that of the verification: the
// findings on records wait in a temporary file beside the batch while the
// file is read again.
bool describe_request_file(const DescribeOptions& options, BlockWriter& out, VerificationResult* result,
                           std::string* err);
