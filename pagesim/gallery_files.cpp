// The files beside the gallery's pages: what the pages load by a relative
// name, copied from the template's folder, the server's images drawn as
// stand-ins, and the index's list of what could not be copied and why. The
// server takes a template's files from the template's own folder, so that
// folder is the only place a copy comes from.
#include "gallery_files.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <system_error>

#include "markup.h"
#include "platform.h"
#include "stand_ins.h"

namespace fs = std::filesystem;

namespace {

// Receives each reference a page or a stylesheet makes, as written.
using Found = std::function<void(std::string_view)>;

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

// Every url(...) and @import "..." of the stylesheet text `css`; comments and
// other strings are passed over.
void css_references(std::string_view css, const Found& found) {
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

// Every src=, href= and background= value of the tags of `html`, and the
// url(...) of its style elements and style attributes. Comments and the text
// of scripts load nothing.
void html_references(std::string_view html, const Found& found) {
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

// The file `value` names, as a browser reads it: blanks around it, its query
// and fragment dropped; empty for a link within the page itself or to
// something other than a file (a scheme other than file:).
std::string file_reference(std::string_view value) {
  value = trimmed(value);
  value = value.substr(0, value.find_first_of("?#"));
  if (value.empty() || (has_scheme(value) && !word_at(value, 0, "file:"))) return {};
  return std::string(value);
}

// `text` with each %XX replaced by the byte it stands for, as a browser finds
// the file.
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

// Where the name `reference` points: a file of the template's folder (COPIED,
// with its name in `file_name`), or why it is none.
FileFate where_it_points(const std::string& reference, std::string& file_name) {
  std::string path = percent_decoded(reference);
  if (word_at(path, 0, "file:") || path[0] == '/' || path[0] == '\\' || (is_letter(path[0]) && path.size() > 1 && path[1] == ':'))
    return FileFate::ABSOLUTE;
  std::vector<std::string> steps;
  std::size_t from = 0;
  for (std::size_t at = 0; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/' && path[at] != '\\') continue;
    std::string step = path.substr(from, at - from);
    from = at + 1;
    if (step == "..") return FileFate::LEAVES;
    if (!step.empty() && step != ".") steps.push_back(step);
  }
  if (steps.size() != 1) return steps.empty() ? FileFate::NOT_A_FILE : FileFate::SUBFOLDER;
  file_name = steps[0];
  return FileFate::COPIED;
}

// True when `a` and `b` are the same name, letter case aside (the same file on
// Windows).
bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Reads the file `file_name` of `folder` into `bytes`: COPIED, or why it
// cannot be copied. A link is followed only to a file inside the folder.
FileFate read_from_folder(const fs::path& folder, const std::string& file_name, std::string& bytes) {
  fs::path source = folder / file_name;
  std::error_code error;
  fs::file_status status = fs::symlink_status(source, error);
  if (error || !fs::exists(status)) return FileFate::MISSING;
  if (fs::is_symlink(status)) {
    fs::path target = fs::canonical(source, error);
    if (error) return FileFate::MISSING;
    fs::path home = fs::canonical(folder, error);
    fs::path inside = target.lexically_relative(home);
    if (error || inside.empty() || *inside.begin() == "..") return FileFate::LINK_OUTSIDE;
  }
  std::FILE* file = open_for_reading(source.string());
  if (!file) return fs::is_regular_file(source, error) ? FileFate::UNREADABLE : FileFate::NOT_A_FILE;
  char block[1 << 16];
  for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? FileFate::UNREADABLE : FileFate::COPIED;
}

// True for a file that a browser loads as a stylesheet by its name.
bool is_stylesheet(std::string_view file_name) {
  return file_name.size() > 4 && same_name(file_name.substr(file_name.size() - 4), ".css");
}

// What the index says of a file's fate.
std::string_view fate_text(FileFate fate) {
  switch (fate) {
    case FileFate::COPIED: return "copied from the template's folder";
    case FileFate::STAND_IN:
      return "stand-in: the payment server supplies this image, and the gallery draws a plain one in its place";
    case FileFate::MISSING: return "not copied: the template's folder holds no such file";
    case FileFate::ABSOLUTE: return "not copied: an absolute path; the server takes a template's files from its own folder";
    case FileFate::LEAVES: return "not copied: the path leaves the template's folder";
    case FileFate::SUBFOLDER:
      return "not copied: in a folder below the template's; the server takes a template's files from its own folder";
    case FileFate::LINK_OUTSIDE: return "not copied: a link to a file outside the template's folder";
    case FileFate::NOT_A_FILE: return "not copied: not a file";
    case FileFate::UNREADABLE: return "not copied: the file cannot be read";
    case FileFate::GALLERY_OWN: return "not copied: the gallery writes a file of this name itself";
  }
  return "";
}

// True when the file stands beside the pages, copied or drawn.
bool is_in_gallery(FileFate fate) { return fate == FileFate::COPIED || fate == FileFate::STAND_IN; }

}  // namespace

void add_loaded_names(std::string_view page, std::size_t page_number, LoadedNames& names) {
  html_references(page, [&](std::string_view value) {
    std::string name = file_reference(value);
    if (!name.empty()) names[name].insert(page_number);
  });
}

bool add_loaded_names_of_file(const std::string& path, std::size_t page_number, LoadedNames& names) {
  std::FILE* file = open_for_reading(path);
  if (!file) return false;
  std::string page;
  char block[1 << 16];
  for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) page.append(block, got);
  bool read = std::ferror(file) == 0;
  std::fclose(file);
  if (read) add_loaded_names(page, page_number, names);
  return read;
}

PlacedFiles place_loaded_files(const LoadedNames& names, const std::string& template_name, const std::string& out_dir,
                               const std::vector<std::string>& own_files, const GalleryFileWriter& write) {
  fs::path folder = fs::path(template_name).parent_path();
  if (folder.empty()) folder = ".";
  std::map<std::string, PlacedFile> placed;
  std::map<std::string, std::vector<std::string>> loaded_by_stylesheet;
  std::deque<std::string> waiting;
  for (const auto& [name, pages] : names) {
    placed[name] = PlacedFile{name, FileFate::MISSING, pages, {}};
    waiting.push_back(name);
  }
  std::set<std::string> done;
  PlacedFiles result;
  while (!waiting.empty()) {
    std::string name = waiting.front();
    waiting.pop_front();
    if (!done.insert(name).second) continue;
    PlacedFile& file = placed[name];
    std::string file_name;
    file.fate = where_it_points(name, file_name);
    if (file.fate != FileFate::COPIED) continue;
    bool own = false;
    for (const std::string& own_file : own_files) own = own || same_name(own_file, file_name);
    if (own) {
      file.fate = FileFate::GALLERY_OWN;
      continue;
    }
    file.source = (folder / file_name).string();
    std::string bytes;
    file.fate = read_from_folder(folder, file_name, bytes);
    if (file.fate != FileFate::COPIED && is_server_image(file_name)) {
      file.fate = FileFate::STAND_IN;
      bytes = stand_in_image(file_name);
    }
    if (!is_in_gallery(file.fate)) continue;
    // Kept as it is when the gallery's folder is the template's own.
    if (!same_file(file.source, (fs::path(out_dir) / file_name).string()) && !write(file_name, bytes)) {
      result.written = false;
      return result;
    }
    if (file.fate != FileFate::COPIED || !is_stylesheet(file_name)) continue;
    css_references(bytes, [&](std::string_view value) {
      std::string loaded = file_reference(value);
      if (loaded.empty()) return;
      if (!placed.count(loaded)) placed[loaded] = PlacedFile{loaded, FileFate::MISSING, {}, {}};
      loaded_by_stylesheet[name].push_back(loaded);
      waiting.push_back(loaded);
    });
  }
  // A file that a stylesheet loads is needed by every page that loads the
  // stylesheet, however deep the chain of stylesheets.
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [stylesheet, loaded] : loaded_by_stylesheet)
      for (const std::string& name : loaded)
        for (std::size_t page : placed[stylesheet].pages) grew = placed[name].pages.insert(page).second || grew;
  }
  for (auto& [name, file] : placed) result.files.push_back(std::move(file));
  return result;
}

