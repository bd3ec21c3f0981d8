#include "batch/repeat_check.h"

#include <algorithm>
#include <array>
#include <vector>

#include "batch/external_sort.h"
#include "batch/occurrence.h"

namespace batch {

// The repeat check sorts, so that neither its memory nor its time depends
// on how many ids repeat:
//  1. Sort the keys. Two equal neighbours mean a value repeats; most batches
//     stop here. Memory: 8 bytes per id and as many for the radix sort's
//     second array, 16 bytes per id at the peak.
//  2. Only when a value repeats: sort (key, position) pairs by key, then
//     position. In each group of equal keys every pair but the last is an
//     occurrence to report. 16 bytes per id, sorted in place.
//  3. Sort those occurrences by position and report them in that order.
//     16 bytes per reported id.
// Each sort holds at most the budget in memory (steps 2 and 3 run together
// and take half each); beyond it, the sort spills (external_sort.h).

namespace {

// The longest id a key holds, in bytes: the lowest byte holds the length.
constexpr size_t KEY_BYTES = 7;

}  // namespace

IdKey id_key(std::string_view id) {
  IdKey key = 0;
  for (char c : id) key = (key << 8) | static_cast<unsigned char>(c);
  key <<= 8 * (KEY_BYTES - id.size());
  return (key << 8) | id.size();
}

std::string id_of_key(IdKey key) {
  std::string id(key & 0xff, '\0');
  for (size_t i = 0; i < id.size(); ++i) id[i] = static_cast<char>(key >> (8 * (KEY_BYTES - i)));
  return id;
}

namespace {

// Sorts keys by their bytes, least significant first, skipping the bytes
// that every key shares (the length, the padding of six-byte ids). One walk
// counts every byte position at once.
void radix_sort(std::vector<IdKey>& keys) {
  std::array<std::array<size_t, 256>, sizeof(IdKey)> counts{};
  for (IdKey key : keys)
    for (size_t byte = 0; byte < sizeof(IdKey); ++byte) ++counts[byte][(key >> (8 * byte)) & 0xff];
  std::vector<IdKey> spare;
  for (size_t byte = 0; byte < sizeof(IdKey); ++byte) {
    const std::array<size_t, 256>& count = counts[byte];
    if (std::find(count.begin(), count.end(), keys.size()) != count.end()) continue;
    std::array<size_t, 256> next;
    size_t start = 0;
    for (size_t value = 0; value < 256; ++value) {
      next[value] = start;
      start += count[value];
    }
    spare.resize(keys.size());
    for (IdKey key : keys) spare[next[(key >> (8 * byte)) & 0xff]++] = key;
    keys.swap(spare);
  }
}

// Step 1: whether any value occurs twice.
bool any_repeat(const KeySource& keys, uint64_t count_hint, SpillFiles& spills, size_t budget, bool& repeats,
                std::string* err) {
  Sorter<IdKey, std::less<IdKey>> sorted(spills, budget / (2 * sizeof(IdKey)), count_hint, radix_sort);
  if (!keys([&](IdKey key) { sorted.add(key); }, err)) return false;
  bool first = true;
  IdKey previous = 0;
  return sorted.visit(
      [&](IdKey key) {
        if (!first && key == previous) repeats = true;
        previous = key;
        first = false;
      },
      err);
}

}  // namespace

bool find_repeats(const KeySource& keys, uint64_t count_hint, const std::string& spill_prefix, size_t budget,
                  const std::function<void(uint64_t position, IdKey key)>& report, std::string* err) {
  SpillFiles spills(spill_prefix);
  bool repeats = false;
  if (!any_repeat(keys, count_hint, spills, budget, repeats, err)) return false;
  if (!repeats) return true;
  // Steps 2 and 3.
  size_t capacity = budget / 2 / sizeof(Occurrence);
  Sorter<Occurrence, ByKeyThenPosition> by_key(spills, capacity, count_hint);
  uint64_t position = 0;
  if (!keys([&](IdKey key) { by_key.add({key, position++}); }, err)) return false;
  Sorter<Occurrence, ByPosition> reported(spills, capacity, 0);
  bool held = false;
  Occurrence last{};
  bool grouped = by_key.visit(
      [&](const Occurrence& next) {
        if (held && last.key == next.key) reported.add(last);
        last = next;
        held = true;
      },
      err);
  return grouped &&
         reported.visit([&](const Occurrence& occurrence) { report(occurrence.position, occurrence.key); }, err);
}

}  // namespace batch
