#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

// Everything the two tools ask of the operating system. Files are always
// opened in binary mode: the tools decide themselves what a line end is, so a
// batch or a template reads the same on every workstation.

// Opens an existing regular file for reading; nullptr for anything else
// (missing, unreadable, a directory, a device, a pipe).
FILE* open_for_reading(const std::string& path);

// Creates or empties a file for writing; nullptr on failure (a directory, a
// pipe nobody reads from).
FILE* open_for_writing(const std::string& path);

// Outcome of create_exclusive.
enum class CreateResult { CREATED, EXISTS, FAILED };

// Creates a new file for writing, refusing to touch one that already exists.
CreateResult create_exclusive(const std::string& path, FILE*& file);

// The same for a file only this run reads back: readable and writable by its
// owner alone, whatever the umask.
CreateResult create_private(const std::string& path, FILE*& file);

// Puts a file opened for reading at byte `offset`, far beyond 2 GiB too.
bool seek_to(FILE* file, uint64_t offset);

// True when both paths name one existing file (the same path, a link, another
// spelling of the same place).
bool same_file(const std::string& a, const std::string& b);

// True when both paths name one place, whether a file is there yet or not:
// one existing file, or the same name in one folder.
bool same_place(const std::string& a, const std::string& b);

// A file that is replaced whole or not at all: the bytes go to a temporary
// file beside the target, which takes the target's place only once complete.
// A target that is not a regular file (a device, a pipe) is written directly.
struct Replacement {
  FILE* file = nullptr;
  std::string target;     // the file replaced: the path, or a link's target
  std::string temporary;  // empty when the target is written directly
};

// Opens a replacement of `path`. An existing target keeps its permissions, a
// new one gets those of a plain creation. False when the target cannot be
// written (a directory, a pipe nobody reads, a file the user may not write,
// a folder that refuses the temporary file).
bool open_replacement(const std::string& path, Replacement& replacement);

// Closes the replacement's file; false when a write failed. The target is
// not touched yet.
bool close_replacement(Replacement& replacement);

// Puts the closed replacement in the target's place; false when it cannot.
bool install_replacement(Replacement& replacement);

// Closes the replacement if it is open and removes its temporary file: the
// target stays as it was.
void discard_replacement(Replacement& replacement);

// Deletes exactly the file `path`, whatever characters its name holds.
bool remove_file(const std::string& path);

// Opens any of standard input, output and error that the run was started
// without on the null device, so no file the run opens takes their place;
// puts standard output in binary mode, so every byte reaches the file as
// written; and buffers it: in large blocks for a file or a pipe, so big
// reports stay fast, not at all for a terminal, so each message shows at once.
void prepare_stdout();

// Makes an interrupted run (SIGINT, SIGTERM, SIGHUP, SIGPIPE; on Windows the
// console's Ctrl-C, Ctrl-Break and close events) remove the files registered
// below, then die of that signal (the shell sees 128+n). A signal that the
// run was started with ignored (nohup) stays ignored.
void install_interrupt_cleanup();

// Registers a file this run created itself, to be removed if the run is
// interrupted. At most MAX_REGISTERED_FILES are registered at once.
void remove_on_interrupt(const std::string& path);

// Unregisters it, once it is removed or renamed into place.
void keep_on_interrupt(const std::string& path);

// Removes every registered file now (a run that fails as a machine: out of
// memory, a write error, ...).
void remove_registered_files();

// `create` (create_exclusive or create_private), then remove_on_interrupt
// for the file it created, with no moment between the two at which an
// interrupt would leave the file behind.
CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&) = create_exclusive);

// Removes a file of create_temporary's, then unregisters it: an interrupt
// between the two finds nothing left to remove, never a file left behind.
inline void remove_temporary(const std::string& path) {
  remove_file(path);
  keep_on_interrupt(path);
}

// How many files remove_on_interrupt holds at once; one more throws
// std::length_error.
constexpr size_t MAX_REGISTERED_FILES = 64;

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
// it (the shell sees 128+n; a Windows console, Ctrl-C's status), standard
// output flushed first.
[[noreturn]] void end_stopped_run();

// Local and UTC calendar conversion of a time value; false when the value
// cannot be converted.
bool to_local_time(int64_t seconds, std::tm& out);
bool to_utc_time(int64_t seconds, std::tm& out);

// True when `file` is a terminal (progress lines are shown only there).
bool is_terminal(FILE* file);
