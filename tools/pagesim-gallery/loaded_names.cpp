// What a page loads by name: the values of its src=, href= and background=
// attributes and the url(...) and @import of its styles, read as a browser
// reads them, so that the gallery knows which files to place beside the pages.
#include "loaded_names.h"

#include <algorithm>

namespace gallery {

namespace {

// The characters HTML and CSS read as blanks.
bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// ASCII letters, of tag names, schemes and drive letters.
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// ASCII digits.
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// `c` in lower case, for the names that HTML and CSS read in any case.
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `text` holds the lower-case `word` at `at`, in any letter case.
bool word_at(std::string_view text, std::size_t at, std::string_view word) {
  if (at > text.size() || text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (lower(text[at + i]) != word[i]) return false;
  return true;
}

// Where the lower-case `word` next stands in `text` from `from` on, in any
// letter case; the end of `text` when nowhere.
std::size_t find_word(std::string_view text, std::string_view word, std::size_t from) {
  for (std::size_t at = from; at < text.size(); ++at)
    if (word_at(text, at, word)) return at;
  return text.size();
}

// Where the blanks of `text` from `at` on end.
std::size_t skip_spaces(std::string_view text, std::size_t at) {
  while (at < text.size() && is_space(text[at])) ++at;
  return at;
}

// `text` without its blanks at either end.
std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

// The text of the string that opens at `at` with a quote, and where reading
// goes on after its closing quote.
std::string_view quoted(std::string_view text, std::size_t& at) {
  std::size_t close = text.find(text[at], at + 1);
  if (close == std::string_view::npos) close = text.size();
  std::string_view inside = text.substr(at + 1, close - at - 1);
  at = std::min(close + 1, text.size());
  return inside;
}

// Every src=, href= and background= value of the tags of `html`, and the
// url(...) of its style elements and style attributes. Comments and the text
// of scripts load nothing.
void html_references(std::string_view html, const ReferenceFound& found) {
  std::size_t at = 0;
  while ((at = html.find('<', at)) != std::string_view::npos) {
    if (html.compare(at, 4, "<!--") == 0) {
      std::size_t end = html.find("-->", at + 4);
      at = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    if (++at >= html.size() || !is_letter(html[at])) continue;
    std::string tag;
    for (; at < html.size() && !is_space(html[at]) && html[at] != '>' && html[at] != '/'; ++at) tag += lower(html[at]);
    while (at < html.size()) {
      while (at < html.size() && (is_space(html[at]) || html[at] == '/')) ++at;
      if (at >= html.size()) break;
      if (html[at] == '>') {
        ++at;
        break;
      }
      std::string name;
      for (; at < html.size() && !is_space(html[at]) && html[at] != '=' && html[at] != '>' && html[at] != '/'; ++at)
        name += lower(html[at]);
      if (name.empty()) {
        ++at;
        continue;
      }
      at = skip_spaces(html, at);
      if (at >= html.size() || html[at] != '=') continue;
      at = skip_spaces(html, at + 1);
      std::string_view value;
      if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
        value = quoted(html, at);
      } else {
        std::size_t start = at;
        while (at < html.size() && !is_space(html[at]) && html[at] != '>') ++at;
        value = html.substr(start, at - start);
      }
      if (name == "src" || name == "href" || name == "background") found(value);
      if (name == "style") css_references(value, found);
    }
    if (tag == "style" || tag == "script") {
      std::size_t end = find_word(html, tag == "style" ? "</style" : "</script", at);
      if (tag == "style") css_references(html.substr(at, end - at), found);
      at = end;
    }
  }
}
// True when `value` begins with a scheme of two letters or more (https:,
// mailto:, javascript:): no file of the template's folder. A single letter
// before the colon is a drive letter.
bool has_scheme(std::string_view value) {
  std::size_t at = 0;
  while (at < value.size() &&
         (is_letter(value[at]) || (at > 0 && (is_digit(value[at]) || value[at] == '+' || value[at] == '-' || value[at] == '.'))))
    ++at;
  return at >= 2 && at < value.size() && value[at] == ':';
}

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

void css_references(std::string_view css, const ReferenceFound& found) {
  std::size_t at = 0;
  while (at < css.size()) {
    if (css.compare(at, 2, "/*") == 0) {
      std::size_t end = css.find("*/", at + 2);
      at = end == std::string_view::npos ? css.size() : end + 2;
    } else if (word_at(css, at, "url(")) {
      at = skip_spaces(css, at + 4);
      if (at < css.size() && (css[at] == '"' || css[at] == '\'')) {
        found(quoted(css, at));
      } else {
        std::size_t end = std::min(css.find(')', at), css.size());
        found(trimmed(css.substr(at, end - at)));
        at = end;
      }
    } else if (word_at(css, at, "@import")) {
      at = skip_spaces(css, at + 7);
      if (at < css.size() && (css[at] == '"' || css[at] == '\'')) found(quoted(css, at));
    } else if (css[at] == '"' || css[at] == '\'') {
      quoted(css, at);
    } else {
      ++at;
    }
  }
}

std::string file_reference(std::string_view value) {
  value = trimmed(value);
  value = value.substr(0, value.find_first_of("?#"));
  if (value.empty() || (has_scheme(value) && !word_at(value, 0, "file:"))) return {};
  return std::string(value);
}

std::string percent_decoded(std::string_view text) {
  auto hex = [](char c) {
    return is_digit(c) ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
  };
  std::string decoded;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '%' && at + 2 < text.size() && hex(text[at + 1]) >= 0 && hex(text[at + 2]) >= 0) {
      decoded += static_cast<char>(hex(text[at + 1]) * 16 + hex(text[at + 2]));
      at += 2;
    } else {
      decoded += text[at];
    }
  }
  return decoded;
}

void add_loaded_names(std::string_view page, std::size_t page_number, LoadedNames& names) {
  html_references(page, [&](std::string_view value) {
    std::string name = file_reference(value);
    if (!name.empty()) names[name].insert(page_number);
  });
}

}  // namespace gallery
