#include "platform/platform.h"
#include "platform/replacement.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
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
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT &&
      event != CTRL_SHUTDOWN_EVENT)
    return FALSE;
  AcquireSRWLockExclusive(&registry_lock);
  // The files were opened with FILE_SHARE_DELETE, so they go even while the
  // run still holds them open; their names vanish when the process ends.
  for (RegisteredFile& slot : registered_files)
    if (slot.used) DeleteFileA(slot.path);
  // The status that Ctrl-C gives a console program by default.
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

// The C runtime's signals (abort(), a fault): removes the registered files,
// then ends the run as the signal would. The signal may come in the middle
// of a registration that holds the lock: the cleanup is then left out
// rather than waited for.
extern "C" void on_signal(int signal_number) {
  if (TryAcquireSRWLockExclusive(&registry_lock)) {
    for (RegisteredFile& slot : registered_files)
      if (slot.used) DeleteFileA(slot.path);
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
  std::_Exit(3);
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

namespace {

// True when `path` names the file that the standard stream `which`
// (STD_INPUT_HANDLE, STD_OUTPUT_HANDLE) reads or writes.
bool is_standard_stream(const std::string& path, DWORD which) {
  BY_HANDLE_FILE_INFORMATION named;
  BY_HANDLE_FILE_INFORMATION open_file;
  HANDLE handle = GetStdHandle(which);
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && file_identity(path, named) &&
         GetFileInformationByHandle(handle, &open_file) &&
         named.dwVolumeSerialNumber == open_file.dwVolumeSerialNumber &&
         named.nFileIndexHigh == open_file.nFileIndexHigh && named.nFileIndexLow == open_file.nFileIndexLow;
}

// Creates the replacement's temporary file beside its target, registered for
// removal should the run be interrupted: <target>.<pid>-<n>.tmp, or, when
// the target's name leaves no room for that suffix (a name of 255
// characters, a path near MAX_PATH), the same with the name cut short.
// False when neither can be made.
bool create_beside(Replacement& replacement) {
  const std::string& target = replacement.target;
  size_t cut_at = target.find_last_of("\\/:");
  size_t name_length = cut_at == std::string::npos ? target.size() : target.size() - cut_at - 1;
  std::string pid = std::to_string(GetCurrentProcessId());
  for (bool cut : {false, true}) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string suffix = "." + pid + "-" + std::to_string(attempt) + ".tmp";
      std::string stem = target;
      if (cut) {
        size_t folder_length = target.size() - name_length;
        size_t room = 255 > suffix.size() ? 255 - suffix.size() : 1;
        if (folder_length + suffix.size() + room > MAX_PATH - 1)
          room = MAX_PATH - 1 > folder_length + suffix.size() ? MAX_PATH - 1 - folder_length - suffix.size() : 1;
        if (name_length <= room) return false;  // not the name's length: no shorter name helps
        stem = target.substr(0, folder_length + room);
      }
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

}  // namespace

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

bool is_standard_input(const std::string& path) { return is_standard_stream(path, STD_INPUT_HANDLE); }

bool move_into_place(const Replacement& replacement) {
  // Refused when another program holds the target without sharing its
  // deletion, or by its folder's rights.
  return MoveFileExA(replacement.temporary.c_str(), replacement.target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void prepare_stdout(StdoutRole role) {
  // A stream the run was started without is opened on the null device; a
  // product's standard output for reading only, so every write to it fails.
  if (_fileno(stdin) < 0) std::freopen("NUL", "rb", stdin);
  if (_fileno(stdout) < 0) std::freopen("NUL", role == StdoutRole::PRODUCT ? "rb" : "wb", stdout);
  if (_fileno(stderr) < 0) std::freopen("NUL", "wb", stderr);
  // Without this the C runtime would write every "\n" as "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  static char buffer[1 << 16];
  if (_isatty(_fileno(stdout)))
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  else
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

FILE* binary_stdin() {
  // The C runtime would otherwise read "\r\n" as "\n" and stop at Ctrl-Z.
  _setmode(_fileno(stdin), _O_BINARY);
  return stdin;
}

void install_interrupt_cleanup() {
  SetConsoleCtrlHandler(on_console_event, TRUE);
  for (int signal_number : {SIGABRT, SIGTERM, SIGSEGV, SIGILL, SIGFPE}) {
    // A handler the process already has stays.
    auto previous = std::signal(signal_number, on_signal);
    if (previous != SIG_DFL && previous != SIG_ERR) std::signal(signal_number, previous);
  }
}

LockResult lock_folder(const std::string& path, FolderLock& lock) {
  lock = FolderLock{};
  // Shared with no one while held; the system deletes it when the handle
  // closes, also when the run is killed. A link at the path is opened as
  // itself, never written through.
  DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_SHARING_VIOLATION ? LockResult::HELD_ELSEWHERE : LockResult::FAILED;
  lock.file = as_stream(handle, _O_RDWR, "r+b");
  if (!lock.file) return LockResult::FAILED;
  lock.path = path;
  return LockResult::LOCKED;
}

bool still_holds(const FolderLock& lock) {
  if (!lock.file) return false;
  BY_HANDLE_FILE_INFORMATION held;
  BY_HANDLE_FILE_INFORMATION named;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(lock.file)));
  return GetFileInformationByHandle(handle, &held) && file_identity(lock.path, named) &&
         held.dwVolumeSerialNumber == named.dwVolumeSerialNumber && held.nFileIndexHigh == named.nFileIndexHigh &&
         held.nFileIndexLow == named.nFileIndexLow;
}

void unlock_folder(FolderLock& lock) {
  // The system deletes the file the handle holds, wherever it now lies,
  // never another file at its path.
  if (lock.file) std::fclose(lock.file);
  lock = FolderLock{};
}

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
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT &&
      event != CTRL_SHUTDOWN_EVENT)
    return FALSE;
  // A second request is impatience: clean up and end now.
  if (stop_asked.exchange(true)) return on_console_event(event);
  SetEvent(stop_wakeup);
  // The process ends as soon as this handler returns from a close, logoff or
  // shutdown event: wait here for end_stopped_run, which ends it with the
  // files whole.
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
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
  remove_registered_files();
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

uint64_t process_id() { return GetCurrentProcessId(); }

bool is_terminal(FILE* file) { return _isatty(_fileno(file)) != 0; }
