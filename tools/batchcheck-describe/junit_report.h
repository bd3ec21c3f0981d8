#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "support/block_writer.h"
#include "platform/replacement.h"
#include "batch/rules.h"

// batchcheck-describe's report for CI (--junit FILE): a JUnit XML file that
// GitLab and Jenkins show beside a merge request. One test suite for the
// file described; in it one test case per record with a finding, one per
// rule broken by the file as a whole, and one for the result. Each failure
// carries its rule, record, field and text. The report is written as the
// records are read, so memory does not grow with the file, and it replaces
// the file named whole or not at all.
struct JunitReport {
  Replacement file;
  std::string suite;  // the described file's name, escaped for XML
  support::BlockWriter out;
};

// Opens the report of `described` (the file's name) at `path`; false when it cannot be written.
bool open_junit_report(const std::string& path, std::string_view described, JunitReport& report);

// Adds the test case of the record at `position`, which has these findings.
void report_record(JunitReport& report, int64_t position, std::string_view record,
                   std::span<const batch::Finding> findings);

// Adds the test cases of the findings on the whole file, one per rule, and
// the one of the result (passed when `valid`), then the end of the report.
void report_file(JunitReport& report, std::span<const batch::Finding> on_file, bool valid, std::string_view result);

// Puts the finished report in place; false when it could not be written.
bool close_junit_report(JunitReport& report);

// Leaves the target as it was (a run that fails).
void discard_junit_report(JunitReport& report);
