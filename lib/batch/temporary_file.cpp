#include "batch/temporary_file.h"

#include <cstdio>

#include "batch/messages.h"
#include "platform/cleanup.h"
#include "platform/files.h"

namespace batch {

bool create_temporary_file(const std::string& name, TemporaryFile& file, std::string* err) {
  file.name = name;
  file.created = false;
  file.name_taken = false;
  FILE* opened = nullptr;
  CreateResult created = create_temporary(file.name, opened, create_private);
  if (created == CreateResult::CREATED) {
    file.out = support::make_block_writer(opened);
    file.created = true;
    return true;
  }
  // An existing file of that name may be the merchant's: never empty it.
  file.name_taken = created == CreateResult::EXISTS;
  *err = message_text(file.name_taken ? Message::TEMPORARY_FILE_EXISTS : Message::CANNOT_WRITE_TEMPORARY_FILE,
                      {file.name});
  return false;
}

bool close_temporary_file(TemporaryFile& file, std::string* err) {
  bool written = support::flush_block_writer(file.out);
  if (std::fclose(file.out.file) != 0) written = false;
  file.out.file = nullptr;
  if (!written) *err = message_text(Message::CANNOT_WRITE_TEMPORARY_FILE, {file.name});
  return written;
}

void discard_temporary_file(TemporaryFile& file) {
  if (file.out.file) std::fclose(file.out.file);
  file.out.file = nullptr;
  if (file.created) remove_temporary(file.name);
  file.created = false;
}

}  // namespace batch
