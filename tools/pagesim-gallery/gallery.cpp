// pagesim-gallery's writing: every page of the merchant's template, in both
// languages, rendered in this process by the renderers pagesim uses from
// ./parameters and the template read once, the files the pages load, and
// the index.
#include "gallery.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "gallery_files.h"
#include "gallery_folder.h"
#include "index_page.h"
#include "loaded_names.h"
#include "pages/output.h"
#include "pages/page.h"
#include "pages/page_types.h"

namespace gallery {

namespace {

// The progress line of the page type numbered `number` of `count`: "ok", or
// the languages whose page holds a diagnostic.
std::string progress_line(std::size_t number, std::size_t count, std::string_view page_type, const std::string& held) {
  return std::to_string(number) + "/" + std::to_string(count) + " " + std::string(page_type) + ": " +
         (held.empty() ? "ok" : held) + "\n";
}

// Writes the pages of `page_type` from `inputs` into `out_dir`, one per
// language, adding each to `entries` and the names it loads to `loaded`;
// `held` names the languages whose page holds a diagnostic.
bool write_page_type(const pages::PageInputs& inputs, std::string_view page_type, const std::string& out_dir,
                     std::vector<PageEntry>& entries, LoadedNames& loaded, std::string& held, std::string* err) {
  for (const GalleryLanguage& language : LANGUAGES) {
    PageEntry entry;
    entry.file = page_file_name(page_type, language);
    pages::Sink page;
    pages::PageOutcome rendered = pages::render_page_from(inputs, page_type, language.language, page);
    if (!write_text_file(path_in(out_dir, entry.file), page.bytes, err)) return false;
    // The names the page loads are read from the very bytes of its file.
    add_loaded_names(page.bytes, entries.size(), loaded);
    entry.complete = rendered.complete;
    entry.diagnostic = std::move(rendered.diagnostic);
    if (!entry.complete) {
      held += held.empty() ? "diagnostic in " : " and ";
      held += language.name;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

// Writes every page into `out_dir`, each with its entry in `entries` and the
// names it loads in `loaded`.
bool write_pages(const std::string& template_name, const std::string& out_dir, const Progress& progress,
                 std::vector<PageEntry>& entries, LoadedNames& loaded, std::string* err) {
  pages::PageInputs inputs = pages::read_page_inputs(template_name);
  std::size_t number = 0;
  std::size_t count = pages::page_types().size();
  for (const pages::PageType& type : pages::page_types()) {
    std::string held;
    if (!write_page_type(inputs, type.name, out_dir, entries, loaded, held, err)) return false;
    if (progress) progress(progress_line(++number, count, type.name, held));
  }
  return true;
}

}  // namespace

bool write_gallery(const std::string& template_name, const std::string& out_dir, const Progress& progress,
                   GalleryOutcome& outcome, std::string* err) {
  outcome = GalleryOutcome{};
  outcome.index_path = path_in(out_dir, INDEX_FILE);
  std::vector<PageEntry> entries;
  LoadedNames loaded;
  if (!write_pages(template_name, out_dir, progress, entries, loaded, err)) return false;
  for (const PageEntry& entry : entries) {
    ++outcome.pages;
    if (!entry.complete) ++outcome.diagnostics;
  }
  std::vector<PlacedFile> files;
  auto write = [&](const std::string& name, const std::string& bytes, std::string* write_err) {
    // A copy never takes the place of the merchant's inputs either.
    std::string path = path_in(out_dir, name);
    return is_no_input(path, template_name, write_err) && write_text_file(path, bytes, write_err);
  };
  if (!place_loaded_files(loaded, template_name, out_dir, gallery_file_names(), write, files, err)) return false;
  outcome.not_copied = count_not_copied(files);
  for (const PlacedFile& file : files)
    if (!file.source.empty()) outcome.watched.push_back(file.source);
  // The reload script goes last: an open index reloads once everything is in place.
  std::string mark = writing_mark();
  return write_text_file(outcome.index_path, index_page(template_name, entries, files, mark), err) &&
         write_text_file(path_in(out_dir, RELOAD_SCRIPT), reload_script(mark), err);
}

}  // namespace gallery
