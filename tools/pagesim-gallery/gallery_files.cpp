// The files beside the gallery's pages: what the pages load by a relative
// name, copied from the template's folder, and the server's images drawn as
// stand-ins. The server takes a template's files from the template's own
// folder, so that folder is the only place a copy comes from.
#include "gallery_files.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <system_error>

#include "loaded_names.h"
#include "support/markup.h"
#include "platform/files.h"
#include "stand_ins.h"

namespace gallery {

namespace fs = std::filesystem;

namespace {

// Where the name `reference` points: a file of the template's folder (COPIED,
// with its name in `file_name`), or why it is none.
FileFate where_it_points(const std::string& reference, std::string& file_name) {
  std::string path = percent_decoded(reference);
  bool drive_letter = path.size() > 1 && path[1] == ':' && ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
  if (same_name(path.substr(0, std::min<std::size_t>(path.size(), 5)), "file:") || path[0] == '/' || path[0] == '\\' ||
      drive_letter)
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

}  // namespace

bool is_in_gallery(FileFate fate) { return fate == FileFate::COPIED || fate == FileFate::STAND_IN; }

bool place_loaded_files(const LoadedNames& names, const std::string& template_name, const std::string& out_dir,
                        const std::vector<std::string>& own_files, const GalleryFileWriter& write,
                        std::vector<PlacedFile>& files, std::string* err) {
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
    if (!same_file(file.source, (fs::path(out_dir) / file_name).string()) && !write(file_name, bytes, err))
      return false;
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
  for (auto& [name, file] : placed) files.push_back(std::move(file));
  return true;
}

int count_not_copied(const std::vector<PlacedFile>& files) {
  int count = 0;
  for (const PlacedFile& file : files) count += is_in_gallery(file.fate) ? 0 : 1;
  return count;
}

}  // namespace gallery
