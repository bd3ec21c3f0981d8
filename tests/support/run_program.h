// Runs a built program the way a merchant would from a shell, in a folder of
// the test's own, for the tests that need the real process: its exit status,
// what it wrote and the files it leaves.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "private_folder.h"

// What a finished run of a program gave.
struct ProgramRun {
  int status = -1;     // the exit status, or -1 when it did not exit normally
  int signal = 0;      // the signal it died of, 0 when it exited
  std::string output;  // everything written on standard output, when captured
  std::string errors;  // everything written on standard error
};

// Where a started program's standard output goes: captured, closed, or a
// path such as /dev/full.
struct StandardOutput {
  enum Kind { CAPTURED, CLOSED, PATH } kind = CAPTURED;
  std::string path;
};

// Starts `program` (looked up on PATH when its name holds no slash) with
// `argv`, its own name first, in `folder`: standard input on /dev/null, the
// default action for every signal, as from an interactive shell. The captures
// of its output lie beside `folder`, so that `folder` holds only its files.
// -1 when it could not be started.
pid_t start_program(const std::string& program, const std::vector<std::string>& argv,
                    const std::filesystem::path& folder, const StandardOutput& output = {});

// Waits for a program that start_program started in `folder`.
ProgramRun wait_program(pid_t pid, const std::filesystem::path& folder);

// Runs `program` with `argv` in `folder` and waits for it.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& argv,
                       const std::filesystem::path& folder, const StandardOutput& output = {});
