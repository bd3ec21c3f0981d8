// Runs the built program with standard output on /dev/full: a page that
// cannot be written must not end the run as a success.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "private_folder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Spawned {
  int status = -1;
  std::string errors;  // what the program wrote on standard error
};

// Runs pagesim with `args` in `dir`, standard output on `out_path`.
Spawned run_pagesim(const fs::path& dir, const std::vector<std::string>& args, const char* out_path) {
  fs::path err_path = dir / "stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path, O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string name = "pagesim";
  std::vector<std::string> words = args;
  std::vector<char*> argv{name.data()};
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  fs::path old = fs::current_path();
  fs::current_path(dir);
  pid_t pid = 0;
  Spawned result;
  int rc = posix_spawn(&pid, PAGESIM_BINARY, &actions, nullptr, argv.data(), environ);
  fs::current_path(old);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return result;
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  std::ifstream err(err_path, std::ios::binary);
  result.errors.assign(std::istreambuf_iterator<char>(err), {});
  return result;
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = make_private_folder("pagesim-run");
    std::ofstream(dir_ / "parameters", std::ios::binary) << "#none\n";
    std::ofstream(dir_ / "shop.html", std::ios::binary) << "<body>\n[ORBA]\n";
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

// At most one line, ending in a line end, or nothing.
bool one_line_at_most(const std::string& text) {
  return text.empty() || (text.back() == '\n' && text.find('\n') == text.size() - 1);
}

}  // namespace

TEST_F(RunTest, CompletePageSucceeds) {
  Spawned run = run_pagesim(dir_, {"shop.html", "MENU"}, "/dev/null");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
}

TEST_F(RunTest, FullDiskFailsTheRun) {
  Spawned run = run_pagesim(dir_, {"shop.html", "MENU"}, "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(one_line_at_most(run.errors)) << run.errors;
}

TEST_F(RunTest, FullDiskOnFailurePathsStillExitsOne) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"shop.html", "menu"}, {"none.html", "MENU"}}) {
    Spawned run = run_pagesim(dir_, args, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(one_line_at_most(run.errors)) << run.errors;
  }
}

TEST_F(RunTest, TenMegabyteTemplatePreviewsWhole) {
  std::string before;
  while (before.size() < 10'000'000) before += "<p>a line of the merchant's own page, <b>bold</b> & 100%</p>\n";
  std::string after = "<p>end</p>\n";
  std::ofstream(dir_ / "big.html", std::ios::binary) << before << "[ORBA]" << after;
  fs::path out = dir_ / "page.html";
  std::ofstream(out).close();
  Spawned run = run_pagesim(dir_, {"big.html", "UPDATE_INFO"}, out.c_str());
  EXPECT_EQ(run.status, 0);
  std::ifstream page(out, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(page), {});
  std::string head = "<html><head><title>ORBA</title></head>\n";
  ASSERT_GT(text.size(), head.size() + before.size());
  EXPECT_EQ(text.compare(0, head.size() + before.size(), head + before), 0);
  EXPECT_NE(text.find(after + "<br><center>", head.size() + before.size()), std::string::npos);
}
