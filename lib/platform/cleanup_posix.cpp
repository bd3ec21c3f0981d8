#include "platform/cleanup.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/cleanup_internal.h"
#include "platform/posix_internal.h"

using posix_internal::InterruptsHeld;

namespace {

// One registered file. The signal handler may run between any two
// instructions of the run, so it only reads: the path is copied into the
// slot's own storage before `used` publishes it, and nothing is allocated.
struct RegisteredFile {
  std::atomic<bool> used{false};
  char path[4096];  // PATH_MAX: the kernel opens no longer path
  bool pinned = false;  // removed only while the path names the file below
  dev_t device = 0;
  ino_t inode = 0;
};

RegisteredFile registered_files[MAX_REGISTERED_FILES];

// Removes the slot's file; a pinned one only while its path still names the
// file the run holds (a lock whose folder was removed or moved names another
// run's lock, or nothing). Only async-signal-safe calls: lstat and unlink.
void remove_slot_file(const RegisteredFile& slot) {
  struct stat named;
  if (slot.pinned && (lstat(slot.path, &named) != 0 || named.st_dev != slot.device || named.st_ino != slot.inode))
    return;
  unlink(slot.path);
}

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

// True when `signal_number` still has its default action: not ignored since
// the run started (nohup), not taken by a handler of the process (a
// sanitizer's).
bool has_default_action(int signal_number) {
  struct sigaction current;
  return sigaction(signal_number, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
         current.sa_handler == SIG_DFL;
}

}  // namespace

// Every signal whose default action ends the process and that a handler can
// catch (SIGKILL and SIGSTOP cannot be caught), SIGXFSZ aside: the keyboard's
// and the terminal's, kill's, the timers', the limits', the faults', and the
// real-time signals. Built once; the handler does not read it.
const sigset_t& posix_internal::cleanup_signals() {
  static const sigset_t signals = [] {
    sigset_t set;
    sigemptyset(&set);
    for (int signal_number : {SIGHUP, SIGINT, SIGQUIT, SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGUSR1, SIGSEGV,
                              SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGSYS})
      sigaddset(&set, signal_number);
#ifdef SIGPOLL
    sigaddset(&set, SIGPOLL);
#endif
#ifdef SIGSTKFLT
    sigaddset(&set, SIGSTKFLT);
#endif
#ifdef SIGPWR
    sigaddset(&set, SIGPWR);
#endif
#ifdef SIGEMT
    sigaddset(&set, SIGEMT);
#endif
#ifdef SIGRTMIN
    for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number) sigaddset(&set, signal_number);
#endif
    return set;
  }();
  return signals;
}

// Back to the default action, and no longer blocked (the other cleanup
// signals are blocked while a handler runs, this one with them), then raised
// again. Only async-signal-safe calls: sigaction, sigprocmask, raise, _exit.
void posix_internal::die_of(int signal_number) {
  struct sigaction default_action;
  std::memset(&default_action, 0, sizeof default_action);
  default_action.sa_handler = SIG_DFL;
  sigaction(signal_number, &default_action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal_number);
  _exit(128 + signal_number);
}

namespace posix_internal {

// Only async-signal-safe calls: unlink and those of die_of.
extern "C" void on_interrupt(int signal_number) {
  for (RegisteredFile& slot : registered_files)
    if (slot.used.load(std::memory_order_acquire)) remove_slot_file(slot);
  die_of(signal_number);
}

}  // namespace posix_internal

void install_interrupt_cleanup() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = posix_internal::on_interrupt;
  action.sa_flags = 0;
  // While one signal cleans up, the others wait: the cleanup runs once, whole.
  action.sa_mask = posix_internal::cleanup_signals();
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    if (sigismember(&action.sa_mask, signal_number) == 1 && has_default_action(signal_number))
      sigaction(signal_number, &action, nullptr);
  // A write past the file-size limit then fails with EFBIG instead of
  // killing the run with its temporary files on disk.
  if (has_default_action(SIGXFSZ)) signal(SIGXFSZ, SIG_IGN);
}

bool posix_internal::register_file(const std::string& path, const struct stat* held) {
  if (path.size() >= sizeof registered_files[0].path) return false;
  for (RegisteredFile& slot : registered_files) {
    if (slot.used.load(std::memory_order_relaxed)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.pinned = held != nullptr;
    slot.device = held ? held->st_dev : 0;
    slot.inode = held ? held->st_ino : 0;
    slot.used.store(true, std::memory_order_release);
    return true;
  }
  return false;
}

bool remove_on_interrupt(const std::string& path) { return posix_internal::register_file(path, nullptr); }

void keep_on_interrupt(const std::string& path) {
  for (RegisteredFile& slot : registered_files)
    if (slot.used.load(std::memory_order_relaxed) && path == slot.path) {
      slot.used.store(false, std::memory_order_release);
      return;
    }
}

void remove_registered_files() {
  for (RegisteredFile& slot : registered_files)
    if (slot.used.load(std::memory_order_relaxed)) {
      remove_slot_file(slot);
      slot.used.store(false, std::memory_order_release);
    }
}

CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&)) {
  InterruptsHeld held;
  return create_registered(path, file, create, remove_on_interrupt);
}
