// batchcheck-describe: shows a subscription batch or a Response file record
// by record, each field by its name and each finding on the record it
// concerns, as text or as JSON Lines for scripts, and as a JUnit report for CI.
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "describe.h"
#include "describe_response.h"
#include "help_version.h"
#include "platform.h"
#include "verify.h"

namespace {

constexpr std::string_view USAGE =
    "usage: batchcheck-describe [--json] [--records FIRST-LAST] [--findings] [--as request|response]\n"
    "                           [--request REQUEST_FILE] [--junit FILE] <file> [<file_number>]\n";

constexpr std::string_view HELP =
    "usage: batchcheck-describe [--json] [--records FIRST-LAST] [--findings] [--as request|response]\n"
    "                           [--request REQUEST_FILE] [--junit FILE] <file> [<file_number>]\n"
    "\n"
    "Verifies a Request file as batchcheck does, or checks a Response file against\n"
    "its own rules, and shows it record by record: each field by its name, each\n"
    "finding on the record it concerns, then the counts, the findings on the whole\n"
    "file and the result. Writes no Response file.\n"
    "\n"
    "  --json                one JSON object per record, then one for the result\n"
    "  --records FIRST-LAST  show only the records FIRST to LAST (counted from 1)\n"
    "  --findings            show only the records that have a finding\n"
    "  --as request|response read the file as a Request or a Response file rather\n"
    "                        than by what its content looks like\n"
    "  --request REQUEST_FILE  check a Response against the Request it answers\n"
    "  --junit FILE          also write a JUnit XML report of the findings to FILE\n"
    "  <file>                the batch or the Response file to describe\n"
    "  <file_number>         the file number batchcheck would be given (a Request\n"
    "                        only); without it the rules on the header's\n"
    "                        file_number are left out\n"
    "\n"
    "Exit status: 0 no rule broken, 1 a rule broken (a Request's result 1 to 4),\n"
    "2 a file cannot be read or written, or a wrong command line.\n"
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

// The value of the option `name` at argv[i], given as "NAME VALUE" (which
// moves i on) or "NAME=VALUE"; nothing when argv[i] is another option. A
// missing value reads as empty.
std::optional<std::string_view> option_value(int argc, char** argv, int& i, std::string_view name) {
  std::string_view argument = argv[i];
  if (argument == name) return i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
  if (argument.size() > name.size() && argument.substr(0, name.size()) == name && argument[name.size()] == '=')
    return argument.substr(name.size() + 1);
  return std::nullopt;
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
    } else if (std::optional<std::string_view> value = option_value(argc, argv, i, "--as")) {
      if (*value == "request")
        options.layout = DescribeOptions::Layout::REQUEST;
      else if (*value == "response")
        options.layout = DescribeOptions::Layout::RESPONSE;
      else
        return "--as needs request or response";
    } else if (std::optional<std::string_view> value = option_value(argc, argv, i, "--request")) {
      if (value->empty()) return "--request needs REQUEST_FILE";
      options.paired_request = std::string(*value);
    } else if (std::optional<std::string_view> value = option_value(argc, argv, i, "--junit")) {
      if (value->empty()) return "--junit needs FILE";
      options.junit_file = std::string(*value);
    } else {
      return "unknown option " + std::string(argument);
    }
  }
  if (operands.empty()) return "no file given";
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
    bool response = describes_response(options);
    if (response && options.file_number) return usage("a file number goes with a Request file, not a Response file");
    if (!response && options.paired_request) return usage("--request goes with a Response file, not a Request file");
    if (response) return describe_response_file(options, stdout);
    return describe_request_file(options, stdout);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fputs("batchcheck-describe: not enough memory to describe the file\n", stderr);
  }
  return DESCRIBE_FAILED;
}
