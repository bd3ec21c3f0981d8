#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Where each field of a Request record lives: offset and width, counted from
// the first character of the record.
struct Field {
  size_t offset;
  size_t width;
};

constexpr size_t RECORD_LENGTH = 200;

constexpr Field record_code{0, 2};
constexpr Field merchant_country{2, 2};
constexpr Field merchant_id{4, 15};
constexpr Field header_zone_1{19, 8};
constexpr Field header_zone_2{27, 6};
constexpr Field file_number{33, 6};
constexpr Field version{39, 2};
constexpr Field file_identity{2, 39};  // merchant_country .. version
constexpr Field header_prefix{0, 41};  // record_code .. version
constexpr Field record_number{19, 6};
constexpr Field body_zone_1{25, 8};
constexpr Field transaction_id{33, 6};
constexpr Field body_zone_2{39, 12};
constexpr Field body_zone_3{51, 3};
constexpr Field body_zone_4{54, 50};
constexpr Field body_zone_5{104, 32};
constexpr Field body_zone_6{136, 3};
constexpr Field nb_record{41, 6};

// Record codes.
constexpr std::string_view HEADER_CODE = "00";
constexpr std::string_view BODY_CODE = "03";
constexpr std::string_view FOOTER_CODE = "09";

// The characters of `field` that `record` holds: fewer (possibly none) when
// the record ends before the field does.
std::string_view field_of(std::string_view record, Field field);

// Removes the blanks at the end of `text`; an all-blank text becomes empty.
std::string_view trim_trailing_blanks(std::string_view text);

// The same on a string the caller keeps.
std::string& trim_trailing_blanks(std::string& text);

// A field with its trailing blanks removed.
std::string_view trimmed_field(std::string_view record, Field field);

// A numeric field or argument as a number: leading blanks skipped, an
// optional sign, digits up to the first other character; 0 without digits.
int64_t numeric_value(std::string_view text);

// The last two characters of `text`, or empty when it has fewer than two.
std::string_view last_two_chars(std::string_view text);

// True when every character is a decimal digit (so true for empty text).
bool is_all_digits(std::string_view text);

// Reads a Request file record by record. A record ends after its line end or
// at 200 characters, whichever comes first. A carriage return followed by a
// line feed is one line end, kept as a single "\n"; every other byte, NUL and
// lone carriage returns included, is an ordinary character.
struct RecordReader {
  FILE* file = nullptr;
  std::vector<char> buffer = std::vector<char>(1 << 16);
  size_t position = 0;
  size_t end = 0;
  bool at_eof = false;
  bool failed = false;  // a read error, as opposed to the end of the file
};

// Starts reading `file` at its current position.
RecordReader make_record_reader(FILE* file);

// Reads the next record into `record`; false at the end of the file.
bool read_record(RecordReader& reader, std::string& record);
