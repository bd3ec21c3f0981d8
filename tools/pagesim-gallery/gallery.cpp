// pagesim-gallery: every page of the merchant's template, in both languages,
// rendered in this process by the run that pagesim uses, and an index.
#include "gallery.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "gallery_files.h"
#include "gallery_watch.h"
#include "support/markup.h"
#include "pages/catalogue.h"
#include "pages/output.h"
#include "pages/page.h"
#include "pages/page_types.h"
#include "platform/platform.h"

namespace {

// One language of the gallery: the language of its pages, its code in their
// file names, and its name in the progress lines.
struct GalleryLanguage {
  pages::Language language;
  std::string_view code;
  std::string_view name;
};

// The two languages of the gallery, in the order their pages are written.
constexpr GalleryLanguage LANGUAGES[] = {{pages::Language::ENGLISH, "en", "English"},
                                         {pages::Language::FRENCH, "fr", "French"}};

// What one page holds, for the index.
struct PageEntry {
  std::string file;        // name inside out_dir
  bool complete = false;   // the page holds no diagnostic
  std::string diagnostic;  // the page's diagnostic, when not complete
};

// `name` with its ASCII capitals in lower case, as the page files are named.
std::string lower_case(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// `dir` and `file` joined by one "/".
std::string path_in(const std::string& dir, const std::string& file) {
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) return dir + file;
  return dir + "/" + file;
}

// The file inside out_dir that a run holds locked while it writes there: two
// galleries writing into one folder at once would mix their pages.
constexpr const char* LOCK_FILE = "pagesim-gallery.lock";

// The name of a page's file inside out_dir.
std::string page_file_name(std::string_view page_type, const GalleryLanguage& language) {
  return lower_case(page_type) + "." + std::string(language.code) + ".html";
}

// True when `path` is none of the merchant's inputs, the template or
// ./parameters, however it is named (through a link too); otherwise false,
// after one message naming it.
bool is_no_input(const std::string& path, const std::string& template_name) {
  const std::pair<std::string, std::string> inputs[] = {{template_name, "the template " + template_name},
                                                        {"parameters", "the Parameters file ./parameters"}};
  for (const auto& [input, what] : inputs)
    if (same_file(path, input)) {
      tell_gallery_failure("refusing to write " + path + ": it is " + what);
      return false;
    }
  return true;
}

// True when no file the gallery would write into `out_dir` is one of the
// merchant's inputs, the template or ./parameters, however it is named
// (through a link too); otherwise false, after one message naming it.
bool writes_no_input(const std::string& template_name, const std::string& out_dir) {
  std::vector<std::string> written{path_in(out_dir, "index.html"), path_in(out_dir, LOCK_FILE),
                                   path_in(out_dir, RELOAD_SCRIPT)};
  for (const pages::PageType& type : pages::page_types())
    for (const GalleryLanguage& language : LANGUAGES)
      written.push_back(path_in(out_dir, page_file_name(type.name, language)));
  for (const std::string& path : written)
    if (!is_no_input(path, template_name)) return false;
  return true;
}

// Writes the one-line message of a file that cannot be written; false.
bool cannot_write(const std::string& path) {
  tell_gallery_failure("cannot write the file " + path);
  return false;
}

// Writes `text` into `path`, whole or not at all; false after the message
// when the file cannot be written.
bool write_text_file(const std::string& path, const std::string& text) {
  Replacement replacement;
  if (!open_replacement(path, replacement, AtLink::REPLACE_LINK)) return cannot_write(path);
  bool written = std::fwrite(text.data(), 1, text.size(), replacement.file) == text.size();
  if (!written || !close_replacement(replacement) || !install_replacement(replacement)) {
    discard_replacement(replacement);
    return cannot_write(path);
  }
  return true;
}

// The local time of the run, as the index shows it.
std::string time_of_run() {
  std::tm local{};
  if (!to_local_time(static_cast<int64_t>(std::time(nullptr)), local)) return "unknown";
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

// The absolute path of ./parameters, as the merchant finds it.
std::string parameters_path() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute("parameters", error);
  return error ? std::string("./parameters") : path.string();
}

// One cell of the index: the link to a page, what the page holds, and the
// place of the page itself, shown small once it scrolls into view (see
// index_script).
std::string index_cell(const PageEntry& page) {
  std::string file = markup_text(page.file);
  std::string cell = "<td><a href=\"" + file + "\">" + file + "</a>";
  if (page.complete)
    cell += "<br><span class=\"ok\">ok</span>";
  else
    cell += "<div class=\"diagnostic\">" + markup_text(page.diagnostic) + "</div>";
  return cell + "<div class=\"preview\" data-src=\"" + file + "\"></div></td>";
}

// The index page: what was rendered, when, and one row per page type, each
// page shown small at a desktop's width (1280 px) or a phone's (360 px); then
// the files beside the pages. `mark` names this writing of the gallery.
std::string index_page(const std::string& template_name, const std::vector<PageEntry>& pages,
                       const std::vector<PlacedFile>& files, const std::string& mark) {
  std::string page =
      "<!DOCTYPE html>\n"
      "<html lang=\"en\"><head><meta charset=\"utf-8\"><title>pagesim gallery</title>\n"
      "<style>body{font-family:sans-serif;margin:2em}th,td{padding:.3em 1em;text-align:left;vertical-align:top}"
      ".ok{color:#060}.diagnostic{color:#a00;font-family:monospace;white-space:pre-wrap;max-width:40em}"
      ".preview{overflow:hidden;border:1px solid #ccc;margin-top:.3em}"
      ".preview iframe{border:0;transform-origin:0 0;pointer-events:none}"
      ".desktop .preview{width:320px;height:240px}"
      ".desktop .preview iframe{width:1280px;height:960px;transform:scale(.25)}"
      ".phone .preview{width:180px;height:320px}"
      ".phone .preview iframe{width:360px;height:640px;transform:scale(.5)}"
      ".desktop button.desktop,.phone button.phone{font-weight:bold}"
      ".not-copied{color:#a00}"
      "</style>\n" +
      index_script(mark) + "</head>\n<body class=\"desktop\">\n<h1>pagesim gallery</h1>\n<p>Template: <code>" +
      markup_text(template_name) + "</code><br>\nParameters file: <code>" + markup_text(parameters_path()) +
      "</code><br>\nWritten: " + time_of_run() +
      "</p>\n<p>Pages shown at <button type=\"button\" class=\"desktop\" onclick=\"showWidth('desktop')\">"
      "a desktop's width, 1280 px</button> <button type=\"button\" class=\"phone\" "
      "onclick=\"showWidth('phone')\">a phone's width, 360 px</button></p>\n"
      "<table>\n<tr><th>Page type</th><th>English</th><th>Fran\xC3\xA7" "ais</th></tr>\n";
  std::size_t at = 0;
  for (const pages::PageType& type : pages::page_types()) {
    page += "<tr data-page-type=\"" + std::string(type.name) + "\"><td>" + std::string(type.name) + "</td>";
    for (std::size_t l = 0; l < std::size(LANGUAGES); ++l) page += index_cell(pages[at++]);
    page += "</tr>\n";
  }
  std::vector<std::string> page_files;
  for (const PageEntry& entry : pages) page_files.push_back(entry.file);
  return page + "</table>\n" + placed_files_section(files, page_files) + "</body></html>\n";
}

}  // namespace

