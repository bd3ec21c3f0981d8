#include "verify.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "console.h"
#include "messages.h"
#include "platform.h"
#include "record_reader.h"
#include "request_layout.h"
#include "tid_file.h"

namespace {

// How the pass treats a record: the first one apart from all others, then
// each by its code. Body records are the ones that give a TID entry.
enum class Role { FIRST, BODY, FOOTER, OTHER };

// The role of the record at `position` (1 for the first).
Role role_of(int64_t position, std::string_view record) {
  if (position == 1) return Role::FIRST;
  switch (record_kind(record)) {
    case RecordKind::BODY:
      return Role::BODY;
    case RecordKind::FOOTER:
      return Role::FOOTER;
    default:
      return Role::OTHER;
  }
}

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

// Hands one finding, `message` with `values` in place, to the sink.
void report(Verification& v, int64_t record, Message message, std::initializer_list<std::string_view> values = {}) {
  v.message.clear();
  append_message(v.message, message, values);
  v.sink->finding(record, v.message);
}

// Records of a version "02" or "03" file must be exactly 200 characters,
// line end included: the server reads fixed-width records.
void check_record_length(Verification& v, std::string_view record, int64_t number_shown) {
  if (v.version != "02" && v.version != "03") return;
  if (record.size() == RECORD_LENGTH) return;
  v.size_error = true;
  v.last_wrong_length = record.size();
  report(v, v.records_read, Message::WRONG_RECORD_LENGTH, {decimal(number_shown)});
}

void check_first_record(Verification& v, std::string_view record) {
  v.merchant_country = trimmed_field(record, request::MERCHANT_COUNTRY);
  v.merchant_id = trimmed_field(record, request::MERCHANT_ID);
  v.file_identity = trimmed_field(record, request::FILE_IDENTITY);
  v.file_number = trimmed_field(record, request::FILE_NUMBER);
  v.version = trimmed_field(record, request::VERSION);
  check_record_length(v, record, 1);
  if (record_kind(record) != RecordKind::HEADER) {
    ++v.errors;
    report(v, v.records_read, Message::FIRST_RECORD_NOT_HEADER);
    return;
  }
  ++v.header_records;
  if (!v.expected_file_number) return;
  int64_t number = numeric_value(v.file_number);
  if (number < *v.expected_file_number) v.already_treated = true;
  if (number > *v.expected_file_number) v.file_number_sequence_gap = true;
}

void check_body_record(Verification& v, std::string_view record, TidFile& tid) {
  ++v.body_records;
  check_record_length(v, record, v.body_records + 1);
  if (trimmed_field(record, request::MERCHANT_COUNTRY) != v.merchant_country) {
    ++v.errors;
    report(v, v.records_read, Message::MERCHANT_COUNTRY_DIFFERS, {v.merchant_country, decimal(v.records_read)});
  }
  if (trimmed_field(record, request::MERCHANT_ID) != v.merchant_id) {
    ++v.errors;
    report(v, v.records_read, Message::MERCHANT_ID_DIFFERS, {v.merchant_id, decimal(v.records_read)});
  }
  if (numeric_value(trimmed_field(record, request::RECORD_NUMBER)) != v.body_records)
    v.record_number_sequence_broken = true;
  append_tid_entry(tid, trimmed_field(record, request::TRANSACTION_ID));
}

void check_footer_record(Verification& v, std::string_view record) {
  if (trimmed_field(record, request::FILE_IDENTITY) != v.file_identity) {
    ++v.first_last_mismatches;
    report(v, v.records_read, Message::FOOTER_NOT_CONSISTENT,
           {v.file_identity, field_of(record, request::FILE_IDENTITY)});
  }
  ++v.footer_records;
  v.nb_record = trimmed_field(record, request::NB_RECORD);
  // A footer's place in the file is what helps the merchant find it.
  check_record_length(v, record, v.records_read);
}

VerificationCounts counts_of(const Verification& v) {
  return {numeric_value(v.file_number), v.records_read, v.errors, v.header_records, v.footer_records, v.body_records};
}

// Finds the records that TID entries come from by reading the Request file
// again. Entries are asked for in increasing order, so one forward reading
// serves them all and nothing is kept per entry.
struct EntryPlaces {
  std::string path;
  FILE* file = nullptr;
  RecordReader reader;
  std::string record;
  int64_t records_read = 0;
  int64_t entries = 0;  // body records among them
};

// The position of the record that gave entry `entry` (0 for the first);
// NO_RECORD when the file no longer holds it.
int64_t record_of_entry(EntryPlaces& places, int64_t entry) {
  if (!places.file) {
    places.file = open_for_reading(places.path);
    if (!places.file) return NO_RECORD;
    places.reader = make_record_reader(places.file);
  }
  while (places.entries <= entry && read_record(places.reader, places.record)) {
    ++places.records_read;
    if (role_of(places.records_read, places.record) == Role::BODY && places.entries++ == entry)
      return places.records_read;
  }
  return NO_RECORD;
}

// The first rule that holds gives the result; only it prints its line.
VerificationResult decide(Verification& v, bool repeats, const std::optional<std::string>& expected_file_number) {
  if (repeats) return VerificationResult::CONTENT_ERROR;
  if (v.records_read == 0) return VerificationResult::CONTENT_ERROR;
  if (v.errors != 0) return VerificationResult::CONTENT_ERROR;
  if (v.size_error) {
    report(v, NO_RECORD, Message::INCORRECT_SIZE, {decimal(static_cast<int64_t>(v.last_wrong_length))});
    return VerificationResult::CONTENT_ERROR;
  }
  if (v.first_last_mismatches != 0) return VerificationResult::STRUCTURE_ERROR;
  if (v.footer_records != 1) return VerificationResult::STRUCTURE_ERROR;
  if (v.record_number_sequence_broken) {
    report(v, NO_RECORD, Message::RECORD_NUMBERS_INTERRUPTED);
    return VerificationResult::STRUCTURE_ERROR;
  }
  if (v.already_treated) {
    report(v, NO_RECORD, Message::ALREADY_TREATED);
    return VerificationResult::ALREADY_TREATED;
  }
  if (v.file_number_sequence_gap) {
    report(v, NO_RECORD, Message::FILE_SEQUENCE_INTERRUPTED, {v.file_number, expected_file_number.value_or("")});
    return VerificationResult::FILE_SEQUENCE_GAP;
  }
  if (numeric_value(v.nb_record) != v.body_records) {
    report(v, NO_RECORD, Message::NB_RECORD_DIFFERS, {v.nb_record});
    return VerificationResult::STRUCTURE_ERROR;
  }
  return VerificationResult::VALID;
}

// The pass over the records: every finding on them, every transaction_id
// into the TID file. False when the file could not be read to its end.
bool check_records(Verification& v, RecordReader& reader, TidFile& tid) {
  std::string record;
  while (read_record(reader, record)) {
    ++v.records_read;
    switch (role_of(v.records_read, record)) {
      case Role::FIRST:
        check_first_record(v, record);
        break;
      case Role::BODY:
        check_body_record(v, record, tid);
        break;
      case Role::FOOTER:
        check_footer_record(v, record);
        break;
      case Role::OTHER:
        ++v.errors;
        report(v, v.records_read, Message::UNKNOWN_RECORD_CODE, {trimmed_field(record, request::RECORD_CODE)});
        break;
    }
  }
  return !reader.failed;
}

// Checks the TID file for repeated transaction ids, each reported on the
// record it comes from when the sink wants it, `repeats` set when one
// repeats. False, after the message, when the ids cannot all be read back.
bool check_repeats(Verification& v, const std::string& path, TidFile& tid, bool& repeats) {
  EntryPlaces places;
  places.path = path;
  auto repeated = [&](uint64_t entry, std::string_view id) {
    int64_t place = v.sink->wants_record_positions ? record_of_entry(places, static_cast<int64_t>(entry)) : NO_RECORD;
    report(v, place, Message::TRANSACTION_ID_REPEATED, {id});
    repeats = true;
  };
  std::string err;
  bool read_back = check_tid_file(tid, REPEAT_CHECK_BUDGET, repeated, &err);
  if (places.file) std::fclose(places.file);
  if (!read_back) v.sink->finding(NO_RECORD, err);
  return read_back;
}

}  // namespace

