// batchcheck-describe: shows a subscription batch record by record, each
// field by its name and each of batchcheck's findings on the record it
// concerns, as text or as JSON Lines for scripts.
#include <cstdio>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "block_writer.h"
#include "describe.h"
#include "help_version.h"
#include "platform.h"
#include "verify.h"

namespace {

// The program's name, as its help and its messages on standard error give it.
constexpr std::string_view PROGRAM = "batchcheck-describe";

// Exit statuses: a job that checks batches gates on them.
constexpr int EXIT_VALID = 0;
constexpr int EXIT_INVALID = 1;  // the verification result is 1 to 4
constexpr int EXIT_FAILED = 2;   // a file cannot be read or written, or a wrong command line

// The usage line, which both the help and a wrong command line show.
std::string usage_line() {
  return "Usage: " + std::string(PROGRAM) +
         " [--json] [--records FIRST-LAST] [--findings] REQUEST_FILE [FILE_NUMBER]\n";
}

// What `batchcheck-describe --help` prints.
std::string help_text() {
  return usage_line() +
         "\n"
         "Verifies a Request file as batchcheck does and shows it record by record: each\n"
         "field by its name, each finding on the record it concerns, then the summary,\n"
         "the findings on the whole file and the result. Writes no Response file.\n"
         "\n"
         "  --json                one JSON object per record, then one for the result\n"
         "  --records FIRST-LAST  show only the records FIRST to LAST (counted from 1)\n"
         "  --findings            show only the records that have a finding\n"
         "  REQUEST_FILE          the batch to describe\n"
         "  FILE_NUMBER           the file number batchcheck would be given; without it\n"
         "                        the rules on the header's file_number are left out\n"
         "\n"
         "Exit status: 0 valid batch, 1 invalid batch (result 1 to 4), 2 a file cannot\n"
         "be read or written, or a wrong command line.\n"
         "\n"
         "Manual: man " +
         std::string(PROGRAM) + "\n";
}

// Writes `pieces` to standard error, allocating nothing: the last words of
// a run may be that memory ran out.
void tell_stderr(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) std::fwrite(piece.data(), 1, piece.size(), stderr);
}

// Says on standard error why the run stops as a machine, as a line.
int failed(std::string_view message) {
  tell_stderr({message, message.ends_with('\n') ? "" : "\n"});
  return EXIT_FAILED;
}

// Says what is wrong with the command line, then the usage.
int usage(const std::string& reason) {
  tell_stderr({PROGRAM, ": ", reason, "\n", usage_line()});
  return EXIT_FAILED;
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

// Takes the option `argument` (argv[i]; --records may take argv[i + 1]);
// false (why in *err) when it is unknown or its value is wrong.
bool parse_option(int argc, char** argv, int& i, DescribeOptions& options, std::string* err) {
  std::string_view argument = argv[i];
  if (argument == "--json") {
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
      *err = "--records needs FIRST-LAST";
    if (err->empty() && !parse_range(range, options)) *err = "--records needs FIRST-LAST, two record numbers from 1 up";
  } else {
    *err = "unknown option " + std::string(argument);
  }
  return err->empty();
}

// Fills `options` from the command line; false (why in *err) when it is wrong.
bool parse_arguments(int argc, char** argv, DescribeOptions& options, std::string* err) {
  std::vector<std::string> operands;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (options_end || argument.size() < 2 || argument.substr(0, 2) != "--")
      operands.emplace_back(argument);
    else if (argument == "--")
      options_end = true;
    else if (!parse_option(argc, argv, i, options, err))
      return false;
  }
  if (operands.empty()) {
    *err = "no request file given";
  } else if (operands.size() > 2) {
    *err = "too many arguments";
  } else if (operands.size() == 2 && operands[1].size() > FILE_NUMBER_ARGUMENT_WIDTH) {
    *err = "the file number has more than " + std::to_string(FILE_NUMBER_ARGUMENT_WIDTH) + " characters";
  }
  if (!err->empty()) return false;
  options.request_file = operands[0];
  if (operands.size() == 2) options.file_number = operands[1];
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout(StdoutRole::PRODUCT);
  if (int status = answer_help_or_version(argc, argv, PROGRAM, help_text(), EXIT_FAILED); status >= 0) return status;
  install_interrupt_cleanup();
  DescribeOptions options;
  std::string err;
  if (!parse_arguments(argc, argv, options, &err)) return usage(err);
  BlockWriter out = make_block_writer(stdout);
  VerificationResult result;
  try {
    if (!describe_request_file(options, out, &result, &err)) return failed(err);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    tell_stderr({PROGRAM, ": not enough memory to describe the request file\n"});
    return EXIT_FAILED;
  }
  if (!flush_block_writer(out)) {
    tell_stderr({PROGRAM, ": cannot write to standard output\n"});
    return EXIT_FAILED;
  }
  if (result == VerificationResult::FILE_ERROR) return EXIT_FAILED;
  return result == VerificationResult::VALID ? EXIT_VALID : EXIT_INVALID;
}
