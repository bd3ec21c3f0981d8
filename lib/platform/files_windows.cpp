#include "platform/files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstring>

#include "platform/windows_internal.h"

using windows_internal::as_stream;
using windows_internal::file_identity;
using windows_internal::open_shared;

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

}  // namespace

bool windows_internal::file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // Backup semantics let the handle name a folder too; no access is asked,
  // so a file open elsewhere still answers.
  HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  return known;
}

HANDLE windows_internal::open_shared(const std::string& path, DWORD access, DWORD disposition) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

FILE* windows_internal::as_stream(HANDLE handle, int mode, const char* stream_mode) {
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), mode | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  FILE* file = _fdopen(fd, stream_mode);
  if (!file) _close(fd);
  return file;
}

// Only a regular file has an end: a device such as NUL or CON is refused.
FILE* open_for_reading(const std::string& path) {
  FILE* file = as_stream(open_shared(path, GENERIC_READ, OPEN_EXISTING), _O_RDONLY, "rb");
  return kept_if(file, file && kind_of(file) == _S_IFREG);
}

// A folder is never written as a file.
FILE* open_for_writing(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  return kept_if(file, file && kind_of(file) != _S_IFDIR && kind_of(file) != 0);
}

CreateResult create_exclusive(const std::string& path, FILE*& file) {
  HANDLE handle = open_shared(path, GENERIC_WRITE, CREATE_NEW);
  if (handle == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_EXISTS ? CreateResult::EXISTS : CreateResult::FAILED;
  file = as_stream(handle, _O_WRONLY, "wb");
  if (file) return CreateResult::CREATED;
  DeleteFileA(path.c_str());
  return CreateResult::FAILED;
}

CreateResult create_private(const std::string& path, FILE*& file) {
  CreateResult result = create_exclusive(path, file);
  // A umask set through _umask may have taken the write right away.
  if (result == CreateResult::CREATED && _chmod(path.c_str(), _S_IREAD | _S_IWRITE) != 0) {
    std::fclose(file);
    file = nullptr;
    _unlink(path.c_str());
    return CreateResult::FAILED;
  }
  return result;
}

bool seek_to(FILE* file, uint64_t offset) { return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0; }

bool same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return file_identity(a, first) && file_identity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

bool same_place(const std::string& a, const std::string& b) {
  if (a == b || same_file(a, b)) return true;
  // Names compare as the file system does: whatever their letter case.
  auto split = [](const std::string& path, std::string& folder, std::string& name) {
    size_t cut = path.find_last_of("\\/:");
    folder = cut == std::string::npos ? "." : path.substr(0, cut + 1);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
  };
  std::string first_folder, first_name, second_folder, second_name;
  split(a, first_folder, first_name);
  split(b, second_folder, second_name);
  return !first_name.empty() && _stricmp(first_name.c_str(), second_name.c_str()) == 0 &&
         same_file(first_folder, second_folder);
}

bool windows_internal::is_standard_stream(const std::string& path, DWORD which) {
  BY_HANDLE_FILE_INFORMATION named;
  BY_HANDLE_FILE_INFORMATION open_file;
  HANDLE handle = GetStdHandle(which);
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && file_identity(path, named) &&
         GetFileInformationByHandle(handle, &open_file) &&
         named.dwVolumeSerialNumber == open_file.dwVolumeSerialNumber &&
         named.nFileIndexHigh == open_file.nFileIndexHigh && named.nFileIndexLow == open_file.nFileIndexLow;
}

bool is_standard_input(const std::string& path) {
  return windows_internal::is_standard_stream(path, STD_INPUT_HANDLE);
}

FILE* binary_stdin() {
  // The C runtime would otherwise read "\r\n" as "\n" and stop at Ctrl-Z.
  _setmode(_fileno(stdin), _O_BINARY);
  return stdin;
}
