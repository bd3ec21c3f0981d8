#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "support/block_writer.h"

// What batchcheck-describe is asked to show.
struct DescribeOptions {
  std::string file;                        // the Request or the Response file described
  std::optional<std::string> file_number;  // without it the file-number rules are left out
  bool json = false;                       // JSON Lines instead of the text view
  bool only_findings = false;              // only the records that have a finding
  int64_t first_record = 1;                // the records shown, counted from 1
  int64_t last_record = std::numeric_limits<int64_t>::max();
  // How the file is read: by what its content looks like, or as --as says.
  enum class Layout { BY_CONTENT, REQUEST, RESPONSE } layout = Layout::BY_CONTENT;
  std::optional<std::string> paired_request;  // --request: the Request a Response answers
  std::optional<std::string> junit_file;      // --junit: where the report for CI goes
};

// What a description tells of the file described, which a job that checks
// batches gates on: no rule broken, a rule broken (a Request's result 1 to
// 4), or a file that failed (the file unreadable, a temporary file of the
// run's own lost), so that the result says nothing of the file.
enum class Verdict { NO_RULE_BROKEN, RULE_BROKEN, FILE_FAILED };

// Verifies the Request file as batchcheck would, then writes to `out` each
// record asked for with its fields by name and the findings on it, then the
// summary, the findings on the whole file and the result; with --junit it
// writes the report too. A verification that a file failed is described
// too, with its finding. False (the message in *err) when the description
// cannot be made whole: the findings cannot be kept, the batch cannot be
// read again or has changed since it was verified, the report cannot be
// written; the end is not written then. Memory stays that of the
// verification: the findings on records wait in a temporary file beside the
// batch while the file is read again.
bool describe_request_file(const DescribeOptions& options, support::BlockWriter& out, Verdict* verdict,
                           std::string* err);
