#include "duplicates.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "console.h"
#include "platform.h"

void write_tid_entry(FILE* tid_file, std::string_view transaction_id) {
  std::string entry(transaction_id);  // one write per entry
  entry.append("\r\n");
  std::fwrite(entry.data(), 1, entry.size(), tid_file);
}

namespace {

// Entries of up to seven bytes (every transaction_id is six) fit one number:
// their bytes, then their length in the lowest byte, so two entries get the
// same key exactly when they are equal.
constexpr size_t PACKED_MAX = 7;

uint64_t packed_key(std::string_view entry) {
  uint64_t key = 0;
  for (char c : entry) key = (key << 8) | static_cast<unsigned char>(c);
  key <<= 8 * (PACKED_MAX - entry.size());
  return (key << 8) | entry.size();
}

// Sorts keys by their bytes, least significant first, skipping the bytes
// that every key shares (the length, the padding of six-byte ids).
void radix_sort(std::vector<uint64_t>& keys) {
  std::vector<uint64_t> spare(keys.size());
  for (int shift = 0; shift < 64; shift += 8) {
    std::array<size_t, 257> start{};
    for (uint64_t key : keys) ++start[((key >> shift) & 0xff) + 1];
    if (std::find(start.begin(), start.end(), keys.size()) != start.end()) continue;
    for (size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
    for (uint64_t key : keys) spare[start[(key >> shift) & 0xff]++] = key;
    keys.swap(spare);
  }
}

// repeated_entries for entries that all fit a key. Sorting the keys tells
// which values repeat (usually none); a second walk in file order then marks
// every occurrence of those values but the last.
std::vector<size_t> repeated_packed_entries(const std::vector<std::string_view>& entries) {
  std::vector<uint64_t> sorted(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) sorted[i] = packed_key(entries[i]);
  radix_sort(sorted);
  std::vector<std::pair<uint64_t, size_t>> left;  // repeated key, occurrences still to come
  for (size_t i = 0, j = 0; i < sorted.size(); i = j) {
    while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
    if (j - i > 1) left.emplace_back(sorted[i], j - i);
  }
  std::vector<size_t> repeated;
  if (left.empty()) return repeated;
  for (size_t i = 0; i < entries.size(); ++i) {
    uint64_t key = packed_key(entries[i]);
    auto it = std::lower_bound(left.begin(), left.end(), std::make_pair(key, size_t{0}));
    if (it != left.end() && it->first == key && --it->second > 0) repeated.push_back(i);
  }
  return repeated;
}

}  // namespace

std::vector<size_t> repeated_entries(const std::vector<std::string_view>& entries) {
  bool all_packed = std::all_of(entries.begin(), entries.end(),
                                [](std::string_view entry) { return entry.size() <= PACKED_MAX; });
  if (all_packed) return repeated_packed_entries(entries);
  // Sorting positions by value (ties in file order) puts the occurrences
  // of each value side by side; all but the last of a run are repeated later.
  std::vector<uint32_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    int by_value = entries[a].compare(entries[b]);
    return by_value != 0 ? by_value < 0 : a < b;
  });
  std::vector<size_t> repeated;
  for (size_t i = 0; i + 1 < order.size(); ++i)
    if (entries[order[i]] == entries[order[i + 1]]) repeated.push_back(order[i]);
  std::sort(repeated.begin(), repeated.end());
  return repeated;
}

namespace {

// The whole TID file; false when it cannot be opened or read.
bool read_tid_file(const std::string& tid_name, std::string& content) {
  FILE* file = open_for_reading(tid_name);
  if (!file) return false;
  char chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

// Cuts the TID file into its entries, each without its line end. An entry
// never holds a carriage return and line feed pair (the reading unit turns
// that pair into a line feed), so the first pair ends the entry.
std::vector<std::string_view> split_entries(std::string_view content) {
  std::vector<std::string_view> entries;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find("\r\n", start);
    if (end == std::string_view::npos) {
      entries.push_back(content.substr(start));
      break;
    }
    entries.push_back(content.substr(start, end - start));
    start = end + 2;
  }
  return entries;
}

}  // namespace

int check_duplicate_transactions(const std::string& tid_name, const TidReport& report) {
  std::string content;
  if (!read_tid_file(tid_name, content)) {
    report(NO_ENTRY, "Error fopen (r) file " + tid_name);
    return 2;
  }
  std::vector<std::string_view> entries = split_entries(content);
  int result = 0;
  std::string message;
  for (size_t position : repeated_entries(entries)) {
    message.assign("The transaction_id (").append(entries[position]).append(") is present in several lines\n");
    report(static_cast<int64_t>(position), message);
    result = 1;
  }
  remove_file(tid_name);
  return result;
}

int check_duplicate_transactions(const std::string& tid_name) {
  return check_duplicate_transactions(tid_name, [](int64_t, std::string_view text) { say({text}); });
}
