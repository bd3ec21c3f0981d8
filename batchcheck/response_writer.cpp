#include "response_writer.h"

#include <cstdint>

#include "console.h"
#include "date.h"
#include "request_record.h"

namespace {

// The only request version the server answers.
constexpr std::string_view ANSWERED_VERSION = "03";

// The fixed sample authorisation and card the simulated server returns.
constexpr std::string_view AUTHORISATION_NUMBER = "107357";
constexpr std::string_view APPROVAL_REFERENCE = "1073578606";
constexpr std::string_view CARD_TYPE = "MASTERCARD";
constexpr std::string_view MASKED_CARD_NUMBER = "5131.07";
constexpr std::string_view CARD_EXPIRY_YYMM = "1106";
constexpr std::string_view CODE_NO_REPLY = "14";
constexpr std::string_view CODE_ACCEPTED = "00";

// A response body record repeats the request up to body_zone_5.
constexpr size_t ANSWERED_FIELDS_END = body_zone_5.offset + body_zone_5.width;

// Appends `text` left-justified in `width` (never cut).
void append_left(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// Appends `value` as at least six zero-padded digits.
void append_counter(std::string& out, int64_t value) {
  std::string digits = decimal(value);
  if (digits.size() < 6) out.append(6 - digits.size(), '0');
  out.append(digits);
}

// Makes `record` exactly 200 characters, padding with blanks or cutting.
void fit_record(std::string& record) { record.resize(RECORD_LENGTH, ' '); }

// Writes one record of exactly 200 characters.
void write_record(std::string& record, FILE* response) {
  fit_record(record);
  std::fwrite(record.data(), 1, record.size(), response);
}

// The identity warnings of one record, merchant_id first.
void warn_identity(std::string_view record, std::string_view kind, const std::string& merchant_id_set,
                   const std::string& merchant_country_set) {
  std::string_view file_id = trimmed_field(record, merchant_id);
  if (file_id != merchant_id_set)
    say({"WARNING: the merchant_id set (", merchant_id_set, ") is not the same in the ", kind, " file (", file_id,
         ")\n"});
  std::string_view file_country = trimmed_field(record, merchant_country);
  if (file_country != merchant_country_set)
    say({"WARNING: the merchant_country set (", merchant_country_set, ") is not the same in the ", kind, " file (",
         file_country, ")\n"});
}

// State carried from pass to pass of write_response_file.
struct ResponseState {
  const std::string& merchant_id;
  const std::string& merchant_country;
  RecordReader reader;
  FILE* response;
  std::string header_prefix;
  std::string record;  // the footer record, once the body pass ends on it
  bool footer_read = false;
  int64_t body_count = 0;
  int64_t accepted_count = 0;
  int64_t refused_count = 0;
  std::string pending;  // records not yet handed to the stream
};

// The full response goes out in blocks of about 64 KiB, one write each,
// rather than in the stream's small default writes.
constexpr size_t RESPONSE_BLOCK = 1 << 16;

void flush_records(ResponseState& state) {
  std::fwrite(state.pending.data(), 1, state.pending.size(), state.response);
  state.pending.clear();
}

// Queues one record of exactly 200 characters.
void queue_record(ResponseState& state, std::string& record) {
  fit_record(record);
  state.pending.append(record);
  if (state.pending.size() >= RESPONSE_BLOCK) flush_records(state);
}

int write_response_header(ResponseState& state) {
  std::string header;
  if (!read_record(state.reader, header)) {
    say({"Error during the read of the first record\n"});
    return -1;
  }
  warn_identity(header, "header", state.merchant_id, state.merchant_country);
  std::string_view version = trimmed_field(header, ::version);
  state.header_prefix = field_of(header, header_prefix);
  if (version != ANSWERED_VERSION) {
    say({" Error : file Version unknown (", version, ")\n"});
    return -1;
  }
  std::string out = state.header_prefix;
  out.append(CODE_ACCEPTED);
  // Offset 41 of the request is dropped; offsets 42-198 move one place right.
  if (header.size() > 42) out.append(std::string_view(header).substr(42, 157));
  queue_record(state, out);
  return 0;
}

void write_response_bodies(ResponseState& state) {
  std::string out;
  while (read_record(state.reader, state.record)) {
    if (state.record.compare(0, 2, FOOTER_CODE) == 0) {
      state.footer_read = true;
      return;
    }
    ++state.body_count;
    warn_identity(state.record, "body", state.merchant_id, state.merchant_country);
    std::string_view code = select_response_code(trimmed_field(state.record, body_zone_1));
    // The nine fields of split_body_record, each left-justified in its width,
    // give back the request's own characters at offsets 2-135, blanks where
    // the record is shorter: they are copied in one piece.
    out.assign(BODY_CODE);
    out.append(field_of(state.record, {merchant_country.offset, ANSWERED_FIELDS_END - merchant_country.offset}));
    out.resize(ANSWERED_FIELDS_END, ' ');
    if (code == CODE_NO_REPLY)
      append_left(out, code, 61);
    else
      append_reply_block(out, code, CARD_EXPIRY_YYMM);
    out.append(field_of(state.record, body_zone_6));
    queue_record(state, out);
    if (code == CODE_ACCEPTED)
      ++state.accepted_count;
    else
      ++state.refused_count;
  }
  state.record.clear();
}

void write_response_footer(ResponseState& state) {
  // Without a footer record (impossible once verified) only the counts remain.
  if (state.footer_read) warn_identity(state.record, "footer", state.merchant_id, state.merchant_country);
  std::string out = std::string(FOOTER_CODE);
  out.append(field_of(state.header_prefix, file_identity));
  append_counter(out, state.body_count);
  append_counter(out, state.accepted_count);
  append_counter(out, state.refused_count);
  if (state.record.size() > 47) out.append(std::string_view(state.record).substr(47, 141));
  queue_record(state, out);
}

}  // namespace

BodyFields split_body_record(std::string_view record) {
  BodyFields f;
  f.merchant_country = trimmed_field(record, merchant_country);
  f.merchant_id = trimmed_field(record, merchant_id);
  f.record_number = field_of(record, record_number);
  f.body_zone_1 = trimmed_field(record, body_zone_1);
  f.transaction_id = trimmed_field(record, transaction_id);
  f.body_zone_2 = trimmed_field(record, body_zone_2);
  f.body_zone_3 = field_of(record, body_zone_3);
  f.body_zone_4 = trimmed_field(record, body_zone_4);
  f.body_zone_5 = trimmed_field(record, body_zone_5);
  return f;
}

std::string_view select_response_code(std::string_view body_zone_1) {
  std::string_view last = last_two_chars(trim_trailing_blanks(body_zone_1));
  if (last.empty() || !is_all_digits(last)) return CODE_ACCEPTED;
  return last;
}

std::string build_reply_block(std::string_view code, std::string_view card_expiry) {
  std::string block;
  append_reply_block(block, code, card_expiry);
  return block;
}

void append_reply_block(std::string& block, std::string_view code, std::string_view card_expiry) {
  block.append(code);
  if (code == CODE_ACCEPTED) {
    append_left(block, AUTHORISATION_NUMBER, 6);
    append_left(block, APPROVAL_REFERENCE, 12);
  } else {
    block.append(18, ' ');
  }
  // Two readings of the clock, as the server stamps date and time apart.
  std::string date;
  std::string time;
  format_now(1, "+J+M+a", date);
  format_now(1, "+h+m+s", time);
  block.append(date);
  block.append(time);
  append_left(block, CARD_TYPE, 12);
  block.append(MASKED_CARD_NUMBER);
  std::string expiry(card_expiry.substr(2, 2));
  expiry.append(card_expiry[0] == '9' ? "19" : "20");
  expiry.append(card_expiry.substr(0, 2));
  append_left(block, expiry, 6);
  block.append(code);
}

int write_response_file(const std::string& merchant_id, const std::string& merchant_country, FILE* request,
                        FILE* response) {
  ResponseState state{merchant_id, merchant_country, make_record_reader(request), response, {}, {}, false, 0, 0, 0, {}};
  if (write_response_header(state) != 0) {
    say({"Error during the treatment of the header file\n"});
    return -1;
  }
  write_response_bodies(state);
  write_response_footer(state);
  flush_records(state);
  return 0;
}

int write_error_response(FILE* request, FILE* response, const std::string& result_text) {
  RecordReader reader = make_record_reader(request);
  std::string first;
  read_record(reader, first);  // an empty file leaves an empty record
  std::string prefix(field_of(first, header_prefix));
  std::string_view version = field_of(first, ::version);
  std::string code = result_text.size() == 1 ? "0" + result_text : result_text;
  if (version != ANSWERED_VERSION) {
    say({"Error creation of the response file : file Version unknown (", version, ")\n"});
    return -1;
  }
  std::string out = prefix + code;
  write_record(out, response);
  out = std::string(FOOTER_CODE);
  out.append(field_of(prefix, file_identity));
  write_record(out, response);
  return 0;
}
