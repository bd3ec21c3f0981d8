#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Where a field of a fixed-width record lives: its name in the file's
// layout, its offset and its width, counted from the record's first character.
struct Field {
  std::string_view name;
  size_t offset;
  size_t width;
};

// The one field that runs from the start of `first` to the end of `last`.
constexpr Field spanning(std::string_view name, Field first, Field last) {
  return {name, first.offset, last.offset + last.width - first.offset};
}

constexpr size_t RECORD_LENGTH = 200;

// A field that takes whatever the record holds from `offset` on.
constexpr Field rest_of_record(std::string_view name, size_t offset) { return {name, offset, RECORD_LENGTH - offset}; }

// True when `fields` follow one another from offset 0 to the end of a
// record, without gap or overlap.
template <size_t N>
constexpr bool covers_record(const std::array<Field, N>& fields) {
  size_t next = 0;
  for (const Field& field : fields) {
    if (field.offset != next) return false;
    next = field.offset + field.width;
  }
  return next == RECORD_LENGTH;
}

// The records of the Request file: a header, the body records, a footer.
namespace request {

constexpr Field RECORD_CODE{"record_code", 0, 2};
constexpr Field MERCHANT_COUNTRY{"merchant_country", 2, 2};
constexpr Field MERCHANT_ID{"merchant_id", 4, 15};

// Header record.
constexpr Field HEADER_ZONE_1{"header_zone_1", 19, 8};
constexpr Field HEADER_ZONE_2{"header_zone_2", 27, 6};
constexpr Field FILE_NUMBER{"file_number", 33, 6};
constexpr Field VERSION{"version", 39, 2};
constexpr Field HEADER_REST = rest_of_record("header_rest", 41);
// What the footer must repeat of the header, and all the header says before its rest.
constexpr Field FILE_IDENTITY = spanning("file_identity", MERCHANT_COUNTRY, VERSION);
constexpr Field HEADER_PREFIX = spanning("header_prefix", RECORD_CODE, VERSION);

// Body record.
constexpr Field RECORD_NUMBER{"record_number", 19, 6};
constexpr Field BODY_ZONE_1{"body_zone_1", 25, 8};
constexpr Field TRANSACTION_ID{"transaction_id", 33, 6};
constexpr Field BODY_ZONE_2{"body_zone_2", 39, 12};
constexpr Field BODY_ZONE_3{"body_zone_3", 51, 3};
constexpr Field BODY_ZONE_4{"body_zone_4", 54, 50};
constexpr Field BODY_ZONE_5{"body_zone_5", 104, 32};
constexpr Field BODY_ZONE_6{"body_zone_6", 136, 3};
constexpr Field BODY_REST = rest_of_record("body_rest", 139);

// Footer record (its file_identity sits where the header's does).
constexpr Field NB_RECORD{"nb_record", 41, 6};
constexpr Field FOOTER_REST = rest_of_record("footer_rest", 47);

// Every field of each record kind, in file order; together they cover the record.
constexpr std::array HEADER_FIELDS{RECORD_CODE,   MERCHANT_COUNTRY, MERCHANT_ID, HEADER_ZONE_1,
                                   HEADER_ZONE_2, FILE_NUMBER,      VERSION,     HEADER_REST};
constexpr std::array BODY_FIELDS{RECORD_CODE, MERCHANT_COUNTRY, MERCHANT_ID, RECORD_NUMBER, BODY_ZONE_1, TRANSACTION_ID,
                                 BODY_ZONE_2, BODY_ZONE_3,      BODY_ZONE_4, BODY_ZONE_5,   BODY_ZONE_6, BODY_REST};
constexpr std::array FOOTER_FIELDS{RECORD_CODE, FILE_IDENTITY, NB_RECORD, FOOTER_REST};
// A record of any other code has no layout beyond its code.
constexpr Field RECORD_REST = rest_of_record("record_rest", 2);
constexpr std::array OTHER_FIELDS{RECORD_CODE, RECORD_REST};
static_assert(covers_record(HEADER_FIELDS) && covers_record(BODY_FIELDS) && covers_record(FOOTER_FIELDS) &&
              covers_record(OTHER_FIELDS));

// Record codes.
constexpr std::string_view HEADER_CODE = "00";
constexpr std::string_view BODY_CODE = "03";
constexpr std::string_view FOOTER_CODE = "09";

}  // namespace request

// What a record is, by its record_code (trailing blanks removed).
enum class RecordKind { HEADER, BODY, FOOTER, OTHER };

// The kind of a Request record.
RecordKind record_kind(std::string_view record);

// The fields of a kind's layout, in file order.
std::span<const Field> fields_of_kind(RecordKind kind);

// The characters of `field` that `record` holds: fewer (possibly none) when
// the record ends before the field does. Inline, as the three are taken
// several times from each of a million records.
inline std::string_view field_of(std::string_view record, const Field& field) {
  if (field.offset >= record.size()) return {};
  return record.substr(field.offset, field.width);
}

// Removes the blanks at the end of `text`; an all-blank text becomes empty.
inline std::string_view trim_trailing_blanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

// A field with its trailing blanks removed.
inline std::string_view trimmed_field(std::string_view record, const Field& field) {
  return trim_trailing_blanks(field_of(record, field));
}

// A numeric field or argument as a number: leading blanks skipped, an
// optional sign, digits up to the first other character; 0 without digits.
int64_t numeric_value(std::string_view text);

// The last two characters of `text`, or empty when it has fewer than two.
std::string_view last_two_chars(std::string_view text);

// True when every character is a decimal digit (so true for empty text).
bool is_all_digits(std::string_view text);

// What a reader has taken from its file: the count of bytes and a running
// checksum of them, the same however the reads cut the file. Two passes over
// a file that nobody changed in between end with equal tallies.
struct ReadTally {
  uint64_t bytes = 0;
  // The running checksum of the eight-byte words: word k goes to lane k % 4,
  // so that the four lanes are computed side by side.
  std::array<uint64_t, 4> lanes{};
  uint64_t partial = 0;  // the bytes of the word not yet complete
  bool whole = false;    // the end of the file was reached without error
};

// Adds `size` bytes at `data` to the tally.
void tally_bytes(ReadTally& tally, const char* data, size_t size);

// True when two tallies saw the same bytes.
bool same_bytes(const ReadTally& a, const ReadTally& b);

// How the reader takes bytes from its file; `failed` tells a read error from
// the end of the file. std::fread by default; tests put a failing one here.
using ReadBytes = size_t (*)(char* into, size_t size, FILE* file, bool& failed);
extern ReadBytes read_request_bytes;

// Reads a Request file record by record. A record ends after its line end or
// at 200 characters, whichever comes first. A carriage return followed by a
// line feed is one line end, kept as a single "\n"; every other byte, NUL and
// lone carriage returns included, is an ordinary character.
struct RecordReader {
  FILE* file = nullptr;
  std::vector<char> buffer = std::vector<char>(1 << 18);
  size_t position = 0;
  size_t end = 0;
  bool at_eof = false;
  bool failed = false;  // a read error, as opposed to the end of the file
  ReadTally tally;      // every byte read from the file so far
};

// Starts reading `file` at its current position.
RecordReader make_record_reader(FILE* file);

// Reads the next record into `record`; false at the end of the file.
bool read_record(RecordReader& reader, std::string& record);

// Reads the rest of the file without cutting it into records, so that the
// tally covers the whole file.
void read_to_end(RecordReader& reader);
