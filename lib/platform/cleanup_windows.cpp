#include "platform/cleanup.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/cleanup_internal.h"
#include "platform/windows_internal.h"

namespace {

// One registered file. The console's control handler runs in a thread of its
// own: the lock keeps it from reading a slot that the run is changing, and
// once it holds the lock the run can change nothing before the process ends.
struct RegisteredFile {
  bool used = false;
  char path[4096];
};

RegisteredFile registered_files[MAX_REGISTERED_FILES];
SRWLOCK registry_lock = SRWLOCK_INIT;

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

// remove_on_interrupt, with the registry's lock already held.
bool register_locked(const std::string& path) {
  if (path.size() >= sizeof registered_files[0].path) return false;
  for (RegisteredFile& slot : registered_files)
    if (!slot.used) {
      std::memcpy(slot.path, path.c_str(), path.size() + 1);
      slot.used = true;
      return true;
    }
  return false;
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

BOOL WINAPI windows_internal::on_console_event(DWORD event) {
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

void install_interrupt_cleanup() {
  SetConsoleCtrlHandler(windows_internal::on_console_event, TRUE);
  for (int signal_number : {SIGABRT, SIGTERM, SIGSEGV, SIGILL, SIGFPE}) {
    // A handler the process already has stays.
    auto previous = std::signal(signal_number, on_signal);
    if (previous != SIG_DFL && previous != SIG_ERR) std::signal(signal_number, previous);
  }
}

bool remove_on_interrupt(const std::string& path) {
  RegistryLocked locked;
  return register_locked(path);
}

CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&)) {
  // The console handler waits for the lock: it sees the file registered, or
  // not created yet.
  RegistryLocked locked;
  return create_registered(path, file, create, register_locked);
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
