#include "run.h"

#include <cstdio>
#include <optional>
#include <string>

#include "support/block_writer.h"
#include "batch/console.h"
#include "batch/messages.h"
#include "platform/cleanup.h"
#include "platform/files.h"
#include "platform/replacement.h"
#include "batch/record_reader.h"
#include "batch/response_writer.h"
#include "batch/tid_file.h"
#include "batch/verify.h"

using namespace batch;
using namespace support;

namespace {

// Opens the Request file and a replacement of the Response file; false (the
// message in *err) when either cannot be opened or the Response would
// destroy the Request or its TID file.
bool open_files(const BatchcheckArguments& args, FILE*& request, Replacement& response, std::string* err) {
  // The verification creates and deletes that file: as the Response it would
  // be emptied under the verification, or deleted once written.
  if (same_place(args.response_file, tid_file_name(args.request_file))) {
    *err = message_text(Message::RESPONSE_IS_TID_FILE, {args.response_file});
    return false;
  }
  request = open_for_reading(args.request_file);
  if (!request) {
    *err = message_text(Message::CANNOT_READ_FILE, {args.request_file});
    return false;
  }
  // Opening the response would empty the request before it is checked.
  if (same_file(args.request_file, args.response_file)) {
    std::fclose(request);
    *err = message_text(Message::RESPONSE_IS_REQUEST, {args.response_file});
    return false;
  }
  if (!open_replacement(args.response_file, response)) {
    std::fclose(request);
    *err = message_text(Message::CANNOT_WRITE_FILE, {args.response_file});
    return false;
  }
  return true;
}

// Gives up the replacement, so that the previous Response stays as it was;
// false, the creation error in *err.
bool response_not_created(Replacement& response, const BatchcheckArguments& args, std::string* err) {
  discard_replacement(response);
  *err = message_text(Message::RESPONSE_NOT_CREATED, {args.response_file});
  return false;
}

// Writes the answer that `result` calls for: the full response to a valid
// batch, the error response to any other. False (the message in *err) when
// the writer refused the batch.
bool answer(const BatchcheckArguments& args, VerificationResult result, RecordReader& reader, BlockWriter& response,
            std::string* err) {
  if (result != VerificationResult::VALID) {
    say(Message::VERIFICATION_FAILED, {args.request_file});
    return write_error_response(reader, response, result, err);
  }
  say(Message::VERIFICATION_PASSED, {args.request_file});
  say(Message::RESPONSE_CREATION, {args.response_file});
  return write_response_file(args.merchant_id, args.merchant_country, reader, response, err);
}

// The run but for its last flush of the console: true when it reached its
// end, whatever the verdict; false (the message in *err) when it could not
// be carried out.
bool check_and_answer(const BatchcheckArguments& args, std::string* err) {
  FILE* request = nullptr;
  Replacement response;
  if (!open_files(args, request, response, err)) return false;
  say(Message::VERIFICATION_STARTS);
  std::optional<Fingerprint> verified;
  VerificationResult result = verify_request_file(args.request_file, args.file_number, &verified);
  RecordReader reader = make_record_reader(request);
  BlockWriter out = make_block_writer(response.file);
  std::string refused;
  bool written = answer(args, result, reader, out, &refused);
  if (!written) say(refused);
  // The answer stands only on the bytes the verification checked: the rest
  // of the file is read too, and both readings must agree to the byte.
  read_to_end(reader);
  std::fclose(request);
  if (reader.failed) return response_not_created(response, args, err);
  if (verified && !same_bytes(*verified, reader.fingerprint)) {
    discard_replacement(response);
    *err = message_text(Message::REQUEST_CHANGED, {args.request_file});
    return false;
  }
  // A full disk must never pass for a Response file written whole.
  if (!flush_block_writer(out) || !close_replacement(response)) return response_not_created(response, args, err);
  // The report must reach the merchant before the Response takes its place;
  // "created" is said only once it is there.
  flush_console();
  if (!install_replacement(response)) return response_not_created(response, args, err);
  if (result == VerificationResult::VALID)
    say(written ? Message::RESPONSE_CREATED : Message::RESPONSE_NOT_CREATED, {args.response_file});
  return true;
}

}  // namespace

bool run_batchcheck(const BatchcheckArguments& args) {
  std::string err;
  bool completed = check_and_answer(args, &err);
  if (!completed) say(err);
  flush_console();
  return completed;
}
