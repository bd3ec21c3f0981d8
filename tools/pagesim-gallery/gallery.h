#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/lock.h"

// The gallery's name, as --version and its messages give it.
inline constexpr std::string_view GALLERY_PROGRAM = "pagesim-gallery";

// How a gallery came out.
struct GalleryOutcome {
  bool written = false;    // every page and the index; false once a file could not be written
  int pages = 0;           // pages written
  int diagnostics = 0;     // of which hold a diagnostic
  std::string index_path;  // <out_dir>/index.html
  int not_copied = 0;      // files the pages load that are not beside them (listed in the index)
  std::vector<std::string> watched;  // the files of the template's folder that the pages load, there or not
};

// Writes every page type, in the order of the page-type table and in English
// then French, as <out_dir>/<page type in lower case>.<en|fr>.html: the bytes
// pagesim writes for `template_name` with ./parameters of the current folder,
// in the page's language whatever LANGUAGE line the file holds. Then writes
// <out_dir>/index.html, which links them all with the diagnostic each holds,
// and the script that tells an open index to reload. Beside the pages go the
// files they load from the template's folder and stand-ins for the server's
// images (gallery_files.h). Creates `out_dir` and its parents when missing and
// writes nowhere else; each file is replaced whole, a link in its place by a
// regular file (never written through). Refuses, before writing anything,
// when a file it would write is the template or ./parameters, and while
// another run holds <out_dir>/pagesim-gallery.lock, which it holds itself for
// its whole run. A refusal or a file that cannot be written stops the run
// with a message on standard error. With `progress`, one line per page type
// goes to standard error.
GalleryOutcome write_gallery(const std::string& template_name, const std::string& out_dir, bool progress);

// The first steps of write_gallery, for a caller that writes the gallery
// again and again (--watch) and holds `out_dir` all the while: creates it,
// refuses when a file the gallery writes is an input, takes the lock into
// `lock` (unlock_folder lets it go). False after the message.
bool claim_gallery_folder(const std::string& template_name, const std::string& out_dir, FolderLock& lock);

// True when no file the gallery would write into `out_dir` is one of the
// merchant's inputs, the template or ./parameters, however it is named
// (through a link too); otherwise false, after one message naming it.
bool writes_no_input(const std::string& template_name, const std::string& out_dir);

// The rest of write_gallery, in a folder that claim_gallery_folder holds.
GalleryOutcome write_claimed_gallery(const std::string& template_name, const std::string& out_dir, bool progress);

// Tells why the gallery stopped: the program's name, `what` and a line end,
// on standard error.
void tell_gallery_failure(const std::string& what);

// Writes `line` on standard output, where a job that runs the gallery reads
// it; false after the message when it is lost.
bool print_gallery_line(const std::string& line);
