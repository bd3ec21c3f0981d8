#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace batch {

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

// The length of every record of the Request and Response files.
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

// The characters of `field` that `record` holds: fewer (possibly none) when
// the record ends before the field does. Inline, as the fields are taken
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

// Appends `text` left-justified in `width` characters: blanks follow a
// shorter text, a longer one is kept whole. Fields are written this way,
// and the columns of batchcheck-describe's text view.
inline void append_padded(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

// `value` in decimal, zero-padded to `width` digits: a counter as records
// write it. A wider value keeps all its digits.
std::string zero_padded(int64_t value, size_t width);

// A numeric field or argument as a number: leading blanks skipped, an
// optional sign, digits up to the first other character; 0 without digits.
int64_t numeric_value(std::string_view text);

// The last two characters of `text`, or empty when it has fewer than two.
std::string_view last_two_chars(std::string_view text);

// True when every character is a decimal digit (so true for empty text).
bool is_all_digits(std::string_view text);

}  // namespace batch
