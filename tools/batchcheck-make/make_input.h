#pragma once

#include <cstdio>
#include <vector>

// batchcheck-make's input, read in blocks of 256 KiB: the readers take
// their rows and lines from the buffer, so a table of a million rows costs a
// few hundred reads.
struct InputBlocks {
  FILE* file = nullptr;
  std::vector<char> buffer = std::vector<char>(1 << 18);
  size_t position = 0;  // the next byte not taken
  size_t end = 0;       // the end of the bytes read
  bool at_eof = false;
  bool failed = false;  // a read error, as opposed to the end of the input
};

// Moves the bytes not taken to the front of the buffer and reads more after
// them; false when nothing more can be read.
bool refill(InputBlocks& input);
