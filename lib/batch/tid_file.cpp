#include "batch/tid_file.h"

#include <cstring>

#include "batch/messages.h"
#include "platform/files.h"
#include "batch/request_layout.h"
#include "support/block_reader.h"

namespace batch {

namespace {

// The line end of an entry.
constexpr std::string_view ENTRY_END = "\r\n";

// The length of an entry: the id padded to the field's width, then its line end.
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
  support::BlockReader reader = support::make_block_reader(file, READ_BLOCK);
  uint64_t entries = 0;
  while (support::refill(reader) > 0) {
    std::string_view bytes = support::unread(reader);
    size_t whole = bytes.size() / ENTRY_LENGTH * ENTRY_LENGTH;
    for (size_t at = 0; at < whole; at += ENTRY_LENGTH) take(key_of_entry(bytes.data() + at));
    entries += whole / ENTRY_LENGTH;
    reader.position += whole;  // an entry cut by the end of the read waits for the next
  }
  // A file cut short, or grown, since it was written is no list of this
  // batch's ids.
  bool ok = !reader.failed && support::unread(reader).empty() && entries == tid.entries;
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
  return create_temporary_file(name, tid, err);
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
  if (close_temporary_file(tid, err)) return true;
  discard_temporary_file(tid);
  return false;
}

bool check_tid_file(TidFile& tid, size_t budget, const RepeatedId& repeated, std::string* err) {
  bool read = find_repeats(
      [&](const std::function<void(IdKey)>& take, std::string* why) { return read_keys(tid, take, why); },
      tid.entries, tid.name, budget, [&](uint64_t entry, IdKey key) { repeated(entry, id_of_key(key)); }, err);
  // The file is this run's own: left behind it would block every later run
  // on the batch.
  discard_temporary_file(tid);
  return read;
}

void discard_tid_file(TidFile& tid) { discard_temporary_file(tid); }

}  // namespace batch
