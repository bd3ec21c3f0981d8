#include "repeat_check.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <queue>
#include <type_traits>
#include <utility>
#include <vector>

#include "console.h"
#include "platform.h"

// The repeat check sorts, as sort(1) does, so that neither its memory nor
// its time depends on how many ids repeat:
//  1. Sort the keys. Two equal neighbours mean a value repeats; most batches
//     stop here. Memory: 8 bytes per id and as many for the radix sort's
//     second array, 16 bytes per id at the peak.
//  2. Only when a value repeats: sort (key, position) pairs by key, then
//     position. In each group of equal keys every pair but the last is an
//     occurrence to report. 16 bytes per id, sorted in place.
//  3. Sort those occurrences by position and report them in that order.
//     16 bytes per reported id.
// Each sort holds at most the budget in memory (steps 2 and 3 run together
// and take half each). Beyond it, the sort appends sorted runs to a spill
// file and merges them, at most MERGE_FAN_IN at a time (more go through a
// second spill file first), so memory stays bounded whatever the batch and
// time stays O(n log n). No more than two spill files exist at once.

namespace {

constexpr size_t KEY_BYTES = 7;

// Runs merged at once; more are first merged into longer runs.
constexpr size_t MERGE_FAN_IN = 16;

// Bytes of each spill file read or written at a time.
constexpr size_t SPILL_BLOCK = 1 << 16;

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

// One id of the batch and its place among the body records.
struct Occurrence {
  IdKey key;
  uint64_t position;
};

struct ByKeyThenPosition {
  bool operator()(const Occurrence& a, const Occurrence& b) const {
    return a.key != b.key ? a.key < b.key : a.position < b.position;
  }
};

struct ByPosition {
  bool operator()(const Occurrence& a, const Occurrence& b) const { return a.position < b.position; }
};

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

// The spill files of one check, beside the TID file: each created by this
// run alone, registered for removal should the run be interrupted, and
// removed once merged or when the check ends.
class SpillFiles {
 public:
  SpillFiles(std::string prefix, const MessageOut& out) : out(out), prefix_(std::move(prefix)) {}
  SpillFiles(const SpillFiles&) = delete;
  SpillFiles& operator=(const SpillFiles&) = delete;
  ~SpillFiles() {
    for (const std::string& name : names_) remove_temporary(name);
  }

  // A new spill file open for writing, its name in `name`; nullptr (after
  // the message) when none can be made. A name already taken by a file of
  // the merchant's is passed over.
  FILE* create(std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      name = prefix_ + "." + std::to_string(next_number_++);
      FILE* file = nullptr;
      CreateResult created = create_temporary(name, file, create_private);
      if (created == CreateResult::CREATED) {
        names_.push_back(name);
        return file;
      }
      if (created != CreateResult::EXISTS) break;
    }
    tell(out, {"Error : can't write into the temporary file ", name});
    return nullptr;
  }

  // Removes a spill file that is no longer needed.
  void remove(const std::string& name) {
    remove_temporary(name);
    names_.erase(std::find(names_.begin(), names_.end(), name));
  }

  // Where the messages of the check go.
  const MessageOut& out;

 private:
  std::string prefix_;
  std::vector<std::string> names_;
  unsigned next_number_ = 1;
};

// A sorted run: where it starts in its spill file and how long it is, in
// items.
struct Run {
  uint64_t start;
  uint64_t count;
};

// Writes items into a spill file, a block at a time.
template <class T>
struct RunWriter {
  FILE* file = nullptr;
  std::string name;
  std::vector<T> block;
  uint64_t written = 0;  // items passed to the file, the block aside
  bool failed = false;
};

template <class T>
void write_items(RunWriter<T>& out, const T* items, size_t count) {
  out.written += count;
  if (!out.failed && count > 0 && std::fwrite(items, sizeof(T), count, out.file) != count) out.failed = true;
}

