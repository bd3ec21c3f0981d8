// The gallery's index: what was rendered and when, one row per page type
// with the page shown small, the files beside the pages, and the script that
// reloads an index open in a browser once the gallery is written anew.
#include "index_page.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "gallery_folder.h"
#include "pages/page_types.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "support/markup.h"

namespace gallery {

namespace {

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

// The index's script: it reloads the index once RELOAD_SCRIPT names another
// writing than `mark`, switches the previews between a phone's width and a
// desktop's, and shows each page in its preview once the preview comes near
// the view.
std::string index_script(const std::string& mark) {
  return "<script>\n"
         "var writing = \"" + mark + "\";\n"
         "function galleryWritten(mark) { if (mark !== writing) location.reload(); }\n"
         "setInterval(function () {\n"
         "  var script = document.createElement(\"script\");\n"
         "  script.src = \"" + std::string(RELOAD_SCRIPT) + "?\" + Date.now();\n"
         "  script.onload = script.onerror = function () { script.remove(); };\n"
         "  document.head.appendChild(script);\n"
         "}, 100);\n"
         "function showWidth(width) {\n"
         "  document.body.className = width;\n"
         "  location.replace(\"#\" + width);\n"
         "}\n"
         "var previews = new IntersectionObserver(function (entries) {\n"
         "  entries.forEach(function (entry) {\n"
         "    if (!entry.isIntersecting) return;\n"
         "    var frame = document.createElement(\"iframe\");\n"
         "    frame.src = frame.title = entry.target.dataset.src;\n"
         "    frame.tabIndex = -1;\n"
         "    frame.setAttribute(\"sandbox\", \"allow-same-origin\");\n"
         "    entry.target.appendChild(frame);\n"
         "    previews.unobserve(entry.target);\n"
         "  });\n"
         "}, { rootMargin: \"200px\" });\n"
         "addEventListener(\"DOMContentLoaded\", function () {\n"
         "  showWidth(location.hash === \"#phone\" ? \"phone\" : \"desktop\");\n"
         "  document.querySelectorAll(\".preview\").forEach(function (preview) { previews.observe(preview); });\n"
         "});\n"
         "</script>\n";
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

// The index's part on the files beside the pages: what was copied, which
// images are stand-ins, and each file not copied with why and the pages that
// need it (`page_files` names the pages by number). Empty when the pages load
// no file.
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

}  // namespace

std::string writing_mark() {
  static int64_t last = 0;
  int64_t now = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  last = now > last ? now : last + 1;
  return std::to_string(last);
}

std::string reload_script(const std::string& mark) { return "galleryWritten(\"" + mark + "\");\n"; }

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

}  // namespace gallery
