// batchcheck-describe: shows a subscription batch record by record, each
// field by its name and each of batchcheck's findings on the record it
// concerns, as text or as JSON Lines for scripts.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "describe.h"
#include "help_version.h"
#include "platform.h"
#include "verify.h"

namespace {

constexpr std::string_view USAGE =
    "usage: batchcheck-describe [--json] [--records FIRST-LAST] [--findings] <request_file> [<file_number>]\n";

constexpr std::string_view HELP =
    "usage: batchcheck-describe [--json] [--records FIRST-LAST] [--findings] <request_file> [<file_number>]\n"
    "\n"
    "Verifies a Request file as batchcheck does and shows it record by record: each\n"
    "field by its name, each finding on the record it concerns, then the summary,\n"
    "the findings on the whole file and the result. Writes no Response file.\n"
    "\n"
    "  --json                one JSON object per record, then one for the result\n"
    "  --records FIRST-LAST  show only the records FIRST to LAST (counted from 1)\n"
    "  --findings            show only the records that have a finding\n"
    "  <request_file>        the batch to describe\n"
    "  <file_number>         the file number batchcheck would be given; without it\n"
    "                        the rules on the header's file_number are left out\n"
    "\n"
    "Exit status: 0 valid batch, 1 invalid batch (result 1 to 4), 2 a file cannot\n"
    "be read or written, or a wrong command line.\n"
    "\n"
    "Manual: man batchcheck-describe\n";

int usage(const std::string& reason) {
  std::string text = "batchcheck-describe: " + reason + "\n" + std::string(USAGE);
  std::fwrite(text.data(), 1, text.size(), stderr);
  return DESCRIBE_FAILED;
}

// A whole positive decimal number; false for anything else.
bool parse_position(std::string_view text, int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value > 0;
}

// FIRST-LAST, with 1 <= FIRST <= LAST.
bool parse_range(std::string_view text, DescribeOptions& options) {
  size_t dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  return parse_position(text.substr(0, dash), options.first_record) &&
         parse_position(text.substr(dash + 1), options.last_record) && options.first_record <= options.last_record;
}

// Fills `options` from the command line; an empty text, or why it is wrong.
std::string parse_arguments(int argc, char** argv, DescribeOptions& options) {
  std::vector<std::string> operands;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (options_end || argument.size() < 2 || argument.substr(0, 2) != "--") {
      operands.emplace_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--findings") {
      options.only_findings = true;
    } else if (argument == "--records" || argument.substr(0, 10) == "--records=") {
      std::string_view range;
      if (argument != "--records")
        range = argument.substr(10);
      else if (i + 1 < argc)
        range = argv[++i];
      else
        return "--records needs FIRST-LAST";
      if (!parse_range(range, options)) return "--records needs FIRST-LAST, two record numbers from 1 up";
    } else {
      return "unknown option " + std::string(argument);
    }
  }
  if (operands.empty()) return "no request file given";
  if (operands.size() > 2) return "too many arguments";
  options.request_file = operands[0];
  if (operands.size() == 2) {
    if (operands[1].size() > FILE_NUMBER_ARGUMENT_WIDTH) return "the file number has more than 7 characters";
    options.file_number = operands[1];
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, "batchcheck-describe", HELP, DESCRIBE_FAILED); status >= 0)
    return status;
  install_interrupt_cleanup();
  DescribeOptions options;
  std::string wrong = parse_arguments(argc, argv, options);
  if (!wrong.empty()) return usage(wrong);
  try {
    return describe_request_file(options, stdout);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fputs("batchcheck-describe: not enough memory to describe the request file\n", stderr);
  }
  return DESCRIBE_FAILED;
}
