#pragma once

#include <string>

#include "support/block_writer.h"

namespace batch {

// A file of the run's own beside the merchant's batch (the TID file, the
// sort's spill files, batchcheck-describe's findings): created by this run
// alone, readable and writable by its owner only, written in blocks, and
// removed at the end of the run or should the run be interrupted.
struct TemporaryFile {
  std::string name;
  support::BlockWriter out;  // its file, open from its creation until it is closed
  bool created = false;      // by this run, which removes it
  bool name_taken = false;   // a file of that name was there already, maybe the merchant's
};

// Creates the file `name` for `file`. False (the message in *err) when a
// file of that name exists (it may be the merchant's: it is never emptied,
// nor removed) or none can be created.
bool create_temporary_file(const std::string& name, TemporaryFile& file, std::string* err);

// Writes what is left and closes the file, which stays; false (the message
// in *err) when it could not be written whole.
bool close_temporary_file(TemporaryFile& file, std::string* err);

// Closes the file if it is still open, and removes it if this run created it.
void discard_temporary_file(TemporaryFile& file);

}  // namespace batch
