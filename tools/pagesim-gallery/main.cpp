// pagesim-gallery: previews every subscription page, in English and in
// French, inside the merchant's own template, into one folder with an index.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>

#include "gallery.h"
#include "gallery_watch.h"
#include "support/help_version.h"
#include "platform/cleanup.h"
#include "platform/console.h"

namespace {

// pagesim-gallery's exit statuses.
enum ExitStatus : int {
  EVERY_PAGE_COMPLETE = 0,
  SOME_PAGE_HOLDS_A_DIAGNOSTIC = 1,  // all pages are written all the same
  NOT_WRITTEN = 2,                   // a wrong command line, a refusal, or OUT_DIR, a file in it or the
                                     // closing line cannot be written
};

// What `pagesim-gallery --help` prints; its first line is the usage.
constexpr const char* HELP =
    "Usage: pagesim-gallery [--watch] TEMPLATE_NAME OUT_DIR\n"
    "       pagesim-gallery --help | --version\n"
    "\n"
    "Previews every subscription page of the ORBA payment server, in English and\n"
    "in French, inside the merchant's HTML template, with the options of\n"
    "./parameters: the 32 pages that pagesim writes, and OUT_DIR/index.html that\n"
    "links them and shows the diagnostic of each page that holds one. Beside the\n"
    "pages go the files they load from the template's folder and stand-ins for\n"
    "the server's images; the index lists any file that could not be copied.\n"
    "\n"
    "  TEMPLATE_NAME  the merchant's HTML template, holding the [ORBA] tag\n"
    "  OUT_DIR        the folder of the pages, created when missing\n"
    "  --watch        write the gallery anew after every change of the template,\n"
    "                 ./parameters or a file the pages load, one line each, until\n"
    "                 Ctrl-C; an open index.html reloads by itself\n"
    "  --help         print this help\n"
    "  --version      print the name and version\n"
    "\n"
    "Exit status: 0 every page is complete; 1 some page holds a diagnostic (all\n"
    "are written); 2 a wrong command line, or OUT_DIR or a file in it cannot be\n"
    "written.\n"
    "\n"
    "Manual: man pagesim-gallery\n";

// Tells how to call the program, on standard error.
void print_usage() {
  std::string_view help = HELP;
  std::string usage(help.substr(0, help.find('\n') + 1));
  usage += "Run it in the folder that holds ./parameters; pagesim-gallery --help tells more.\n";
  std::fputs(usage.c_str(), stderr);
}

// The closing line: how many pages, where the index is, and how many pages
// hold a diagnostic.
std::string closing_line(const GalleryOutcome& outcome) {
  std::string line = std::to_string(outcome.pages) + " pages written to " + outcome.index_path;
  if (outcome.diagnostics == 1) line += ", 1 holds a diagnostic";
  if (outcome.diagnostics > 1) line += ", " + std::to_string(outcome.diagnostics) + " hold a diagnostic";
  if (outcome.not_copied == 1) line += ", 1 file the pages load is not copied (see the index)";
  if (outcome.not_copied > 1)
    line += ", " + std::to_string(outcome.not_copied) + " files the pages load are not copied (see the index)";
  return line + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, GALLERY_PROGRAM, HELP, NOT_WRITTEN); status >= 0)
    return status;
  install_interrupt_cleanup();
  bool watch = argc == 4 && std::string_view(argv[1]) == "--watch";
  if (argc != 3 && !watch) {
    print_usage();
    return NOT_WRITTEN;
  }
  try {
    if (watch) {
      watch_gallery(argv[2], argv[3], closing_line);
      return NOT_WRITTEN;
    }
    GalleryOutcome outcome = write_gallery(argv[1], argv[2], is_terminal(stderr));
    if (!outcome.written) return NOT_WRITTEN;
    // A job that runs the gallery reads this line: lost, it fails the run.
    if (!print_gallery_line(closing_line(outcome))) return NOT_WRITTEN;
    return outcome.diagnostics > 0 ? SOME_PAGE_HOLDS_A_DIAGNOSTIC : EVERY_PAGE_COMPLETE;
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    tell_gallery_failure("out of memory");
    return NOT_WRITTEN;
  }
}
