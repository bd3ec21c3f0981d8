#pragma once

#include <string>
#include <vector>

#include "gallery_files.h"

namespace gallery {

// What one page holds, for the index.
struct PageEntry {
  std::string file;        // name inside the gallery's folder
  bool complete = false;   // the page holds no diagnostic
  std::string diagnostic;  // the page's diagnostic, when not complete
};

// A mark that tells one writing of the gallery from every other.
std::string writing_mark();

// The index page: what was rendered, when, and one row per page type with
// its pages (`pages`, in the order of the page-type table and of LANGUAGES),
// each linked, with the diagnostic it holds, and shown small at a desktop's
// width (1280 px) or a phone's (360 px); then the files beside the pages. Its
// script reloads it once RELOAD_SCRIPT names another writing than `mark`.
std::string index_page(const std::string& template_name, const std::vector<PageEntry>& pages,
                       const std::vector<PlacedFile>& files, const std::string& mark);

// What RELOAD_SCRIPT holds after the writing `mark`.
std::string reload_script(const std::string& mark);

}  // namespace gallery