void tell_gallery_failure(const std::string& what) {
  std::string message = std::string(GALLERY_PROGRAM) + ": " + what + "\n";
  std::fputs(message.c_str(), stderr);
}

bool print_gallery_line(const std::string& line) {
  if (std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0 &&
      !std::ferror(stdout))
    return true;
  tell_gallery_failure("cannot write to standard output");
  return false;
}

namespace {

// Writes every page, the files beside them, then the index and the reload
// script into `out_dir`; `outcome` tells how far it came.
void write_pages(const std::string& template_name, const std::string& out_dir, bool progress,
                 GalleryOutcome& outcome) {
  // ./parameters and the template are read once, and every page is written
  // from what was read.
  pages::PageInputs inputs = pages::read_page_inputs(template_name);
  std::vector<PageEntry> pages;
  LoadedNames loaded;
  std::size_t number = 0;
  std::size_t count = pages::page_types().size();
  for (const pages::PageType& type : pages::page_types()) {
    std::string held;
    for (const GalleryLanguage& language : LANGUAGES) {
      PageEntry page;
      page.file = page_file_name(type.name, language);
      // Rendered in memory: the names the page loads are read from the very
      // bytes that go into its file.
      pages::Sink out;
      pages::PageOutcome rendered = pages::render_page_from(inputs, type.name, language.language, out);
      const std::string& bytes = out.bytes;
      if (!write_text_file(path_in(out_dir, page.file), bytes)) return;
      add_loaded_names(bytes, pages.size(), loaded);
      page.complete = rendered.complete;
      page.diagnostic = rendered.diagnostic;
      ++outcome.pages;
      if (!page.complete) {
        ++outcome.diagnostics;
        held += held.empty() ? "diagnostic in " : " and ";
        held += language.name;
      }
      pages.push_back(std::move(page));
    }
    if (progress) {
      std::string line = std::to_string(++number) + "/" + std::to_string(count) + " " + std::string(type.name) +
                         ": " + (held.empty() ? "ok" : held) + "\n";
      std::fputs(line.c_str(), stderr);
    }
  }
  std::vector<std::string> own_files{"index.html", RELOAD_SCRIPT, LOCK_FILE};
  for (const PageEntry& page : pages) own_files.push_back(page.file);
  PlacedFiles placed = place_loaded_files(
      loaded, template_name, out_dir, own_files, [&](const std::string& name, const std::string& bytes) {
        // A copy never takes the place of the merchant's inputs either.
        std::string path = path_in(out_dir, name);
        return is_no_input(path, template_name) && write_text_file(path, bytes);
      });
  if (!placed.written) return;
  outcome.not_copied = count_not_copied(placed.files);
  for (const PlacedFile& file : placed.files)
    if (!file.source.empty()) outcome.watched.push_back(file.source);
  // The reload script goes last: an open index reloads once everything is in place.
  std::string mark = writing_mark();
  if (!write_text_file(outcome.index_path, index_page(template_name, pages, placed.files, mark)) ||
      !write_text_file(path_in(out_dir, RELOAD_SCRIPT), reload_script(mark)))
    return;
  outcome.written = true;
}

}  // namespace

