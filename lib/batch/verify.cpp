#include "batch/verify.h"

#include <cstdint>
#include <string_view>

#include "batch/console.h"
#include "batch/messages.h"
#include "platform/files.h"
#include "batch/record_checks.h"
#include "batch/record_layout.h"
#include "batch/record_reader.h"
#include "batch/rules.h"
#include "batch/tid_file.h"

namespace batch {

namespace {

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
    report(v, NO_RECORD, rule::INCORRECT_SIZE_FILE, Message::INCORRECT_SIZE, {decimal(static_cast<int64_t>(v.last_wrong_length))});
    return VerificationResult::CONTENT_ERROR;
  }
  if (v.first_last_mismatches != 0) return VerificationResult::STRUCTURE_ERROR;
  if (v.footer_records != 1) return VerificationResult::STRUCTURE_ERROR;
  if (v.record_number_sequence_broken) {
    report(v, NO_RECORD, rule::RECORD_NUMBERS_INTERRUPTED, Message::RECORD_NUMBERS_INTERRUPTED);
    return VerificationResult::STRUCTURE_ERROR;
  }
  if (v.already_treated) {
    report(v, NO_RECORD, rule::FILE_ALREADY_TREATED, Message::ALREADY_TREATED);
    return VerificationResult::ALREADY_TREATED;
  }
  if (v.file_number_sequence_gap) {
    report(v, NO_RECORD, rule::FILE_SEQUENCE_INTERRUPTED, Message::FILE_SEQUENCE_INTERRUPTED,
           {v.file_number, expected_file_number.value_or("")});
    return VerificationResult::FILE_SEQUENCE_GAP;
  }
  if (numeric_value(v.nb_record) != v.body_records) {
    report(v, NO_RECORD, rule::NB_RECORD_DIFFERS, Message::NB_RECORD_DIFFERS, {v.nb_record});
    return VerificationResult::STRUCTURE_ERROR;
  }
  return VerificationResult::VALID;
}

// Checks the TID file for repeated transaction ids, each reported on the
// record it comes from when the sink wants it, `repeats` set when one
// repeats. False (the message in *err) when the ids cannot all be read back.
bool check_repeats(Verification& v, const std::string& path, TidFile& tid, bool& repeats, std::string* err) {
  EntryPlaces places;
  places.path = path;
  auto repeated = [&](uint64_t entry, std::string_view id) {
    int64_t place = v.sink->wants_record_positions ? record_of_entry(places, static_cast<int64_t>(entry)) : NO_RECORD;
    report(v, place, rule::TRANSACTION_ID_REPEATED, Message::TRANSACTION_ID_REPEATED, {id});
    repeats = true;
  };
  bool read_back = check_tid_file(tid, REPEAT_CHECK_BUDGET, repeated, err);
  if (places.file) std::fclose(places.file);
  return read_back;
}

// The end of a verification whose file or TID file failed: the finding of
// `rule` that says why, and the result.
VerificationResult file_error(const VerificationSink& sink, std::string_view rule, const std::string& text) {
  sink.finding(NO_RECORD, rule, text);
  return VerificationResult::FILE_ERROR;
}

}  // namespace

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
  if (!request) return file_error(sink, rule::FILE_UNREADABLE, message_text(Message::CANNOT_READ_FILE, {path}));
  TidFile tid;
  std::string err;
  if (!create_tid_file_named(tid_name.empty() ? tid_file_name(path) : tid_name, tid, &err)) {
    std::fclose(request);
    return file_error(sink, rule::TEMPORARY_FILE_UNUSABLE, err);
  }
  RecordReader reader = make_record_reader(request);
  check_records(v, reader, tid);
  std::fclose(request);
  // A batch whose end was never seen may hide any fault: it is not judged.
  if (reader.failed) {
    discard_tid_file(tid);
    return file_error(sink, rule::FILE_UNREADABLE, message_text(Message::CANNOT_READ_FILE, {path}));
  }
  if (read) *read = reader.fingerprint;
  if (!close_tid_file(tid, &err)) return file_error(sink, rule::TEMPORARY_FILE_UNUSABLE, err);
  sink.summary(counts_of(v));
  bool repeats = false;
  // The ids could not be read back (the TID file removed meanwhile, a disk
  // error, a full disk while spilling): nothing is known of the batch's
  // repeats, as when the TID file cannot be created.
  if (!check_repeats(v, path, tid, repeats, &err)) return file_error(sink, rule::TEMPORARY_FILE_UNUSABLE, err);
  return decide(v, repeats, expected_file_number);
}

VerificationResult verify_request_file(const std::string& path, const std::string& expected_file_number,
                                       std::optional<Fingerprint>* read) {
  VerificationSink printing;
  printing.finding = [](int64_t, std::string_view, std::string_view text) { say(text); };
  printing.summary = [](const VerificationCounts& counts) { say(summary_text(counts)); };
  printing.wants_record_positions = false;
  return verify_request_file(path, expected_file_number, printing, read);
}

}  // namespace batch
