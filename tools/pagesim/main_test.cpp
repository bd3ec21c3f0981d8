// Runs the built program with standard output on /dev/full: a page that
// cannot be written must not end the run as a success.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

// Runs pagesim with `args` in `dir`, standard output on `out_path`.
ProgramRun run_pagesim(const fs::path& dir, const std::vector<std::string>& args, const std::string& out_path) {
  std::vector<std::string> argv{"pagesim"};
  argv.insert(argv.end(), args.begin(), args.end());
  return run_program(PAGESIM_BINARY, argv, dir, {StandardOutput::PATH, out_path});
}

class RunTest : public PrivateFolderTest {
 protected:
  void SetUp() override {
    write_file("parameters", "#none\n");
    write_file("shop.html", "<body>\n[ORBA]\n");
  }
};

// At most one line, ending in a line end, or nothing.
bool one_line_at_most(const std::string& text) {
  return text.empty() || (text.back() == '\n' && text.find('\n') == text.size() - 1);
}

}  // namespace

TEST_F(RunTest, CompletePageSucceeds) {
  ProgramRun run = run_pagesim(dir_, {"shop.html", "MENU"}, "/dev/null");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
}

TEST_F(RunTest, FullDiskFailsTheRun) {
  ProgramRun run = run_pagesim(dir_, {"shop.html", "MENU"}, "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(one_line_at_most(run.errors)) << run.errors;
}

TEST_F(RunTest, FullDiskOnFailurePathsStillExitsOne) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"shop.html", "menu"}, {"none.html", "MENU"}}) {
    ProgramRun run = run_pagesim(dir_, args, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(one_line_at_most(run.errors)) << run.errors;
  }
}

TEST_F(RunTest, TenMegabyteTemplatePreviewsWhole) {
  std::string before;
  while (before.size() < 10'000'000) before += "<p>a line of the merchant's own page, <b>bold</b> & 100%</p>\n";
  std::string after = "<p>end</p>\n";
  write_file(dir_ / "big.html", before + "[ORBA]" + after);
  fs::path out = dir_ / "page.html";
  ProgramRun run = run_pagesim(dir_, {"big.html", "UPDATE_INFO"}, out.string());
  EXPECT_EQ(run.status, 0);
  std::string text = read_file(out);
  std::string head = "<html><head><title>ORBA</title></head>\n";
  ASSERT_GT(text.size(), head.size() + before.size());
  EXPECT_EQ(text.compare(0, head.size() + before.size(), head + before), 0);
  EXPECT_NE(text.find(after + "<br><center>", head.size() + before.size()), std::string::npos);
}
