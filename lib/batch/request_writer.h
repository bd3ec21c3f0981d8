#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "support/block_writer.h"
#include "batch/request_layout.h"

namespace batch {

// batchcheck-make's side of the Request file: records composed from named
// fields of the request layout, and written in blocks behind one another.

// The most body records a batch can count: record_number and nb_record have
// six digits.
constexpr int64_t MAX_BATCH_BODY_RECORDS = 999999;

// The two line ends a made batch can have: CR LF for the merchants' Windows
// workstations, LF for the others.
constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view LF = "\n";

// Puts `value` into `record` at `field`, left-justified with blanks after it,
// growing the record with blanks to the field's end first. A value wider
// than the field is cut to it: the readers refuse such values before.
void put_field(std::string& record, const Field& field, std::string_view value);

// The header's and the footer's values, as the merchant gives them; each
// fits its field (file_number as six digits).
struct BatchHeader {
  std::string merchant_country;
  std::string merchant_id;
  std::string header_zone_1;
  std::string header_zone_2;
  std::string file_number;
  std::string version = "03";
  std::string header_rest;
  std::string footer_rest;
};

// How many characters a record holds before a line end of `line_end`: 200
// counting the line end as one character, as the reading unit counts it.
constexpr size_t record_text_length(std::string_view line_end) {
  return line_end.empty() ? RECORD_LENGTH : RECORD_LENGTH - 1;
}

// The values of one body record, one per field of request::BODY_FIELDS in
// that order. An empty value takes its default: record_code 03, the
// header's merchant_country and merchant_id, the record's ordinal as
// record_number and as transaction_id (six digits, so unique in the batch),
// blanks elsewhere.
using BodyValues = std::array<std::string_view, request::BODY_FIELDS.size()>;

// The index of `field` in request::BODY_FIELDS.
constexpr size_t body_index(const Field& field) {
  for (size_t i = 0; i < request::BODY_FIELDS.size(); ++i)
    if (request::BODY_FIELDS[i].offset == field.offset) return i;
  return request::BODY_FIELDS.size();
}

// The header record of a batch, without its line end, `length` characters.
void compose_header(const BatchHeader& header, size_t length, std::string& record);

// The footer record of a batch of `body_records`, without its line end,
// `length` characters.
void compose_footer(const BatchHeader& header, int64_t body_records, size_t length, std::string& record);

// The body records of one batch: what they share (the record code, the
// header's merchant and country, the blanks) is composed once.
struct BodyComposer {
  std::string blank;  // a body record of defaults, but for the numbers
};

// The composer of a batch's body records, `length` characters each.
BodyComposer make_body_composer(const BatchHeader& header, size_t length);

// Appends to `out` the body record numbered `ordinal`, without line end.
void append_body(const BodyComposer& composer, int64_t ordinal, const BodyValues& values, std::string& out);

// Queues one record and its line end for the made file.
void write_record(support::BlockWriter& out, std::string_view text, std::string_view line_end);

// Queues the body record numbered `ordinal` and its line end.
void write_body(support::BlockWriter& out, const BodyComposer& composer, int64_t ordinal, const BodyValues& values,
                std::string_view line_end);

}  // namespace batch
