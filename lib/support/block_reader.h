#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

namespace support {

// How a reader takes bytes from its file: as std::fread does, `failed` set
// on a read error so that it is told from the end of the file.
using ReadBytes = size_t (*)(char* into, size_t size, FILE* file, bool& failed);

// The reading of a real file: std::fread, a short count after a read error
// telling it from the end of the file.
size_t read_with_fread(char* into, size_t size, FILE* file, bool& failed);

// A file read in blocks: its readers take records, rows, entries or lines
// out of the buffer, so that a file of a million of them costs a few
// hundred reads and no more memory than a block.
struct BlockReader {
  FILE* file = nullptr;
  std::vector<char> buffer;
  size_t position = 0;  // the next byte not taken
  size_t end = 0;       // the end of the bytes read
  bool at_eof = false;  // nothing more is read: the end of the file, or a read error
  bool failed = false;  // a read error, as opposed to the end of the file
};

// A reader of `file` from its current position, `block_size` bytes at a time.
BlockReader make_block_reader(FILE* file, size_t block_size);

// Moves the bytes not taken to the front of the buffer and reads more after
// them with `read`: how many it read, 0 when nothing more can be read (or
// the buffer is full of bytes not taken). A read error ends the reading as
// the end of the file does, but the reader remembers it: the bytes after it
// were never seen.
size_t refill(BlockReader& reader, ReadBytes read = read_with_fread);

// The bytes read and not taken yet.
inline std::string_view unread(const BlockReader& reader) {
  return {reader.buffer.data() + reader.position, reader.end - reader.position};
}

// Takes the next piece of a line: the bytes up to and including the next
// line feed, `most` bytes, or a whole buffer, whichever is shortest. False
// once no byte is left (the end of the file, or a read error: `failed`).
// The view lasts until the next call.
bool next_line_piece(BlockReader& reader, size_t most, std::string_view& piece);

}  // namespace support
