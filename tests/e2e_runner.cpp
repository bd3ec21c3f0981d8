// Runs one end-to-end case: a built program on fixture files in a fresh
// temporary folder, then compares standard output, exit status and every file
// left in the folder byte for byte with the case's expectations.
//
// A case is a folder holding:
//   args    the program's arguments, one per line (the program name is fixed)
//   in/     files copied into the temporary folder, which is the working folder
//   stdout  the expected standard output, exactly
//   stderr  optional: the expected standard error (the messages of a program
//           that writes them there), exactly but for its line ends: a Windows
//           program's standard error ends its lines with CR LF
//   status  the expected exit status (0 when absent)
//   out/    files expected after the run, besides the unchanged files of in/;
//           no other file may be left behind
//   masks   optional lines "FILE OFFSET LENGTH STRIDE COUNT": in FILE, COUNT
//           runs of LENGTH bytes starting at OFFSET, every STRIDE bytes, must be
//           digits and compare as '#' (the clock's digits in a Response file);
//           or lines "FILE<tab>BEFORE<tab>AFTER": in FILE, the text between
//           each BEFORE and the next AFTER compares as '#' (a time of day, the
//           path of the temporary folder)
//   modes   optional lines "PATH MODE": the permissions (octal) of PATH in the
//           working folder during the run, such as a folder the user may not
//           write; the program then runs without the capabilities that let
//           root pass over permissions, so the case means the same as root
//
// Usage: e2e_runner [--launcher CMD] [--work DIR] PROGRAM NAME CASE_DIR
//
// Without a launcher the program is started as NAME (its argv[0]). With one,
// the launcher's words come first, then PROGRAM's path; a launcher word
// "{name}" is replaced by NAME, for a launcher that can pass the name on.
// --work runs the case in DIR (emptied first) instead of a temporary folder,
// so that a case can name its files by a path fixed in advance.
#include <linux/capability.h>
#include <sys/prctl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "private_folder.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> read_lines(const fs::path& path) {
  std::vector<std::string> lines;
  std::istringstream in(read_file(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string printable(const std::string& bytes, size_t from, size_t count) {
  std::string out;
  for (size_t i = from; i < bytes.size() && i < from + count; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c < 32 || c > 126) { char hex[8]; std::snprintf(hex, sizeof hex, "\\x%02x", c); out += hex; }
    else out += static_cast<char>(c);
  }
  return out;
}

bool same(const std::string& what, const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  size_t from = at > 40 ? at - 40 : 0;
  std::fprintf(stderr, "%s differs at byte %zu (expected %zu bytes, got %zu)\n  expected: ...%s\n  actual:   ...%s\n",
               what.c_str(), at, expected.size(), actual.size(), printable(expected, from, 120).c_str(),
               printable(actual, from, 120).c_str());
  return false;
}

// Replaces, in `bytes`, the text between each `before` and the next `after`
// by '#'; false when `before` is nowhere.
bool mask_between(std::string& bytes, const std::string& before, const std::string& after) {
  bool found = false;
  for (size_t at = bytes.find(before); at != std::string::npos; at = bytes.find(before, at)) {
    at += before.size();
    size_t end = bytes.find(after, at);
    if (end == std::string::npos) break;
    bytes.replace(at, end - at, "#");
    at += 1 + after.size();
    found = true;
  }
  return found;
}

// Replaces the masked runs of `bytes` by '#'; false when one of them is not digits.
bool apply_masks(std::string& bytes, size_t offset, size_t length, size_t stride, size_t count) {
  for (size_t n = 0; n < count; ++n) {
    for (size_t i = 0; i < length; ++i) {
      size_t at = offset + n * stride + i;
      if (at >= bytes.size()) return false;
      if (bytes[at] < '0' || bytes[at] > '9') return false;
      bytes[at] = '#';
    }
  }
  return true;
}

// The permissions a case gives its files for the run, by path in the working folder.
using Modes = std::map<std::string, fs::perms>;

// Run as root, a program would pass over the permissions a case sets: the
// programs this runner starts from now on lose that power (an ordinary user
// has none to lose, and the drop fails harmlessly). The runner keeps its own,
// to restore and clean the folder afterwards.
void start_programs_without_override() {
  for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
    prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
}

// Runs `program` as `name` with `args` in `dir` (through the launcher, when
// there is one), with standard error kept in `errors` and passed on; its exit
// status, or 128 and the signal it died of.
int run(const std::vector<std::string>& launcher, const std::string& program, const std::string& name,
        const std::vector<std::string>& args, const fs::path& dir, std::string& out, std::string& errors) {
  std::vector<std::string> argv = launcher;
  for (std::string& word : argv)
    if (word == "{name}") word = name;
  argv.push_back(program);
  if (launcher.empty()) argv[0] = name;
  argv.insert(argv.end(), args.begin(), args.end());
  ProgramRun run = run_program(launcher.empty() ? program : launcher[0], argv, dir);
  out = run.output;
  errors = run.errors;
  std::fwrite(run.errors.data(), 1, run.errors.size(), stderr);
  if (run.signal != 0) return 128 + run.signal;
  return run.status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> launcher;
  std::string fixed_work;
  int i = 1;
  if (argc - i > 1 && std::string(argv[i]) == "--launcher") {
    std::istringstream words(argv[i + 1]);
    for (std::string w; words >> w;) launcher.push_back(w);
    i += 2;
  }
  if (argc - i > 1 && std::string(argv[i]) == "--work") {
    fixed_work = fs::absolute(argv[i + 1]).string();
    i += 2;
  }
  if (argc - i != 3) {
    std::fprintf(stderr, "usage: e2e_runner [--launcher CMD] [--work DIR] PROGRAM NAME CASE_DIR\n");
    return 2;
  }
  std::string program = fs::absolute(argv[i]).string();
  std::string name = argv[i + 1];
  fs::path case_dir = fs::absolute(argv[i + 2]);

  fs::path root;
  fs::path work;
  if (fixed_work.empty()) {
    root = make_private_folder("e2e");
    work = root / "work";
  } else {
    root = work = fixed_work;
    fs::remove_all(work);
    fs::create_directories(work.parent_path());
  }
  fs::create_directory(work);
  if (fs::exists(case_dir / "in"))
    fs::copy(case_dir / "in", work, fs::copy_options::recursive | fs::copy_options::copy_symlinks);

  std::vector<std::string> args = fs::exists(case_dir / "args") ? read_lines(case_dir / "args") : std::vector<std::string>{};
  Modes modes;
  if (fs::exists(case_dir / "modes")) {
    for (const std::string& line : read_lines(case_dir / "modes")) {
      std::istringstream in(line);
      std::string path;
      unsigned mode;
      if (in >> path >> std::oct >> mode) modes[path] = static_cast<fs::perms>(mode);
    }
  }
  for (const auto& [path, mode] : modes) fs::permissions(work / path, mode);
  if (!modes.empty()) start_programs_without_override();
  std::string out;
  std::string errors;
  int status = run(launcher, program, name, args, work, out, errors);
  // The runner reads and removes every file again.
  for (const auto& [path, mode] : modes) fs::permissions(work / path, fs::perms::owner_all, fs::perm_options::add);

  bool ok = true;
  int expected_status = fs::exists(case_dir / "status") ? std::atoi(read_file(case_dir / "status").c_str()) : 0;
  if (status != expected_status) {
    std::fprintf(stderr, "exit status %d, expected %d\n", status, expected_status);
    ok = false;
  }
  ok = same("stdout", read_file(case_dir / "stdout"), out) && ok;
  if (fs::exists(case_dir / "stderr")) {
    for (size_t at; (at = errors.find("\r\n")) != std::string::npos;) errors.erase(at, 1);
    ok = same("stderr", read_file(case_dir / "stderr"), errors) && ok;
  }

  std::map<std::string, std::string> expected = files_below(case_dir / "in");
  for (auto& [path, content] : files_below(case_dir / "out")) expected[path] = content;
  std::map<std::string, std::string> actual = files_below(work);
  if (fs::exists(case_dir / "masks")) {
    for (const std::string& line : read_lines(case_dir / "masks")) {
      if (size_t tab = line.find('\t'); tab != std::string::npos) {
        size_t second = line.find('\t', tab + 1);
        std::string file = line.substr(0, tab);
        if (second == std::string::npos || !actual.count(file)) continue;
        std::string before = line.substr(tab + 1, second - tab - 1);
        if (!mask_between(actual[file], before, line.substr(second + 1))) {
          std::fprintf(stderr, "%s: no text to mask after %s\n", file.c_str(), before.c_str());
          ok = false;
        }
        continue;
      }
      std::istringstream in(line);
      std::string file;
      size_t offset, length, stride, count;
      if (!(in >> file >> offset >> length >> stride >> count)) continue;
      if (actual.count(file) && !apply_masks(actual[file], offset, length, stride, count)) {
        std::fprintf(stderr, "%s: masked bytes are not all digits\n", file.c_str());
        ok = false;
      }
    }
  }
  for (auto& [path, content] : expected) {
    auto found = actual.find(path);
    if (found == actual.end()) {
      std::fprintf(stderr, "missing file %s\n", path.c_str());
      ok = false;
    } else {
      ok = same("file " + path, content, found->second) && ok;
    }
  }
  for (auto& [path, content] : actual) {
    if (!expected.count(path)) {
      std::fprintf(stderr, "unexpected file %s\n", path.c_str());
      ok = false;
    }
  }

  if (ok) {
    fs::remove_all(root);
    return 0;
  }
  std::fprintf(stderr, "case %s failed; its folder is kept at %s\n", case_dir.string().c_str(), work.c_str());
  return 1;
}
