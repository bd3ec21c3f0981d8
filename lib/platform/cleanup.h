#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/files.h"

// The files a run removes should it be interrupted, so that no end of a run
// leaves its temporary files behind.

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
// interrupted. False, nothing registered, when MAX_REGISTERED_FILES are
// registered already or the path is longer than any the system opens.
[[nodiscard]] bool remove_on_interrupt(const std::string& path);

// Unregisters it, once it is removed or renamed into place.
void keep_on_interrupt(const std::string& path);

// Removes every registered file now (a run that fails as a machine: out of
// memory, a write error, ...).
void remove_registered_files();

// `create` (create_exclusive or create_private), then remove_on_interrupt
// for the file it created, with no moment between the two at which an
// interrupt would leave the file behind. FAILED, no file left, when the file
// cannot be registered.
CreateResult create_temporary(const std::string& path, FILE*& file,
                              CreateResult (*create)(const std::string&, FILE*&) = create_exclusive);

// Removes a file of create_temporary's, then unregisters it: an interrupt
// between the two finds nothing left to remove, never a file left behind.
inline void remove_temporary(const std::string& path) {
  remove_file(path);
  keep_on_interrupt(path);
}

// How many files remove_on_interrupt holds at once; one more is refused.
constexpr size_t MAX_REGISTERED_FILES = 64;
