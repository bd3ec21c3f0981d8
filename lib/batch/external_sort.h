#pragma once

// The sort behind the repeat check, as sort(1) does it: in memory up to a
// budget of items; beyond it, sorted runs appended to a spill file and
// merged, at most MERGE_FAN_IN at a time (more go through a second spill
// file first), so memory stays bounded whatever the batch and time stays
// O(n log n). No more than two spill files exist at once.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <queue>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/block_writer.h"
#include "platform/files.h"

// Runs merged at once; more are first merged into longer runs.
constexpr size_t MERGE_FAN_IN = 16;

// The spill files of one check, beside the TID file: each created by this
// run alone, registered for removal should the run be interrupted, and
// removed once merged or when the check ends.
class SpillFiles {
 public:
  explicit SpillFiles(std::string prefix) : prefix_(std::move(prefix)) {}
  SpillFiles(const SpillFiles&) = delete;
  SpillFiles& operator=(const SpillFiles&) = delete;
  ~SpillFiles();

  // A new spill file open for writing, its name in `name`; nullptr (the
  // message in *err) when none can be made. A name already taken by a file
  // of the merchant's is passed over.
  FILE* create(std::string& name, std::string* err);

  // Removes a spill file that is no longer needed.
  void remove(const std::string& name);

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

// A spill file being written, and its name.
struct SpillWriter {
  std::string name;
  BlockWriter out;
};

// Opens a new spill file for writing; false (the message in *err) when none can be made.
bool start_spill(SpillFiles& spills, SpillWriter& writer, std::string* err);

// Writes what is left and closes the file; false (the message in *err) when
// the spill file could not be written whole.
bool finish_spill(SpillWriter& writer, std::string* err);

// The message for a spill file that cannot be read back whole.
std::string unreadable_spill(const std::string& name);

// The items written to a spill file so far.
template <class T>
uint64_t items_written(const SpillWriter& writer) {
  return writer.out.size / sizeof(T);
}

// Appends `count` items to a spill file.
template <class T>
void write_items(SpillWriter& writer, const T* items, size_t count) {
  write_bytes(writer.out, std::string_view(reinterpret_cast<const char*>(items), count * sizeof(T)));
}

// Bytes of each spill file read at a time.
constexpr size_t SPILL_READ_BLOCK = 1 << 16;

// Reads the items of one run of a spill file, a block at a time.
template <class T>
struct RunReader {
  FILE* file = nullptr;
  uint64_t left = 0;
  std::vector<T> block = std::vector<T>(SPILL_READ_BLOCK / sizeof(T));
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

// Opens a reader on each run of the spill file `name`; false when one
// cannot be opened or placed.
template <class T>
bool open_runs(const std::string& name, const std::vector<Run>& runs, std::vector<RunReader<T>>& readers) {
  for (size_t i = 0; i < runs.size(); ++i) {
    readers[i].file = open_for_reading(name);
    readers[i].left = runs[i].count;
    if (!readers[i].file || !seek_to(readers[i].file, runs[i].start * sizeof(T))) return false;
  }
  return true;
}

// Merges sorted runs of the spill file `name` into `each`; false (the
// message in *err) when the file cannot be read back whole.
template <class T, class Less>
bool merge_runs(const std::string& name, const std::vector<Run>& runs, const std::function<void(const T&)>& each,
                std::string* err) {
  std::vector<RunReader<T>> readers(runs.size());
  bool ok = open_runs(name, runs, readers);
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
  if (!ok) *err = unreadable_spill(name);
  return ok;
}

// Sorts items by `Less`: in memory up to `capacity` items; beyond that, as
// sorted runs appended to one spill file, merged at the end. `sort`, when
// given, sorts the items held in place of std::sort.
template <class T, class Less>
class Sorter {
 public:
  using SortItems = void (*)(std::vector<T>&);

  Sorter(SpillFiles& spills, size_t capacity, uint64_t count_hint, SortItems sort = nullptr)
      : spills_(spills), capacity_(std::max<size_t>(capacity, 1)), sort_(sort) {
    items_.reserve(static_cast<size_t>(std::min<uint64_t>(capacity_, count_hint)));
  }

  // Takes one item; after a spill file has failed, nothing more is kept.
  void add(const T& item) {
    if (failed_) return;
    items_.push_back(item);
    if (items_.size() == capacity_) spill();
  }

  // Hands every item taken to `each`, in order; false (the message in *err)
  // when a spill file failed.
  bool visit(const std::function<void(const T&)>& each, std::string* err) {
    if (failed_) {
      *err = error_;
      return false;
    }
    if (runs_.empty()) {
      sort_items();
      for (const T& item : items_) each(item);
      return true;
    }
    if (!items_.empty()) spill();
    std::vector<T>().swap(items_);
    if (!finish_spill(out_, err)) return false;
    std::string name = out_.name;
    std::vector<Run> runs = runs_;
    // Too many runs to merge at once: merge them in groups into a second
    // spill file, and again, until few enough are left.
    while (runs.size() > MERGE_FAN_IN)
      if (!merge_groups(name, runs, err)) return false;
    bool ok = merge_runs<T, Less>(name, runs, each, err);
    spills_.remove(name);
    return ok;
  }

 private:
  void sort_items() {
    if (sort_)
      sort_(items_);
    else
      std::sort(items_.begin(), items_.end(), Less{});
  }

  // Appends the items held, sorted, to the spill file as one run.
  void spill() {
    sort_items();
    if (!out_.out.file && !start_spill(spills_, out_, &error_)) {
      failed_ = true;
      return;
    }
    runs_.push_back({items_written<T>(out_), items_.size()});
    write_items(out_, items_.data(), items_.size());
    items_.clear();
  }

  // Merges the runs of `name` in groups of MERGE_FAN_IN into a new spill
  // file, which takes its place.
  bool merge_groups(std::string& name, std::vector<Run>& runs, std::string* err) {
    SpillWriter next;
    if (!start_spill(spills_, next, err)) return false;
    std::vector<Run> longer;
    bool ok = true;
    for (size_t i = 0; i < runs.size() && ok; i += MERGE_FAN_IN) {
      std::vector<Run> group(runs.begin() + static_cast<long>(i),
                             runs.begin() + static_cast<long>(std::min(i + MERGE_FAN_IN, runs.size())));
      uint64_t start = items_written<T>(next);
      ok = merge_runs<T, Less>(name, group, [&](const T& item) { write_items(next, &item, 1); }, err);
      longer.push_back({start, items_written<T>(next) - start});
    }
    // Both failures are told when the group could be neither read nor written.
    std::string unwritten;
    if (!finish_spill(next, &unwritten)) {
      *err = ok ? unwritten : *err + unwritten;
      ok = false;
    }
    spills_.remove(name);
    name = next.name;
    runs = longer;
    return ok;
  }

  SpillFiles& spills_;
  size_t capacity_;
  SortItems sort_;
  std::vector<T> items_;
  SpillWriter out_;
  std::vector<Run> runs_;
  bool failed_ = false;
  std::string error_;  // why a spill file failed, once one has
};