int count_not_copied(const std::vector<PlacedFile>& files) {
  int count = 0;
  for (const PlacedFile& file : files) count += is_in_gallery(file.fate) ? 0 : 1;
  return count;
}

std::string placed_files_section(const std::vector<PlacedFile>& files, const std::vector<std::string>& page_files) {
  if (files.empty()) return {};
  std::string section = "<h2>Files beside the pages</h2>\n";
  if (int missing = count_not_copied(files); missing > 0)
    section += "<p class=\"diagnostic\">" + std::to_string(missing) + (missing == 1 ? " file" : " files") +
               " that the pages load " + (missing == 1 ? "is" : "are") +
               " not in the gallery: those pages do not show as the customer will see them.</p>\n";
  section += "<table class=\"files\">\n<tr><th>File</th><th>In the gallery</th><th>Loaded by</th></tr>\n";
  for (const PlacedFile& file : files) {
    section += std::string("<tr class=\"") + (is_in_gallery(file.fate) ? "placed" : "not-copied") + "\"><td><code>" +
               markup_text(file.name) + "</code></td><td>" + std::string(fate_text(file.fate)) + "</td><td>";
    if (file.pages.size() == page_files.size()) {
      section += "every page";
    } else {
      const char* separator = "";
      for (std::size_t page : file.pages) {
        std::string page_file = markup_text(page < page_files.size() ? page_files[page] : std::string());
        section += separator + ("<a href=\"" + page_file + "\">" + page_file + "</a>");
        separator = ", ";
      }
    }
    section += "</td></tr>\n";
  }
  return section + "</table>\n";
}
