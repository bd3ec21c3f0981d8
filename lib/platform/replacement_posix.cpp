#include "platform/replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/cleanup.h"
#include "platform/posix_internal.h"
#include "platform/replacement_internal.h"

using posix_internal::is_open_as;
using posix_internal::link_target;
using posix_internal::same_inode;

namespace {

// Makes `path` belong to `owner` and `group` when the run may give it (run
// as root); otherwise it stays as it is.
void give_owner(const char* path, uid_t owner, gid_t group) { [[maybe_unused]] int given = chown(path, owner, group); }

}  // namespace

bool open_replacement(const std::string& path, Replacement& replacement, AtLink at_link, InPlace in_place) {
  replacement = Replacement{};
  replacement.at_link = at_link;
  replacement.in_place = in_place;
  // A plain open of an empty name fails; so does this.
  if (path.empty()) return false;
  struct stat info;
  bool exists;
  if (at_link == AtLink::REPLACE_LINK) {
    // Whatever stands at the path, a link, a device or a pipe, is replaced
    // by a regular file; only a regular file is looked at.
    replacement.target = path;
    exists = lstat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return false;
    exists = exists && S_ISREG(info.st_mode);
  } else {
    bool descriptor = false;
    replacement.target = link_target(path, descriptor);
    exists = stat(path.c_str(), &info) == 0;
    // Written where it is: a device or a pipe, a descriptor's name, the file
    // that holds the run's own messages, a file whose links give no name of
    // its place (a file removed since it was opened).
    struct stat target_info;
    if (exists && (!S_ISREG(info.st_mode) || descriptor || is_open_as(STDOUT_FILENO, info) ||
                   stat(replacement.target.c_str(), &target_info) != 0 || !same_inode(info, target_info)))
      return write_directly(path, replacement);
  }
  if (exists) {
    // A file the user may not write is refused, as a plain open would.
    int probe = open(replacement.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW);
    if (probe < 0) return false;
    close(probe);
  }
  if (!create_beside(replacement)) {
    // No file can be made beside it (a folder the user may not write): the
    // target is written in place, as the plain open would write it. A link's
    // own place is never written through.
    if (at_link == AtLink::REPLACE_LINK) return false;
    if (exists && in_place == InPlace::FORBIDDEN) {
      replacement.in_place_refused = true;
      return false;
    }
    return write_directly(path, replacement);
  }
  // Kept from the file replaced, whatever the umask. Its owner passes only
  // at the rename (install_replacement): until then the file stays the
  // run's own, which it may remove from any folder.
  if (exists) fchmod(fileno(replacement.file), info.st_mode & 07777);
  return true;
}

bool cut_name(const std::string& target, size_t suffix_size, std::string& stem) {
  std::filesystem::path path(target);
  std::string folder = path.parent_path().empty() ? "." : path.parent_path().string();
  size_t name_size = path.filename().string().size();
  long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  if (longest <= 0) longest = 255;
  size_t room = static_cast<size_t>(longest) > suffix_size ? static_cast<size_t>(longest) - suffix_size : 1;
  if (name_size <= room) return false;
  stem = target.substr(0, target.size() - name_size + room);
  return true;
}

bool move_into_place(const Replacement& replacement) {
  // The file replaced keeps its owner, when the run may give it (run as root).
  struct stat target;
  bool owned_elsewhere = lstat(replacement.target.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
                         (target.st_uid != geteuid() || target.st_gid != getegid());
  const char* temporary = replacement.temporary.c_str();
  if (owned_elsewhere) give_owner(temporary, target.st_uid, target.st_gid);
  if (std::rename(temporary, replacement.target.c_str()) == 0) return true;
  // The folder refuses the rename (a sticky folder, the target another
  // user's): the file goes back to the run, which then writes the target in
  // place.
  if (owned_elsewhere) give_owner(temporary, geteuid(), getegid());
  return false;
}
