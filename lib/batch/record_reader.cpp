#include "batch/record_reader.h"

#include <algorithm>
#include <cstring>

#include "batch/record_layout.h"

namespace batch {

namespace {

// Bytes of the Request file read at a time.
constexpr size_t READ_BLOCK = 1 << 18;

// Reads more of the file, its bytes added to the fingerprint; false when
// nothing more can be read.
bool read_more(RecordReader& reader) {
  size_t got = support::refill(reader, read_request_bytes);
  add_bytes(reader.fingerprint, reader.buffer.data() + reader.end - got, got);
  return got != 0;
}

}  // namespace

ReadBytes read_request_bytes = support::read_with_fread;

RecordReader make_record_reader(FILE* file) { return RecordReader{support::make_block_reader(file, READ_BLOCK), {}}; }

void read_to_end(RecordReader& reader) {
  reader.position = reader.end;
  while (read_more(reader)) reader.position = reader.end;
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

bool at_end(RecordReader& reader) { return reader.position == reader.end && !read_more(reader); }

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
    if (!read_more(reader) && reader.position == reader.end) return !record.empty() && !reader.failed;
  }
}

}  // namespace batch
