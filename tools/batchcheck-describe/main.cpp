// batchcheck-describe: shows a subscription batch or a Response file record
// by record, each field by its name and each finding on the record it
// concerns, as text or as JSON Lines for scripts, and as a JUnit report for CI.
#include <cstdio>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "support/block_writer.h"
#include "describe.h"
#include "describe_response.h"
#include "support/help_version.h"
#include "support/options.h"
#include "platform/cleanup.h"
#include "platform/console.h"
#include "platform/files.h"
#include "batch/record_layout.h"
#include "batch/tid_file.h"
#include "batch/verify.h"

using namespace batch;
using namespace support;

namespace {

// The program's name, as its help and its messages on standard error give it.
constexpr std::string_view PROGRAM = "batchcheck-describe";

// Exit statuses: a job that checks batches gates on them.
constexpr int EXIT_NO_RULE_BROKEN = 0;
constexpr int EXIT_RULE_BROKEN = 1;  // a Request's result 1 to 4, or a Response's rule
constexpr int EXIT_FAILED = 2;       // a file cannot be read or written, or a wrong command line

// batchcheck-describe's command line: its parsing, its help and its usage.
const support::OptionTable OPTIONS{
    PROGRAM,
    {
        {support::RowKind::OPTION, "--json", "", "one JSON object per record, then one for the result"},
        {support::RowKind::OPTION, "--records", "FIRST-LAST", "show only the records FIRST to LAST (counted from 1)"},
        {support::RowKind::OPTION, "--findings", "", "show only the records that have a finding"},
        {support::RowKind::OPTION, "--as", "request|response",
         "read the file as a Request or a Response file rather\nthan by what its content looks like"},
        {support::RowKind::OPTION, "--request", "REQUEST_FILE", "check a Response against the Request it answers"},
        {support::RowKind::OPTION, "--junit", "REPORT", "also write a JUnit XML report of the findings to REPORT"},
        {support::RowKind::OPERAND, "FILE", "", "the batch or the Response file to describe"},
        {support::RowKind::OPTIONAL_OPERAND, "FILE_NUMBER", "",
         "the file number batchcheck would be given (a Request\nonly); without it the rules on the header's\n"
         "file_number are left out"},
        {support::RowKind::ALONE, "--help", "", ""},
        {support::RowKind::ALONE, "--version", "", ""},
    },
    24,
};

// What `batchcheck-describe --help` prints.
std::string help_text() {
  return support::help_text(
      OPTIONS,
      "Verifies a Request file as batchcheck does, or checks a Response file against\n"
      "its own rules, and shows it record by record: each field by its name, each\n"
      "finding on the record it concerns, then the counts, the findings on the whole\n"
      "file and the result. Writes no Response file.\n",
      "Exit status: 0 no rule broken, 1 a rule broken (a Request's result 1 to 4),\n"
      "2 a file cannot be read or written, or a wrong command line.\n");
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

// Says on standard error, as a line of the program's own, why the run does
// not describe the file.
int refused(std::string_view why) {
  tell_stderr({PROGRAM, ": ", why, "\n"});
  return EXIT_FAILED;
}

// Says what is wrong with the command line, then the usage.
int usage(const std::string& reason) {
  tell_stderr({PROGRAM, ": ", reason, "\n", support::usage_line(OPTIONS)});
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

// Takes an option the command line gives; false (why in *err) when its
// value is wrong.
bool take_option(const support::GivenOption& option, DescribeOptions& options, std::string* err) {
  std::string_view value = option.value;
  if (option.name == "--json") {
    options.json = true;
  } else if (option.name == "--findings") {
    options.only_findings = true;
  } else if (option.name == "--records") {
    if (!parse_range(value, options)) *err = "--records needs FIRST-LAST, two record numbers from 1 up";
  } else if (option.name == "--as") {
    if (value == "request")
      options.layout = DescribeOptions::Layout::REQUEST;
    else if (value == "response")
      options.layout = DescribeOptions::Layout::RESPONSE;
    else
      *err = "--as needs request or response";
  } else if (option.name == "--request") {
    if (value.empty()) *err = "--request needs REQUEST_FILE";
    options.paired_request = std::string(value);
  } else if (option.name == "--junit") {
    if (value.empty()) *err = "--junit needs REPORT";
    options.junit_file = std::string(value);
  }
  return err->empty();
}

// Fills `options` from the command line; false (why in *err) when it is
// wrong.
bool parse_arguments(int argc, char** argv, DescribeOptions& options, std::string* err) {
  support::CommandLine line;
  if (!support::parse_command_line(OPTIONS, argc, argv, line, err)) return false;
  for (const support::GivenOption& option : line.options)
    if (!take_option(option, options, err)) return false;
  options.file = line.operands[0];
  if (line.operands.size() < 2) return true;
  std::string_view file_number = line.operands[1];
  if (file_number.size() > FILE_NUMBER_ARGUMENT_WIDTH)
    *err = "the file number has more than " + std::to_string(FILE_NUMBER_ARGUMENT_WIDTH) + " characters";
  else if (file_number.empty() || !is_all_digits(file_number))
    *err = "the file number must be digits";
  options.file_number = std::string(file_number);
  return err->empty();
}

// Why the report must not go where --junit puts it, or nothing: it would
// replace the file described or the Request given with --request, or take
// the name of the TID file batchcheck keeps beside a batch, so that every
// later check of that batch would find the name taken and fail.
std::optional<std::string> report_in_the_way(const DescribeOptions& options) {
  if (!options.junit_file) return std::nullopt;
  const std::string& report = *options.junit_file;
  std::string start = "the report file " + report + " is the ";
  if (same_place(report, options.file)) return start + "file described";
  if (same_place(report, tid_file_name(options.file))) return start + "temporary file of the file described";
  if (!options.paired_request) return std::nullopt;
  if (same_place(report, *options.paired_request)) return start + "request file";
  if (same_place(report, tid_file_name(*options.paired_request))) return start + "temporary file of the request file";
  return std::nullopt;
}

// A command line that describes the file as the other layout would: why, or nothing.
std::optional<std::string> layout_mismatch(const DescribeOptions& options, bool response) {
  if (response && options.file_number) return "a file number goes with a Request file, not a Response file";
  if (!response && options.paired_request) return "--request goes with a Response file, not a Request file";
  return std::nullopt;
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
  Verdict verdict = Verdict::FILE_FAILED;
  try {
    // Refused before any file is read or written.
    if (std::optional<std::string> why = report_in_the_way(options)) return refused(*why);
    bool response = false;
    if (!describes_response(options, &response, &err)) return refused(err);
    if (std::optional<std::string> wrong = layout_mismatch(options, response)) return usage(*wrong);
    bool described = response ? describe_response_file(options, out, &verdict, &err)
                              : describe_request_file(options, out, &verdict, &err);
    if (!described) return failed(err);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    tell_stderr({PROGRAM, ": not enough memory to describe the file\n"});
    return EXIT_FAILED;
  }
  if (!flush_block_writer(out)) {
    tell_stderr({PROGRAM, ": cannot write to standard output\n"});
    return EXIT_FAILED;
  }
  if (verdict == Verdict::FILE_FAILED) return EXIT_FAILED;
  return verdict == Verdict::NO_RULE_BROKEN ? EXIT_NO_RULE_BROKEN : EXIT_RULE_BROKEN;
}
