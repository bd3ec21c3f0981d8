#include "support/fingerprint.h"

#include <cstring>

namespace {

// One step of the checksum, over eight bytes of the file.
uint64_t mix(uint64_t checksum, uint64_t word) {
  checksum = (checksum ^ word) * 0x9E3779B97F4A7C15ULL;
  return checksum ^ (checksum >> 29);
}

}  // namespace

void add_bytes(Fingerprint& fingerprint, const char* data, size_t size) {
  // Bytes go into words by their place in the file, so the way the reads cut
  // it does not matter.
  auto byte_at = [&](size_t i) { return uint64_t{static_cast<unsigned char>(data[i])}; };
  auto word_at = [&](size_t i) {
    uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    return word;
  };
  uint64_t offset = fingerprint.bytes;
  size_t i = 0;
  for (; i < size && (offset + i) % 8 != 0; ++i) fingerprint.partial |= byte_at(i) << (8 * ((offset + i) % 8));
  if (i > 0 && (offset + i) % 8 == 0) {
    uint64_t& lane = fingerprint.lanes[((offset + i) / 8 - 1) % 4];
    lane = mix(lane, fingerprint.partial);
    fingerprint.partial = 0;
  }
  for (; i + 8 <= size && (offset + i) / 8 % 4 != 0; i += 8) {
    uint64_t& lane = fingerprint.lanes[(offset + i) / 8 % 4];
    lane = mix(lane, word_at(i));
  }
  uint64_t a = fingerprint.lanes[0], b = fingerprint.lanes[1], c = fingerprint.lanes[2], d = fingerprint.lanes[3];
  for (; i + 32 <= size; i += 32) {
    a = mix(a, word_at(i));
    b = mix(b, word_at(i + 8));
    c = mix(c, word_at(i + 16));
    d = mix(d, word_at(i + 24));
  }
  fingerprint.lanes = {a, b, c, d};
  for (; i + 8 <= size; i += 8) {
    uint64_t& lane = fingerprint.lanes[(offset + i) / 8 % 4];
    lane = mix(lane, word_at(i));
  }
  for (; i < size; ++i) fingerprint.partial |= byte_at(i) << (8 * ((offset + i) % 8));
  fingerprint.bytes += size;
}

bool same_bytes(const Fingerprint& a, const Fingerprint& b) {
  return a.bytes == b.bytes && a.lanes == b.lanes && a.partial == b.partial;
}
