#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/posix_internal.h"

FILE* open_for_reading(const std::string& path) {
  // Only a regular file has an end: a device such as /dev/zero or a pipe would
  // be read for ever. O_NONBLOCK keeps the open of a pipe nobody writes to from
  // waiting; it makes no difference to the reads of a regular file.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat info;
  FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && fcntl(fd, F_SETFL, O_RDONLY) == 0) file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

FILE* open_for_writing(const std::string& path) {
  // O_NONBLOCK: a pipe that nobody reads from fails at once instead of
  // holding the run; a directory fails as it always does.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0666);
  if (fd < 0) return nullptr;
  FILE* file = fcntl(fd, F_SETFL, 0) == 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) close(fd);
  return file;
}

CreateResult create_exclusive(const std::string& path, FILE*& file) {
  file = nullptr;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return errno == EEXIST ? CreateResult::EXISTS : CreateResult::FAILED;
  file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(path.c_str());
    return CreateResult::FAILED;
  }
  return CreateResult::CREATED;
}

CreateResult create_private(const std::string& path, FILE*& file) {
  file = nullptr;
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return errno == EEXIST ? CreateResult::EXISTS : CreateResult::FAILED;
  // The umask may have taken the owner's own read right away (umask 0466).
  if (fchmod(fd, 0600) == 0) file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(path.c_str());
    return CreateResult::FAILED;
  }
  return CreateResult::CREATED;
}

bool seek_to(FILE* file, uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

std::string posix_internal::link_target(const std::string& path, bool& descriptor) {
  auto names_descriptor = [](const std::string& name) {
    return name.rfind("/dev/fd/", 0) == 0 || name.rfind("/dev/std", 0) == 0 || name.rfind("/proc/", 0) == 0;
  };
  std::filesystem::path current(path);
  descriptor = names_descriptor(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) break;
    std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) break;
    current = next.is_absolute() ? next : current.parent_path() / next;
    descriptor = descriptor || names_descriptor(current.string());
  }
  return current.string();
}

namespace {

// link_target, whether a descriptor's name was on the way or not.
std::string link_target(const std::string& path) {
  bool descriptor = false;
  return posix_internal::link_target(path, descriptor);
}

}  // namespace

bool same_place(const std::string& a, const std::string& b) {
  if (a == b || same_file(a, b)) return true;
  // A link to nowhere names the place a write through it would create.
  std::filesystem::path first(link_target(a));
  std::filesystem::path second(link_target(b));
  if (first.filename() != second.filename() || first.filename().empty()) return false;
  std::filesystem::path first_folder = first.parent_path();
  std::filesystem::path second_folder = second.parent_path();
  return same_file(first_folder.empty() ? "." : first_folder.string(),
                   second_folder.empty() ? "." : second_folder.string());
}

bool posix_internal::is_open_as(int fd, const struct stat& info) {
  struct stat open_file;
  return fstat(fd, &open_file) == 0 && same_inode(open_file, info);
}

bool is_standard_input(const std::string& path) {
  struct stat named;
  return stat(path.c_str(), &named) == 0 && posix_internal::is_open_as(STDIN_FILENO, named);
}

FILE* binary_stdin() { return stdin; }
