#include "template.h"

#include <array>
#include <iterator>
#include <cstddef>
#include <string>
#include <string_view>

#include "output.h"
#include "text_file.h"

namespace {

constexpr std::string_view kTag = "[ORBA]";

// A tag the page supplies itself, in the three spellings merchants use, and
// the message that names it.
struct ForbiddenTag {
  std::array<std::string_view, 3> forms;
  std::string_view message;  // follows "Error line N"
};

constexpr ForbiddenTag kForbidden[] = {
    {{"<html", "<Html", "<HTML"},
     ": your template file must not contain the HTML tags < html >, < Html > or < HTML > <BR>"},
    {{"<head", "<Head", "<HEAD"},
     ": your template file must not contain the HTML tags < head >, < Head > or < HEAD > <BR>"},
    {{"<form", "<Form", "<FORM"},
     ": your template file must not contain the HTML tags < form >, < Form > or < FORM > <BR>"},
    {{"</html>", "</Html>", "</HTML>"},
     ": your template file must not contain the HTML tags < /html >, < /Html > or < /HTML > <BR>"},
    {{"</head>", "</Head>", "</HEAD>"},
     ": your template file must not contain the HTML tags < /head >, < /Head > or < /HEAD > <BR>"},
    {{"</form>", "</Form>", "</FORM>"},
     ": your template file must not contain the HTML tags < /form >, < /Form > or < /FORM > <BR>"},
    {{"</body>", "</Body>", "</BODY>"},
     ": your template file must not contain the HTML tags < /body >, < /Body > or < /BODY > <BR>"},
};

bool contains(std::string_view line, std::string_view what) { return line.find(what) != std::string_view::npos; }

// The forbidden tags that `line` holds, one bit per entry of kForbidden. Every
// form starts with "<", so only the places of "<" are looked at, and there
// only the tags whose second character matches in either case.
unsigned forbidden_tags_in(std::string_view line) {
  unsigned found = 0;
  for (std::size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
    std::string_view rest = line.substr(at);
    if (rest.size() < 2) break;
    char second = static_cast<char>(rest[1] | 0x20);  // '/' keeps its value
    for (std::size_t t = 0; t < std::size(kForbidden); ++t) {
      const ForbiddenTag& tag = kForbidden[t];
      if ((tag.forms[0][1] | 0x20) != second) continue;
      for (std::string_view form : tag.forms)
        if (rest.starts_with(form)) found |= 1u << t;
    }
  }
  return found;
}

// Writes one diagnostic, opening the page body before the first one.
void report(bool& body_written, std::string_view message) {
  if (!body_written) {
    emit("<body>");
    body_written = true;
  }
  emit(message);
}

// Writes the "Error line N" lead of a diagnostic about one line.
void report_line(bool& body_written, long line_number) {
  report(body_written, "Error line ");
  emit(std::to_string(line_number));
}

// The file named by the first "src" of `line`: from the fourth character
// after the start of "src" (past "src" and its "=") up to the next ">". Empty
// when there is no such "src" and ">", or when the ">" comes sooner.
std::string_view referenced_file(std::string_view line) {
  std::size_t src = line.find("src");
  if (src == std::string_view::npos) return {};
  std::size_t close = line.find('>', src);
  if (close == std::string_view::npos || close < src + 4) return {};
  return line.substr(src + 4, close - (src + 4));
}

}  // namespace

bool check_template(std::string_view text) {
  bool body_written = false;
  bool tag_found = false;
  bool forbidden_seen = false;
  bool outside_file_seen = false;
  long line_number = 0;
  std::size_t pos = 0;
  for (std::string_view line = next_line_piece(text, pos); !line.empty(); line = next_line_piece(text, pos)) {
    ++line_number;
    unsigned forbidden = forbidden_tags_in(line);
    for (std::size_t t = 0; forbidden != 0 && t < std::size(kForbidden); ++t) {
      if ((forbidden & (1u << t)) == 0) continue;
      report_line(body_written, line_number);
      emit(kForbidden[t].message);
      forbidden_seen = true;
    }
    if (!tag_found && contains(line, kTag)) tag_found = true;
    std::string_view referenced = referenced_file(line);
    if (contains(referenced, "/")) {
      report_line(body_written, line_number);
      emit(": the file ");
      emit(referenced);
      emit(" must be in the same directory that your template<BR>");
      outside_file_seen = true;
    }
  }
  if (!tag_found) report(body_written, "Error: your template file doesn't contain the [ORBA] tags <BR>");
  return tag_found && !forbidden_seen && !outside_file_seen;
}

void split_template(std::string_view text, std::string_view& before, std::string_view& after) {
  // The tag counts only where one line read sees it whole, as in the check.
  std::size_t pos = 0;
  for (std::string_view line = next_line_piece(text, pos); !line.empty(); line = next_line_piece(text, pos)) {
    std::size_t at = line.find(kTag);
    if (at == std::string_view::npos) continue;
    std::size_t cut = (pos - line.size()) + at;
    before = text.substr(0, cut);
    after = text.substr(cut + kTag.size());
    return;
  }
  before = text;
  after = {};
}
