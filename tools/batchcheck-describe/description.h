#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/rules.h"
#include "describe.h"
#include "junit_report.h"
#include "record_view.h"
#include "support/block_writer.h"

// What a description does alike for a Request and a Response: one record
// loop, and one end.

// What the record loop asks of the layout described.
struct RecordSource {
  // Reads the next record into `record`; false at the end of the file, or
  // when the reading cannot go on.
  std::function<bool(std::string& record)> next;
  // Puts into `found` the findings on the record at `position`, and into
  // `shown` its kind, fields, outcome and line end; true while a later
  // record may have a finding.
  std::function<bool(int64_t position, std::string_view record, std::vector<batch::Finding>& found,
                     ShownRecord& shown)>
      examine;
  // Every record is read, even past the last one to show or report: each of
  // a Response's is checked.
  bool reads_all = false;
  // The width of the text view's field-name column.
  size_t name_column = 0;
};

// Reads the records of `source`, reports each to `junit` when there is a
// report, and writes to `out` those that `options` asks for.
void show_records(const DescribeOptions& options, RecordSource& source, JunitReport* junit, support::BlockWriter& out);

// Writes the end of the view to `out`; with a report, adds its findings on
// the whole file and its result, and puts it in place. False (the message
// in *err) when the report cannot be written: the view, whole, goes out
// first.
bool close_description(const DescribeOptions& options, const Closing& closing,
                       std::span<const batch::Finding> on_file, JunitReport* junit, support::BlockWriter& out,
                       std::string* err);
