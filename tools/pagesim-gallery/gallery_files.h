#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "loaded_names.h"

namespace gallery {

// What became of a file the pages load.
enum class FileFate {
  COPIED,        // copied from the template's folder
  STAND_IN,      // one of the server's images, drawn by the gallery
  MISSING,       // the template's folder holds no such file
  ABSOLUTE,      // an absolute path, or one with a drive letter
  LEAVES,        // a ".." step leaves the template's folder
  SUBFOLDER,     // in a folder below the template's: the server serves none
  LINK_OUTSIDE,  // a link to a file outside the template's folder
  NOT_A_FILE,    // a folder, a device: nothing a page can load
  UNREADABLE,    // the file cannot be read
  GALLERY_OWN,   // the gallery writes a file of that name itself
};

// One file the pages load, and what the gallery did with it.
struct PlacedFile {
  std::string name;                 // as the pages (or a stylesheet) name it
  FileFate fate = FileFate::MISSING;
  std::set<std::size_t> pages;      // the pages that load it, directly or through a stylesheet
  std::string source;               // its path in the template's folder; empty when it has none
};

// Writes `bytes` as the file `name` of the gallery's folder, whole; false,
// with `err` saying why, when it cannot.
using GalleryFileWriter = std::function<bool(const std::string& name, const std::string& bytes, std::string* err)>;

// Puts beside the pages each file that `names` lists and that lies in the
// folder of `template_name`: a copy of it, and of each file that a stylesheet
// so copied loads through url(...) or @import. A server image that the folder
// does not hold gets its stand-in. Nothing else of the folder is read;
// `own_files` are the names the gallery writes itself, which no copy takes.
// Every file the pages load goes into `files`, by name, with what became of
// it. False, with `err` from `write`, when a file could not be written.
bool place_loaded_files(const LoadedNames& names, const std::string& template_name, const std::string& out_dir,
                        const std::vector<std::string>& own_files, const GalleryFileWriter& write,
                        std::vector<PlacedFile>& files, std::string* err);

// True when the file stands beside the pages, copied or drawn.
bool is_in_gallery(FileFate fate);

// How many of `files` are missing from the gallery (neither copied nor a stand-in).
int count_not_copied(const std::vector<PlacedFile>& files);

}  // namespace gallery
