// Runs the built program with standard output on /dev/full: a page that
// cannot be written must not end the run as a success.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "private_folder.h"
#include "program_test_support.h"

namespace fs = std::filesystem;

namespace {

// Runs pagesim with `args` in `dir`, standard output on `out_path`.
Spawned run_pagesim(const fs::path& dir, const std::vector<std::string>& args, const char* out_path) {
  return spawn_program(PAGESIM_BINARY, "pagesim", dir, args, out_path);
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