int result_code(VerificationResult result) {
  switch (result) {
    case VerificationResult::VALID:
      return 0;
    case VerificationResult::CONTENT_ERROR:
      return 1;
    case VerificationResult::ALREADY_TREATED:
    case VerificationResult::FILE_ERROR:
      return 2;
    case VerificationResult::FILE_SEQUENCE_GAP:
      return 3;
    case VerificationResult::STRUCTURE_ERROR:
      break;
  }
  return 4;
}

std::string summary_text(const VerificationCounts& counts) {
  return message_text(Message::SUMMARY, {decimal(counts.file_number), decimal(counts.records), decimal(counts.errors),
                                         decimal(counts.header_records), decimal(counts.footer_records)});
}

VerificationResult verify_request_file(const std::string& path, const std::optional<std::string>& expected_file_number,
                                       const VerificationSink& sink, std::optional<Fingerprint>* read,
                                       const std::string& tid_name) {
  Verification v;
  v.sink = &sink;
  if (expected_file_number) v.expected_file_number = numeric_value(*expected_file_number);

  FILE* request = open_for_reading(path);
  if (!request) {
    report(v, NO_RECORD, Message::CANNOT_READ_FILE, {path});
    return VerificationResult::FILE_ERROR;
  }
  TidFile tid;
  std::string err;
  if (!create_tid_file_named(tid_name.empty() ? tid_file_name(path) : tid_name, tid, &err)) {
    std::fclose(request);
    sink.finding(NO_RECORD, err);
    return VerificationResult::FILE_ERROR;
  }
  RecordReader reader = make_record_reader(request);
  bool read_whole = check_records(v, reader, tid);
  std::fclose(request);
  // A batch whose end was never seen may hide any fault: it is not judged.
  if (!read_whole) {
    discard_tid_file(tid);
    report(v, NO_RECORD, Message::CANNOT_READ_FILE, {path});
    return VerificationResult::FILE_ERROR;
  }
  if (read) *read = reader.fingerprint;
  if (!close_tid_file(tid, &err)) {
    sink.finding(NO_RECORD, err);
    return VerificationResult::FILE_ERROR;
  }
  sink.summary(counts_of(v));
  bool repeats = false;
  // The ids could not be read back (the TID file removed meanwhile, a disk
  // error, a full disk while spilling): nothing is known of the batch's
  // repeats, as when the TID file cannot be created.
  if (!check_repeats(v, path, tid, repeats)) return VerificationResult::FILE_ERROR;
  return decide(v, repeats, expected_file_number);
}

VerificationResult verify_request_file(const std::string& path, const std::string& expected_file_number,
                                       std::optional<Fingerprint>* read) {
  VerificationSink printing;
  printing.finding = [](int64_t, std::string_view text) { say(text); };
  printing.summary = [](const VerificationCounts& counts) { say(summary_text(counts)); };
  printing.wants_record_positions = false;
  return verify_request_file(path, expected_file_number, printing, read);
}