bool claim_gallery_folder(const std::string& template_name, const std::string& out_dir, FolderLock& lock) {
  std::error_code error;
  std::filesystem::create_directories(out_dir, error);
  if (error || !std::filesystem::is_directory(out_dir, error)) {
    tell_gallery_failure("cannot create the folder " + out_dir);
    return false;
  }
  if (!writes_no_input(template_name, out_dir)) return false;
  std::string lock_path = path_in(out_dir, LOCK_FILE);
  LockResult locked = lock_folder(lock_path, lock);
  if (locked == LockResult::HELD_ELSEWHERE) {
    tell_gallery_failure("another pagesim-gallery is writing into " + out_dir + " (it holds " + lock_path +
                         "); run again once it has finished");
    return false;
  }
  if (locked == LockResult::FAILED) return cannot_write(lock_path);
  return true;
}

GalleryOutcome write_claimed_gallery(const std::string& template_name, const std::string& out_dir, bool progress) {
  GalleryOutcome outcome;
  outcome.index_path = path_in(out_dir, "index.html");
  write_pages(template_name, out_dir, progress, outcome);
  return outcome;
}

GalleryOutcome write_gallery(const std::string& template_name, const std::string& out_dir, bool progress) {
  FolderLock lock;
  if (!claim_gallery_folder(template_name, out_dir, lock)) {
    GalleryOutcome outcome;
    outcome.index_path = path_in(out_dir, "index.html");
    return outcome;
  }
  GalleryOutcome outcome = write_claimed_gallery(template_name, out_dir, progress);
  unlock_folder(lock);
  return outcome;
}
