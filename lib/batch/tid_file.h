#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "batch/repeat_check.h"
#include "batch/temporary_file.h"

namespace batch {

// The TID file: this run's private list of the batch's transaction ids,
// beside the Request file, so that checking them for repeats needs no list
// of ids in memory. One entry per body record, in file order: the id padded
// with blanks to the field's width, then a carriage return and line feed.
// Ids have their trailing blanks removed, so the padding gives each id back
// whole, even one that holds a carriage return and the record's line end.
struct TidFile : TemporaryFile {
  uint64_t entries = 0;
};

// The TID file's name for a Request file: its path with ".TID" appended.
std::string tid_file_name(const std::string& request_path);

// Creates the TID file of `request_path`, readable and writable by its owner
// only; it is removed should the run be interrupted. False (the message in
// *err) when it exists already (it may be the merchant's, and is left as it
// is) or cannot be created.
bool create_tid_file(const std::string& request_path, TidFile& tid, std::string* err);

// The same, under the name `name`: a program that must not take the name
// batchcheck uses gives one of its own.
bool create_tid_file_named(const std::string& name, TidFile& tid, std::string* err);

// Appends one transaction_id (trailing blanks removed, at most the field's
// width) as one entry.
void append_tid_entry(TidFile& tid, std::string_view transaction_id);

// Closes the TID file after the pass. A file that could not be written whole
// would hide repeats: it is removed and false returned, the message in *err.
bool close_tid_file(TidFile& tid, std::string* err);

// Takes a transaction_id that a later entry repeats, and its entry's
// position (0 for the first).
using RepeatedId = std::function<void(uint64_t entry, std::string_view transaction_id)>;

// Hands every transaction_id of the closed TID file that a later entry
// repeats to `repeated`, in file order, then removes the file. `budget`
// bounds the memory of the sort (tests set it small to reach the spill
// files). False (the message in *err) when the file cannot be read back.
bool check_tid_file(TidFile& tid, size_t budget, const RepeatedId& repeated, std::string* err);

// Closes and removes the TID file of a run that stops before its check.
void discard_tid_file(TidFile& tid);

}  // namespace batch
