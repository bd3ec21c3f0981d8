#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// A running fingerprint of the bytes read from a file: their count and a
// checksum of them, the same however the reads cut the file. A file read
// twice with nobody changing it in between gives equal fingerprints; a
// changed, missing or extra byte almost surely shows. An answer built on a
// second reading stands only when both readings saw the same bytes.
struct Fingerprint {
  uint64_t bytes = 0;
  // The checksum of the eight-byte words: word k goes to lane k % 4, so that
  // the four lanes are computed side by side.
  std::array<uint64_t, 4> lanes{};
  uint64_t partial = 0;  // the bytes of the word not yet complete
};

// Adds `size` bytes at `data`, the next ones of the file.
void add_bytes(Fingerprint& fingerprint, const char* data, size_t size);

// The same for a piece of text.
inline void add_bytes(Fingerprint& fingerprint, std::string_view bytes) {
  add_bytes(fingerprint, bytes.data(), bytes.size());
}

// True when two fingerprints saw the same bytes.
bool same_bytes(const Fingerprint& a, const Fingerprint& b);
