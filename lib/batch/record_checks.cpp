#include "batch/record_checks.h"

#include "batch/console.h"
#include "batch/record_layout.h"
#include "batch/request_layout.h"
#include "batch/rules.h"

namespace batch {

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

void report(Verification& v, int64_t record, std::string_view rule, Message message,
            std::initializer_list<std::string_view> values) {
  v.message.clear();
  append_message(v.message, message, values);
  v.sink->finding(record, rule, v.message);
}

namespace {

// Records of a version "02" or "03" file must be exactly 200 characters,
// line end included: the server reads fixed-width records.
void check_record_length(Verification& v, std::string_view record, int64_t number_shown) {
  if (v.version != "02" && v.version != "03") return;
  if (record.size() == RECORD_LENGTH) return;
  v.size_error = true;
  v.last_wrong_length = record.size();
  report(v, v.records_read, rule::RECORD_LENGTH, Message::WRONG_RECORD_LENGTH, {decimal(number_shown)});
}

// The first record, whatever its code: its identity, kept for the records
// after it, its length, and, for a header, its file_number against the one
// expected.
void check_first_record(Verification& v, std::string_view record) {
  v.merchant_country = trimmed_field(record, request::MERCHANT_COUNTRY);
  v.merchant_id = trimmed_field(record, request::MERCHANT_ID);
  v.file_identity = trimmed_field(record, request::FILE_IDENTITY);
  v.file_number = trimmed_field(record, request::FILE_NUMBER);
  v.version = trimmed_field(record, request::VERSION);
  check_record_length(v, record, 1);
  if (record_kind(record) != RecordKind::HEADER) {
    ++v.errors;
    report(v, v.records_read, rule::FIRST_RECORD_NOT_HEADER, Message::FIRST_RECORD_NOT_HEADER);
    return;
  }
  ++v.header_records;
  if (!v.expected_file_number) return;
  int64_t number = numeric_value(v.file_number);
  if (number < *v.expected_file_number) v.already_treated = true;
  if (number > *v.expected_file_number) v.file_number_sequence_gap = true;
}

// A body record: the header's merchant, its place in the numbering, and its
// transaction_id into the TID file.
void check_body_record(Verification& v, std::string_view record, TidFile& tid) {
  ++v.body_records;
  check_record_length(v, record, v.body_records + 1);
  if (trimmed_field(record, request::MERCHANT_COUNTRY) != v.merchant_country) {
    ++v.errors;
    report(v, v.records_read, rule::MERCHANT_COUNTRY_DIFFERS, Message::MERCHANT_COUNTRY_DIFFERS,
           {v.merchant_country, decimal(v.records_read)});
  }
  if (trimmed_field(record, request::MERCHANT_ID) != v.merchant_id) {
    ++v.errors;
    report(v, v.records_read, rule::MERCHANT_ID_DIFFERS, Message::MERCHANT_ID_DIFFERS,
           {v.merchant_id, decimal(v.records_read)});
  }
  if (numeric_value(trimmed_field(record, request::RECORD_NUMBER)) != v.body_records)
    v.record_number_sequence_broken = true;
  append_tid_entry(tid, trimmed_field(record, request::TRANSACTION_ID));
}

// A footer record: the header's identity repeated, and its nb_record kept.
void check_footer_record(Verification& v, std::string_view record) {
  if (trimmed_field(record, request::FILE_IDENTITY) != v.file_identity) {
    ++v.first_last_mismatches;
    report(v, v.records_read, rule::FILE_IDENTITY_DIFFERS, Message::FOOTER_NOT_CONSISTENT,
           {v.file_identity, field_of(record, request::FILE_IDENTITY)});
  }
  ++v.footer_records;
  v.nb_record = trimmed_field(record, request::NB_RECORD);
  // A footer's place in the file is what helps the merchant find it.
  check_record_length(v, record, v.records_read);
}

}  // namespace

VerificationCounts counts_of(const Verification& v) {
  return {numeric_value(v.file_number), v.records_read, v.errors, v.header_records, v.footer_records, v.body_records};
}

void check_records(Verification& v, RecordReader& reader, TidFile& tid) {
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
        report(v, v.records_read, rule::RECORD_CODE_UNKNOWN, Message::UNKNOWN_RECORD_CODE,
               {trimmed_field(record, request::RECORD_CODE)});
        break;
    }
  }
}

}  // namespace batch
