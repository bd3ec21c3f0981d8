// Programs whose product is their standard output, started with it closed
// (`>&-`): the page, the description or the closing line goes nowhere, and
// the run must fail, never end as a success.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "private_folder.h"
#include "request_generator.h"
#include "run_program.h"

namespace fs = std::filesystem;

TEST(LostOutput, ClosedStandardOutputFailsTheRun) {
  fs::path folder = make_private_folder("orba-closed-output");
  write_file(folder / "parameters", "#\n");
  write_file(folder / "shop.html", "<body>\n[ORBA]\n");
  std::FILE* batch = std::fopen((folder / "req").c_str(), "wb");
  ASSERT_TRUE(batch && write_request(BatchShape{}, batch));
  std::fclose(batch);
  struct Expected {
    const char* program;
    std::vector<std::string> argv;
    int status;
    std::string errors;
  };
  const Expected runs[] = {
      {PAGESIM_BINARY, {"pagesim", "shop.html", "MENU"}, 1, "pagesim: cannot write the page to standard output\n"},
      {DESCRIBE_BINARY, {"batchcheck-describe", "req"}, 2, "batchcheck-describe: cannot write to standard output\n"},
      {GALLERY_BINARY, {"pagesim-gallery", "shop.html", "gallery"}, 2, "pagesim-gallery: cannot write to standard output\n"},
  };
  for (const Expected& expected : runs) {
    ProgramRun run = run_program(expected.program, expected.argv, folder, {StandardOutput::CLOSED, ""});
    EXPECT_EQ(run.status, expected.status) << expected.program;
    EXPECT_EQ(run.errors, expected.errors) << expected.program;
  }
  fs::remove_all(folder);
}
