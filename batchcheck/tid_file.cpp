#include "tid_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "console.h"
#include "platform.h"
#include "request_record.h"

namespace {

constexpr std::string_view ENTRY_END = "\r\n";
constexpr size_t ENTRY_LENGTH = request::TRANSACTION_ID.width + ENTRY_END.size();

// Entries gathered before one write.
constexpr size_t WRITE_BLOCK = 1 << 16;

void write_pending(TidFile& tid) {
  if (!tid.pending.empty() && std::fwrite(tid.pending.data(), 1, tid.pending.size(), tid.file) != tid.pending.size())
    tid.write_failed = true;
  tid.pending.clear();
}

// Hands the key of every entry, in file order, to `take`.
bool read_keys(const TidFile& tid, const std::function<void(IdKey)>& take) {
  FILE* file = open_for_reading(tid.name);
  if (!file) {
    tell(tid.out, {"Error fopen (r) file ", tid.name});
    return false;
  }
  std::vector<char> block(WRITE_BLOCK / ENTRY_LENGTH * ENTRY_LENGTH);
  size_t held = 0;  // bytes of an entry cut by the end of the last read
  size_t got;
  uint64_t entries = 0;
  while ((got = std::fread(block.data() + held, 1, block.size() - held, file)) > 0) {
    held += got;
    size_t whole = held / ENTRY_LENGTH * ENTRY_LENGTH;
    entries += whole / ENTRY_LENGTH;
    for (size_t at = 0; at < whole; at += ENTRY_LENGTH)
      take(id_key(trim_trailing_blanks(std::string_view(block.data() + at, request::TRANSACTION_ID.width))));
    std::copy(block.begin() + static_cast<long>(whole), block.begin() + static_cast<long>(held), block.begin());
    held -= whole;
  }
  // A file cut short, or grown, since it was written is no list of this
  // batch's ids.
  bool ok = !std::ferror(file) && held == 0 && entries == tid.entries;
  std::fclose(file);
  if (!ok) tell(tid.out, {"Error fopen (r) file ", tid.name});
  return ok;
}

}  // namespace

std::string tid_file_name(const std::string& request_path) { return request_path + ".TID"; }

bool create_tid_file(const std::string& request_path, TidFile& tid, MessageOut out) {
  return create_tid_file_named(tid_file_name(request_path), tid, std::move(out));
}

bool create_tid_file_named(const std::string& name, TidFile& tid, MessageOut out) {
  tid = TidFile{};
  tid.name = name;
  tid.out = std::move(out);
  CreateResult created = create_temporary(tid.name, tid.file, create_private);
  if (created == CreateResult::CREATED) return true;
  // An existing file of that name may be the merchant's: never empty it.
  if (created == CreateResult::EXISTS)
    tell(tid.out, {"Error : the temporary file ", tid.name, " already exists"});
  else
    tell(tid.out, {"Error : can't write into the temporary file ", tid.name});
  return false;
}

void append_tid_entry(TidFile& tid, std::string_view transaction_id) {
  std::string_view id = transaction_id.substr(0, request::TRANSACTION_ID.width);
  char entry[ENTRY_LENGTH];
  std::memset(entry, ' ', request::TRANSACTION_ID.width);
  if (!id.empty()) std::memcpy(entry, id.data(), id.size());
  std::memcpy(entry + request::TRANSACTION_ID.width, ENTRY_END.data(), ENTRY_END.size());
  tid.pending.append(entry, ENTRY_LENGTH);
  ++tid.entries;
  if (tid.pending.size() >= WRITE_BLOCK) write_pending(tid);
}

bool close_tid_file(TidFile& tid) {
  write_pending(tid);
  if (std::ferror(tid.file)) tid.write_failed = true;
  if (std::fclose(tid.file) != 0) tid.write_failed = true;
  tid.file = nullptr;
  if (!tid.write_failed) return true;
  remove_temporary(tid.name);
  tell(tid.out, {"Error : can't write into the temporary file ", tid.name});
  return false;
}

int check_tid_file(TidFile& tid, size_t budget,
                   const std::function<void(uint64_t entry, std::string_view text)>& repeat) {
  int result = 0;
  std::string message;
  bool read = find_repeats(
      [&](const std::function<void(IdKey)>& take) { return read_keys(tid, take); }, tid.entries, tid.name, budget,
      [&](uint64_t entry, IdKey key) {
        message.assign("The transaction_id (").append(id_of_key(key)).append(") is present in several lines\n");
        if (repeat)
          repeat(entry, message);
        else
          tell(tid.out, {message});
        result = 1;
      },
      tid.out);
  // The file is this run's own: left behind it would block every later run
  // on the batch.
  remove_temporary(tid.name);
  return read ? result : 2;
}

void discard_tid_file(TidFile& tid) {
  if (tid.file) std::fclose(tid.file);
  tid.file = nullptr;
  remove_temporary(tid.name);
}
