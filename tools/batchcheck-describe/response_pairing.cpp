#include "response_pairing.h"

#include <array>

#include "batch/response_layout.h"
#include "platform/files.h"
#include "support/escaped_text.h"

using namespace batch;

namespace {

// `field` of `record` as the writer puts it into an answer: left-justified
// in its width, blanks where the record ends early.
std::string padded(std::string_view record, const Field& field) {
  std::string value;
  append_padded(value, field_of(record, field), field.width);
  return value;
}

// Compares the response field `answer` with the request field `asked`.
void compare(std::string_view response_record, const Field& answer, std::string_view request_record,
             const Field& asked, std::string_view whose, std::vector<Finding>& found) {
  std::string expected = padded(request_record, asked);
  if (field_of(response_record, answer) == expected) return;
  std::string text = std::string(answer.name) + " is not the request " + std::string(whose) + "'s ";
  append_quoted(text, expected);
  found.push_back({rule::CARRIED_FIELD_DIFFERS, std::move(text), answer});
}

// The prefix every answer's first record repeats from the request's first record.
constexpr std::array PREFIX_FIELDS{request::RECORD_CODE,   request::MERCHANT_COUNTRY,
                                                     request::MERCHANT_ID,   request::HEADER_ZONE_1,
                                                     request::HEADER_ZONE_2, request::FILE_NUMBER,
                                                     request::VERSION};

// The fields a body answer carries at the request body's own places.
constexpr std::array CARRIED_BODY_FIELDS{
    request::MERCHANT_COUNTRY, request::MERCHANT_ID, request::RECORD_NUMBER, request::BODY_ZONE_1,
    request::TRANSACTION_ID,   request::BODY_ZONE_2, request::BODY_ZONE_3,   request::BODY_ZONE_4,
    request::BODY_ZONE_5};

// Reads the request's next body record into pairing.record, as the writer
// takes them: every record after the first up to the first footer record.
bool next_request_body(Pairing& pairing) {
  if (pairing.bodies_ended) return false;
  if (!read_record(pairing.reader, pairing.record) || record_kind(pairing.record) == RecordKind::FOOTER) {
    pairing.bodies_ended = true;
    return false;
  }
  ++pairing.request_bodies;
  return true;
}

}  // namespace

bool open_pairing(const std::string& path, Pairing& pairing) {
  pairing.path = path;
  pairing.file = open_for_reading(path);
  if (!pairing.file) return false;
  pairing.reader = make_record_reader(pairing.file);
  read_record(pairing.reader, pairing.first);  // an empty Request leaves it empty
  return !pairing.reader.failed;
}

void pair_response_record(Pairing& pairing, ResponseKind kind, std::string_view record, std::vector<Finding>& found) {
  switch (kind) {
    case ResponseKind::HEADER:
    case ResponseKind::ERROR_FIRST:
      for (const Field& field : PREFIX_FIELDS) compare(record, field, pairing.first, field, "header", found);
      break;
    case ResponseKind::FOOTER:
    case ResponseKind::ERROR_SECOND:
      compare(record, response::FILE_IDENTITY, pairing.first, request::FILE_IDENTITY, "header", found);
      break;
    case ResponseKind::BODY:
      ++pairing.response_bodies;
      if (!next_request_body(pairing)) {
        found.push_back({rule::BODY_MISSING_IN_REQUEST,
                         "the request holds no body record " + std::to_string(pairing.response_bodies) +
                             " for this answer",
                         std::nullopt});
        break;
      }
      for (const Field& field : CARRIED_BODY_FIELDS) compare(record, field, pairing.record, field, "body", found);
      compare(record, response::BODY_ZONE_6, pairing.record, request::BODY_ZONE_6, "body", found);
      break;
    case ResponseKind::OTHER:
      break;
  }
}

bool finish_pairing(Pairing& pairing, ResponseForm form, std::vector<Finding>& on_file) {
  if (form == ResponseForm::FULL) {
    int64_t answered = pairing.request_bodies;
    while (next_request_body(pairing)) {
    }
    int64_t first = answered + 1;
    int64_t last = pairing.request_bodies;
    if (last >= first)
      on_file.push_back({rule::BODY_MISSING_IN_RESPONSE,
                         first == last ? "the request's body record " + std::to_string(first) + " has no answer"
                                       : "the request's body records " + std::to_string(first) + " to " +
                                             std::to_string(last) + " have no answer",
                         std::nullopt});
  }
  bool read_whole = !pairing.reader.failed;
  std::fclose(pairing.file);
  pairing.file = nullptr;
  return read_whole;
}
