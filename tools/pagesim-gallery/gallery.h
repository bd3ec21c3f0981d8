#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gallery {

// How a writing of the gallery came out.
struct GalleryOutcome {
  int pages = 0;           // pages written
  int diagnostics = 0;     // of which hold a diagnostic
  std::string index_path;  // <out_dir>/index.html
  int not_copied = 0;      // files the pages load that are not beside them (listed in the index)
  std::vector<std::string> watched;  // the files of the template's folder that the pages load, there or not
};

// Receives one progress line, line end included, as each page type is written.
using Progress = std::function<void(const std::string& line)>;

// Writes every page type, in the order of the page-type table and in English
// then French, as <out_dir>/<page type in lower case>.<en|fr>.html: the bytes
// pagesim writes for `template_name` with ./parameters of the current folder,
// in the page's language whatever LANGUAGE line the file holds. ./parameters
// and the template are read once for all the pages. Then writes
// <out_dir>/index.html, which links them all with the diagnostic each holds,
// and the script that tells an open index to reload. Beside the pages go the
// files they load from the template's folder and stand-ins for the server's
// images (gallery_files.h). `out_dir` is the caller's, claimed by
// claim_folder; each file is replaced whole, a link in its place by a regular
// file, and a copy never takes the place of the template or ./parameters.
// `outcome` tells how far it came; false, with `err`, once a file cannot be
// written. With `progress`, one line per page type goes to it.
bool write_gallery(const std::string& template_name, const std::string& out_dir, const Progress& progress,
                   GalleryOutcome& outcome, std::string* err);

}  // namespace gallery
