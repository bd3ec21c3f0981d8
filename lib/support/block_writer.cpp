#include "support/block_writer.h"

#include <algorithm>

namespace support {

namespace {

// Hands `bytes` to the file, unless a write has failed already.
void put(BlockWriter& out, std::string_view bytes) {
  if (out.failed || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out.file) == bytes.size()) return;
  out.failed = true;
  out.pending.clear();
}

}  // namespace

BlockWriter make_block_writer(FILE* file) {
  BlockWriter out;
  out.file = file;
  return out;
}

void write_bytes(BlockWriter& out, std::string_view bytes) {
  out.size += bytes.size();
  if (out.failed) return;
  if (!out.pending.empty() || bytes.size() < WRITE_BLOCK) {
    size_t taken = std::min(WRITE_BLOCK - out.pending.size(), bytes.size());
    out.pending.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    if (out.pending.size() < WRITE_BLOCK) return;
    put(out, out.pending);
    out.pending.clear();
  }
  size_t whole = bytes.size() / WRITE_BLOCK * WRITE_BLOCK;
  put(out, bytes.substr(0, whole));
  if (!out.failed) out.pending.append(bytes.substr(whole));
}

bool flush_block_writer(BlockWriter& out) {
  put(out, out.pending);
  out.pending.clear();
  if (std::fflush(out.file) != 0 || std::ferror(out.file)) out.failed = true;
  return !out.failed;
}

}  // namespace support
