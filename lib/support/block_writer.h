#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace support {

// Bytes bound for one file, gathered and written a block at a time: a
// million small records then cost a few hundred writes. A block is a whole
// number of the stream's own buffers, so the stream hands it on in one piece
// instead of splitting it into a write and a copy.
//
// The one policy for a write that fails (a full disk, a closed pipe): the
// writer marks itself failed, drops what it holds and writes nothing more;
// its owner learns it from flush_block_writer and says so. Nothing written
// after a lost block could be trusted anyway.
struct BlockWriter {
  FILE* file = nullptr;
  std::string pending;  // bytes not yet handed to the file, less than a block
  uint64_t size = 0;    // bytes handed to the writer so far, pending ones included
  bool failed = false;
};

// The size of the blocks written.
constexpr size_t WRITE_BLOCK = 1 << 18;

// A writer for `file`, which stays the caller's to close.
BlockWriter make_block_writer(FILE* file);

// Queues `bytes`, writing every whole block. Large pieces go to the file
// without a copy.
void write_bytes(BlockWriter& out, std::string_view bytes);

// Writes what is pending and flushes the file; false when any write of the
// writer's failed.
bool flush_block_writer(BlockWriter& out);

}  // namespace support
