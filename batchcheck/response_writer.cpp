#include "response_writer.h"

#include <array>
#include <cstdint>

#include "console.h"
#include "date.h"
#include "request_record.h"
#include "response_layout.h"

namespace {

// The only request version the server answers.
constexpr std::string_view ANSWERED_VERSION = "03";

// The fixed sample authorisation and card the simulated server returns.
constexpr std::string_view SAMPLE_AUTHORISATION_NUMBER = "107357";
constexpr std::string_view SAMPLE_APPROVAL_REFERENCE = "1073578606";
constexpr std::string_view SAMPLE_CARD_TYPE = "MASTERCARD";
constexpr std::string_view SAMPLE_MASKED_CARD_NUMBER = "5131.07";
constexpr std::string_view SAMPLE_CARD_EXPIRY_YYMM = "1106";
using response::CODE_ACCEPTED;
using response::CODE_NO_REPLY;

// Appends `text` left-justified in `width` (never cut).
void append_left(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// Appends `value` zero-padded to the width of `field`; a wider value keeps
// all its digits and pushes the rest of the record along.
void append_counter(std::string& out, Field field, int64_t value) {
  std::string digits = decimal(value);
  if (digits.size() < field.width) out.append(field.width - digits.size(), '0');
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
  std::string_view file_id = trimmed_field(record, request::MERCHANT_ID);
  if (file_id != merchant_id_set)
    say({"WARNING: the merchant_id set (", merchant_id_set, ") is not the same in the ", kind, " file (", file_id,
         ")\n"});
  std::string_view file_country = trimmed_field(record, request::MERCHANT_COUNTRY);
  if (file_country != merchant_country_set)
    say({"WARNING: the merchant_country set (", merchant_country_set, ") is not the same in the ", kind, " file (",
         file_country, ")\n"});
}

// State carried from pass to pass of write_response_file.
struct ResponseState {
  const std::string& merchant_id;
  const std::string& merchant_country;
  RecordReader& reader;
  FILE* response;
  std::string header_prefix;
  std::string record;  // the footer record, once the body pass ends on it
  bool footer_read = false;
  int64_t body_count = 0;
  int64_t accepted_count = 0;
  int64_t refused_count = 0;
  std::string pending;  // records not yet handed to the stream
};

// The full response goes out in blocks of 256 KiB, one write each, rather
// than in the stream's small default writes. A block is a whole number of
// the stream's own buffers, so the stream hands it on in one piece instead
// of splitting it into a write and a copy.
constexpr size_t RESPONSE_BLOCK = 1 << 18;

void flush_records(ResponseState& state) {
  std::fwrite(state.pending.data(), 1, state.pending.size(), state.response);
  state.pending.clear();
}

// Queues one record of exactly 200 characters.
void queue_record(ResponseState& state, std::string& record) {
  fit_record(record);
  state.pending.append(record);
  if (state.pending.size() < RESPONSE_BLOCK) return;
  std::fwrite(state.pending.data(), 1, RESPONSE_BLOCK, state.response);
  state.pending.erase(0, RESPONSE_BLOCK);
}

int write_response_header(ResponseState& state) {
  std::string header;
  if (!read_record(state.reader, header)) {
    say({"Error during the read of the first record\n"});
    return -1;
  }
  warn_identity(header, "header", state.merchant_id, state.merchant_country);
  std::string_view version = trimmed_field(header, request::VERSION);
  state.header_prefix = field_of(header, response::HEADER_PREFIX);
  if (version != ANSWERED_VERSION) {
    say({" Error : file Version unknown (", version, ")\n"});
    return -1;
  }
  std::string out = state.header_prefix;
  out.append(CODE_ACCEPTED);
  out.append(field_of(header, response::CARRIED_HEADER_REST));
  queue_record(state, out);
  return 0;
}

void write_response_bodies(ResponseState& state) {
  std::string out;
  while (read_record(state.reader, state.record)) {
    if (record_kind(state.record) == RecordKind::FOOTER) {
      state.footer_read = true;
      return;
    }
    ++state.body_count;
    warn_identity(state.record, "body", state.merchant_id, state.merchant_country);
    std::string_view code = select_response_code(trimmed_field(state.record, request::BODY_ZONE_1));
    // The answered fields, each left-justified in its width, give back the
    // request's own characters, blanks where the record is shorter: they are
    // copied in one piece.
    out.assign(request::BODY_CODE);
    out.append(field_of(state.record, response::ANSWERED_FIELDS));
    out.resize(response::RESPONSE_CODE.offset, ' ');
    if (code == CODE_NO_REPLY) {
      out.append(code);
      out.resize(response::BODY_ZONE_6.offset, ' ');
    } else {
      append_reply_block(out, code, SAMPLE_CARD_EXPIRY_YYMM);
    }
    out.append(field_of(state.record, request::BODY_ZONE_6));
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
  std::string out = std::string(request::FOOTER_CODE);
  out.append(field_of(state.header_prefix, response::FILE_IDENTITY));
  append_counter(out, response::BODY_COUNT, state.body_count);
  append_counter(out, response::ACCEPTED_COUNT, state.accepted_count);
  append_counter(out, response::REFUSED_COUNT, state.refused_count);
  out.append(field_of(state.record, response::CARRIED_FOOTER_REST));
  queue_record(state, out);
}

}  // namespace

std::string_view select_response_code(std::string_view body_zone_1) {
  std::string_view last = last_two_chars(trim_trailing_blanks(body_zone_1));
  if (last.empty() || !is_all_digits(last)) return CODE_ACCEPTED;
  return last;
}

namespace {

// The reply block after the code, from the two clock readings.
void compose_reply_block(std::string& block, std::string_view code, std::string_view date, std::string_view time,
                         std::string_view card_expiry) {
  block.append(code);
  bool accepted = code == CODE_ACCEPTED;
  append_left(block, accepted ? SAMPLE_AUTHORISATION_NUMBER : "", response::AUTHORISATION_NUMBER.width);
  append_left(block, accepted ? SAMPLE_APPROVAL_REFERENCE : "", response::APPROVAL_REFERENCE.width);
  block.append(date);
  block.append(time);
  append_left(block, SAMPLE_CARD_TYPE, response::CARD_TYPE.width);
  append_left(block, SAMPLE_MASKED_CARD_NUMBER, response::MASKED_CARD_NUMBER.width);
  std::string expiry(card_expiry.substr(2, 2));
  expiry.append(card_expiry[0] == '9' ? "19" : "20");
  expiry.append(card_expiry.substr(0, 2));
  append_left(block, expiry, response::CARD_EXPIRY.width);
  block.append(code);
}

// A reply block already composed, with what it was composed from.
struct KeptReplyBlock {
  bool used = false;
  std::string code;
  std::string card_expiry;
  std::string date;
  std::string time;
  std::string block;
};

}  // namespace

void append_reply_block(std::string& out, std::string_view code, std::string_view card_expiry) {
  // Two readings of the clock, as the server stamps date and time apart.
  static std::string date;
  static std::string time;
  format_now(1, "+J+M+a", date);
  format_now(1, "+h+m+s", time);
  // Within one second every answer with the same code gets the same block,
  // and a batch uses a few codes only: a million answers compose a handful.
  static std::array<KeptReplyBlock, 8> kept;
  static size_t next_kept = 0;
  for (const KeptReplyBlock& k : kept)
    if (k.used && k.code == code && k.time == time && k.date == date && k.card_expiry == card_expiry) {
      out.append(k.block);
      return;
    }
  KeptReplyBlock& k = kept[next_kept];
  next_kept = (next_kept + 1) % kept.size();
  k.used = true;
  k.code.assign(code);
  k.card_expiry.assign(card_expiry);
  k.date = date;
  k.time = time;
  k.block.clear();
  compose_reply_block(k.block, code, date, time, card_expiry);
  out.append(k.block);
}

int write_response_file(const std::string& merchant_id, const std::string& merchant_country, RecordReader& request,
                        FILE* response) {
  ResponseState state{merchant_id, merchant_country, request, response, {}, {}, false, 0, 0, 0, {}};
  if (write_response_header(state) != 0) {
    say({"Error during the treatment of the header file\n"});
    return -1;
  }
  write_response_bodies(state);
  write_response_footer(state);
  flush_records(state);
  return 0;
}

int write_error_response(RecordReader& request, FILE* response, const std::string& result_text) {
  std::string first;
  read_record(request, first);  // an empty file leaves an empty record
  std::string prefix(field_of(first, response::ERROR_PREFIX));
  std::string_view version = field_of(first, request::VERSION);
  std::string code = result_text.size() == 1 ? "0" + result_text : result_text;
  if (version != ANSWERED_VERSION) {
    say({"Error creation of the response file : file Version unknown (", version, ")\n"});
    return -1;
  }
  std::string out = prefix + code;
  write_record(out, response);
  out = std::string(request::FOOTER_CODE);
  out.append(field_of(prefix, response::FILE_IDENTITY));
  write_record(out, response);
  return 0;
}
