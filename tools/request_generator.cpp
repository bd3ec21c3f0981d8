#include "request_generator.h"

#include <array>
#include <string_view>

namespace {

constexpr size_t RECORD_TEXT = 199;  // the line end makes 200

// Appends `text` cut or padded with blanks to `width`.
void append_field(std::string& out, std::string_view text, size_t width) {
  text = text.substr(0, width);
  out.append(text);
  out.append(width - text.size(), ' ');
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
  std::string r = "00";
  append_field(r, shape.merchant_country, 2);
  append_field(r, shape.merchant_id, 15);
  r.append("BATCHZ01");
  r.append("RUN001");
  r.append(digits(shape.file_number, 6));
  r.append("03");
  r.append(" generated subscription batch");
  return finish_record(std::move(r));
}

std::string body_record(const BatchShape& shape, int64_t record_number) {
  std::string r = "03";
  append_field(r, shape.merchant_country, 2);
  append_field(r, shape.foreign_bodies ? shape.merchant_id + "X" : shape.merchant_id, 15);
  r.append(digits(record_number, 6));
  append_field(r, zone_kind(record_number).zone, 8);
  r.append(transaction_id_for(record_number));
  append_field(r, "CUST" + digits(record_number, 8), 12);
  r.append("EUR");
  append_field(r, "subscriber " + std::to_string(record_number) + " monthly plan", 50);
  append_field(r, "ref-" + digits(record_number * 31 % 100000, 5), 32);
  r.append("Z6Y");
  r.append("BODY-REST");
  return finish_record(std::move(r));
}

std::string footer_record(const BatchShape& shape) {
  std::string identity = header_record(shape).substr(2, 39);
  return finish_record("09" + identity + digits(shape.body_records, 6) + "FOOTER-REST");
}

bool write_request(const BatchShape& shape, std::FILE* out) {
  if (shape.body_records < 0 || shape.body_records > MAX_BODY_RECORDS) return false;
  // Records go out in blocks so that a million of them cost few writes.
  std::string block = header_record(shape);
  bool ok = true;
  for (int64_t n = 1; n <= shape.body_records; ++n) {
    block.append(body_record(shape, n));
    if (block.size() >= (1 << 16)) {
      ok = ok && std::fwrite(block.data(), 1, block.size(), out) == block.size();
      block.clear();
    }
  }
  block.append(footer_record(shape));
  ok = ok && std::fwrite(block.data(), 1, block.size(), out) == block.size();
  return ok && std::fflush(out) == 0;
}
