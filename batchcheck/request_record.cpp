#include "request_record.h"

#include <cstring>

RecordKind record_kind(std::string_view record) {
  std::string_view code = trimmed_field(record, request::RECORD_CODE);
  if (code == request::HEADER_CODE) return RecordKind::HEADER;
  if (code == request::BODY_CODE) return RecordKind::BODY;
  if (code == request::FOOTER_CODE) return RecordKind::FOOTER;
  return RecordKind::OTHER;
}

std::span<const Field> fields_of_kind(RecordKind kind) {
  switch (kind) {
    case RecordKind::HEADER:
      return request::HEADER_FIELDS;
    case RecordKind::BODY:
      return request::BODY_FIELDS;
    case RecordKind::FOOTER:
      return request::FOOTER_FIELDS;
    case RecordKind::OTHER:
      break;
  }
  return std::span<const Field>(&request::RECORD_CODE, 1);
}

std::string_view field_of(std::string_view record, Field field) {
  if (field.offset >= record.size()) return {};
  return record.substr(field.offset, field.width);
}

std::string_view trim_trailing_blanks(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
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
  constexpr int64_t MAX_VALUE = INT32_MAX;  // wider texts saturate instead of wrapping
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > MAX_VALUE) value = MAX_VALUE;
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

// Moves the bytes not yet taken to the front of the buffer and reads more
// after them; false when nothing more can be read.
bool refill(RecordReader& reader) {
  if (reader.at_eof) return false;
  size_t kept = reader.end - reader.position;
  std::memmove(reader.buffer.data(), reader.buffer.data() + reader.position, kept);
  reader.position = 0;
  size_t got = std::fread(reader.buffer.data() + kept, 1, reader.buffer.size() - kept, reader.file);
  reader.end = kept + got;
  if (got == 0) {
    reader.at_eof = true;
    reader.failed = std::ferror(reader.file) != 0;
    return false;
  }
  return true;
}

}  // namespace

bool read_record(RecordReader& reader, std::string& record) {
  record.clear();
  for (;;) {
    // One search for the line end over what the record can still take, plus
    // one byte: a carriage return as its last character pairs with a line
    // feed just after it.
    const char* data = reader.buffer.data() + reader.position;
    size_t available = reader.end - reader.position;
    size_t room = RECORD_LENGTH - record.size();
    size_t reach = available < room + 1 ? available : room + 1;
    if (const void* found = std::memchr(data, '\n', reach)) {
      size_t at = static_cast<size_t>(static_cast<const char*>(found) - data);
      if (at > 0 && data[at - 1] == '\r') {
        record.append(data, at - 1);
        record.push_back('\n');
        reader.position += at + 1;
        return true;
      }
      if (at < room) {
        record.append(data, at + 1);
        reader.position += at + 1;
        return true;
      }
    }
    if (available > room) {
      // No line end within the record: it ends at 200 characters.
      record.append(data, room);
      reader.position += room;
      return true;
    }
    // The record goes on past these bytes. A carriage return at their end
    // stays unread until the next byte tells whether it ends the line.
    bool undecided = available > 0 && data[available - 1] == '\r' && !reader.at_eof;
    size_t taken = undecided ? available - 1 : available;
    record.append(data, taken);
    reader.position += taken;
    if (record.size() == RECORD_LENGTH) return true;
    if (!refill(reader) && reader.position == reader.end) return !record.empty();
  }
}
