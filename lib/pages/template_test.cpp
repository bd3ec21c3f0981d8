#include "pages/template.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pages/output.h"

namespace pages {

using namespace std::string_literals;

namespace {

// An anonymous temporary file holding `content`, removed when closed.
std::FILE* file_holding(const std::string& content) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  return file;
}

struct CheckRun {
  bool ok;
  std::string page;
};

CheckRun check(const std::string& content) {
  CheckRun run{};
  std::FILE* file = file_holding(content);
  Sink page;
  Diagnostics diagnostics(page);
  LineReader reader(file);
  run.ok = check_template(reader, diagnostics).verdict == TemplateVerdict::PASSED;
  run.page = page.bytes;
  std::fclose(file);
  return run;
}

std::string message(int line, const char* tags) {
  return "Error line " + std::to_string(line) + ": your template file must not contain the HTML tags " + tags + " <BR>";
}

const char* const HTML = "< html >, < Html > or < HTML >";
const char* const HEAD = "< head >, < Head > or < HEAD >";
const char* const FORM = "< form >, < Form > or < FORM >";
const char* const END_BODY = "< /body >, < /Body > or < /BODY >";
const char* const NO_TAG = "Error: your template file doesn't contain the [ORBA] tags <BR>";

}  // namespace

TEST(CheckTemplate, OneMessagePerTestPerLineInTableOrder) {
  // Both spellings of the html tag report once; the closing body tag comes
  // last in the table though first in the line; an html tag with attributes
  // and a header element match their opening forms.
  CheckRun run = check("</body><html><HTML lang=fr><header><form action=x>[ORBA]\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, HTML) + message(1, HEAD) + message(1, FORM) + message(1, END_BODY));
}

TEST(CheckTemplate, TagsAreFoundAfterStrayAngleBrackets) {
  // A "<" that opens nothing, or that ends the line, hides no tag after it.
  CheckRun run = check("a << <<html <</FORM> <h <\n[ORBA] <Head<\n<");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, HTML) + message(1, "< /form >, < /Form > or < /FORM >") +
                          message(2, HEAD));
}

TEST(CheckTemplate, OddSpellingsAreNotDetected) {
  CheckRun run = check("<hTmL>[ORBA]</html >\n<BODY onload=x>\n");
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.page, "");
}

TEST(CheckTemplate, SameDirectoryRule) {
  const std::string outside = "Error line 2: the file ";
  const std::string tail = " must be in the same directory that your template<BR>";
  // A bare file name passes; a directory is named with its quotes; "/>"
  // falls inside the examined text; SRC in capitals and a second src are
  // not examined.
  EXPECT_TRUE(check("[ORBA]\n<img src=\"logo.gif\">\n").ok);
  EXPECT_EQ(check("[ORBA]\n<img src=\"img/logo.gif\">\n").page, "<body>" + outside + "\"img/logo.gif\"" + tail);
  EXPECT_EQ(check("[ORBA]\n<img src=\"logo.gif\"/>\n").page, "<body>" + outside + "\"logo.gif\"/" + tail);
  EXPECT_TRUE(check("[ORBA]\n<img SRC=\"img/logo.gif\">\n").ok);
  EXPECT_TRUE(check("[ORBA]\n<img src=a.gif><img src=\"../b.gif\">\n").ok);
  // The first ">" after src closes the text, wherever it stands.
  EXPECT_EQ(check("[ORBA]\n<a href=/x>src=c/<b>d</b>\n").page, "<body>" + outside + "c/<b" + tail);
  // src directly followed by ">" names no file.
  EXPECT_TRUE(check("[ORBA]\n<x src>/../y\n").ok);
  EXPECT_TRUE(check("[ORBA]\n<x src=>/../y\n").ok);
  // No ">" after src: nothing to examine.
  EXPECT_TRUE(check("[ORBA]\n<img src=\"a/b.gif\"\n").ok);
}

