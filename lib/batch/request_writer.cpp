#include "batch/request_writer.h"

#include <cstring>

namespace batch {

namespace {

// Puts `value` at `field` of the `length` characters at `record`, blanks
// after it; a field past `length` stops there.
void put_text(char* record, size_t length, const Field& field, std::string_view value) {
  size_t width = field.offset + field.width > length ? length - field.offset : field.width;
  value = value.substr(0, width);
  std::memcpy(record + field.offset, value.data(), value.size());
  std::memset(record + field.offset + value.size(), ' ', width - value.size());
}

// Puts `value` at `field` as digits, zeros in front.
void put_digits(char* record, const Field& field, int64_t value) {
  for (size_t i = field.width; i > 0; --i, value /= 10) record[field.offset + i - 1] = static_cast<char>('0' + value % 10);
}

// `record` as `length` blanks, ready for its fields.
void blank_record(std::string& record, size_t length) { record.assign(length, ' '); }

// Fields that run to the end of the record stop where the record does.
void put_last_field(std::string& record, const Field& field, std::string_view value) {
  put_text(record.data(), record.size(), field, value);
}

}  // namespace

void put_field(std::string& record, const Field& field, std::string_view value) {
  if (record.size() < field.offset + field.width) record.resize(field.offset + field.width, ' ');
  put_text(record.data(), record.size(), field, value);
}

void compose_header(const BatchHeader& header, size_t length, std::string& record) {
  blank_record(record, length);
  put_field(record, request::RECORD_CODE, request::HEADER_CODE);
  put_field(record, request::MERCHANT_COUNTRY, header.merchant_country);
  put_field(record, request::MERCHANT_ID, header.merchant_id);
  put_field(record, request::HEADER_ZONE_1, header.header_zone_1);
  put_field(record, request::HEADER_ZONE_2, header.header_zone_2);
  put_field(record, request::FILE_NUMBER, header.file_number);
  put_field(record, request::VERSION, header.version);
  put_last_field(record, request::HEADER_REST, header.header_rest);
}

BodyComposer make_body_composer(const BatchHeader& header, size_t length) {
  BodyComposer composer;
  blank_record(composer.blank, length);
  put_field(composer.blank, request::RECORD_CODE, request::BODY_CODE);
  put_field(composer.blank, request::MERCHANT_COUNTRY, header.merchant_country);
  put_field(composer.blank, request::MERCHANT_ID, header.merchant_id);
  return composer;
}

void append_body(const BodyComposer& composer, int64_t ordinal, const BodyValues& values, std::string& out) {
  size_t at = out.size();
  out.append(composer.blank);
  char* record = out.data() + at;
  size_t length = composer.blank.size();
  for (size_t i = 0; i < request::BODY_FIELDS.size(); ++i) {
    const Field& field = request::BODY_FIELDS[i];
    if (!values[i].empty())
      put_text(record, length, field, values[i]);
    else if (i == body_index(request::RECORD_NUMBER) || i == body_index(request::TRANSACTION_ID))
      put_digits(record, field, ordinal);
  }
}

void compose_footer(const BatchHeader& header, int64_t body_records, size_t length, std::string& record) {
  // The footer repeats the header's identity: taken from the header itself,
  // so the two can never differ.
  std::string header_record;
  compose_header(header, length, header_record);
  blank_record(record, length);
  put_field(record, request::RECORD_CODE, request::FOOTER_CODE);
  put_field(record, request::FILE_IDENTITY, field_of(header_record, request::FILE_IDENTITY));
  put_field(record, request::NB_RECORD, zero_padded(body_records, request::NB_RECORD.width));
  put_last_field(record, request::FOOTER_REST, header.footer_rest);
}

void write_record(support::BlockWriter& out, std::string_view text, std::string_view line_end) {
  support::write_bytes(out, text);
  support::write_bytes(out, line_end);
}

void write_body(support::BlockWriter& out, const BodyComposer& composer, int64_t ordinal, const BodyValues& values,
                std::string_view line_end) {
  // The room is kept from one record to the next.
  static std::string record;
  record.clear();
  append_body(composer, ordinal, values, record);
  record.append(line_end);
  support::write_bytes(out, record);
}

}  // namespace batch
