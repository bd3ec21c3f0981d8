#pragma once

// The sort behind the repeat check, as sort(1) does it: in memory up to a
// budget of items; beyond it, sorted runs appended to a spill file and
// merged, at most MERGE_FAN_IN at a time (more go through a second spill
// file first), so memory stays bounded whatever the batch and time stays
// O(n log n). No more than two spill files exist at once.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/block_writer.h"
#include "platform/files.h"

namespace batch {

// The spill files of one check, beside the TID file: each created by this
// run alone, registered for removal should the run be interrupted, and
// removed once merged or when the check ends.
class SpillFiles {
 public:
  // The spill files named `prefix` and a number.
  explicit SpillFiles(std::string prefix) : prefix_(std::move(prefix)) {}

  // The files are the check's own: one owner removes them.
  SpillFiles(const SpillFiles&) = delete;
  SpillFiles& operator=(const SpillFiles&) = delete;

  // Removes the spill files still there.
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
  support::BlockWriter out;
};

// Sorts items by `Less`: in memory up to `capacity` items; beyond that, as
// sorted runs appended to one spill file, merged at the end. Compiled in
// external_sort.cpp for the repeat check's items alone: the ids' keys in
// their order, and their occurrences (occurrence.h) in either of theirs.
template <class T, class Less>
class Sorter {
 public:
  // Sorts the items held in memory, in place of std::sort.
  using SortItems = void (*)(std::vector<T>&);

  // A sorter holding at most `capacity` items in memory, with room made for
  // `count_hint` of them at once; `sort`, when given, sorts them.
  Sorter(SpillFiles& spills, size_t capacity, uint64_t count_hint, SortItems sort = nullptr);

  // Takes one item; after a spill file has failed, nothing more is kept.
  void add(const T& item);

  // Hands every item taken to `each`, in order; false (the message in *err)
  // when a spill file failed.
  bool visit(const std::function<void(const T&)>& each, std::string* err);

 private:
  // Sorts the items held.
  void sort_items();

  // Appends the items held, sorted, to the spill file as one run.
  void spill();

  // Merges the runs of `name` in groups of MERGE_FAN_IN into a new spill
  // file, which takes its place.
  bool merge_groups(std::string& name, std::vector<Run>& runs, std::string* err);

  SpillFiles& spills_;
  size_t capacity_;
  SortItems sort_;
  std::vector<T> items_;
  SpillWriter out_;
  std::vector<Run> runs_;
  bool failed_ = false;
  std::string error_;  // why a spill file failed, once one has
};

}  // namespace batch
