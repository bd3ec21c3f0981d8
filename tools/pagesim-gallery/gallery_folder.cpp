// The gallery's folder: the names of the files it writes there, the claim of
// the folder for a run, and the writing of each file whole.
#include "gallery_folder.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "pages/page_types.h"
#include "platform/files.h"
#include "platform/replacement.h"

namespace gallery {

namespace {

// `name` with its ASCII capitals in lower case, as the page files are named.
std::string lower_case(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// The message of a file that cannot be written, into `err`; false.
bool cannot_write(const std::string& path, std::string* err) {
  *err = "cannot write the file " + path;
  return false;
}

}  // namespace

std::string path_in(const std::string& dir, const std::string& file) {
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) return dir + file;
  return dir + "/" + file;
}

std::string page_file_name(std::string_view page_type, const GalleryLanguage& language) {
  return lower_case(page_type) + "." + std::string(language.code) + ".html";
}

std::vector<std::string> gallery_file_names() {
  std::vector<std::string> names{INDEX_FILE, LOCK_FILE, RELOAD_SCRIPT};
  for (const pages::PageType& type : pages::page_types())
    for (const GalleryLanguage& language : LANGUAGES) names.push_back(page_file_name(type.name, language));
  return names;
}

bool is_no_input(const std::string& path, const std::string& template_name, std::string* err) {
  const std::pair<std::string, std::string> inputs[] = {{template_name, "the template " + template_name},
                                                        {"parameters", "the Parameters file ./parameters"}};
  for (const auto& [input, what] : inputs)
    if (same_file(path, input)) {
      *err = "refusing to write " + path + ": it is " + what;
      return false;
    }
  return true;
}

bool writes_no_input(const std::string& template_name, const std::string& out_dir, std::string* err) {
  for (const std::string& name : gallery_file_names())
    if (!is_no_input(path_in(out_dir, name), template_name, err)) return false;
  return true;
}

bool still_the_folder_held(const std::string& out_dir, const FolderLock& lock, std::string* err) {
  if (still_holds(lock)) return true;
  *err = lock.path + " is no longer this watch's lock: the folder " + out_dir +
         " was removed, moved or replaced; the watch ends";
  return false;
}

bool claim_folder(const std::string& template_name, const std::string& out_dir, FolderLock& lock, std::string* err) {
  std::error_code error;
  std::filesystem::create_directories(out_dir, error);
  if (error || !std::filesystem::is_directory(out_dir, error)) {
    *err = "cannot create the folder " + out_dir;
    return false;
  }
  if (!writes_no_input(template_name, out_dir, err)) return false;
  std::string lock_path = path_in(out_dir, LOCK_FILE);
  LockResult locked = lock_folder(lock_path, lock);
  if (locked == LockResult::HELD_ELSEWHERE) {
    *err = "another pagesim-gallery is writing into " + out_dir + " (it holds " + lock_path +
           "); run again once it has finished";
    return false;
  }
  if (locked == LockResult::FAILED) return cannot_write(lock_path, err);
  return true;
}

bool write_text_file(const std::string& path, const std::string& text, std::string* err) {
  Replacement replacement;
  if (!open_replacement(path, replacement, AtLink::REPLACE_LINK)) return cannot_write(path, err);
  bool written = std::fwrite(text.data(), 1, text.size(), replacement.file) == text.size();
  if (!written || !close_replacement(replacement) || !install_replacement(replacement)) {
    discard_replacement(replacement);
    return cannot_write(path, err);
  }
  return true;
}

}  // namespace gallery
