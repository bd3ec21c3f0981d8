#include "request_record.h"

#include <cstring>

std::string_view field_of(std::string_view record, Field field) {
  if (field.offset >= record.size()) return {};
  return record.substr(field.offset, field.width);
}

std::string_view trim_trailing_blanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

std::string& trim_trailing_blanks(std::string& text) {
  text.resize(trim_trailing_blanks(std::string_view(text)).size());
  return text;
}

std::string_view trimmed_field(std::string_view record, Field field) {
  return trim_trailing_blanks(field_of(record, field));
}

int64_t numeric_value(std::string_view text) {
  size_t i = 0;
  auto is_space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t cap = INT32_MAX;  // wider texts saturate instead of wrapping
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > cap) value = cap;
  }
  return negative ? -value : value;
}

std::string_view last_two_chars(std::string_view text) {
  return text.size() < 2 ? std::string_view() : text.substr(text.size() - 2);
}

bool is_all_digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

RecordReader make_record_reader(FILE* file) {
  RecordReader reader;
  reader.file = file;
  return reader;
}

namespace {

// Makes at least one unread byte available; false at the end of the file.
bool fill(RecordReader& reader) {
  if (reader.position < reader.end) return true;
  if (reader.at_eof) return false;
  reader.position = 0;
  reader.end = std::fread(reader.buffer.data(), 1, reader.buffer.size(), reader.file);
  if (reader.end == 0) {
    reader.at_eof = true;
    reader.failed = std::ferror(reader.file) != 0;
    return false;
  }
  return true;
}

// Reads a whole record straight from the buffer when it holds more than one
// record's worth of bytes: one search for the line end instead of a test per
// byte. The byte after the 200th is looked at too, since a carriage return
// there may pair with a line feed to end the record.
bool read_buffered_record(RecordReader& reader, std::string& record) {
  if (reader.end - reader.position <= RECORD_LENGTH) return false;
  const char* data = reader.buffer.data() + reader.position;
  const void* found = std::memchr(data, '\n', RECORD_LENGTH + 1);
  size_t length = RECORD_LENGTH;
  if (found) {
    size_t at = static_cast<size_t>(static_cast<const char*>(found) - data);
    if (at > 0 && data[at - 1] == '\r') {
      record.assign(data, at - 1);
      record.push_back('\n');
      reader.position += at + 1;
      return true;
    }
    if (at < RECORD_LENGTH) length = at + 1;
  }
  record.assign(data, length);
  reader.position += length;
  return true;
}

}  // namespace

bool read_record(RecordReader& reader, std::string& record) {
  if (read_buffered_record(reader, record)) return true;
  // Near the end of the buffer or of the file: byte by byte.
  record.clear();
  while (record.size() < RECORD_LENGTH) {
    if (!fill(reader)) break;
    char c = reader.buffer[reader.position++];
    if (c == '\r') {
      // Only a carriage return directly followed by a line feed is a line end.
      if (fill(reader) && reader.buffer[reader.position] == '\n') {
        ++reader.position;
        record.push_back('\n');
        return true;
      }
      record.push_back(c);
      continue;
    }
    record.push_back(c);
    if (c == '\n') return true;
  }
  return !record.empty();
}
