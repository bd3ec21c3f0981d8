#include "template.h"

#include <gtest/gtest.h>

#include <string>

#include "output.h"

using namespace std::string_literals;

namespace {

struct CheckRun {
  bool ok;
  std::string page;
};

CheckRun check(const std::string& content) {
  CheckRun run{};
  capture_output(&run.page);
  run.ok = check_template(content);
  capture_output(nullptr);
  return run;
}

std::string message(int line, const char* tags) {
  return "Error line " + std::to_string(line) + ": your template file must not contain the HTML tags " + tags + " <BR>";
}

const char* const kHtml = "< html >, < Html > or < HTML >";
const char* const kHead = "< head >, < Head > or < HEAD >";
const char* const kForm = "< form >, < Form > or < FORM >";
const char* const kEndBody = "< /body >, < /Body > or < /BODY >";
const char* const kNoTag = "Error: your template file doesn't contain the [ORBA] tags <BR>";

}  // namespace

TEST(CheckTemplate, OneMessagePerTestPerLineInTableOrder) {
  // Both spellings of the html tag report once; the closing body tag comes
  // last in the table though first in the line; an html tag with attributes
  // and a header element match their opening forms.
  CheckRun run = check("</body><html><HTML lang=fr><header><form action=x>[ORBA]\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, kHtml) + message(1, kHead) + message(1, kForm) + message(1, kEndBody));
}

TEST(CheckTemplate, TagsAreFoundAfterStrayAngleBrackets) {
  // A "<" that opens nothing, or that ends the line, hides no tag after it.
  CheckRun run = check("a << <<html <</FORM> <h <\n[ORBA] <Head<\n<");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, kHtml) + message(1, "< /form >, < /Form > or < /FORM >") +
                          message(2, kHead));
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
  EXPECT_EQ(run.page, "<body>" + message(2, kForm) + message(3, kForm));
  // A tag cut across two pieces is not seen.
  run = check(std::string(16580, ' ') + "[ORBA]\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, std::string("<body>") + kNoTag);
}

TEST(CheckTemplate, CrLfAndNulBytesDoNotHideTags) {
  std::string content = "<b>\0</b>\r\n[ORBA]\r\n<form>\r\n"s;
  CheckRun run = check(content);
  EXPECT_EQ(run.page, "<body>" + message(3, kForm));
}

namespace {

struct Split {
  std::string before;
  std::string after;
};

Split split(const std::string& content) {
  std::string_view before;
  std::string_view after;
  split_template(content, before, after);
  return Split{std::string(before), std::string(after)};
}

}  // namespace

TEST(SplitTemplate, CutsAtTheFirstTagAndDropsIt) {
  Split parts = split("<body>\n<p>top [ORBA] tail\nline [ORBA] again\n");
  EXPECT_EQ(parts.before, "<body>\n<p>top ");
  EXPECT_EQ(parts.after, " tail\nline [ORBA] again\n");

  parts = split("[ORBA]\nx");
  EXPECT_EQ(parts.before, "");
  EXPECT_EQ(parts.after, "\nx");

  parts = split("x\n<p>[ORBA]");
  EXPECT_EQ(parts.before, "x\n<p>");
  EXPECT_EQ(parts.after, "");
}

TEST(SplitTemplate, KeepsEveryByte) {
  std::string content = "a\r\n\0%s%n\xe9[ORBA]\xff\0\r\n"s;
  Split parts = split(content);
  EXPECT_EQ(parts.before, "a\r\n\0%s%n\xe9"s);
  EXPECT_EQ(parts.after, "\xff\0\r\n"s);
}

TEST(SplitTemplate, TextsHaveNoSizeLimitAndTheTagMustFitAPiece) {
  std::string big(3 * 16583 + 17, 'b');
  Split parts = split(big + "\n[ORBA]\n" + big);
  EXPECT_EQ(parts.before, big + "\n");
  EXPECT_EQ(parts.after, "\n" + big);
  // A tag straddling the cut between two pieces is not the splitting tag.
  parts = split(std::string(16580, ' ') + "[ORBA]x[ORBA]y");
  EXPECT_EQ(parts.before, std::string(16580, ' ') + "[ORBA]x");
  EXPECT_EQ(parts.after, "y");
}

