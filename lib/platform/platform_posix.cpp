#include "platform/platform.h"
#include "platform/replacement.h"

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

namespace {

// The file that `path` finally names once every link is followed (a link to
// nowhere names the file it would create); `path` itself when it is no link.
// `descriptor` tells whether a name on the way names an open descriptor
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N): its link text is no place of
// the file's own.
std::string link_target(const std::string& path, bool& descriptor) {
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

std::string link_target(const std::string& path) {
  bool descriptor = false;
  return link_target(path, descriptor);
}

bool same_inode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

namespace {

// Creates the replacement's temporary file beside its target, registered for
// removal should the run be interrupted: <target>.<pid>-<n>.tmp, or, when
// the target's name leaves no room for that suffix in the folder's longest
// name, the same with the name cut short. False when neither can be made.
bool create_beside(Replacement& replacement) {
  std::filesystem::path target(replacement.target);
  std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
  std::string name = target.filename().string();
  long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  if (longest <= 0) longest = 255;
  std::string pid = std::to_string(getpid());
  for (bool cut : {false, true}) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string suffix = "." + pid + "-" + std::to_string(attempt) + ".tmp";
      std::string stem = replacement.target;
      if (cut) {
        size_t room = static_cast<size_t>(longest) > suffix.size() ? static_cast<size_t>(longest) - suffix.size() : 1;
        if (name.size() <= room) return false;  // not the name's length: no shorter name helps
        stem = replacement.target.substr(0, replacement.target.size() - name.size() + room);
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

// True when the open file at `fd` is the file `info` describes.
bool is_open_as(int fd, const struct stat& info) {
  struct stat open_file;
  return fstat(fd, &open_file) == 0 && same_inode(open_file, info);
}

}  // namespace

bool open_replacement(const std::string& path, Replacement& replacement, AtLink at_link, InPlace in_place) {
  replacement = Replacement{};
  replacement.at_link = at_link;
  replacement.in_place = in_place;
  // A plain open of an empty name fails; so does this.
  if (path.empty()) return false;
  struct stat info;
  bool exists;
  if (at_link == AtLink::REPLACE_LINK) {
    // Whatever stands at the path, a link, a device or a pipe, is replaced
    // by a regular file; only a regular file is looked at.
    replacement.target = path;
    exists = lstat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return false;
    exists = exists && S_ISREG(info.st_mode);
  } else {
    bool descriptor = false;
    replacement.target = link_target(path, descriptor);
    exists = stat(path.c_str(), &info) == 0;
    // Written where it is: a device or a pipe, a descriptor's name, the file
    // that holds the run's own messages, a file whose links give no name of
    // its place (a file removed since it was opened).
    struct stat target_info;
    if (exists && (!S_ISREG(info.st_mode) || descriptor || is_open_as(STDOUT_FILENO, info) ||
                   stat(replacement.target.c_str(), &target_info) != 0 || !same_inode(info, target_info)))
      return write_directly(path, replacement);
  }
  if (exists) {
    // A file the user may not write is refused, as a plain open would.
    int probe = open(replacement.target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW);
    if (probe < 0) return false;
    close(probe);
  }
  if (!create_beside(replacement)) {
    // No file can be made beside it (a folder the user may not write): the
    // target is written in place, as the plain open would write it. A link's
    // own place is never written through.
    if (at_link == AtLink::REPLACE_LINK) return false;
    if (exists && in_place == InPlace::FORBIDDEN) {
      replacement.in_place_refused = true;
      return false;
    }
    return write_directly(path, replacement);
  }
  // Kept from the file replaced, whatever the umask. Its owner passes only
  // at the rename (install_replacement): until then the file stays the
  // run's own, which it may remove from any folder.
  if (exists) fchmod(fileno(replacement.file), info.st_mode & 07777);
  return true;
}

bool is_standard_input(const std::string& path) {
  struct stat named;
  return stat(path.c_str(), &named) == 0 && is_open_as(STDIN_FILENO, named);
}

namespace {

// Makes `path` belong to `owner` and `group` when the run may give it (run
// as root); otherwise it stays as it is.
void give_owner(const char* path, uid_t owner, gid_t group) { [[maybe_unused]] int given = chown(path, owner, group); }

}  // namespace

bool move_into_place(const Replacement& replacement) {
  // The file replaced keeps its owner, when the run may give it (run as root).
  struct stat target;
  bool owned_elsewhere = lstat(replacement.target.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
                         (target.st_uid != geteuid() || target.st_gid != getegid());
  const char* temporary = replacement.temporary.c_str();
  if (owned_elsewhere) give_owner(temporary, target.st_uid, target.st_gid);
  if (std::rename(temporary, replacement.target.c_str()) == 0) return true;
  // The folder refuses the rename (a sticky folder, the target another
  // user's): the file goes back to the run, which then writes the target in
  // place.
  if (owned_elsewhere) give_owner(temporary, geteuid(), getegid());
  return false;
}

void prepare_stdout(StdoutRole role) {
  // open() takes the lowest free descriptor: a closed 0, 1 or 2 is taken by
  // the null device before any file of the run could take it.
  for (int fd = 0; fd <= 2; ++fd)
    if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
      int opened = open("/dev/null", fd == STDOUT_FILENO && role == StdoutRole::PRODUCT ? O_RDONLY : O_RDWR);
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

FILE* binary_stdin() { return stdin; }

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

// Every signal whose default action ends the process and that a handler can
// catch (SIGKILL and SIGSTOP cannot be caught), SIGXFSZ aside: the keyboard's
// and the terminal's, kill's, the timers', the limits', the faults', and the
// real-time signals. Built once; the handler does not read it.
const sigset_t& cleanup_signals() {
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

// True when `signal_number` still has its default action: not ignored since
// the run started (nohup), not taken by a handler of the process (a
// sanitizer's).
bool has_default_action(int signal_number) {
  struct sigaction current;
  return sigaction(signal_number, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
         current.sa_handler == SIG_DFL;
}

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
    if (slot.used.load(std::memory_order_acquire)) remove_slot_file(slot);
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
  action.sa_mask = cleanup_signals();
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    if (sigismember(&action.sa_mask, signal_number) == 1 && has_default_action(signal_number))
      sigaction(signal_number, &action, nullptr);
  // A write past the file-size limit then fails with EFBIG instead of
  // killing the run with its temporary files on disk.
  if (has_default_action(SIGXFSZ)) signal(SIGXFSZ, SIG_IGN);
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
  action.sa_mask = cleanup_signals();
  // Only where the interrupt cleanup took the signal: one the run was
  // started with ignored (nohup), or that another handler takes, stays so.
  for (int signal_number : STOP_SIGNALS) {
    struct sigaction previous;
    if (sigaction(signal_number, nullptr, &previous) == 0 && !(previous.sa_flags & SA_SIGINFO) &&
        previous.sa_handler == on_interrupt)
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
  remove_registered_files();
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
    sigprocmask(SIG_BLOCK, &cleanup_signals(), &previous_);
  }
  ~InterruptsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  sigset_t previous_;
};

// Registers `path` for removal on interrupt; with `held`, pinned to the file
// it describes.
void register_file(const std::string& path, const struct stat* held) {
  if (path.size() >= sizeof registered_files[0].path) throw std::length_error("path too long to register");
  for (RegisteredFile& slot : registered_files) {
    if (slot.used.load(std::memory_order_relaxed)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.pinned = held != nullptr;
    slot.device = held ? held->st_dev : 0;
    slot.inode = held ? held->st_ino : 0;
    slot.used.store(true, std::memory_order_release);
    return;
  }
  throw std::length_error("too many files to remove on interrupt");
}

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
    try {
      register_file(path, &named);
    } catch (...) {
      unlock_folder(lock);
      throw;
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

void remove_on_interrupt(const std::string& path) { register_file(path, nullptr); }

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

bool to_local_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && localtime_r(&t, &out) != nullptr;
}

bool to_utc_time(int64_t seconds, std::tm& out) {
  time_t t;
  return to_time_t(seconds, t) && gmtime_r(&t, &out) != nullptr;
}

uint64_t process_id() { return static_cast<uint64_t>(getpid()); }

bool is_terminal(FILE* file) { return isatty(fileno(file)) == 1; }
