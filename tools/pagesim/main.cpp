// pagesim: previews one of the payment server's subscription pages inside
// the merchant's own HTML template, as one HTML document on standard output.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>

#include "pages/output.h"
#include "pages/page.h"
#include "platform/console.h"
#include "support/block_writer.h"
#include "support/help_version.h"

using namespace support;

namespace {

// The program's name, as --version and its console message give it.
constexpr std::string_view PROGRAM = "pagesim";

// pagesim's exit statuses.
enum ExitStatus : int {
  PAGE_WRITTEN = 0,  // the whole page reached standard output
  FAILED = 1,        // the usage, a page holding a diagnostic, or a page cut short
};

// What `pagesim --help` prints.
constexpr const char* HELP =
    "Usage: pagesim TEMPLATE_NAME PAGE_TYPE > preview.html\n"
    "       pagesim --help | --version\n"
    "\n"
    "Previews one of the sixteen subscription pages of the ORBA payment server\n"
    "inside the merchant's HTML template, with the options of ./parameters, as\n"
    "one HTML document on standard output.\n"
    "\n"
    "  TEMPLATE_NAME  the merchant's HTML template, holding the [ORBA] tag\n"
    "  PAGE_TYPE      the page to show, such as RECORD_CAPTURE or MENU (the manual\n"
    "                 lists all sixteen)\n"
    "  --help         print this help\n"
    "  --version      print the name and version\n"
    "\n"
    "Exit status: 0 the whole page was written; 1 any failure (its diagnostic is\n"
    "in the page).\n"
    "\n"
    "Manual: man pagesim\n";

// Tells how to call the program; the merchant sees it on the console, so it
// is plain text, not HTML.
void print_usage(pages::Sink& out) {
  pages::emit(out, "usage is: \n");
  pages::emit(out, "pagesim \"template_name\" \"page_type\" > test.html\n");
  pages::emit(out, "Example:\n");
  pages::emit(out, "pagesim merchant_template RECORD_CAPTURE > test.html\n\n");
  pages::emit(out, "Look at the pagesim documentation for more informations.\n");
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, PROGRAM, HELP, FAILED); status >= 0) return status;
  ExitStatus status = FAILED;
  BlockWriter standard_output = make_block_writer(stdout);
  pages::Sink out{{}, &standard_output};
  try {
    // The template and the page type; any further argument is ignored.
    if (argc < 3) {
      print_usage(out);
    } else if (pages::render_page(pages::PageRequest{argv[1], argv[2]}, out).complete) {
      status = PAGE_WRITTEN;
    }
  } catch (const std::bad_alloc&) {
    // No allocation from here: the message is a literal. The page is cut
    // short, what was written of it goes out; the status says so.
    flush_block_writer(standard_output);
    std::fputs("pagesim: not enough memory to write the page\n", stderr);
    return FAILED;
  }
  // A page that did not fully reach standard output (a full disk, standard
  // output closed) fails the run: the merchant must not trust a cut preview.
  if (pages::finish_page_output(out)) return status;
  std::string message = std::string(PROGRAM) + ": cannot write the page to standard output\n";
  std::fputs(message.c_str(), stderr);
  return FAILED;
}
