#include "verify.h"

#include <cstdint>
#include <string_view>

#include "console.h"
#include "duplicates.h"
#include "platform.h"
#include "request_record.h"

namespace {

// What one pass over the Request file finds.
struct Verification {
  int64_t expected_file_number = 0;
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
};

// Records of a version "02" or "03" file must be exactly 200 characters,
// line end included: the server reads fixed-width records.
void check_record_length(Verification& v, std::string_view record, int64_t number_shown) {
  if (v.version != "02" && v.version != "03") return;
  if (record.size() == RECORD_LENGTH) return;
  v.size_error = true;
  v.last_wrong_length = record.size();
  say({"error length in record ", decimal(number_shown), "\n"});
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
    say({"error in first record\n"});
    return;
  }
  ++v.header_records;
  int64_t number = numeric_value(v.file_number);
  if (number < v.expected_file_number) v.already_treated = true;
  if (number > v.expected_file_number) v.file_number_sequence_gap = true;
}

void check_body_record(Verification& v, std::string_view record, FILE* tid_file) {
  ++v.body_records;
  check_record_length(v, record, v.body_records + 1);
  if (trimmed_field(record, request::MERCHANT_COUNTRY) != v.merchant_country) {
    ++v.errors;
    say({"The merchant_country in header file (", v.merchant_country, ") is not the same that in line ",
         decimal(v.records_read), " \n"});
  }
  if (trimmed_field(record, request::MERCHANT_ID) != v.merchant_id) {
    ++v.errors;
    say({"The in merchant_id in header file (", v.merchant_id, ") is not the same that in line ",
         decimal(v.records_read), " \n"});
  }
  if (numeric_value(trimmed_field(record, request::RECORD_NUMBER)) != v.body_records)
    v.record_number_sequence_broken = true;
  write_tid_entry(tid_file, trimmed_field(record, request::TRANSACTION_ID));
}

void check_footer_record(Verification& v, std::string_view record) {
  if (trimmed_field(record, request::FILE_IDENTITY) != v.file_identity) {
    ++v.first_last_mismatches;
    say({"First and last record are not consistent:\n First (", v.file_identity, ")\n last  (",
         field_of(record, request::FILE_IDENTITY), ")\n"});
  }
  ++v.footer_records;
  v.nb_record = trimmed_field(record, request::NB_RECORD);
  // A footer's place in the file is what helps the merchant find it.
  check_record_length(v, record, v.records_read);
}

void print_summary(const Verification& v) {
  say({"\nnumber of the tested file = ", decimal(numeric_value(v.file_number)), "\n",
       "number of recordings = ", decimal(v.records_read), "\n",
       "number of errors = ", decimal(v.errors), "\n",
       "number of heading recording = ", decimal(v.header_records), "\n",
       "number of end recording = ", decimal(v.footer_records), "\n\n"});
}

// The first rule that holds gives the result; only it prints its line.
int decide(const Verification& v, int duplicates, const std::string& expected_file_number) {
  if (duplicates != 0) return VERIFY_CONTENT_ERROR;
  if (v.records_read == 0) return VERIFY_CONTENT_ERROR;
  if (v.errors != 0) return VERIFY_CONTENT_ERROR;
  if (v.size_error) {
    say({"Error : incorrect size file (", decimal(static_cast<int64_t>(v.last_wrong_length)), ")!\n"});
    return VERIFY_CONTENT_ERROR;
  }
  if (v.first_last_mismatches != 0) return VERIFY_STRUCTURE_ERROR;
  if (v.footer_records != 1) return VERIFY_STRUCTURE_ERROR;
  if (v.record_number_sequence_broken) {
    say({"Error : recordings sequence interrupted\n"});
    return VERIFY_STRUCTURE_ERROR;
  }
  if (v.already_treated) {
    say({"Error : File already treated !\n"});
    return VERIFY_ALREADY_TREATED;
  }
  if (v.file_number_sequence_gap) {
    say({"Error : file sequence interrupted : file number (", v.file_number,
         ") is supperior to file number transmitted (", expected_file_number, ")\n"});
    return VERIFY_FILE_SEQUENCE_GAP;
  }
  if (numeric_value(v.nb_record) != v.body_records) {
    say({"Error in the number of recordings, nb_record = ", v.nb_record, " !\n"});
    return VERIFY_STRUCTURE_ERROR;
  }
  return VERIFY_OK;
}

}  // namespace

int verify_request_file(const std::string& path, const std::string& expected_file_number, ReadTally* read) {
  Verification v;
  v.expected_file_number = numeric_value(expected_file_number);

  FILE* request = open_for_reading(path);
  if (!request) {
    say({"Error : can't read the file ", path});
    return VERIFY_FILE_ERROR;
  }
  std::string tid_name = path + ".TID";
  FILE* tid_file = nullptr;
  CreateResult created = create_temporary(tid_name, tid_file);
  if (created != CreateResult::CREATED) {
    std::fclose(request);
    // An existing file of that name may be the merchant's: never empty it.
    if (created == CreateResult::EXISTS)
      say({"Error : the temporary file ", tid_name, " already exists"});
    else
      say({"Error : can't write into the temporary file ", tid_name});
    return VERIFY_FILE_ERROR;
  }

  RecordReader reader = make_record_reader(request);
  std::string record;
  while (read_record(reader, record)) {
    ++v.records_read;
    RecordKind kind = record_kind(record);
    if (v.records_read == 1)
      check_first_record(v, record);
    else if (kind == RecordKind::BODY)
      check_body_record(v, record, tid_file);
    else if (kind == RecordKind::FOOTER)
      check_footer_record(v, record);
    else {
      ++v.errors;
      say({"Error in code enregistrement (", trimmed_field(record, request::RECORD_CODE), ")\n"});
    }
  }
  std::fclose(request);
  if (read) *read = reader.tally;
  // A batch whose end was never seen may hide any fault: it is not judged.
  if (reader.failed) {
    std::fclose(tid_file);
    remove_file(tid_name);
    keep_on_interrupt(tid_name);
    say({"Error : can't read the file ", path});
    return VERIFY_FILE_ERROR;
  }
  // A TID file cut short by a full disk would hide repeats: never check one.
  bool tid_written = !std::ferror(tid_file);
  if (std::fclose(tid_file) != 0) tid_written = false;
  if (!tid_written) {
    remove_file(tid_name);
    keep_on_interrupt(tid_name);
    say({"Error : can't write into the temporary file ", tid_name});
    return VERIFY_FILE_ERROR;
  }

  print_summary(v);
  int duplicates = check_duplicate_transactions(tid_name);
  keep_on_interrupt(tid_name);
  return decide(v, duplicates, expected_file_number);
}
