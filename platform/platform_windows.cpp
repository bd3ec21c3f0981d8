#include "platform.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

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

// One registered file. The console's control handler runs in a thread of its
// own: the lock keeps it from reading a slot that the run is changing, and
// once it holds the lock the run can change nothing before the process ends.
struct RegisteredFile {
  bool used = false;
  char path[4096];
};

RegisteredFile registered_files[MAX_REGISTERED_FILES];
SRWLOCK registry_lock = SRWLOCK_INIT;

BOOL WINAPI on_console_event(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  AcquireSRWLockExclusive(&registry_lock);
  // The files were opened with FILE_SHARE_DELETE, so they go even while the
  // run still holds them open; their names vanish when the process ends.
  for (RegisteredFile& slot : registered_files)
    if (slot.used) DeleteFileA(slot.path);
  // The status that Ctrl-C gives a console program by default.
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

// Opens `path` with FILE_SHARE_DELETE, so that the interrupt cleanup can
// delete a file the run holds open.
HANDLE open_shared(const std::string& path, DWORD access, DWORD disposition) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Hands an open handle to the C runtime; closes it on failure.
FILE* as_stream(HANDLE handle, int mode, const char* stream_mode) {
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

// Narrows a time value to the 64-bit time of the C runtime.
bool to_time64(int64_t seconds, __time64_t& out) {
  out = static_cast<__time64_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

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

bool open_replacement(const std::string& path, Replacement& replacement) {
  replacement = Replacement{};
  replacement.target = path;
  HANDLE existing = open_shared(path, GENERIC_WRITE, OPEN_EXISTING);
  if (existing == INVALID_HANDLE_VALUE) {
    // A read-only Response, a folder, a file locked by another program are
    // refused, as a plain open would refuse them.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    bool on_disk = GetFileType(existing) == FILE_TYPE_DISK;
    CloseHandle(existing);
    if (!on_disk) {
      replacement.file = open_for_writing(path);
      return replacement.file != nullptr;
    }
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
    CreateResult created = create_temporary(name, replacement.file);
    if (created == CreateResult::EXISTS) continue;
    if (created == CreateResult::FAILED) return false;
    replacement.temporary = name;
    return true;
  }
  return false;
}

bool close_replacement(Replacement& replacement) {
  bool written = std::fflush(replacement.file) == 0 && !std::ferror(replacement.file);
  if (std::fclose(replacement.file) != 0) written = false;
  replacement.file = nullptr;
  return written;
}

bool install_replacement(Replacement& replacement) {
  if (replacement.temporary.empty()) return true;
  if (!MoveFileExA(replacement.temporary.c_str(), replacement.target.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  keep_on_interrupt(replacement.temporary);
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

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }

void prepare_stdout() {
  // A stream the run was started without is opened on the null device.
  if (_fileno(stdin) < 0) std::freopen("NUL", "rb", stdin);
  if (_fileno(stdout) < 0) std::freopen("NUL", "wb", stdout);
  if (_fileno(stderr) < 0) std::freopen("NUL", "wb", stderr);
  // Without this the C runtime would write every "\n" as "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  static char buffer[1 << 16];
  if (_isatty(_fileno(stdout)))
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  else
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void install_interrupt_cleanup() { SetConsoleCtrlHandler(on_console_event, TRUE); }

namespace {

// remove_on_interrupt, with the registry's lock already held.
void register_locked(const std::string& path) {
  if (path.size() >= sizeof registered_files[0].path) throw std::length_error("path too long to register");
  for (RegisteredFile& slot : registered_files)
    if (!slot.used) {
      std::memcpy(slot.path, path.c_str(), path.size() + 1);
      slot.used = true;
      return;
    }
  throw std::length_error("too many files to remove on interrupt");
}

// Holds the registry's lock for its lifetime.
class RegistryLocked {
 public:
  RegistryLocked() { AcquireSRWLockExclusive(&registry_lock); }
  ~RegistryLocked() { ReleaseSRWLockExclusive(&registry_lock); }
  RegistryLocked(const RegistryLocked&) = delete;
  RegistryLocked& operator=(const RegistryLocked&) = delete;
};

}  // namespace

void remove_on_interrupt(const std::string& path) {
  RegistryLocked locked;
  register_locked(path);
}

CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&)) {
  // The console handler waits for the lock: it sees the file registered, or
  // not created yet.
  RegistryLocked locked;
  CreateResult created = create(path, file);
  if (created == CreateResult::CREATED) {
    try {
      register_locked(path);
    } catch (...) {
      std::fclose(file);
      file = nullptr;
      DeleteFileA(path.c_str());
      throw;
    }
  }
  return created;
}

void keep_on_interrupt(const std::string& path) {
  RegistryLocked locked;
  for (RegisteredFile& slot : registered_files)
    if (slot.used && path == slot.path) {
      slot.used = false;
      return;
    }
}

void remove_registered_files() {
  RegistryLocked locked;
  for (RegisteredFile& slot : registered_files)
    if (slot.used) {
      DeleteFileA(slot.path);
      slot.used = false;
    }
}

FileStamp file_stamp(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  FileStamp stamp;
  if (!file_identity(path, info)) return stamp;
  stamp.exists = true;
  stamp.identity = (static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow) ^
                   (static_cast<uint64_t>(info.dwVolumeSerialNumber) << 40);
  stamp.size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
  stamp.changed = static_cast<int64_t>(static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                       info.ftLastWriteTime.dwLowDateTime);
  return stamp;
}

namespace {

// Set once a stop was requested; the event wakes wait_unless_stopped.
std::atomic<bool> stop_asked{false};
HANDLE stop_wakeup = nullptr;

// How long the console's close waits for the run to end by itself; Windows
// ends the process itself five seconds after the event.
constexpr DWORD CLOSE_GRACE_MS = 4000;

BOOL WINAPI on_stop_request(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // A second request is impatience: clean up and end now.
  if (stop_asked.exchange(true)) return on_console_event(event);
  SetEvent(stop_wakeup);
  // The process ends as soon as this handler returns from a close event:
  // wait here for end_stopped_run, which ends it with the files whole.
  if (event == CTRL_CLOSE_EVENT) {
    Sleep(CLOSE_GRACE_MS);
    return on_console_event(event);
  }
  return TRUE;
}

}  // namespace

void catch_stop_requests() {
  stop_wakeup = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // Called before the cleanup handler, which was installed first.
  SetConsoleCtrlHandler(on_stop_request, TRUE);
}

bool wait_unless_stopped(int milliseconds) {
  if (stop_asked.load()) return true;
  if (stop_wakeup) WaitForSingleObject(stop_wakeup, static_cast<DWORD>(milliseconds));
  else Sleep(static_cast<DWORD>(milliseconds));
  return stop_asked.load();
}

void end_stopped_run() {
  std::fflush(stdout);
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

bool to_local_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _localtime64_s(&out, &t) == 0;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  __time64_t t;
  return to_time64(seconds, t) && _gmtime64_s(&out, &t) == 0;
}

bool is_terminal(FILE* file) { return _isatty(_fileno(file)) != 0; }
