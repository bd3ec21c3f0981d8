#include "request_generator.h"

#include <array>
#include <string_view>

#include "block_writer.h"
#include "request_layout.h"

namespace {

constexpr size_t RECORD_TEXT = RECORD_LENGTH - 1;  // the line end makes 200

// Appends `text` as `field`, cut or padded with blanks to its width; the
// record holds every field before it.
void append_field(std::string& record, const Field& field, std::string_view text) {
  append_padded(record, text.substr(0, field.width), field.width);
}

// `value` as `width` zero-padded digits.
std::string digits(int64_t value, size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string finish_record(std::string record) {
  record.resize(RECORD_TEXT, ' ');
  record.push_back('\n');
  return record;
}

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

}  // namespace

std::string body_zone_1_for(int64_t record_number) { return std::string(zone_kind(record_number).zone); }

std::string expected_response_code(int64_t record_number) { return std::string(zone_kind(record_number).code); }

std::string transaction_id_for(int64_t record_number) {
  // 7919 is prime to 1,000,000, so distinct record numbers below a million
  // give distinct ids, scattered rather than sorted.
  return digits(record_number * 7919 % 1000000, 6);
}

std::string header_record(const BatchShape& shape) {
  std::string r(request::HEADER_CODE);
  append_field(r, request::MERCHANT_COUNTRY, shape.merchant_country);
  append_field(r, request::MERCHANT_ID, shape.merchant_id);
  append_field(r, request::HEADER_ZONE_1, "BATCHZ01");
  append_field(r, request::HEADER_ZONE_2, "RUN001");
  append_field(r, request::FILE_NUMBER, digits(shape.file_number, request::FILE_NUMBER.width));
  append_field(r, request::VERSION, "03");
  r.append(" generated subscription batch");
  return finish_record(std::move(r));
}

std::string body_record(const BatchShape& shape, int64_t record_number) {
  std::string r(request::BODY_CODE);
  append_field(r, request::MERCHANT_COUNTRY, shape.merchant_country);
  append_field(r, request::MERCHANT_ID, shape.foreign_bodies ? shape.merchant_id + "X" : shape.merchant_id);
  append_field(r, request::RECORD_NUMBER, digits(record_number, request::RECORD_NUMBER.width));
  append_field(r, request::BODY_ZONE_1, zone_kind(record_number).zone);
  append_field(r, request::TRANSACTION_ID, transaction_id_for(record_number));
  append_field(r, request::BODY_ZONE_2, "CUST" + digits(record_number, 8));
  append_field(r, request::BODY_ZONE_3, "EUR");
  append_field(r, request::BODY_ZONE_4, "subscriber " + std::to_string(record_number) + " monthly plan");
  append_field(r, request::BODY_ZONE_5, "ref-" + digits(record_number * 31 % 100000, 5));
  append_field(r, request::BODY_ZONE_6, "Z6Y");
  r.append("BODY-REST");
  return finish_record(std::move(r));
}

std::string footer_record(const BatchShape& shape) {
  std::string r(request::FOOTER_CODE);
  r.append(field_of(header_record(shape), request::FILE_IDENTITY));
  append_field(r, request::NB_RECORD, digits(shape.body_records, request::NB_RECORD.width));
  r.append("FOOTER-REST");
  return finish_record(std::move(r));
}

bool write_request(const BatchShape& shape, std::FILE* out) {
  if (shape.body_records < 0 || shape.body_records > MAX_BODY_RECORDS) return false;
  BlockWriter block = make_block_writer(out);
  write_bytes(block, header_record(shape));
  for (int64_t n = 1; n <= shape.body_records; ++n) write_bytes(block, body_record(shape, n));
  write_bytes(block, footer_record(shape));
  return flush_block_writer(block);
}
