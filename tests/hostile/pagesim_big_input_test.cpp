// pagesim on a template of 20 MB with no line end and on Parameters lines of
// 100,000 characters: the whole page or the exact diagnostic, and no file
// touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

const std::string kHead = "<html><head><title>ORBA</title></head>\n";
const std::string kFooter = "<br><center><font size=-2>Preview of an ORBA payment page</font></center>";
const std::string kTail = "</body></html>\n";

class PagesimBigInput : public PrivateFolderTest {
 protected:

  // Runs pagesim on `parameters` and `shop_html`, then checks that both files
  // are still there, unchanged, and alone.
  ProgramRun run(const std::string& parameters, const std::string& shop_html, const std::string& page_type) {
    write_file(dir_ / "parameters", parameters);
    write_file(dir_ / "shop.html", shop_html);
    ProgramRun result = run_program(PAGESIM_BINARY, {"pagesim", "shop.html", page_type}, dir_);
    std::map<std::string, std::string> files = files_below(dir_);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_TRUE(files["parameters"] == parameters);
    EXPECT_TRUE(files["shop.html"] == shop_html);
    return result;
  }
};

bool starts_with(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST_F(PagesimBigInput, TwentyMegabyteTemplateWithoutLineEnd) {
  const std::string after(20'000'000, 'x');
  ProgramRun page = run("#none\n", "[ORBA]" + after, "MENU");
  EXPECT_EQ(page.status, 0);
  EXPECT_TRUE(starts_with(page.output, kHead));
  EXPECT_TRUE(ends_with(page.output, after + kFooter + kTail));
  // The body between them is the one a small template gets.
  ProgramRun small = run("#none\n", "[ORBA]", "MENU");
  EXPECT_EQ(small.status, 0);
  EXPECT_EQ(page.output.size(), small.output.size() + after.size());
}

TEST_F(PagesimBigInput, TwentyMegabyteTemplateWithoutTag) {
  ProgramRun page = run("#none\n", std::string(20'000'000, '<'), "MENU");
  EXPECT_EQ(page.status, 1);
  EXPECT_EQ(page.output, kHead + "<body>Error: your template file doesn't contain the [ORBA] tags <BR>"
                                 "Your template contains errors, look at the pagesim documentation for more "
                                 "informations.\n" + kTail);
}

TEST_F(PagesimBigInput, ParametersValueOfOneHundredThousandCharacters) {
  // A line is read in pieces of at most 16583 bytes: the first piece holds
  // only the first separator.
  std::string parameters = "SUB_EMAIL!" + std::string(100'000, 'a') + "!\n";
  ProgramRun page = run(parameters, "[ORBA]", "VIEW_INFO");
  EXPECT_EQ(page.status, 1);
  EXPECT_EQ(page.output, kHead + "<body>Error, there is only one separator in parameters file line: " +
                             parameters.substr(0, 16583) + kTail);
}

TEST_F(PagesimBigInput, ParametersCommentOfOneHundredThousandCharacters) {
  // The pieces after the first of a long comment are lines of their own, which
  // hold no key here: the page is the one the short file gives.
  ProgramRun page = run("#" + std::string(100'000, 'b') + "\nLANGUAGE!fr!\n", "[ORBA]", "VIEW_INFO");
  ProgramRun plain = run("LANGUAGE!fr!\n", "[ORBA]", "VIEW_INFO");
  EXPECT_EQ(page.status, 0);
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(page.output, plain.output);
}

// Pipes that nobody writes to, as ./parameters or as the template, are refused
// at once instead of holding the run for ever.
TEST_F(PagesimBigInput, PipeAsParametersFile) {
  ASSERT_EQ(mkfifo((dir_ / "parameters").c_str(), 0644), 0);
  write_file(dir_ / "shop.html", "[ORBA]");
  ProgramRun page = run_program(PAGESIM_BINARY, {"pagesim", "shop.html", "MENU"}, dir_);
  EXPECT_EQ(page.status, 1);
  EXPECT_EQ(page.output, kHead + "<body>\nCan't read the file parameters\n" + kTail);
}

TEST_F(PagesimBigInput, PipeAsTemplate) {
  write_file(dir_ / "parameters", "#none\n");
  ASSERT_EQ(mkfifo((dir_ / "shop.html").c_str(), 0644), 0);
  ProgramRun page = run_program(PAGESIM_BINARY, {"pagesim", "shop.html", "MENU"}, dir_);
  EXPECT_EQ(page.status, 1);
  EXPECT_EQ(page.output, kHead + "<body>\nCan't read the template file (shop.html)\n" + kTail);
}
