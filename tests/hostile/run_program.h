// Runs a built program in a folder of its own, the way a merchant would from
// a shell, for the hostile-input tests whose files are too big to keep in the
// repository.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct ProgramRun {
  int status = -1;     // the exit status, or -1 when it did not exit normally
  std::string output;  // everything written on standard output
};

// Runs `program` with `args` in `folder`, standard input on /dev/null.
ProgramRun run_program(const char* program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder);

// A fresh empty folder for one test, removed by the caller.
std::filesystem::path fresh_folder(const std::string& name);

// Every file in `folder` (not below it) by name, with its content.
std::map<std::string, std::string> files_in(const std::filesystem::path& folder);

// Writes `content` into `path`.
void write_file(const std::filesystem::path& path, const std::string& content);
