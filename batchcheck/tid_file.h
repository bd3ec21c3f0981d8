#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "repeat_check.h"

// The TID file: this run's private list of the batch's transaction ids,
// beside the Request file, so that checking them for repeats needs no list
// of ids in memory. One entry per body record, in file order: the id padded
// with blanks to the field's width, then a carriage return and line feed.
// Ids have their trailing blanks removed, so the padding gives each id back
// whole, even one that holds a carriage return and the record's line end.
struct TidFile {
  std::string name;
  // Where the messages about the file go; see MessageOut.
  MessageOut out;
  FILE* file = nullptr;
  std::string pending;  // entries not yet written: one write per block
  uint64_t entries = 0;
  bool write_failed = false;
};

// The TID file's name for a Request file: its path with ".TID" appended.
std::string tid_file_name(const std::string& request_path);

// Creates the TID file of `request_path`, readable and writable by its owner
// only; it is removed should the run be interrupted. False (after the
// message, handed to `out`) when it exists already (it may be the
// merchant's, and is left as it is) or cannot be created.
bool create_tid_file(const std::string& request_path, TidFile& tid, MessageOut out = {});

// The same, under the name `name`: a program that must not take the name
// batchcheck uses gives one of its own.
bool create_tid_file_named(const std::string& name, TidFile& tid, MessageOut out = {});

// Appends one transaction_id (trailing blanks removed, at most the field's
// width) as one entry.
void append_tid_entry(TidFile& tid, std::string_view transaction_id);

// Closes the TID file after the pass. A file that could not be written whole
// would hide repeats: it is removed and false returned, after the message.
bool close_tid_file(TidFile& tid);

// Reports every transaction_id of the closed TID file that a later entry
// repeats, in file order, then removes the file. Returns 0 when all are
// unique, 1 when one repeats, 2 when the file cannot be read back. Each
// repeat message goes to `repeat` with its entry's position (0 for the
// first) when given, else like the other messages. `budget` bounds the
// memory of the sort (tests set it small to reach the spill files).
int check_tid_file(TidFile& tid, size_t budget = REPEAT_CHECK_BUDGET,
                   const std::function<void(uint64_t entry, std::string_view text)>& repeat = {});

// Closes and removes the TID file of a run that stops before its check.
void discard_tid_file(TidFile& tid);
