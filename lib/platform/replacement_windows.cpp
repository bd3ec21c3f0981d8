#include "platform/replacement.h"

#include <windows.h>

#include <string>

#include "platform/cleanup.h"
#include "platform/replacement_internal.h"
#include "platform/windows_internal.h"

using windows_internal::is_standard_stream;
using windows_internal::open_shared;

bool open_replacement(const std::string& path, Replacement& replacement, AtLink at_link, InPlace in_place) {
  replacement = Replacement{};
  replacement.at_link = at_link;
  replacement.in_place = in_place;
  replacement.target = path;
  // A plain open of an empty name fails; so does this.
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (at_link == AtLink::REPLACE_LINK && link) {
    // A link is replaced by a regular file, never written through.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return create_beside(replacement);
  }
  HANDLE existing = open_shared(path, GENERIC_WRITE, OPEN_EXISTING);
  bool exists = existing != INVALID_HANDLE_VALUE;
  if (!exists) {
    // A read-only Response, a folder, a file locked by another program are
    // refused, as a plain open would refuse them.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    bool on_disk = GetFileType(existing) == FILE_TYPE_DISK;
    CloseHandle(existing);
    // A device, or the file that holds the run's own messages, is written
    // where it is.
    if (!on_disk || (at_link == AtLink::REPLACE_TARGET && is_standard_stream(path, STD_OUTPUT_HANDLE)))
      return write_directly(path, replacement);
  }
  if (create_beside(replacement)) return true;
  // No file can be made beside it (a folder the user may not write): the
  // target is written in place, as the plain open would write it.
  if (at_link == AtLink::REPLACE_LINK) return false;
  if (exists && in_place == InPlace::FORBIDDEN) {
    replacement.in_place_refused = true;
    return false;
  }
  return write_directly(path, replacement);
}

bool cut_name(const std::string& target, size_t suffix_size, std::string& stem) {
  size_t cut_at = target.find_last_of("\\/:");
  size_t name_length = cut_at == std::string::npos ? target.size() : target.size() - cut_at - 1;
  size_t folder_length = target.size() - name_length;
  size_t room = 255 > suffix_size ? 255 - suffix_size : 1;
  if (folder_length + suffix_size + room > MAX_PATH - 1)
    room = MAX_PATH - 1 > folder_length + suffix_size ? MAX_PATH - 1 - folder_length - suffix_size : 1;
  if (name_length <= room) return false;
  stem = target.substr(0, folder_length + room);
  return true;
}

bool move_into_place(const Replacement& replacement) {
  // Refused when another program holds the target without sharing its
  // deletion, or by its folder's rights.
  return MoveFileExA(replacement.temporary.c_str(), replacement.target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
