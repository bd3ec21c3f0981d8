#pragma once

#include <string>
#include <string_view>

// The gallery's name, as --version and its messages give it.
inline constexpr std::string_view GALLERY_PROGRAM = "pagesim-gallery";

// How a gallery came out.
struct GalleryOutcome {
  bool written = false;    // every page and the index; false once a file could not be written
  int pages = 0;           // pages written
  int diagnostics = 0;     // of which hold a diagnostic
  std::string index_path;  // <out_dir>/index.html
};

// Writes every page type, in the order of the page-type table and in English
// then French, as <out_dir>/<page type in lower case>.<en|fr>.html: the bytes
// pagesim writes for `template_name` with ./parameters of the current folder,
// in the page's language whatever LANGUAGE line the file holds. Then writes
// <out_dir>/index.html, which links them all with the diagnostic each holds.
// Creates `out_dir` and its parents when missing and writes nowhere else;
// each file is replaced whole, a link in its place by a regular file (never
// written through). Refuses, before writing anything, when a file it would
// write is the template or ./parameters, and while another run holds
// <out_dir>/pagesim-gallery.lock, which it holds itself for its whole run. A
// refusal or a file that cannot be written stops the run with a message on
// standard error. With `progress`, one line per page type goes to standard
// error.
GalleryOutcome write_gallery(const std::string& template_name, const std::string& out_dir, bool progress);

// Tells why the gallery stopped: the program's name, `what` and a line end,
// on standard error.
void tell_gallery_failure(const std::string& what);
