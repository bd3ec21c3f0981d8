// batchcheck: checks a subscription batch (the Request file) the way the
// payment server will, and writes the Response file the server would return.
#include <string>
#include <vector>

#include "help_version.h"
#include "platform.h"
#include "run.h"

// What `batchcheck --help` prints.
constexpr const char* HELP =
    "Usage: batchcheck MERCHANT_ID MERCHANT_COUNTRY REQUEST_FILE RESPONSE_FILE FILE_NUMBER\n"
    "       batchcheck --help | --version\n"
    "\n"
    "Checks a subscription batch (the Request file) the way the ORBA payment server\n"
    "will, prints every finding, a summary and a verdict, and writes the Response\n"
    "file that the server would send back.\n"
    "\n"
    "  MERCHANT_ID       the merchant's identifier, at most 15 characters\n"
    "  MERCHANT_COUNTRY  the merchant's country code, at most 3 characters\n"
    "  REQUEST_FILE      the batch to check\n"
    "  RESPONSE_FILE     the Response file to write\n"
    "  FILE_NUMBER       the sequence number the server expects for this file,\n"
    "                    at most 7 characters\n"
    "  --help            print this help\n"
    "  --version         print the name and version\n"
    "\n"
    "Exit status: 0 the run completed, whatever the verdict; 1 wrong command line;\n"
    "2 a file cannot be read or written.\n"
    "\n"
    "Manual: man batchcheck\n";

int main(int argc, char** argv) {
  prepare_stdout();
  if (int status = answer_help_or_version(argc, argv, "batchcheck", HELP, 2); status >= 0) return status;
  install_interrupt_cleanup();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return run_batchcheck(argc > 0 ? argv[0] : "batchcheck", args);
}
