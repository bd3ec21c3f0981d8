#include "make_input.h"

#include <cstring>

bool refill(InputBlocks& input) {
  if (input.at_eof) return false;
  size_t kept = input.end - input.position;
  std::memmove(input.buffer.data(), input.buffer.data() + input.position, kept);
  input.position = 0;
  size_t room = input.buffer.size() - kept;
  size_t got = std::fread(input.buffer.data() + kept, 1, room, input.file);
  input.end = kept + got;
  if (got < room && std::ferror(input.file)) input.failed = true;
  if (got == 0 || input.failed) input.at_eof = true;
  return got > 0;
}
