#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/catalogue.h"
#include "platform/lock.h"

namespace gallery {

// One language of the gallery: the language of its pages, its code in their
// file names, and its name in the progress lines.
struct GalleryLanguage {
  pages::Language language;
  std::string_view code;
  std::string_view name;
};

// The two languages of the gallery, in the order their pages are written.
inline constexpr GalleryLanguage LANGUAGES[] = {{pages::Language::ENGLISH, "en", "English"},
                                                {pages::Language::FRENCH, "fr", "French"}};

// The index of the gallery, inside its folder.
inline constexpr const char* INDEX_FILE = "index.html";

// The file beside the index that tells an index open in a browser which
// writing of the gallery is the latest; the index loads it with a <script>
// element, which works from file:// too, where a page may fetch nothing.
inline constexpr const char* RELOAD_SCRIPT = "gallery-reload.js";

// The file inside the folder that a run holds locked while it writes there:
// two galleries writing into one folder at once would mix their pages.
inline constexpr const char* LOCK_FILE = "pagesim-gallery.lock";

// `dir` and `file` joined by one "/".
std::string path_in(const std::string& dir, const std::string& file);

// The name of a page's file inside the folder: the page type in lower case
// and the language's code, as menu.en.html.
std::string page_file_name(std::string_view page_type, const GalleryLanguage& language);

// Every name the gallery writes into its folder itself: the index, the lock,
// the reload script and the pages.
std::vector<std::string> gallery_file_names();

// True when `path` is none of the merchant's inputs, the template or
// ./parameters, however it is named (through a link too); otherwise false,
// with `err` naming it.
bool is_no_input(const std::string& path, const std::string& template_name, std::string* err);

// True when no file the gallery writes into `out_dir` is the template or
// ./parameters, however it is named; otherwise false, with `err` naming it.
bool writes_no_input(const std::string& template_name, const std::string& out_dir, std::string* err);

// True when `lock` is still the lock file in `out_dir`: the folder was not
// removed, moved or replaced since it was claimed, so pages written there go
// where the lock is and mix with no other run's. Otherwise false, with `err`.
bool still_the_folder_held(const std::string& out_dir, const FolderLock& lock, std::string* err);

// Makes `out_dir` the gallery's for a run: creates it and its parents when
// missing, refuses when a file the gallery writes there is the template or
// ./parameters, and takes its lock into `lock` (unlock_folder lets it go).
// False, with `err` saying why, when another run holds it or it cannot be.
bool claim_folder(const std::string& template_name, const std::string& out_dir, FolderLock& lock, std::string* err);

// Writes `text` into `path`, whole or not at all; a link in its place is
// replaced by a regular file, never written through. False, with `err`, when
// the file cannot be written.
bool write_text_file(const std::string& path, const std::string& text, std::string* err);

}  // namespace gallery
