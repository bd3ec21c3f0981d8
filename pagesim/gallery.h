#pragma once

#include <string>
#include <string_view>
#include <vector>

// How a gallery came out.
struct GalleryOutcome {
  int status = 2;          // 0 every page complete, 1 some hold a diagnostic, 2 a file could not be written
  int pages = 0;           // pages written
  int diagnostics = 0;     // of which hold a diagnostic
  std::string index_path;  // <out_dir>/index.html
  int not_copied = 0;      // files the pages load that are not beside them (listed in the index)
  std::vector<std::string> watched;  // the files of the template's folder that the pages load, there or not
};

// Writes every page type, in the order of the page-type table and in English
// then French, as <out_dir>/<page type in lower case>.<en|fr>.html: the bytes
// pagesim writes for `template_name` with ./parameters of the current folder
// followed by the line LANGUAGE!en! or LANGUAGE!fr!. Then writes
// <out_dir>/index.html, which links them all with the diagnostic each holds,
// and the script that tells an open index to reload. Beside the pages go the
// files they load from the template's folder and stand-ins for the server's
// images (gallery_files.h). Creates `out_dir` and its parents when missing and
// writes nowhere else; each file is replaced whole. A file that cannot be written stops the run
// with a message on standard error. With `progress`, one line per page type
// goes to standard error.
GalleryOutcome write_gallery(const std::string& template_name, const std::string& out_dir, bool progress);

// `bytes` as text of an HTML page in UTF-8: the characters that HTML reads
// as markup escaped, valid UTF-8 kept, and every other byte read as the
// ISO-8859-1 letter that pagesim's pages mean by it.
std::string html_text(std::string_view bytes);
