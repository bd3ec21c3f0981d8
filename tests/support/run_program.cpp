#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The captures lie beside the folder, so the folder holds only the program's files.
fs::path capture_of(const fs::path& folder, const char* stream) {
  fs::path absolute = fs::absolute(folder);
  return absolute.parent_path() / (absolute.filename().string() + stream);
}

}  // namespace

pid_t start_program(const std::string& program, const std::vector<std::string>& argv, const fs::path& folder,
                    const StandardOutput& output) {
  std::string out_path = output.kind == StandardOutput::PATH ? output.path : capture_of(folder, ".stdout").string();
  std::string err_path = capture_of(folder, ".stderr").string();
  std::string work = fs::absolute(folder).string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (output.kind == StandardOutput::CLOSED)
    posix_spawn_file_actions_addclose(&actions, 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, work.c_str());
  // A test runner may have been started with signals ignored or blocked.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::vector<std::string> words = argv;
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, program.c_str(), &actions, &attributes, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return spawned == 0 ? pid : -1;
}

ProgramRun wait_program(pid_t pid, const fs::path& folder) {
  ProgramRun run;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid) {
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  }
  for (auto [stream, text] : {std::pair{".stdout", &run.output}, std::pair{".stderr", &run.errors}}) {
    *text = read_file(capture_of(folder, stream));
    fs::remove(capture_of(folder, stream));
  }
  return run;
}

ProgramRun run_program(const std::string& program, const std::vector<std::string>& argv, const fs::path& folder,
                       const StandardOutput& output) {
  return wait_program(start_program(program, argv, folder, output), folder);
}
