#include "request_generator.h"

#include <array>
#include <string_view>

#include "batch/request_writer.h"

using namespace batch;
using namespace support;

namespace {

// body_zone_1 and the code it selects, in the order the records use them.
struct ZoneKind {
  std::string_view zone;
  std::string_view code;
};
constexpr std::array<ZoneKind, BODY_ZONE_KINDS> kZones{{
    {"00001200", "00"},  // accepted, with the authorisation data
    {"12340005", "05"},  // refused: a two-digit code other than 00
    {"12345614", "14"},  // code 14: no reply block
    {"ABCDEFGH", "00"},  // last two characters not digits
    {"5", "00"},         // fewer than two characters once blanks go
    {"123451", "51"},    // a refusal followed by blanks
}};

const ZoneKind& zone_kind(int64_t record_number) {
  return kZones[static_cast<size_t>((record_number - 1) % BODY_ZONE_KINDS)];
}

// The header and footer of every generated batch.
BatchHeader batch_header(const BatchShape& shape) {
  BatchHeader header;
  header.merchant_country = shape.merchant_country;
  header.merchant_id = shape.merchant_id;
  header.header_zone_1 = "BATCHZ01";
  header.header_zone_2 = "RUN001";
  header.file_number = zero_padded(shape.file_number, request::FILE_NUMBER.width);
  header.header_rest = " generated subscription batch";
  header.footer_rest = "FOOTER-REST";
  return header;
}

// Generated records end with a line feed.
constexpr size_t TEXT_LENGTH = record_text_length(LF);

// Appends one body record's text to `out`, or queues it with its line end.
template <typename Sink>
void generated_body(const BatchShape& shape, const BodyComposer& composer, int64_t record_number, Sink sink) {
  std::string foreign_id = shape.merchant_id + "X";
  std::string transaction_id = transaction_id_for(record_number);
  std::string customer = "CUST" + zero_padded(record_number, 8);
  std::string plan = "subscriber " + std::to_string(record_number) + " monthly plan";
  std::string reference = "ref-" + zero_padded(record_number * 31 % 100000, 5);
  BodyValues values{};
  values[body_index(request::MERCHANT_ID)] = shape.foreign_bodies ? std::string_view(foreign_id) : "";
  values[body_index(request::BODY_ZONE_1)] = zone_kind(record_number).zone;
  values[body_index(request::TRANSACTION_ID)] = transaction_id;
  values[body_index(request::BODY_ZONE_2)] = customer;
  values[body_index(request::BODY_ZONE_3)] = "EUR";
  values[body_index(request::BODY_ZONE_4)] = plan;
  values[body_index(request::BODY_ZONE_5)] = reference;
  values[body_index(request::BODY_ZONE_6)] = "Z6Y";
  values[body_index(request::BODY_REST)] = "BODY-REST";
  sink(composer, record_number, values);
}

}  // namespace

std::string body_zone_1_for(int64_t record_number) { return std::string(zone_kind(record_number).zone); }

std::string expected_response_code(int64_t record_number) { return std::string(zone_kind(record_number).code); }

std::string transaction_id_for(int64_t record_number) {
  // 7919 is prime to 1,000,000, so distinct record numbers below a million
  // give distinct ids, scattered rather than sorted.
  return zero_padded(record_number * 7919 % 1000000, 6);
}

std::string header_record(const BatchShape& shape) {
  std::string record;
  compose_header(batch_header(shape), TEXT_LENGTH, record);
  return record.append(LF);
}

std::string body_record(const BatchShape& shape, int64_t record_number) {
  std::string record;
  generated_body(shape, make_body_composer(batch_header(shape), TEXT_LENGTH), record_number,
                 [&](const BodyComposer& composer, int64_t n, const BodyValues& values) {
                   append_body(composer, n, values, record);
                 });
  return record.append(LF);
}

std::string footer_record(const BatchShape& shape) {
  std::string record;
  compose_footer(batch_header(shape), shape.body_records, TEXT_LENGTH, record);
  return record.append(LF);
}

bool write_request(const BatchShape& shape, std::FILE* out) {
  if (shape.body_records < 0 || shape.body_records > MAX_BODY_RECORDS) return false;
  BatchHeader header = batch_header(shape);
  BlockWriter output = make_block_writer(out);
  std::string record;
  compose_header(header, TEXT_LENGTH, record);
  write_record(output, record, LF);
  BodyComposer composer = make_body_composer(header, TEXT_LENGTH);
  for (int64_t n = 1; n <= shape.body_records; ++n)
    generated_body(shape, composer, n, [&](const BodyComposer& c, int64_t ordinal, const BodyValues& values) {
      write_body(output, c, ordinal, values, LF);
    });
  compose_footer(header, shape.body_records, TEXT_LENGTH, record);
  write_record(output, record, LF);
  return flush_block_writer(output);
}
