#include "platform/replacement.h"

#include <cstdio>
#include <string>

#include "platform/cleanup.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/replacement_internal.h"

bool write_directly(const std::string& path, Replacement& replacement) {
  replacement.temporary.clear();
  replacement.file = open_for_writing(path);
  return replacement.file != nullptr;
}

bool create_beside(Replacement& replacement) {
  std::string pid = std::to_string(process_id());
  for (bool cut : {false, true}) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string suffix = "." + pid + "-" + std::to_string(attempt) + ".tmp";
      std::string stem = replacement.target;
      if (cut && !cut_name(replacement.target, suffix.size(), stem)) return false;
      CreateResult created = create_temporary(stem + suffix, replacement.file);
      if (created == CreateResult::CREATED) {
        replacement.temporary = stem + suffix;
        return true;
      }
      if (created == CreateResult::FAILED) break;
    }
  }
  return false;
}

bool close_replacement(Replacement& replacement) {
  bool written = std::fflush(replacement.file) == 0 && !std::ferror(replacement.file);
  if (std::fclose(replacement.file) != 0) written = false;
  replacement.file = nullptr;
  return written;
}

namespace {

// Copies the closed temporary file into the target, opened as a plain open
// would open it; false when any byte could not be read or written.
bool copy_into_place(const Replacement& replacement) {
  FILE* from = open_for_reading(replacement.temporary);
  if (!from) return false;
  FILE* to = open_for_writing(replacement.target);
  bool copied = to != nullptr;
  static char block[1 << 16];
  size_t got;
  while (copied && (got = std::fread(block, 1, sizeof block, from)) > 0)
    copied = std::fwrite(block, 1, got, to) == got;
  copied = copied && !std::ferror(from);
  std::fclose(from);
  if (to && (std::fflush(to) != 0 || std::ferror(to))) copied = false;
  if (to && std::fclose(to) != 0) copied = false;
  return copied;
}

}  // namespace

bool install_replacement(Replacement& replacement) {
  if (replacement.temporary.empty()) return true;
  if (move_into_place(replacement)) {
    keep_on_interrupt(replacement.temporary);
  } else {
    // The target refuses the move (a sticky folder and another user's file,
    // another program holding it): it is written in place, as a plain open
    // would write it, unless the caller wants it replaced whole or not at all.
    if (replacement.in_place == InPlace::FORBIDDEN) {
      replacement.in_place_refused = true;
      return false;
    }
    if (replacement.at_link == AtLink::REPLACE_LINK || !copy_into_place(replacement)) return false;
    remove_temporary(replacement.temporary);
  }
  replacement.temporary.clear();
  return true;
}

void discard_replacement(Replacement& replacement) {
  if (replacement.file) std::fclose(replacement.file);
  replacement.file = nullptr;
  if (replacement.temporary.empty()) return;
  remove_temporary(replacement.temporary);
  replacement.temporary.clear();
}
