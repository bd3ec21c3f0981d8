#pragma once

// Runs a built program in a folder of the test's own, for the tests that
// need the real process: its exit status, its standard error and the files
// it leaves.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

// What a run of a program gave.
struct Spawned {
  int status = -1;      // exit status, -1 when it did not exit normally
  std::string output;   // standard output, when it went to a file of the test
  std::string errors;   // standard error
};

// The bytes of `path`, or "" when it cannot be read.
inline std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes `content` into `path`.
inline void write_bytes(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Every file below `dir` by relative path, with its bytes.
inline std::map<std::string, std::string> files_below(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    files[std::filesystem::relative(entry.path(), dir).generic_string()] = file_bytes(entry.path());
  }
  return files;
}

// Starts `binary` as `name` with `args` in `dir`, standard output into the
// existing file `out_path` and standard error to the null device, and
// returns at once with its process id (0 when it could not start).
inline pid_t start_program(const char* binary, const std::string& name, const std::filesystem::path& dir,
                           const std::vector<std::string>& args, const std::filesystem::path& out_path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  std::string program = name;
  std::vector<std::string> words = args;
  std::vector<char*> argv{program.data()};
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, binary, &actions, nullptr, argv.data(), environ) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Runs `binary` as `name` with `args` in `dir`; standard output goes to
// `out_path` when given (it must exist), else to a file read back into
// `output`. The two capture files live beside `dir`, not in it.
inline Spawned spawn_program(const char* binary, const std::string& name, const std::filesystem::path& dir,
                             const std::vector<std::string>& args, const char* out_path = nullptr) {
  std::filesystem::path out_file = dir.string() + ".stdout";
  std::filesystem::path err_file = dir.string() + ".stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out_path)
    posix_spawn_file_actions_addopen(&actions, 1, out_path, O_WRONLY, 0);
  else
    posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string program = name;
  std::vector<std::string> words = args;
  std::vector<char*> argv{program.data()};
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  pid_t pid = 0;
  Spawned result;
  int rc = posix_spawn(&pid, binary, &actions, nullptr, argv.data(), environ);
  std::filesystem::current_path(old);
  posix_spawn_file_actions_destroy(&actions);
  if (rc == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  }
  if (!out_path) result.output = file_bytes(out_file);
  result.errors = file_bytes(err_file);
  std::filesystem::remove(out_file);
  std::filesystem::remove(err_file);
  return result;
}
