#include "batch/record_reader.h"

#include <algorithm>
#include <cstring>

#include "batch/record_layout.h"

namespace batch {

namespace {

// The reading of a real file: std::fread, a short count after a read error
// telling it from the end of the file.
size_t read_with_fread(char* into, size_t size, FILE* file, bool& failed) {
  size_t got = std::fread(into, 1, size, file);
  failed = got < size && std::ferror(file) != 0;
  return got;
}

// Moves the bytes not yet taken to the front of the buffer and reads more
// after them; false when nothing more can be read.
bool refill(RecordReader& reader) {
  if (reader.at_eof) return false;
  size_t kept = reader.end - reader.position;
  std::memmove(reader.buffer.data(), reader.buffer.data() + reader.position, kept);
  reader.position = 0;
  bool failed = false;
  size_t got = read_request_bytes(reader.buffer.data() + kept, reader.buffer.size() - kept, reader.file, failed);
  add_bytes(reader.fingerprint, reader.buffer.data() + kept, got);
  reader.end = kept + got;
  // A read error ends the reading as the end of the file does, but the
  // reader remembers it: the bytes after it were never seen.
  if (failed) reader.failed = true;
  if (got == 0 || failed) {
    reader.at_eof = true;
    return got != 0;
  }
  return true;
}

}  // namespace

ReadBytes read_request_bytes = read_with_fread;

RecordReader make_record_reader(FILE* file) {
  RecordReader reader;
  reader.file = file;
  return reader;
}

void read_to_end(RecordReader& reader) {
  reader.position = reader.end;
  while (refill(reader)) reader.position = reader.end;
}

bool read_fixed_record(RecordReader& reader, std::string& record) {
  record.clear();
  while (record.size() < RECORD_LENGTH && !at_end(reader)) {
    size_t take = std::min(reader.end - reader.position, RECORD_LENGTH - record.size());
    record.append(reader.buffer.data() + reader.position, take);
    reader.position += take;
  }
  return !record.empty();
}

bool at_end(RecordReader& reader) { return reader.position == reader.end && !refill(reader); }

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

}  // namespace batch
