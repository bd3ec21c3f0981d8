#include "platform.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

namespace {

// The kind of the open `file` (_S_IFREG, _S_IFDIR, ...), or 0 when unknown.
int kind_of(FILE* file) {
  struct _stat64 info;
  return _fstat64(_fileno(file), &info) == 0 ? (info.st_mode & _S_IFMT) : 0;
}

// Keeps `file` when `keep` holds; closes it and gives nullptr otherwise.
FILE* kept_if(FILE* file, bool keep) {
  if (file && !keep) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

// The volume and the file index of `path`, which tell one file from another
// whatever the letter case, the separators or the ".." steps of its name.
bool file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // Backup semantics let the handle name a folder too; no access is asked,
  // so a file open elsewhere still answers.
  HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  return known;
}

// Narrows a time value to the 64-bit time of the C runtime.
bool to_time64(int64_t seconds, __time64_t& out) {
  out = static_cast<__time64_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

// Only a regular file has an end: a device such as NUL or CON is refused.
FILE* open_for_reading(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  return kept_if(file, file && kind_of(file) == _S_IFREG);
}

// A folder is never written as a file.
FILE* open_for_writing(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  return kept_if(file, file && kind_of(file) != _S_IFDIR && kind_of(file) != 0);
}

CreateResult create_exclusive(const std::string& path, FILE*& file) {
  file = nullptr;
  int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return errno == EEXIST ? CreateResult::exists : CreateResult::failed;
  file = _fdopen(fd, "wb");
  if (!file) {
    _close(fd);
    _unlink(path.c_str());
    return CreateResult::failed;
  }
  return CreateResult::created;
}

bool same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return file_identity(a, first) && file_identity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }

void prepare_stdout() {
  // Without this the C runtime would write every "\n" as "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

bool to_local_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _localtime64_s(&out, &t) == 0;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _gmtime64_s(&out, &t) == 0;
}
