#pragma once

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// What batchcheck-describe is asked to show.
struct DescribeOptions {
  std::string request_file;
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

// Exit statuses of batchcheck-describe: a job that checks batches gates on them.
constexpr int DESCRIBE_VALID = 0;
constexpr int DESCRIBE_INVALID = 1;
constexpr int DESCRIBE_FAILED = 2;  // a file cannot be read or written, or a wrong command line

// Verifies the Request file as batchcheck would, then writes to `out` each
// record asked for with its fields by name and the findings on it, then the
// summary, the findings on the whole file and the result. Returns the exit
// status. Memory stays that of the verification: the findings on records wait
// in a temporary file beside the batch while the file is read again.
int describe_request_file(const DescribeOptions& options, FILE* out);