template <class T>
void write_item(RunWriter<T>& out, const T& item) {
  out.block.push_back(item);
  if (out.block.size() * sizeof(T) < SPILL_BLOCK) return;
  write_items(out, out.block.data(), out.block.size());
  out.block.clear();
}

// Writes what is left and closes the file; false (after the message) when
// the spill file could not be written whole.
template <class T>
bool finish_run(RunWriter<T>& out, const MessageOut& messages) {
  write_items(out, out.block.data(), out.block.size());
  out.block.clear();
  if (std::fclose(out.file) != 0) out.failed = true;
  out.file = nullptr;
  if (out.failed) tell(messages, {"Error : can't write into the temporary file ", out.name});
  return !out.failed;
}

// Reads the items of one run of a spill file, a block at a time.
template <class T>
struct RunReader {
  FILE* file = nullptr;
  uint64_t left = 0;
  std::vector<T> block = std::vector<T>(SPILL_BLOCK / sizeof(T));
  size_t position = 0;
  size_t end = 0;
};

template <class T>
bool read_item(RunReader<T>& in, T& item) {
  if (in.position == in.end) {
    in.position = 0;
    in.end = std::fread(in.block.data(), sizeof(T), static_cast<size_t>(std::min<uint64_t>(in.block.size(), in.left)),
                        in.file);
    in.left -= in.end;
    if (in.end == 0) return false;
  }
  item = in.block[in.position++];
  return true;
}

// Merges sorted runs of the spill file `name` into `each`; false (after the
// message) when the file cannot be read back whole.
template <class T, class Less>
bool merge_runs(const std::string& name, const std::vector<Run>& runs, const std::function<void(const T&)>& each,
                const MessageOut& messages) {
  std::vector<RunReader<T>> readers(runs.size());
  bool ok = true;
  for (size_t i = 0; i < runs.size() && ok; ++i) {
    readers[i].file = open_for_reading(name);
    readers[i].left = runs[i].count;
    ok = readers[i].file && seek_to(readers[i].file, runs[i].start * sizeof(T));
  }
  using Head = std::pair<T, size_t>;
  auto later = [](const Head& a, const Head& b) { return Less{}(b.first, a.first); };
  std::priority_queue<Head, std::vector<Head>, decltype(later)> heads(later);
  T item;
  for (size_t i = 0; ok && i < readers.size(); ++i)
    if (read_item(readers[i], item)) heads.emplace(item, i);
  while (ok && !heads.empty()) {
    auto [smallest, from] = heads.top();
    heads.pop();
    each(smallest);
    if (read_item(readers[from], item)) heads.emplace(item, from);
  }
  for (RunReader<T>& reader : readers) {
    if (!reader.file) continue;
    if (std::ferror(reader.file) || reader.left > 0) ok = false;
    std::fclose(reader.file);
  }
  if (!ok) tell(messages, {"Error fopen (r) file ", name});
  return ok;
}

// Sorts items by `Less`: in memory up to `capacity` items; beyond that, as
// sorted runs appended to one spill file, merged at the end.
template <class T, class Less>
class Sorter {
 public:
  Sorter(SpillFiles& spills, size_t capacity, uint64_t count_hint)
      : spills_(spills), capacity_(std::max<size_t>(capacity, 1)) {
    items_.reserve(static_cast<size_t>(std::min<uint64_t>(capacity_, count_hint)));
  }

  // Takes one item; after a spill file has failed, nothing more is kept.
  void add(const T& item) {
    if (failed_) return;
    items_.push_back(item);
    if (items_.size() == capacity_) spill();
  }