TEST(CheckTemplate, LinesLongerThanAPieceCountAsSeveralLines) {
  std::string content = "[ORBA]" + std::string(16583 - 6, 'x') + "<form>\n<FORM>\n";
  CheckRun run = check(content);
  EXPECT_EQ(run.page, "<body>" + message(2, FORM) + message(3, FORM));
  // A tag cut across two pieces is not seen.
  run = check(std::string(16580, ' ') + "[ORBA]\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, std::string("<body>") + NO_TAG);
}

TEST(CheckTemplate, CrLfAndNulBytesDoNotHideTags) {
  std::string content = "<b>\0</b>\r\n[ORBA]\r\n<form>\r\n"s;
  CheckRun run = check(content);
  EXPECT_EQ(run.page, "<body>" + message(3, FORM));
}

namespace {

// The page that the copy of a checked `content` writes, with "<BODY>" where
// the page body goes.
std::string copied(const std::string& content) {
  std::FILE* file = file_holding(content);
  Sink diagnostics_page;
  Diagnostics diagnostics(diagnostics_page);
  LineReader check_reader(file);
  CheckedTemplate checked = check_template(check_reader, diagnostics);
  Sink page;
  LineReader copy_reader(file);
  TemplateCopy copy = copy_template(copy_reader, checked, page, [&] { emit(page, "<BODY>"); });
  std::fclose(file);
  EXPECT_EQ(copy, TemplateCopy::COPIED);
  return page.bytes;
}

}  // namespace

TEST(CopyTemplate, PutsTheBodyAtTheFirstTagAndDropsIt) {
  EXPECT_EQ(copied("<body>\n<p>top [ORBA] tail\nline [ORBA] again\n"),
            "<body>\n<p>top <BODY> tail\nline [ORBA] again\n");
  EXPECT_EQ(copied("[ORBA]\nx"), "<BODY>\nx");
  EXPECT_EQ(copied("x\n<p>[ORBA]"), "x\n<p><BODY>");
}

TEST(CopyTemplate, KeepsEveryByte) {
  EXPECT_EQ(copied("a\r\n\0%s%n\xe9[ORBA]\xff\0\r\n"s), "a\r\n\0%s%n\xe9<BODY>\xff\0\r\n"s);
}

TEST(CopyTemplate, TextsHaveNoSizeLimitAndTheTagMustFitAPiece) {
  std::string big(3 * 16583 + 17, 'b');
  EXPECT_EQ(copied(big + "\n[ORBA]\n" + big), big + "\n<BODY>\n" + big);
  // A tag straddling the cut between two pieces is not the splitting tag.
  std::string blanks(16580, ' ');
  EXPECT_EQ(copied(blanks + "[ORBA]x[ORBA]y"), blanks + "[ORBA]x<BODY>y");
}

// The merchant saves the template between the check and the copy: the page
// written must not pass for the one checked.
TEST(CopyTemplate, TemplateChangedSinceTheCheck) {
  // Written over the start of the old text.
  for (const std::string& changed : {"<p>[ORBA]<form>\n"s, "[ORBA]"s, "<p>(ORBA)"s, "<p>[ORBA]</p>\nmore\n"s}) {
    SCOPED_TRACE(changed);
    std::FILE* file = file_holding("<p>[ORBA]</p>\n");
    Sink page;
    Diagnostics diagnostics(page);
    LineReader check_reader(file);
    CheckedTemplate checked = check_template(check_reader, diagnostics);
    ASSERT_EQ(checked.verdict, TemplateVerdict::PASSED);
    std::rewind(file);
    std::fwrite(changed.data(), 1, changed.size(), file);
    std::fflush(file);
    LineReader copy_reader(file);
    EXPECT_EQ(copy_template(copy_reader, checked, page, [] {}), TemplateCopy::CHANGED);
    std::fclose(file);
  }
}

}  // namespace pages
