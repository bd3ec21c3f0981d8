#pragma once

// The pass over the Request file, record by record: what it keeps, counts
// and finds. The verification runs it, then decides.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "batch/messages.h"
#include "batch/record_reader.h"
#include "batch/tid_file.h"
#include "batch/verification_sink.h"

namespace batch {

// How the pass treats a record: the first one apart from all others, then
// each by its code. Body records are the ones that give a TID entry.
enum class Role { FIRST, BODY, FOOTER, OTHER };

// The role of the record at `position` (1 for the first).
Role role_of(int64_t position, std::string_view record);

// What one pass over the Request file finds.
struct Verification {
  const VerificationSink* sink = nullptr;
  std::optional<int64_t> expected_file_number;
  int64_t records_read = 0;
  int64_t errors = 0;
  int64_t header_records = 0;
  int64_t footer_records = 0;
  int64_t body_records = 0;
  int64_t first_last_mismatches = 0;
  bool size_error = false;
  bool record_number_sequence_broken = false;
  bool already_treated = false;
  bool file_number_sequence_gap = false;
  size_t last_wrong_length = 0;
  // Kept from the first record, trailing blanks removed.
  std::string merchant_country;
  std::string merchant_id;
  std::string file_identity;
  std::string file_number;
  std::string version;
  std::string nb_record;  // of the latest footer record
  std::string message;    // room for the text of one finding
};

// Hands one finding of `rule`, `message` with `values` in place, to the sink.
void report(Verification& v, int64_t record, std::string_view rule, Message message,
            std::initializer_list<std::string_view> values = {});

// The pass over the records: every finding on them, every transaction_id
// into the TID file. A read error ends it as the end of the file does: the
// reader, its owner's, tells which.
void check_records(Verification& v, RecordReader& reader, TidFile& tid);

// The summary of counts of a finished pass.
VerificationCounts counts_of(const Verification& v);

}  // namespace batch
