#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The files the programs read and write. Files are always opened in binary
// mode: the tools decide themselves what a line end is, so a batch or a
// template reads the same on every workstation.

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

// True when `path` names the file that standard input reads (a run started
// with `< file`), so that a run never writes over the input it reads.
bool is_standard_input(const std::string& path);

// Deletes exactly the file `path`, whatever characters its name holds.
bool remove_file(const std::string& path);

// Standard input in binary mode: a table or JSON Lines piped into a program
// reads byte for byte, its line ends and a Ctrl-Z byte included.
FILE* binary_stdin();
