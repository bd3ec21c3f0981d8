#include "platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>


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
  if (fd < 0) return errno == EEXIST ? CreateResult::exists : CreateResult::failed;
  file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(path.c_str());
    return CreateResult::failed;
  }
  return CreateResult::created;
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }

void prepare_stdout() {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

namespace {

// Narrows a time value to time_t, refusing what the system cannot hold.
bool to_time_t(int64_t seconds, time_t& out) {
  out = static_cast<time_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

bool to_local_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && localtime_r(&t, &out) != nullptr;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && gmtime_r(&t, &out) != nullptr;
}
