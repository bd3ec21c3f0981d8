#include "batch/external_sort.h"

#include <algorithm>
#include <queue>
#include <string_view>
#include <utility>

#include "batch/messages.h"
#include "batch/occurrence.h"
#include "platform/cleanup.h"
#include "platform/files.h"

namespace batch {

namespace {

// Runs merged at once; more are first merged into longer runs.
constexpr size_t MERGE_FAN_IN = 16;

// The message for a spill file that cannot be read back whole.
std::string unreadable_spill(const std::string& name) { return message_text(Message::CANNOT_READ_BACK, {name}); }

// The items written to a spill file so far.
template <class T>
uint64_t items_written(const TemporaryFile& writer) {
  return writer.out.size / sizeof(T);
}

// Appends `count` items to a spill file.
template <class T>
void write_items(TemporaryFile& writer, const T* items, size_t count) {
  support::write_bytes(writer.out, std::string_view(reinterpret_cast<const char*>(items), count * sizeof(T)));
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

// Reads the run's next item into `item`; false at the run's end or on a read error.
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

}  // namespace

SpillFiles::~SpillFiles() {
  for (const std::string& name : names_) remove_temporary(name);
}

bool SpillFiles::create(TemporaryFile& file, std::string* err) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (create_temporary_file(prefix_ + "." + std::to_string(next_number_++), file, err)) {
      names_.push_back(file.name);
      return true;
    }
    if (!file.name_taken) break;
  }
  *err = message_text(Message::CANNOT_WRITE_TEMPORARY_FILE, {file.name});
  return false;
}

void SpillFiles::remove(const std::string& name) {
  remove_temporary(name);
  names_.erase(std::find(names_.begin(), names_.end(), name));
}

template <class T, class Less>
Sorter<T, Less>::Sorter(SpillFiles& spills, size_t capacity, uint64_t count_hint, SortItems sort)
    : spills_(spills), capacity_(std::max<size_t>(capacity, 1)), sort_(sort) {
  items_.reserve(static_cast<size_t>(std::min<uint64_t>(capacity_, count_hint)));
}

template <class T, class Less>
void Sorter<T, Less>::add(const T& item) {
  if (failed_) return;
  items_.push_back(item);
  if (items_.size() == capacity_) spill();
}

template <class T, class Less>
bool Sorter<T, Less>::visit(const std::function<void(const T&)>& each, std::string* err) {
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
  if (!close_temporary_file(out_, err)) return false;
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

template <class T, class Less>
void Sorter<T, Less>::sort_items() {
  if (sort_)
    sort_(items_);
  else
    std::sort(items_.begin(), items_.end(), Less{});
}

template <class T, class Less>
void Sorter<T, Less>::spill() {
  sort_items();
  if (!out_.out.file && !spills_.create(out_, &error_)) {
    failed_ = true;
    return;
  }
  runs_.push_back({items_written<T>(out_), items_.size()});
  write_items(out_, items_.data(), items_.size());
  items_.clear();
}

template <class T, class Less>
bool Sorter<T, Less>::merge_groups(std::string& name, std::vector<Run>& runs, std::string* err) {
  TemporaryFile next;
  if (!spills_.create(next, err)) return false;
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
  if (!close_temporary_file(next, &unwritten)) {
    *err = ok ? unwritten : *err + unwritten;
    ok = false;
  }
  spills_.remove(name);
  name = next.name;
  runs = longer;
  return ok;
}

// The repeat check's three sorts: the keys, then the occurrences by key and
// by position.
template class Sorter<IdKey, std::less<IdKey>>;
template class Sorter<Occurrence, ByKeyThenPosition>;
template class Sorter<Occurrence, ByPosition>;

}  // namespace batch
