#pragma once

#include <cstdint>
#include <string>

// What a run that watches files asks of the system: to see that a file
// changed, and to be asked to stop between two pieces of work rather than
// in the middle of one.

// What a watcher sees of a file, to tell that it changed: whether it is
// there, which file it is (an editor that saves by renaming puts another file
// in its place), its size and the time of its last change, as finely as the
// file system keeps it. A link is followed to its file.
struct FileStamp {
  bool exists = false;
  uint64_t identity = 0;
  uint64_t size = 0;
  int64_t changed = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of `path` now; a missing or unreadable file gives the default.
FileStamp file_stamp(const std::string& path);

// Turns an interrupt (SIGINT, SIGTERM, SIGHUP; on Windows the console's
// Ctrl-C, Ctrl-Break and close events) into a request to stop, which a
// long-running loop sees through wait_unless_stopped and honours between two
// pieces of work, so its files stay whole. A second interrupt ends the run at
// once, as install_interrupt_cleanup does. On Windows the console's close
// leaves the run a few seconds to finish. Call after install_interrupt_cleanup.
void catch_stop_requests();

// Waits `milliseconds`, or less when a stop is requested meanwhile; true when
// one was (also when it came before the call).
bool wait_unless_stopped(int milliseconds);

// Ends a run that honoured a stop request as the interrupt would have ended
// it: standard output flushed, the files still registered removed (a lock),
// then the signal's end (the shell sees 128+n; a Windows console, Ctrl-C's
// status).
[[noreturn]] void end_stopped_run();