  // Hands every item taken to `each`, in order; false (after the message)
  // when a spill file failed.
  bool visit(const std::function<void(const T&)>& each) {
    if (failed_) return false;
    if (runs_.empty()) {
      sort_items();
      for (const T& item : items_) each(item);
      return true;
    }
    if (!items_.empty()) spill();
    std::vector<T>().swap(items_);
    if (failed_ || !finish_run(out_, spills_.out)) return false;
    std::string name = out_.name;
    std::vector<Run> runs = runs_;
    // Too many runs to merge at once: merge them in groups into a second
    // spill file, and again, until few enough are left.
    while (runs.size() > MERGE_FAN_IN) {
      RunWriter<T> next;
      if (!(next.file = spills_.create(next.name))) return false;
      std::vector<Run> longer;
      bool ok = true;
      for (size_t i = 0; i < runs.size() && ok; i += MERGE_FAN_IN) {
        std::vector<Run> group(runs.begin() + static_cast<long>(i),
                               runs.begin() + static_cast<long>(std::min(i + MERGE_FAN_IN, runs.size())));
        uint64_t start = next.written + next.block.size();
        ok = merge_runs<T, Less>(name, group, [&](const T& item) { write_item(next, item); }, spills_.out);
        longer.push_back({start, next.written + next.block.size() - start});
      }
      ok = finish_run(next, spills_.out) && ok;
      spills_.remove(name);
      if (!ok) return false;
      name = next.name;
      runs = longer;
    }
    bool ok = merge_runs<T, Less>(name, runs, each, spills_.out);
    spills_.remove(name);
    return ok;
  }

 private:
  void sort_items() {
    if constexpr (std::is_same_v<T, IdKey>)
      radix_sort(items_);
    else
      std::sort(items_.begin(), items_.end(), Less{});
  }

  // Appends the items held, sorted, to the spill file as one run.
  void spill() {
    sort_items();
    if (!out_.file && !(out_.file = spills_.create(out_.name))) {
      failed_ = true;
      return;
    }
    runs_.push_back({out_.written, items_.size()});
    write_items(out_, items_.data(), items_.size());
    items_.clear();
  }

  SpillFiles& spills_;
  size_t capacity_;
  std::vector<T> items_;
  RunWriter<T> out_;
  std::vector<Run> runs_;
  bool failed_ = false;
};

// Step 1: whether any value occurs twice.
bool any_repeat(const KeySource& keys, uint64_t count_hint, SpillFiles& spills, size_t budget, bool& repeats) {
  Sorter<IdKey, std::less<IdKey>> sorted(spills, budget / (2 * sizeof(IdKey)), count_hint);
  if (!keys([&](IdKey key) { sorted.add(key); })) return false;
  bool first = true;
  IdKey previous = 0;
  return sorted.visit([&](IdKey key) {
    if (!first && key == previous) repeats = true;
    previous = key;
    first = false;
  });
}

}  // namespace

void tell(const MessageOut& out, std::initializer_list<std::string_view> pieces) {
  if (!out) {
    say(pieces);
    return;
  }
  std::string text;
  for (std::string_view piece : pieces) text.append(piece);
  out(text);
}

bool find_repeats(const KeySource& keys, uint64_t count_hint, const std::string& spill_prefix, size_t budget,
                  const std::function<void(uint64_t position, IdKey key)>& report, const MessageOut& out) {
  SpillFiles spills(spill_prefix, out);
  bool repeats = false;
  if (!any_repeat(keys, count_hint, spills, budget, repeats)) return false;
  if (!repeats) return true;
  // Steps 2 and 3.
  size_t capacity = budget / 2 / sizeof(Occurrence);
  Sorter<Occurrence, ByKeyThenPosition> by_key(spills, capacity, count_hint);
  uint64_t position = 0;
  if (!keys([&](IdKey key) { by_key.add({key, position++}); })) return false;
  Sorter<Occurrence, ByPosition> reported(spills, capacity, 0);
  bool held = false;
  Occurrence last{};
  bool grouped = by_key.visit([&](const Occurrence& next) {
    if (held && last.key == next.key) reported.add(last);
    last = next;
    held = true;
  });
  return grouped &&
         reported.visit([&](const Occurrence& occurrence) { report(occurrence.position, occurrence.key); });
}
