#include "batch/external_sort.h"

#include "batch/messages.h"
#include "platform/cleanup.h"

SpillFiles::~SpillFiles() {
  for (const std::string& name : names_) remove_temporary(name);
}

FILE* SpillFiles::create(std::string& name, std::string* err) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix_ + "." + std::to_string(next_number_++);
    FILE* file = nullptr;
    CreateResult created = create_temporary(name, file, create_private);
    if (created == CreateResult::CREATED) {
      names_.push_back(name);
      return file;
    }
    if (created != CreateResult::EXISTS) break;
  }
  *err = message_text(Message::CANNOT_WRITE_TEMPORARY_FILE, {name});
  return nullptr;
}

void SpillFiles::remove(const std::string& name) {
  remove_temporary(name);
  names_.erase(std::find(names_.begin(), names_.end(), name));
}

bool start_spill(SpillFiles& spills, SpillWriter& writer, std::string* err) {
  FILE* file = spills.create(writer.name, err);
  if (!file) return false;
  writer.out = make_block_writer(file);
  return true;
}

bool finish_spill(SpillWriter& writer, std::string* err) {
  bool written = flush_block_writer(writer.out);
  if (std::fclose(writer.out.file) != 0) written = false;
  writer.out.file = nullptr;
  if (!written) *err = message_text(Message::CANNOT_WRITE_TEMPORARY_FILE, {writer.name});
  return written;
}

std::string unreadable_spill(const std::string& name) { return message_text(Message::CANNOT_READ_BACK, {name}); }
