#include "batch/tid_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "batch/messages.h"
#include "platform/cleanup.h"
#include "platform/files.h"
#include "batch/request_layout.h"

namespace batch {

namespace {

// An entry: the id padded to the field's width, then its line end.
constexpr std::string_view ENTRY_END = "\r\n";
constexpr size_t ENTRY_LENGTH = request::TRANSACTION_ID.width + ENTRY_END.size();

// Bytes of the TID file read at a time: a whole number of entries.
constexpr size_t READ_BLOCK = (1 << 16) / ENTRY_LENGTH * ENTRY_LENGTH;

// The key of the id an entry begins with.
IdKey key_of_entry(const char* entry) {
  return id_key(trim_trailing_blanks(std::string_view(entry, request::TRANSACTION_ID.width)));
}

// Hands the key of every entry, in file order, to `take`.
bool read_keys(const TidFile& tid, const std::function<void(IdKey)>& take, std::string* err) {
  FILE* file = open_for_reading(tid.name);
  if (!file) {
    *err = message_text(Message::CANNOT_READ_BACK, {tid.name});
    return false;
  }
  std::vector<char> block(READ_BLOCK);
  size_t held = 0;  // bytes of an entry cut by the end of the last read
  size_t got;
  uint64_t entries = 0;
  while ((got = std::fread(block.data() + held, 1, block.size() - held, file)) > 0) {
    held += got;
    size_t whole = held / ENTRY_LENGTH * ENTRY_LENGTH;
    entries += whole / ENTRY_LENGTH;
    for (size_t at = 0; at < whole; at += ENTRY_LENGTH) take(key_of_entry(block.data() + at));
    std::copy(block.begin() + static_cast<long>(whole), block.begin() + static_cast<long>(held), block.begin());
    held -= whole;
  }
  // A file cut short, or grown, since it was written is no list of this
  // batch's ids.
  bool ok = !std::ferror(file) && held == 0 && entries == tid.entries;
  std::fclose(file);
  if (!ok) *err = message_text(Message::CANNOT_READ_BACK, {tid.name});
  return ok;
}

}  // namespace

std::string tid_file_name(const std::string& request_path) { return request_path + ".TID"; }

bool create_tid_file(const std::string& request_path, TidFile& tid, std::string* err) {
  return create_tid_file_named(tid_file_name(request_path), tid, err);
}

bool create_tid_file_named(const std::string& name, TidFile& tid, std::string* err) {
  tid = TidFile{};
  tid.name = name;
  FILE* file = nullptr;
  CreateResult created = create_temporary(tid.name, file, create_private);
  if (created == CreateResult::CREATED) {
    tid.out = support::make_block_writer(file);
    return true;
  }
  // An existing file of that name may be the merchant's: never empty it.
  *err = message_text(created == CreateResult::EXISTS ? Message::TEMPORARY_FILE_EXISTS
                                                      : Message::CANNOT_WRITE_TEMPORARY_FILE,
                      {tid.name});
  return false;
}

void append_tid_entry(TidFile& tid, std::string_view transaction_id) {
  std::string_view id = transaction_id.substr(0, request::TRANSACTION_ID.width);
  char entry[ENTRY_LENGTH];
  std::memset(entry, ' ', request::TRANSACTION_ID.width);
  if (!id.empty()) std::memcpy(entry, id.data(), id.size());
  std::memcpy(entry + request::TRANSACTION_ID.width, ENTRY_END.data(), ENTRY_END.size());
  support::write_bytes(tid.out, std::string_view(entry, ENTRY_LENGTH));
  ++tid.entries;
}

bool close_tid_file(TidFile& tid, std::string* err) {
  bool written = support::flush_block_writer(tid.out);
  if (std::fclose(tid.out.file) != 0) written = false;
  tid.out.file = nullptr;
  if (written) return true;
  remove_temporary(tid.name);
  *err = message_text(Message::CANNOT_WRITE_TEMPORARY_FILE, {tid.name});
  return false;
}

bool check_tid_file(TidFile& tid, size_t budget, const RepeatedId& repeated, std::string* err) {
  bool read = find_repeats(
      [&](const std::function<void(IdKey)>& take, std::string* why) { return read_keys(tid, take, why); },
      tid.entries, tid.name, budget, [&](uint64_t entry, IdKey key) { repeated(entry, id_of_key(key)); }, err);
  // The file is this run's own: left behind it would block every later run
  // on the batch.
  remove_temporary(tid.name);
  return read;
}

void discard_tid_file(TidFile& tid) {
  if (tid.out.file) std::fclose(tid.out.file);
  tid.out.file = nullptr;
  remove_temporary(tid.name);
}

}  // namespace batch
