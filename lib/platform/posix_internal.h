#pragma once

#include <signal.h>
#include <sys/stat.h>

#include <string>

// Private to the platform's POSIX source files, never included by a header
// of its users: what more than one of them needs.
namespace posix_internal {

// The file that `path` finally names once every link is followed (a link to
// nowhere names the file it would create); `path` itself when it is no link.
// `descriptor` tells whether a name on the way names an open descriptor
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N): its link text is no place of
// the file's own.
std::string link_target(const std::string& path, bool& descriptor);

// True when both descriptions are of one file.
inline bool same_inode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the open file at `fd` is the file `info` describes.
bool is_open_as(int fd, const struct stat& info);

// Every signal whose default action ends the process and that a handler can
// catch, SIGXFSZ aside: those the interrupt cleanup takes.
const sigset_t& cleanup_signals();

// Holds the cleanup signals back for its lifetime: what is done meanwhile is
// done whole before an interrupt can act.
class InterruptsHeld {
 public:
  InterruptsHeld() { sigprocmask(SIG_BLOCK, &cleanup_signals(), &previous_); }
  ~InterruptsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  sigset_t previous_;
};

// Registers `path` for removal on interrupt; with `held`, pinned to the file
// it describes. False, nothing registered, when no slot is free or the path
// is too long to hold.
bool register_file(const std::string& path, const struct stat* held);

// Ends the run the way `signal_number` would have, so the shell sees 128+n.
[[noreturn]] void die_of(int signal_number);

// Removes every registered file, then dies of the signal: the handler of
// the interrupt cleanup.
extern "C" void on_interrupt(int signal_number);

}  // namespace posix_internal
