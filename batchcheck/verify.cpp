#include "verify.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "console.h"
#include "platform.h"
#include "request_record.h"
#include "rules.h"
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

// Hands one finding of `rule`, made of `pieces`, to the sink.
void report(Verification& v, int64_t record, std::string_view rule, std::initializer_list<std::string_view> pieces) {
  v.message.clear();
  for (std::string_view piece : pieces) v.message.append(piece);
  v.sink->finding(record, rule, v.message);
}

// Records of a version "02" or "03" file must be exactly 200 characters,
// line end included: the server reads fixed-width records.
void check_record_length(Verification& v, std::string_view record, int64_t number_shown) {
  if (v.version != "02" && v.version != "03") return;
  if (record.size() == RECORD_LENGTH) return;
  v.size_error = true;
  v.last_wrong_length = record.size();
  report(v, v.records_read, rule::RECORD_LENGTH, {"error length in record ", decimal(number_shown), "\n"});
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
    report(v, v.records_read, rule::FIRST_RECORD_NOT_HEADER, {"error in first record\n"});
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
    report(v, v.records_read, rule::MERCHANT_COUNTRY_DIFFERS,
           {"The merchant_country in header file (", v.merchant_country, ") is not the same that in line ",
            decimal(v.records_read), " \n"});
  }
  if (trimmed_field(record, request::MERCHANT_ID) != v.merchant_id) {
    ++v.errors;
    report(v, v.records_read, rule::MERCHANT_ID_DIFFERS,
           {"The in merchant_id in header file (", v.merchant_id, ") is not the same that in line ",
            decimal(v.records_read), " \n"});
  }
  if (numeric_value(trimmed_field(record, request::RECORD_NUMBER)) != v.body_records)
    v.record_number_sequence_broken = true;
  append_tid_entry(tid, trimmed_field(record, request::TRANSACTION_ID));
}

void check_footer_record(Verification& v, std::string_view record) {
  if (trimmed_field(record, request::FILE_IDENTITY) != v.file_identity) {
    ++v.first_last_mismatches;
    report(v, v.records_read, rule::FILE_IDENTITY_DIFFERS,
           {"First and last record are not consistent:\n First (", v.file_identity, ")\n last  (",
            field_of(record, request::FILE_IDENTITY), ")\n"});
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
int decide(Verification& v, int duplicates, const std::optional<std::string>& expected_file_number) {
  // The ids could not be read back (the TID file removed meanwhile, a disk
  // error, a full disk while spilling): nothing is known of the batch's
  // repeats, as when the TID file cannot be created.
  if (duplicates == 2) return VERIFY_FILE_ERROR;
  if (duplicates != 0) return VERIFY_CONTENT_ERROR;
  if (v.records_read == 0) return VERIFY_CONTENT_ERROR;
  if (v.errors != 0) return VERIFY_CONTENT_ERROR;
  if (v.size_error) {
    report(v, NO_RECORD, rule::INCORRECT_SIZE_FILE, {"Error : incorrect size file (", decimal(static_cast<int64_t>(v.last_wrong_length)), ")!\n"});
    return VERIFY_CONTENT_ERROR;
  }
  if (v.first_last_mismatches != 0) return VERIFY_STRUCTURE_ERROR;
  if (v.footer_records != 1) return VERIFY_STRUCTURE_ERROR;
  if (v.record_number_sequence_broken) {
    report(v, NO_RECORD, rule::RECORD_NUMBERS_INTERRUPTED, {"Error : recordings sequence interrupted\n"});
    return VERIFY_STRUCTURE_ERROR;
  }
  if (v.already_treated) {
    report(v, NO_RECORD, rule::FILE_ALREADY_TREATED, {"Error : File already treated !\n"});
    return VERIFY_ALREADY_TREATED;
  }
  if (v.file_number_sequence_gap) {
    report(v, NO_RECORD, rule::FILE_SEQUENCE_INTERRUPTED,
           {"Error : file sequence interrupted : file number (", v.file_number,
            ") is supperior to file number transmitted (", expected_file_number.value_or(""), ")\n"});
    return VERIFY_FILE_SEQUENCE_GAP;
  }
  if (numeric_value(v.nb_record) != v.body_records) {
    report(v, NO_RECORD, rule::NB_RECORD_DIFFERS, {"Error in the number of recordings, nb_record = ", v.nb_record, " !\n"});
    return VERIFY_STRUCTURE_ERROR;
  }
  return VERIFY_OK;
}

}  // namespace

std::string summary_text(const VerificationCounts& counts) {
  std::string text;
  text += "\nnumber of the tested file = " + decimal(counts.file_number) + "\n";
  text += "number of recordings = " + decimal(counts.records) + "\n";
  text += "number of errors = " + decimal(counts.errors) + "\n";
  text += "number of heading recording = " + decimal(counts.header_records) + "\n";
  text += "number of end recording = " + decimal(counts.footer_records) + "\n\n";
  return text;
}

int verify_request_file(const std::string& path, const std::optional<std::string>& expected_file_number,
                        const VerificationSink& sink, ReadTally* read, const std::string& tid_name) {
  Verification v;
  v.sink = &sink;
  if (expected_file_number) v.expected_file_number = numeric_value(*expected_file_number);

  FILE* request = open_for_reading(path);
  if (!request) {
    report(v, NO_RECORD, rule::FILE_UNREADABLE, {"Error : can't read the file ", path});
    return VERIFY_FILE_ERROR;
  }
  TidFile tid;
  if (!create_tid_file_named(tid_name.empty() ? tid_file_name(path) : tid_name, tid, [&sink](std::string_view text) {
        sink.finding(NO_RECORD, rule::TEMPORARY_FILE_UNUSABLE, text);
      })) {
    std::fclose(request);
    return VERIFY_FILE_ERROR;
  }

  RecordReader reader = make_record_reader(request);
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
        report(v, v.records_read, rule::RECORD_CODE_UNKNOWN,
               {"Error in code enregistrement (", trimmed_field(record, request::RECORD_CODE), ")\n"});
        break;
    }
  }
  std::fclose(request);
  if (read) *read = reader.tally;
  // A batch whose end was never seen may hide any fault: it is not judged.
  if (reader.failed) {
    discard_tid_file(tid);
    report(v, NO_RECORD, rule::FILE_UNREADABLE, {"Error : can't read the file ", path});
    return VERIFY_FILE_ERROR;
  }
  if (!close_tid_file(tid)) return VERIFY_FILE_ERROR;

  sink.summary(counts_of(v));
  EntryPlaces places;
  places.path = path;
  int duplicates = check_tid_file(tid, REPEAT_CHECK_BUDGET, [&](uint64_t entry, std::string_view text) {
    int64_t place = sink.wants_record_positions ? record_of_entry(places, static_cast<int64_t>(entry)) : NO_RECORD;
    sink.finding(place, rule::TRANSACTION_ID_REPEATED, text);
  });
  if (places.file) std::fclose(places.file);
  if (duplicates == 2 && sink.repeat_check_failed) sink.repeat_check_failed();
  return decide(v, duplicates, expected_file_number);
}

int verify_request_file(const std::string& path, const std::string& expected_file_number, ReadTally* read) {
  VerificationSink printing;
  printing.finding = [](int64_t, std::string_view, std::string_view text) { say({text}); };
  printing.summary = [](const VerificationCounts& counts) { say({summary_text(counts)}); };
  printing.wants_record_positions = false;
  return verify_request_file(path, expected_file_number, printing, read);
}
