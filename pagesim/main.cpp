// pagesim: previews one of the payment server's subscription pages inside
// the merchant's own HTML template, as one HTML document on standard output.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "help_version.h"
#include "platform.h"
#include "run.h"

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

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, "pagesim", HELP, 1); status >= 0) return status;
  try {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return run_pagesim(args);
  } catch (const std::bad_alloc&) {
    // No allocation from here: the message is a literal. The page is cut
    // short; the status says so.
    std::fputs("pagesim: not enough memory to write the page\n", stderr);
    return 1;
  }
}
