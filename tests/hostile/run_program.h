// Runs a built program in a folder of its own, the way a merchant would from
// a shell, for the hostile-input tests whose files are too big to keep in the
// repository.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

struct ProgramRun {
  int status = -1;     // the exit status, or -1 when it did not exit normally
  int signal = 0;      // the signal it died of, 0 when it exited
  std::string output;  // everything written on standard output
  std::string errors;  // everything written on standard error
};

// Where a started program's standard output goes: captured, closed, or a
// path such as /dev/full.
struct StandardOutput {
  enum Kind { CAPTURED, CLOSED, PATH } kind = CAPTURED;
  std::string path;
};

// Starts `program` with `args` in `folder`, standard input on /dev/null and
// the default action for every signal, as from an interactive shell.
pid_t start_program(const char* program, const std::vector<std::string>& args, const std::filesystem::path& folder,
                    const StandardOutput& output = {});

// Waits for a program that start_program started in `folder`.
ProgramRun wait_program(pid_t pid, const std::filesystem::path& folder);

// Runs `program` with `args` in `folder` and waits for it.
ProgramRun run_program(const char* program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder, const StandardOutput& output = {});

// A fresh empty folder for one test, removed by the caller.
std::filesystem::path fresh_folder(const std::string& name);

// Every file in `folder` (not below it) by name, with its content.
std::map<std::string, std::string> files_in(const std::filesystem::path& folder);

// Writes `content` into `path`.
void write_file(const std::filesystem::path& path, const std::string& content);
