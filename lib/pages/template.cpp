#include "pages/template.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace pages {

namespace {

// The tag of the template that the page body takes the place of.
constexpr std::string_view TAG = "[ORBA]";

// A tag the page supplies itself, in the three spellings merchants use.
using ForbiddenTag = std::array<std::string_view, 3>;

// The tags the page supplies itself, in the order a line's messages come.
constexpr ForbiddenTag FORBIDDEN_TAGS[] = {
    {"<html", "<Html", "<HTML"},       {"<head", "<Head", "<HEAD"},       {"<form", "<Form", "<FORM"},
    {"</html>", "</Html>", "</HTML>"}, {"</head>", "</Head>", "</HEAD>"}, {"</form>", "</Form>", "</FORM>"},
    {"</body>", "</Body>", "</BODY>"},
};

// A spelling of a forbidden tag as its message names it: "<html" as "html",
// "</html>" as "/html".
std::string_view named(std::string_view form) {
  form.remove_prefix(1);
  if (form.ends_with('>')) form.remove_suffix(1);
  return form;
}

// True when `line` holds `what`.
bool contains(std::string_view line, std::string_view what) { return line.find(what) != std::string_view::npos; }

// The forbidden tags that `line` holds, one bit per entry of FORBIDDEN_TAGS.
// Every form starts with "<", so only the places of "<" are looked at, and
// there only the tags whose second character matches in either case.
unsigned forbidden_tags_in(std::string_view line) {
  unsigned found = 0;
  for (std::size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
    std::string_view rest = line.substr(at);
    if (rest.size() < 2) break;
    char second = static_cast<char>(rest[1] | 0x20);  // '/' keeps its value
    for (std::size_t t = 0; t < std::size(FORBIDDEN_TAGS); ++t) {
      const ForbiddenTag& tag = FORBIDDEN_TAGS[t];
      if ((tag[0][1] | 0x20) != second) continue;
      for (std::string_view form : tag)
        if (rest.starts_with(form)) found |= 1u << t;
    }
  }
  return found;
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

CheckedTemplate check_template(LineReader& reader, Diagnostics& diagnostics, std::string* read) {
  CheckedTemplate checked;
  bool tag_found = false;
  bool forbidden_seen = false;
  bool outside_file_seen = false;
  long line_number = 0;
  for (std::string_view line; reader.next(line);) {
    add_bytes(checked.fingerprint, line);
    if (read) read->append(line);
    ++line_number;
    unsigned forbidden = forbidden_tags_in(line);
    for (std::size_t t = 0; forbidden != 0 && t < std::size(FORBIDDEN_TAGS); ++t) {
      if ((forbidden & (1u << t)) == 0) continue;
      const ForbiddenTag& tag = FORBIDDEN_TAGS[t];
      diagnostics.write(BodyTag::ALONE, {"Error line ", std::to_string(line_number),
                                         ": your template file must not contain the HTML tags < ", named(tag[0]),
                                         " >, < ", named(tag[1]), " > or < ", named(tag[2]), " > <BR>"});
      forbidden_seen = true;
    }
    if (!tag_found && contains(line, TAG)) tag_found = true;
    std::string_view referenced = referenced_file(line);
    if (contains(referenced, "/")) {
      diagnostics.write(BodyTag::ALONE, {"Error line ", std::to_string(line_number), ": the file ", referenced,
                                         " must be in the same directory that your template<BR>"});
      outside_file_seen = true;
    }
  }
  if (reader.failed()) return checked;
  if (!tag_found) diagnostics.write(BodyTag::ALONE, {"Error: your template file doesn't contain the [ORBA] tags <BR>"});
  bool passed = tag_found && !forbidden_seen && !outside_file_seen;
  checked.verdict = passed ? TemplateVerdict::PASSED : TemplateVerdict::FAILED;
  return checked;
}

TemplateCopy copy_template(LineReader& reader, const CheckedTemplate& checked, Sink& out,
                           const std::function<void()>& write_body) {
  Fingerprint fingerprint;
  bool tag_met = false;
  for (std::string_view line; reader.next(line);) {
    add_bytes(fingerprint, line);
    // The tag counts only where one line read sees it whole, as in the check.
    std::size_t at = tag_met ? std::string_view::npos : line.find(TAG);
    if (at == std::string_view::npos) {
      emit(out, line);
      continue;
    }
    emit(out, line.substr(0, at));
    write_body();
    emit(out, line.substr(at + TAG.size()));
    tag_met = true;
  }
  if (reader.failed()) return TemplateCopy::UNREADABLE;
  return tag_met && same_bytes(fingerprint, checked.fingerprint) ? TemplateCopy::COPIED : TemplateCopy::CHANGED;
}

}  // namespace pages
