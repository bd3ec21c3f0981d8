// pagesim-gallery: previews every subscription page, in English and in
// French, inside the merchant's own template, into one folder with an index.
#include <cstdio>
#include <new>
#include <string>

#include "gallery.h"
#include "platform.h"

namespace {

// Tells how to call the program, on standard error.
void print_usage() {
  std::fputs("usage: pagesim-gallery template_name out_dir\n"
             "Writes every pagesim page type, in English and in French, inside the template\n"
             "into out_dir, with out_dir/index.html linking them all. Run it in the folder\n"
             "that holds ./parameters, as pagesim.\n",
             stderr);
}

// The closing line: how many pages, where the index is, and how many pages
// hold a diagnostic.
std::string closing_line(const GalleryOutcome& outcome) {
  std::string line = std::to_string(outcome.pages) + " pages written to " + outcome.index_path;
  if (outcome.diagnostics == 1) line += ", 1 holds a diagnostic";
  if (outcome.diagnostics > 1) line += ", " + std::to_string(outcome.diagnostics) + " hold a diagnostic";
  return line + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  install_interrupt_cleanup();
  if (argc != 3) {
    print_usage();
    return 2;
  }
  try {
    GalleryOutcome outcome = write_gallery(argv[1], argv[2], is_terminal(stderr));
    if (outcome.status == 2) return 2;
    std::fputs(closing_line(outcome).c_str(), stdout);
    return outcome.status;
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fputs("pagesim-gallery: out of memory\n", stderr);
    return 2;
  }
}
