#include "template.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "output.h"

using namespace std::string_literals;

namespace {

// An open temporary file holding `content`, positioned at its end, as the
// check would leave it.
std::FILE* file_with(const std::string& content) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  return file;
}

struct CheckRun {
  bool ok;
  std::string page;
};

CheckRun check(const std::string& content) {
  std::FILE* file = file_with(content);
  CheckRun run{};
  capture_output(&run.page);
  run.ok = check_template(file);
  capture_output(nullptr);
  std::fclose(file);
  return run;
}

std::string message(int line, const char* tags) {
  return "Error line " + std::to_string(line) + ": your template file must not contain the HTML tags " + tags + " <BR>";
}

const char* const kHtml = "< html >, < Html > or < HTML >";
const char* const kHead = "< head >, < Head > or < HEAD >";
const char* const kForm = "< form >, < Form > or < FORM >";
const char* const kEndHtml = "< /html >, < /Html > or < /HTML >";
const char* const kEndBody = "< /body >, < /Body > or < /BODY >";
const char* const kNoTag = "Error: your template file doesn't contain the [ORBA] tags <BR>";

}  // namespace

TEST(CheckTemplate, CleanTemplatePassesSilently) {
  CheckRun run = check("<body bgcolor=\"white\">\n<img src=\"logo.gif\">\n[ORBA]\n<p>bye</p>\n");
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.page, "");
}

TEST(CheckTemplate, EmptyTemplateLacksTheTag) {
  CheckRun run = check("");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, std::string("<body>") + kNoTag);
  // The tag in lower case is not the tag.
  run = check("<p>[orba]</p>\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, std::string("<body>") + kNoTag);
}

TEST(CheckTemplate, ReportsEveryViolationInLineOrderWithOneBodyTag) {
  std::string content = "<HTML>\n<body>\n[ORBA]\n\n\n\n\n\n</HTML>\n";
  CheckRun run = check(content);
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, kHtml) + message(9, kEndHtml));
}

TEST(CheckTemplate, OneMessagePerTestPerLineInTableOrder) {
  // Both spellings of the html tag report once; the closing body tag comes
  // last in the table though first in the line; an html tag with attributes
  // and a header element match their opening forms.
  CheckRun run = check("</body><html><HTML lang=fr><header><form action=x>[ORBA]\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.page, "<body>" + message(1, kHtml) + message(1, kHead) + message(1, kForm) + message(1, kEndBody));
}

TEST(CheckTemplate, EveryClosingFormIsReported) {
  const char* const lines[][2] = {
      {"</html>", kEndHtml}, {"</Html>", kEndHtml}, {"</HTML>", kEndHtml},
      {"</head>", "< /head >, < /Head > or < /HEAD >"}, {"</Head>", "< /head >, < /Head > or < /HEAD >"},
      {"</HEAD>", "< /head >, < /Head > or < /HEAD >"}, {"</form>", "< /form >, < /Form > or < /FORM >"},
      {"</Form>", "< /form >, < /Form > or < /FORM >"}, {"</FORM>", "< /form >, < /Form > or < /FORM >"},
      {"</body>", kEndBody}, {"</Body>", kEndBody}, {"</BODY>", kEndBody},
      {"<Head>", kHead}, {"<HEAD>", kHead}, {"<Form>", kForm}, {"<FORM>", kForm}, {"<Html>", kHtml},
  };
  for (const auto& line : lines) {
    CheckRun run = check(std::string("[ORBA]\n") + line[0] + "\n");
    EXPECT_FALSE(run.ok) << line[0];
    EXPECT_EQ(run.page, "<body>" + message(2, line[1])) << line[0];
  }
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

TEST(CheckTemplate, LongSrcTextIsQuotedWhole) {
  std::string path = "\"" + std::string(1000, 'd') + "/f.gif\"";
  CheckRun run = check("[ORBA]<img src=" + path + ">\n");
  EXPECT_EQ(run.page, "<body>Error line 1: the file " + path + " must be in the same directory that your template<BR>");
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
  std::FILE* file = file_with(content);
  Split parts;
  split_template(file, parts.before, parts.after);
  std::fclose(file);
  return parts;
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

TEST(CheckAndSplit, TenMegabytesStayFast) {
  std::string line = "<p>some text of the shop src=\"a.gif\"> with <b>bold</b></p>\n";
  std::string content;
  while (content.size() < 10'000'000) content += line;
  content += "[ORBA]\n";
  content += std::string(5'000'000, 'z');  // lines of one full piece each
  auto start = std::chrono::steady_clock::now();
  CheckRun run = check(content);
  Split parts = split(content);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(parts.before.size() + parts.after.size() + 6, content.size());
  // Generous bound for a debug build on a busy machine; linear code needs a
  // small fraction of it.
  EXPECT_LT(seconds, 5.0);
}
