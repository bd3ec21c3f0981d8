#include "platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
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

bool same_place(const std::string& a, const std::string& b) {
  if (a == b || same_file(a, b)) return true;
  std::filesystem::path first(a);
  std::filesystem::path second(b);
  if (first.filename() != second.filename() || first.filename().empty()) return false;
  std::filesystem::path first_folder = first.parent_path();
  std::filesystem::path second_folder = second.parent_path();
  return same_file(first_folder.empty() ? "." : first_folder.string(),
                   second_folder.empty() ? "." : second_folder.string());
}

namespace {

// The file that `path` finally names once every link is followed (a link to
// nowhere names the file it would create); `path` itself when it is no link.
std::string link_target(const std::string& path) {
  std::filesystem::path current(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) break;
    std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) break;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current.string();
}

}  // namespace

bool open_replacement(const std::string& path, Replacement& replacement) {
  replacement = Replacement{};
  replacement.target = link_target(path);
  struct stat info;
  bool exists = stat(replacement.target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    replacement.file = open_for_writing(path);
    return replacement.file != nullptr;
  }
  if (exists) {
    // A Response the user may not write is refused, as a plain open would.
    int probe = open(replacement.target.c_str(), O_WRONLY | O_NONBLOCK);
    if (probe < 0) return false;
    close(probe);
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = replacement.target + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
    CreateResult created = create_temporary(name, replacement.file);
    if (created == CreateResult::EXISTS) continue;
    if (created == CreateResult::FAILED) return false;
    replacement.temporary = name;
    if (exists) {
      // Kept from the file replaced, whatever the umask; the owner only when
      // the run may give it (run as root).
      int fd = fileno(replacement.file);
      [[maybe_unused]] int owned = fchown(fd, info.st_uid, info.st_gid);
      fchmod(fd, info.st_mode & 07777);
    }
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
  if (std::rename(replacement.temporary.c_str(), replacement.target.c_str()) != 0) return false;
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
  // open() takes the lowest free descriptor: a closed 0, 1 or 2 is taken by
  // the null device before any file of the run could take it.
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
      int opened = open("/dev/null", O_RDWR);
      if (opened >= 0 && opened != fd) {
        dup2(opened, fd);
        close(opened);
      }
    }
  static char buffer[1 << 16];
  if (isatty(STDOUT_FILENO))
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  else
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

namespace {

// One registered file. The signal handler may run between any two
// instructions of the run, so it only reads: the path is copied into the
// slot's own storage before `used` publishes it, and nothing is allocated.
struct RegisteredFile {
  std::atomic<bool> used{false};
  char path[4096];  // PATH_MAX: the kernel opens no longer path
};

RegisteredFile registered_files[MAX_REGISTERED_FILES];

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Ends the run the way `signal_number` would have, so the shell sees 128+n:
// back to the default action, and no longer blocked (the other cleanup
// signals are blocked while a handler runs, this one with them), then raised
// again. Only async-signal-safe calls: sigaction, sigprocmask, raise, _exit.
[[noreturn]] void die_of(int signal_number) {
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

// Removes every registered file, then dies of the signal. Only
// async-signal-safe calls: unlink and those of die_of.
extern "C" void on_interrupt(int signal_number) {
  for (RegisteredFile& slot : registered_files)
    if (slot.used.load(std::memory_order_acquire)) unlink(slot.path);
  die_of(signal_number);
}

// Narrows a time value to time_t, refusing what the system cannot hold.
bool to_time_t(int64_t seconds, time_t& out) {
  out = static_cast<time_t>(seconds);
  return static_cast<int64_t>(out) == seconds;
}

}  // namespace

void install_interrupt_cleanup() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_interrupt;
  action.sa_flags = 0;
  // While one signal cleans up, the others wait: the cleanup runs once, whole.
  sigemptyset(&action.sa_mask);
  for (int signal_number : CLEANUP_SIGNALS) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : CLEANUP_SIGNALS) {
    struct sigaction previous;
    if (sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &action, nullptr);
  }
}

namespace {

// The signal that asked the run to stop; 0 while none did.
volatile sig_atomic_t stop_signal = 0;

// The signals that ask a watching run to stop.
constexpr int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// Notes the request; a second one is impatience, and ends the run at once.
extern "C" void on_stop_request(int signal_number) {
  if (stop_signal != 0) on_interrupt(signal_number);
  stop_signal = signal_number;
}

}  // namespace

void catch_stop_requests() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_stop_request;
  // Reads and writes under way go on as if nothing came; only the waits of
  // wait_unless_stopped are cut short.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal_number : CLEANUP_SIGNALS) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : STOP_SIGNALS) {
    struct sigaction previous;
    if (sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &action, nullptr);
  }
}

bool wait_unless_stopped(int milliseconds) {
  struct timespec left;
  left.tv_sec = milliseconds / 1000;
  left.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  // A signal cuts the sleep short (EINTR) whatever SA_RESTART says.
  while (stop_signal == 0 && nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
  return stop_signal != 0;
}

void end_stopped_run() {
  std::fflush(stdout);
  die_of(stop_signal != 0 ? static_cast<int>(stop_signal) : SIGINT);
}

FileStamp file_stamp(const std::string& path) {
  struct stat info;
  FileStamp stamp;
  if (stat(path.c_str(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.identity = static_cast<uint64_t>(info.st_ino) ^ (static_cast<uint64_t>(info.st_dev) << 40);
  stamp.size = static_cast<uint64_t>(info.st_size);
  stamp.changed = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

namespace {

// Holds the cleanup signals back for its lifetime: what is done meanwhile is
// done whole before an interrupt can act.
class InterruptsHeld {
 public:
  InterruptsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal_number : CLEANUP_SIGNALS) sigaddset(&held, signal_number);
    sigprocmask(SIG_BLOCK, &held, &previous_);
  }
  ~InterruptsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  sigset_t previous_;
};

}  // namespace

CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&)) {
  InterruptsHeld held;
  CreateResult created = create(path, file);
  if (created == CreateResult::CREATED) {
    try {
      remove_on_interrupt(path);
    } catch (...) {
      std::fclose(file);
      file = nullptr;
      unlink(path.c_str());
      throw;
    }
  }
  return created;
}

void remove_on_interrupt(const std::string& path) {
  if (path.size() >= sizeof registered_files[0].path) throw std::length_error("path too long to register");
  for (RegisteredFile& slot : registered_files) {
    if (slot.used.load(std::memory_order_relaxed)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used.store(true, std::memory_order_release);
    return;
  }
  throw std::length_error("too many files to remove on interrupt");
}

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
      unlink(slot.path);
      slot.used.store(false, std::memory_order_release);
    }
}

bool to_local_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && localtime_r(&t, &out) != nullptr;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && gmtime_r(&t, &out) != nullptr;
}

bool is_terminal(FILE* file) { return isatty(fileno(file)) == 1; }
