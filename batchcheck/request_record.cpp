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
  return request::OTHER_FIELDS;
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

namespace {

// One step of the checksum, over eight bytes of the file.
uint64_t mix(uint64_t checksum, uint64_t word) {
  checksum = (checksum ^ word) * 0x9E3779B97F4A7C15ULL;
  return checksum ^ (checksum >> 29);
}

size_t read_with_fread(char* into, size_t size, FILE* file, bool& failed) {
  size_t got = std::fread(into, 1, size, file);
  failed = got < size && std::ferror(file) != 0;
  return got;
}

}  // namespace

ReadBytes read_request_bytes = read_with_fread;

void tally_bytes(ReadTally& tally, const char* data, size_t size) {
  // Bytes go into words by their place in the file, so the way the reads cut
  // it does not matter.
  auto byte_at = [&](size_t i) { return uint64_t{static_cast<unsigned char>(data[i])}; };
  auto word_at = [&](size_t i) {
    uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    return word;
  };
  uint64_t offset = tally.bytes;
  size_t i = 0;
  for (; i < size && (offset + i) % 8 != 0; ++i) tally.partial |= byte_at(i) << (8 * ((offset + i) % 8));
  if (i > 0 && (offset + i) % 8 == 0) {
    uint64_t& lane = tally.lanes[((offset + i) / 8 - 1) % 4];
    lane = mix(lane, tally.partial);
    tally.partial = 0;
  }
  for (; i + 8 <= size && (offset + i) / 8 % 4 != 0; i += 8) {
    uint64_t& lane = tally.lanes[(offset + i) / 8 % 4];
    lane = mix(lane, word_at(i));
  }
  uint64_t a = tally.lanes[0], b = tally.lanes[1], c = tally.lanes[2], d = tally.lanes[3];
  for (; i + 32 <= size; i += 32) {
    a = mix(a, word_at(i));
    b = mix(b, word_at(i + 8));
    c = mix(c, word_at(i + 16));
    d = mix(d, word_at(i + 24));
  }
  tally.lanes = {a, b, c, d};
  for (; i + 8 <= size; i += 8) {
    uint64_t& lane = tally.lanes[(offset + i) / 8 % 4];
    lane = mix(lane, word_at(i));
  }
  for (; i < size; ++i) tally.partial |= byte_at(i) << (8 * ((offset + i) % 8));
  tally.bytes += size;
}

bool same_bytes(const ReadTally& a, const ReadTally& b) {
  return a.bytes == b.bytes && a.lanes == b.lanes && a.partial == b.partial;
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
  bool failed = false;
  size_t got = read_request_bytes(reader.buffer.data() + kept, reader.buffer.size() - kept, reader.file, failed);
  tally_bytes(reader.tally, reader.buffer.data() + kept, got);
  reader.end = kept + got;
  // A read error ends the reading as the end of the file does, but the
  // reader remembers it: the bytes after it were never seen.
  if (failed) reader.failed = true;
  if (got == 0 || failed) {
    reader.at_eof = true;
    reader.tally.whole = !reader.failed;
    return got != 0;
  }
  return true;
}

}  // namespace

void read_to_end(RecordReader& reader) {
  reader.position = reader.end;
  while (refill(reader)) reader.position = reader.end;
}

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
    // A record cut by a read error is no record: its end was never seen.
    if (!refill(reader) && reader.position == reader.end) return !record.empty() && !reader.failed;
  }
}
