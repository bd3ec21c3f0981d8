#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/rules.h"
#include "batch/temporary_file.h"

// The findings on records, kept on disk until the file is read again: a
// batch can draw one for each of its million records. The verification
// hands them over in file order, then the repeated ids in file order again:
// each stretch in order is a run, and the second reading merges the runs.
// The file sits beside the batch as the TID file does, created by this run
// alone at the first finding, removed at the end and should the run be
// interrupted.
struct FindingSpill : batch::TemporaryFile {
  std::string failure;  // why the findings could not be kept, once they cannot
  std::vector<uint64_t> run_starts;
  int64_t last_record = 0;
};

// Appends one finding of `rule`, starting a new run when it comes before the last one.
void spill_finding(FindingSpill& spill, int64_t record, std::string_view rule, std::string_view text);

// Closes the spill file once every finding is in; false (the message in
// *err) when the findings could not all be kept.
bool close_spill(FindingSpill& spill, std::string* err);

// Removes the spill file, if this run created it.
void remove_spill(FindingSpill& spill);

// Reads one run of the spill file back, one finding ahead.
struct RunCursor {
  FILE* file = nullptr;
  uint64_t left = 0;  // bytes of the run not read yet
  bool has_head = false;
  int64_t record = 0;
  batch::Finding finding;
};

// The closed spill file read back, its runs merged by record.
struct SpillReading {
  std::vector<RunCursor> cursors;
  bool failed = false;  // a run could not be read back whole
};

// Opens a cursor on each run of the closed spill file; false (the message in
// *err) when one cannot be opened.
bool open_spill_reading(const FindingSpill& spill, SpillReading& reading, std::string* err);

// Puts the findings on the record at `position` into `found`, passing over
// those on earlier records; true while findings on later records remain.
// Positions are asked for in increasing order.
bool take_findings(SpillReading& reading, int64_t position, std::vector<batch::Finding>& found);

// Closes the cursors.
void close_spill_reading(SpillReading& reading);
