#include "platform/watch.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/cleanup.h"
#include "platform/posix_internal.h"

namespace {

// The signal that asked the run to stop; 0 while none did.
volatile sig_atomic_t stop_signal = 0;

// The signals that ask a watching run to stop.
constexpr int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// Notes the request; a second one is impatience, and ends the run at once.
extern "C" void on_stop_request(int signal_number) {
  if (stop_signal != 0) posix_internal::on_interrupt(signal_number);
  stop_signal = signal_number;
}

}  // namespace

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

void catch_stop_requests() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_stop_request;
  // Reads and writes under way go on as if nothing came; only the waits of
  // wait_unless_stopped are cut short.
  action.sa_flags = SA_RESTART;
  action.sa_mask = posix_internal::cleanup_signals();
  // Only where the interrupt cleanup took the signal: one the run was
  // started with ignored (nohup), or that another handler takes, stays so.
  for (int signal_number : STOP_SIGNALS) {
    struct sigaction previous;
    if (sigaction(signal_number, nullptr, &previous) == 0 && !(previous.sa_flags & SA_SIGINFO) &&
        previous.sa_handler == posix_internal::on_interrupt)
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
  posix_internal::die_of(stop_signal != 0 ? static_cast<int>(stop_signal) : SIGINT);
}
