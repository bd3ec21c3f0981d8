#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

// Everything the programs ask of the operating system. Files are always
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

// What a replacement does with a symbolic link at its path: write the file
// the link names, the link staying (the Response: the merchant's link to the
// place the server's files go), or put a regular file in the link's own place
// and never write through it (the gallery's files, in a folder where anyone
// who may write could have planted a link to a file elsewhere).
enum class AtLink { REPLACE_TARGET, REPLACE_LINK };

// Whether an existing regular file that no temporary file can replace (its
// folder lets none be made beside it, or renamed onto it) is written in
// place, as a plain open would write it (the Response: the old file is then
// not kept should the run fail), or refused (a made batch: the merchant's
// file stays whole whatever happens to the run).
enum class InPlace { ALLOWED, FORBIDDEN };

// A file that is replaced whole or not at all: the bytes go to a temporary
// file beside the target, which takes the target's place only once complete.
// A target that is not a regular file (a device, a pipe), a name of an open
// descriptor (/dev/stdout, /dev/fd/N) and the file standard output goes to
// are written directly. The temporary file is never a new refusal unless
// in_place is FORBIDDEN: when none can be made beside the target, or renamed
// onto it, the target is written in place as a plain open would write it.
struct Replacement {
  FILE* file = nullptr;
  std::string target;     // the file replaced: the path, or a link's target
  std::string temporary;  // empty when the target is written directly
  AtLink at_link = AtLink::REPLACE_TARGET;
  InPlace in_place = InPlace::ALLOWED;
  // Set when the replacement failed for the one reason that in_place
  // FORBIDDEN adds: only a write in place was left.
  bool in_place_refused = false;
};

// Opens a replacement of `path`. An existing target keeps its permissions, a
// new one gets those of a plain creation. False when the target cannot be
// written (an empty path, a directory, a pipe nobody reads, a file the user
// may not write, a file a plain open could not create), or, with in_place
// FORBIDDEN, when an existing regular file could only be written in place.
bool open_replacement(const std::string& path, Replacement& replacement, AtLink at_link = AtLink::REPLACE_TARGET,
                      InPlace in_place = InPlace::ALLOWED);

// Closes the replacement's file; false when a write failed. The target is
// not touched yet.
bool close_replacement(Replacement& replacement);

// Puts the closed replacement in the target's place; false when it cannot.
// A target that refuses the rename (another user's file in a sticky folder)
// is written in place with the replacement's bytes, unless at_link is
// REPLACE_LINK (writing in place could then go through a link) or in_place
// FORBIDDEN.
bool install_replacement(Replacement& replacement);

// Closes the replacement if it is open and removes its temporary file: the
// target stays as it was.
void discard_replacement(Replacement& replacement);

// True when `path` names the file that standard input reads (a run started
// with `< file`), so that a run never writes over the input it reads.
bool is_standard_input(const std::string& path);

// Deletes exactly the file `path`, whatever characters its name holds.
bool remove_file(const std::string& path);

// What standard output is to a program: where its messages go (batchcheck,
// whose product is the Response file), or its product itself (a page, a
// description, the gallery's closing line), which must not go nowhere.
enum class StdoutRole { MESSAGES, PRODUCT };

// Standard input in binary mode: a table or JSON Lines piped into a program
// reads byte for byte, its line ends and a Ctrl-Z byte included.
FILE* binary_stdin();

// Opens any of standard input, output and error that the run was started
// without on the null device, so no file the run opens takes their place
// (standard output of a PRODUCT for reading only, so that every write to it
// fails as a lost product must); puts standard output in binary mode, so
// every byte reaches the file as written; and buffers it: in large blocks for
// a file or a pipe, so big reports stay fast, not at all for a terminal, so
// each message shows at once.
void prepare_stdout(StdoutRole role = StdoutRole::MESSAGES);

// Makes every catchable end of a run an interrupt: each signal whose default
// action ends the process (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGALRM,
// SIGUSR1, SIGXCPU, ... and the faults such as SIGSEGV or SIGABRT; on Windows
// the console's Ctrl-C, Ctrl-Break, close, logoff and shutdown events and
// abort()) removes the files registered below, then ends the run as the
// signal would (the shell sees 128+n). A signal that the run was started
// with ignored (nohup), or that a handler of the process already takes,
// stays so. SIGXFSZ is ignored: a write past the file-size limit (ulimit -f)
// then fails, and the run handles it as the write error it is.
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

// An exclusive hold on a folder for a whole run, so that two runs never
// write into it at once: a lock file in the folder, locked by the system for
// as long as the run holds it open.
struct FolderLock {
  FILE* file = nullptr;
  std::string path;
};

// Outcome of lock_folder.
enum class LockResult { LOCKED, HELD_ELSEWHERE, FAILED };

// Takes the lock file `path`, creating it when missing (never through a
// link). HELD_ELSEWHERE while another run holds it; a lock file left by a
// run that was killed holds nothing and is taken over. The file is removed
// by unlock_folder and should the run be interrupted, in both cases only
// while it is still the file the run holds.
LockResult lock_folder(const std::string& path, FolderLock& lock);

// True while the file at lock.path is the lock file the run holds: false
// once the folder was removed (another run may have made it anew and hold
// the lock there), moved away with the lock file, or replaced by a link to
// another folder. A run that writes into the folder again and again checks
// it before each writing.
bool still_holds(const FolderLock& lock);

// Lets the lock go, removing the lock file while still_holds: never one that
// another run holds, nor the file a path names once the lock moved away.
void unlock_folder(FolderLock& lock);

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

// Local and UTC calendar conversion of a time value; false when the value
// cannot be converted.
bool to_local_time(int64_t seconds, std::tm& out);
bool to_utc_time(int64_t seconds, std::tm& out);

// The number of this process, which names files of this run alone.
uint64_t process_id();

// True when `file` is a terminal (progress lines are shown only there).
bool is_terminal(FILE* file);
