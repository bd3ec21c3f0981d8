// pagesim-gallery: previews every subscription page, in English and in
// French, inside the merchant's own template, into one folder with an index.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>

#include "gallery.h"
#include "gallery_watch.h"
#include "support/help_version.h"
#include "support/options.h"
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

// pagesim-gallery's command line: its parsing, its help and its usage.
const support::OptionTable OPTIONS{
    GALLERY_PROGRAM,
    {
        {support::RowKind::OPERAND, "TEMPLATE_NAME", "", "the merchant's HTML template, holding the [ORBA] tag"},
        {support::RowKind::OPERAND, "OUT_DIR", "", "the folder of the pages, created when missing"},
        {support::RowKind::OPTION, "--watch", "",
         "write the gallery anew after every change of the template,\n"
         "./parameters or a file the pages load, one line each, until\n"
         "Ctrl-C; an open index.html reloads by itself"},
        {support::RowKind::ALONE, "--help", "", "print this help"},
        {support::RowKind::ALONE, "--version", "", "print the name and version"},
    },
    17,
};

// What `pagesim-gallery --help` prints.
std::string help_text() {
  return support::usage_line(OPTIONS) + "       " + std::string(GALLERY_PROGRAM) + " --help | --version\n" +
         "\n"
         "Previews every subscription page of the ORBA payment server, in English and\n"
         "in French, inside the merchant's HTML template, with the options of\n"
         "./parameters: the 32 pages that pagesim writes, and OUT_DIR/index.html that\n"
         "links them and shows the diagnostic of each page that holds one. Beside the\n"
         "pages go the files they load from the template's folder and stand-ins for\n"
         "the server's images; the index lists any file that could not be copied.\n"
         "\n" +
         support::option_block(OPTIONS) +
         "\n"
         "Exit status: 0 every page is complete; 1 some page holds a diagnostic (all\n"
         "are written); 2 a wrong command line, or OUT_DIR or a file in it cannot be\n"
         "written.\n"
         "\n"
         "Manual: man " +
         std::string(GALLERY_PROGRAM) + "\n";
}

// Says what is wrong with the command line, then how to call the program,
// on standard error.
void print_usage(const std::string& reason) {
  tell_gallery_failure(reason);
  std::string usage = support::usage_line(OPTIONS);
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
  if (int status = answer_help_or_version(argc, argv, GALLERY_PROGRAM, help_text(), NOT_WRITTEN); status >= 0)
    return status;
  install_interrupt_cleanup();
  support::CommandLine line;
  std::string err;
  if (!support::parse_command_line(OPTIONS, argc, argv, line, &err)) {
    print_usage(err);
    return NOT_WRITTEN;
  }
  try {
    std::string template_name(line.operands[0]);
    std::string out_dir(line.operands[1]);
    if (!line.options.empty()) {  // --watch, the one option
      watch_gallery(template_name, out_dir, closing_line);
      return NOT_WRITTEN;
    }
    GalleryOutcome outcome = write_gallery(template_name, out_dir, is_terminal(stderr));
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
