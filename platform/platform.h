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
enum class CreateResult { created, exists, failed };

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

// Deletes exactly the file `path`, whatever characters its name holds.
bool remove_file(const std::string& path);

// Puts standard output in binary mode and gives it a large buffer, so every
// byte reaches the file as written and big reports stay fast.
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

// How many files remove_on_interrupt holds at once; one more throws
// std::length_error.
constexpr size_t MAX_REGISTERED_FILES = 64;

// Local and UTC calendar conversion of a time value; false when the value
// cannot be converted.
bool to_local_time(int64_t seconds, std::tm& out);
bool to_utc_time(int64_t seconds, std::tm& out);
