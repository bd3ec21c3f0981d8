#include "batch/response_writer.h"

#include <array>
#include <cstdint>

#include "batch/console.h"
#include "date/date.h"
#include "batch/messages.h"
#include "batch/request_layout.h"
#include "batch/response_layout.h"

namespace batch {

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

// Writes `record` as one Response record: made exactly 200 characters
// first, padded with blanks or cut. A Response has no line ends.
void write_fixed_record(support::BlockWriter& response, std::string& record) {
  record.resize(RECORD_LENGTH, ' ');
  support::write_bytes(response, record);
}

// The identity warnings of one record, merchant_id first.
void warn_identity(std::string_view record, std::string_view kind, const std::string& merchant_id_set,
                   const std::string& merchant_country_set) {
  std::string_view file_id = trimmed_field(record, request::MERCHANT_ID);
  if (file_id != merchant_id_set) say(Message::MERCHANT_ID_WARNING, {merchant_id_set, kind, file_id});
  std::string_view file_country = trimmed_field(record, request::MERCHANT_COUNTRY);
  if (file_country != merchant_country_set)
    say(Message::MERCHANT_COUNTRY_WARNING, {merchant_country_set, kind, file_country});
}

// State carried from pass to pass of write_response_file.
struct ResponseState {
  const std::string& merchant_id;
  const std::string& merchant_country;
  RecordReader& reader;
  support::BlockWriter& response;
  std::string header_prefix;
  std::string record;  // the footer record, once the body pass ends on it
  bool footer_read = false;
  int64_t body_count = 0;
  int64_t accepted_count = 0;
  int64_t refused_count = 0;
};

// Answers the header record, after its identity warnings. False (the
// message in *err) when it cannot be read or its version is not answered.
bool write_response_header(ResponseState& state, std::string* err) {
  std::string header;
  if (!read_record(state.reader, header)) {
    *err = message_text(Message::FIRST_RECORD_UNREADABLE);
    return false;
  }
  warn_identity(header, "header", state.merchant_id, state.merchant_country);
  std::string_view version = trimmed_field(header, request::VERSION);
  state.header_prefix = field_of(header, response::HEADER_PREFIX);
  if (version != ANSWERED_VERSION) {
    *err = message_text(Message::VERSION_UNKNOWN, {version});
    return false;
  }
  std::string out = state.header_prefix;
  out.append(CODE_ACCEPTED);
  out.append(field_of(header, response::CARRIED_HEADER_REST));
  write_fixed_record(state.response, out);
  return true;
}

// Answers each body record, counting the accepted and the refused, up to
// the footer record, kept in state.record, or the end of the file.
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
      out.append(response::REPLY_BLOCK.width, ' ');
    } else {
      append_reply_block(out, code, SAMPLE_CARD_EXPIRY_YYMM);
    }
    out.append(field_of(state.record, request::BODY_ZONE_6));
    write_fixed_record(state.response, out);
    if (code == CODE_ACCEPTED)
      ++state.accepted_count;
    else
      ++state.refused_count;
  }
  state.record.clear();
}

// Writes the footer record: the header's identity and the counts.
void write_response_footer(ResponseState& state) {
  // Without a footer record (impossible once verified) only the counts remain.
  if (state.footer_read) warn_identity(state.record, "footer", state.merchant_id, state.merchant_country);
  std::string out = std::string(request::FOOTER_CODE);
  out.append(field_of(state.header_prefix, response::FILE_IDENTITY));
  out.append(zero_padded(state.body_count, response::BODY_COUNT.width));
  out.append(zero_padded(state.accepted_count, response::ACCEPTED_COUNT.width));
  out.append(zero_padded(state.refused_count, response::REFUSED_COUNT.width));
  out.append(field_of(state.record, response::CARRIED_FOOTER_REST));
  write_fixed_record(state.response, out);
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
  append_padded(block, accepted ? SAMPLE_AUTHORISATION_NUMBER : "", response::AUTHORISATION_NUMBER.width);
  append_padded(block, accepted ? SAMPLE_APPROVAL_REFERENCE : "", response::APPROVAL_REFERENCE.width);
  block.append(date);
  block.append(time);
  append_padded(block, SAMPLE_CARD_TYPE, response::CARD_TYPE.width);
  append_padded(block, SAMPLE_MASKED_CARD_NUMBER, response::MASKED_CARD_NUMBER.width);
  std::string expiry(card_expiry.substr(2, 2));
  expiry.append(card_expiry[0] == '9' ? "19" : "20");
  expiry.append(card_expiry.substr(0, 2));
  append_padded(block, expiry, response::CARD_EXPIRY.width);
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
  datelib::format_now(1, "+J+M+a", date);
  datelib::format_now(1, "+h+m+s", time);
  // Within one second every answer with the same code gets the same block,
  // and a batch uses a few codes only: a million answers compose a handful.
  // The blocks, found by their stamps, are the one place the stamps are kept.
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

bool write_response_file(const std::string& merchant_id, const std::string& merchant_country, RecordReader& request,
                         support::BlockWriter& response, std::string* err) {
  ResponseState state{merchant_id, merchant_country, request, response, {}, {}, false, 0, 0, 0};
  if (!write_response_header(state, err)) {
    append_message(*err, Message::HEADER_NOT_TREATED);
    return false;
  }
  write_response_bodies(state);
  write_response_footer(state);
  return true;
}

bool write_error_response(RecordReader& request, support::BlockWriter& response, VerificationResult result,
                          std::string* err) {
  std::string first;
  read_record(request, first);  // an empty file leaves an empty record
  std::string prefix(field_of(first, response::ERROR_PREFIX));
  std::string_view version = field_of(first, request::VERSION);
  if (version != ANSWERED_VERSION) {
    *err = message_text(Message::ERROR_RESPONSE_VERSION_UNKNOWN, {version});
    return false;
  }
  std::string out = prefix;
  out.append(result_digits(result));
  write_fixed_record(response, out);
  out = std::string(request::FOOTER_CODE);
  out.append(field_of(prefix, response::FILE_IDENTITY));
  write_fixed_record(response, out);
  return true;
}

}  // namespace batch
