#include "platform/lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/cleanup.h"
#include "platform/files.h"
#include "platform/posix_internal.h"

using posix_internal::InterruptsHeld;
using posix_internal::is_open_as;

LockResult lock_folder(const std::string& path, FolderLock& lock) {
  lock = FolderLock{};
  for (int attempt = 0; attempt < 100; ++attempt) {
    // The file is registered as soon as it is held: an interrupt finds it.
    InterruptsHeld held;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return LockResult::FAILED;
    struct flock whole;
    std::memset(&whole, 0, sizeof whole);
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (fcntl(fd, F_SETLK, &whole) != 0) {
      bool held_elsewhere = errno == EACCES || errno == EAGAIN;
      close(fd);
      return held_elsewhere ? LockResult::HELD_ELSEWHERE : LockResult::FAILED;
    }
    // The run that held the file may have removed it between the open and
    // the lock: then the lock is on a file no other run can find, and the
    // file at the path is taken again.
    struct stat named;
    if (lstat(path.c_str(), &named) != 0 || !is_open_as(fd, named)) {
      close(fd);
      continue;
    }
    lock.file = fdopen(fd, "r+b");
    if (!lock.file) {
      close(fd);
      return LockResult::FAILED;
    }
    lock.path = path;
    // A lock file that could not be registered would outlive an interrupt:
    // it is let go at once.
    if (!posix_internal::register_file(path, &named)) {
      unlock_folder(lock);
      return LockResult::FAILED;
    }
    return LockResult::LOCKED;
  }
  return LockResult::FAILED;
}

bool still_holds(const FolderLock& lock) {
  struct stat named;
  return lock.file && lstat(lock.path.c_str(), &named) == 0 && is_open_as(fileno(lock.file), named);
}

void unlock_folder(FolderLock& lock) {
  if (!lock.file) return;
  // Removed before the lock goes: a run that opens the file meanwhile finds
  // it gone once it holds the lock, and takes a new one. Only while the path
  // names the file held: once the folder was removed or moved, it names
  // another run's lock, or nothing.
  if (still_holds(lock)) remove_file(lock.path);
  keep_on_interrupt(lock.path);
  std::fclose(lock.file);
  lock = FolderLock{};
}
