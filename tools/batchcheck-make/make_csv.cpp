#include "make_csv.h"

#include <algorithm>
#include <cstring>

CsvReader make_csv_reader(FILE* file) {
  CsvReader reader;
  reader.input = support::make_block_reader(file, 1 << 18);
  return reader;
}

namespace {

// True when every byte read is taken and no more can be read.
bool input_ended(CsvReader& reader) {
  return reader.input.position == reader.input.end && support::refill(reader.input) == 0;
}

// The next byte, not taken, or -1 at the end of the input.
int peek(CsvReader& reader) {
  if (input_ended(reader)) return -1;
  return static_cast<unsigned char>(reader.input.buffer[reader.input.position]);
}

// The bytes that end an unquoted stretch of a value, looked up rather than
// compared four times for each of a table's millions of bytes.
struct StretchEnds {
  bool table[256] = {};
  constexpr StretchEnds() {
    for (unsigned char c : {',', '\n', '\r', '"'}) table[c] = true;
  }
};

// The bytes that end an unquoted stretch.
constexpr StretchEnds STRETCH_ENDS;

// The length of the unquoted stretch at `data`.
size_t stretch_length(const char* data, size_t available) {
  size_t i = 0;
  while (i < available && !STRETCH_ENDS.table[static_cast<unsigned char>(data[i])]) ++i;
  return i;
}

// How a value ended.
enum class ValueEnd { COMMA, ROW, MALFORMED, TOO_LONG };

// Appends `length` bytes of the input to `value`; false, with only as many
// as make it one byte too long, when it would pass the longest value.
bool take_bytes(const CsvReader& reader, std::string& value, const char* data, size_t length) {
  size_t room = reader.longest_value - value.size();
  if (length <= room) {
    value.append(data, length);
    return true;
  }
  value.append(data, room + 1);
  return false;
}

// After a carriage return: true (and the line feed taken) when a line feed
// follows, so that the two end the row.
bool takes_line_feed(CsvReader& reader) {
  if (peek(reader) != '\n') return false;
  ++reader.input.position;
  ++reader.next_line;
  return true;
}

// After a carriage return: true when it ends the row, before a line feed
// (taken) or, in the header's line, alone; otherwise it is one of the
// value's characters.
bool cr_ends_row(CsvReader& reader) {
  if (takes_line_feed(reader)) return true;
  if (!reader.lone_cr_ends_row) return false;
  ++reader.next_line;
  return true;
}

// Reads a value that does not start with a quote into `value`, up to the
// comma or the line end that ends it.
ValueEnd read_unquoted(CsvReader& reader, std::string& value) {
  for (;;) {
    if (input_ended(reader)) return ValueEnd::ROW;  // the last row, without line end
    const char* data = reader.input.buffer.data() + reader.input.position;
    size_t available = reader.input.end - reader.input.position;
    size_t stretch = stretch_length(data, available);
    if (!take_bytes(reader, value, data, stretch)) return ValueEnd::TOO_LONG;
    reader.input.position += stretch;
    if (stretch == available) continue;
    char c = data[stretch];
    ++reader.input.position;
    if (c == ',') return ValueEnd::COMMA;
    if (c == '\n') {
      ++reader.next_line;
      return ValueEnd::ROW;
    }
    if (c == '"') {
      reader.fault = "a quote inside a value that is not quoted";
      return ValueEnd::MALFORMED;
    }
    if (cr_ends_row(reader)) return ValueEnd::ROW;
    if (!take_bytes(reader, value, "\r", 1)) return ValueEnd::TOO_LONG;
  }
}

// Reads a value between quotes into `value`, its doubled quotes as one,
// then what ends it after the closing quote.
ValueEnd read_quoted(CsvReader& reader, std::string& value) {
  ++reader.input.position;  // the opening quote
  for (;;) {
    if (input_ended(reader)) {
      reader.fault = "the quoted value is never closed";
      return ValueEnd::MALFORMED;
    }
    const char* data = reader.input.buffer.data() + reader.input.position;
    size_t available = reader.input.end - reader.input.position;
    const void* quote = std::memchr(data, '"', available);
    size_t stretch = quote ? static_cast<size_t>(static_cast<const char*>(quote) - data) : available;
    reader.next_line += std::count(data, data + stretch, '\n');
    if (!take_bytes(reader, value, data, stretch)) return ValueEnd::TOO_LONG;
    reader.input.position += stretch;
    if (!quote) continue;
    ++reader.input.position;
    if (peek(reader) == '"') {  // a doubled quote is one quote of the value
      if (!take_bytes(reader, value, "\"", 1)) return ValueEnd::TOO_LONG;
      ++reader.input.position;
      continue;
    }
    break;
  }
  int c = peek(reader);
  if (c < 0) return ValueEnd::ROW;
  ++reader.input.position;
  if (c == ',') return ValueEnd::COMMA;
  if (c == '\n') {
    ++reader.next_line;
    return ValueEnd::ROW;
  }
  if (c == '\r' && cr_ends_row(reader)) return ValueEnd::ROW;
  reader.fault = "a character after the closing quote";
  return ValueEnd::MALFORMED;
}

}  // namespace

CsvRow read_csv_row(CsvReader& reader, std::vector<std::string>& values) {
  if (!reader.started) {
    reader.started = true;
    while (support::unread(reader.input).size() < 3 && support::refill(reader.input) > 0) {
    }
    if (support::unread(reader.input).starts_with("\xEF\xBB\xBF")) reader.input.position += 3;
  }
  if (peek(reader) < 0) return reader.input.failed ? CsvRow::READ_ERROR : CsvRow::END;
  reader.row_line = reader.next_line;
  size_t count = 0;
  for (;;) {
    if (count == reader.most_values) {
      reader.fault_value = count;
      return CsvRow::TOO_MANY_VALUES;
    }
    if (count == values.size()) values.emplace_back();
    std::string& value = values[count];
    value.clear();
    ++count;
    ValueEnd end = peek(reader) == '"' ? read_quoted(reader, value) : read_unquoted(reader, value);
    if (reader.input.failed) return CsvRow::READ_ERROR;
    if (end == ValueEnd::MALFORMED || end == ValueEnd::TOO_LONG) {
      reader.fault_value = count - 1;
      values.resize(count);
      return end == ValueEnd::MALFORMED ? CsvRow::MALFORMED : CsvRow::VALUE_TOO_LONG;
    }
    if (end == ValueEnd::ROW) break;
  }
  values.resize(count);
  return CsvRow::ROW;
}
