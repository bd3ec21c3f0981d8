// Programs whose product is their standard output, started with it closed
// (`>&-`): the page, the description or the closing line goes nowhere, and
// the run must fail, never end as a success.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "request_builder.h"
#include "run_program.h"

// The test works in a private folder of its own.
using LostOutput = PrivateFolderTest;

TEST_F(LostOutput, ClosedStandardOutputFailsTheRun) {
  write_file("parameters", "#\n");
  write_file("shop.html", "<body>\n[ORBA]\n");
  ASSERT_TRUE(write_generated(dir_ / "req", BatchShape{}));
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
    ProgramRun run = run_program(expected.program, expected.argv, dir_, {StandardOutput::CLOSED, ""});
    EXPECT_EQ(run.status, expected.status) << expected.program;
    EXPECT_EQ(run.errors, expected.errors) << expected.program;
  }
}
