#include "run_program.h"

#include <fcntl.h>
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

}  // namespace

ProgramRun run_program(const char* program, const std::vector<std::string>& args, const fs::path& folder) {
  // The capture lies beside the folder, so the folder holds only the program's files.
  fs::path capture = folder.string() + ".stdout";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> words{fs::path(program).filename().string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  fs::path old = fs::current_path();
  fs::current_path(folder);
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ);
  fs::current_path(old);
  posix_spawn_file_actions_destroy(&actions);
  ProgramRun run;
  if (spawned == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  }
  run.output = read_file(capture);
  fs::remove(capture);
  return run;
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
