#include "support/block_reader.h"

#include <algorithm>
#include <cstring>

namespace support {

size_t read_with_fread(char* into, size_t size, FILE* file, bool& failed) {
  size_t got = std::fread(into, 1, size, file);
  failed = got < size && std::ferror(file) != 0;
  return got;
}

BlockReader make_block_reader(FILE* file, size_t block_size) {
  BlockReader reader;
  reader.file = file;
  reader.buffer.resize(block_size);
  return reader;
}

size_t refill(BlockReader& reader, ReadBytes read) {
  size_t kept = reader.end - reader.position;
  if (reader.at_eof || kept == reader.buffer.size()) return 0;
  std::memmove(reader.buffer.data(), reader.buffer.data() + reader.position, kept);
  reader.position = 0;
  bool failed = false;
  size_t got = read(reader.buffer.data() + kept, reader.buffer.size() - kept, reader.file, failed);
  reader.end = kept + got;
  if (failed) reader.failed = true;
  if (got == 0 || failed) reader.at_eof = true;
  return got;
}

bool next_line_piece(BlockReader& reader, size_t most, std::string_view& piece) {
  std::string_view bytes = unread(reader);
  const void* found = nullptr;
  // The piece ends at a line feed, at `most` bytes, or where nothing more
  // comes into the buffer.
  for (;;) {
    found = std::memchr(bytes.data(), '\n', std::min(bytes.size(), most));
    if (found || bytes.size() >= most) break;
    bool more = refill(reader) > 0;
    bytes = unread(reader);
    if (!more) break;
  }
  size_t length = found ? static_cast<size_t>(static_cast<const char*>(found) - bytes.data()) + 1
                        : std::min(bytes.size(), most);
  piece = bytes.substr(0, length);
  reader.position += length;
  return length > 0;
}

}  // namespace support
