#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "private_folder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The captures lie beside the folder, so the folder holds only the program's files.
fs::path capture_of(const fs::path& folder, const char* stream) { return folder.string() + stream; }

}  // namespace

pid_t start_program(const char* program, const std::vector<std::string>& args, const fs::path& folder,
                    const StandardOutput& output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (output.kind == StandardOutput::CLOSED)
    posix_spawn_file_actions_addclose(&actions, 1);
  else
    posix_spawn_file_actions_addopen(
        &actions, 1, output.kind == StandardOutput::PATH ? output.path.c_str() : capture_of(folder, ".stdout").c_str(),
        O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, capture_of(folder, ".stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
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
  std::vector<std::string> words{fs::path(program).filename().string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  fs::path old = fs::current_path();
  fs::current_path(folder);
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program, &actions, &attributes, argv.data(), environ);
  fs::current_path(old);
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

ProgramRun run_program(const char* program, const std::vector<std::string>& args, const fs::path& folder,
                       const StandardOutput& output) {
  return wait_program(start_program(program, args, folder, output), folder);
}

fs::path fresh_folder(const std::string& name) {
  return make_private_folder("orba-hostile-" + name);
}

std::map<std::string, std::string> files_in(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = read_file(entry.path());
  return files;
}

void write_file(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}
