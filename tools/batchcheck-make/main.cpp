// batchcheck-make: writes a Request file from a table of body records (CSV)
// or from batchcheck-describe's JSON Lines, so that a merchant gets the
// batches an exporter or an importer must be tried on without counting
// columns in an editor.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "support/escaped_text.h"
#include "support/help_version.h"
#include "make_run.h"
#include "batch/request_writer.h"
#include "platform/cleanup.h"
#include "platform/console.h"

namespace {

// The program's name, as its help and its messages give it.
constexpr std::string_view PROGRAM = "batchcheck-make";

// Exit statuses of batchcheck-make.
constexpr int EXIT_WRITTEN = 0;
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_REFUSED = 2;  // bad input, or a file cannot be read or written: OUTPUT as it was

// The usage line, which both the help and a wrong command line show.
std::string usage_line() { return "Usage: " + std::string(PROGRAM) + " [OPTIONS] INPUT OUTPUT\n"; }

// What `batchcheck-make --help` prints.
std::string help_text() {
  return usage_line() + "       " + std::string(PROGRAM) + " --help | --version\n" +
         "\n"
         "Writes a Request file (OUTPUT) from a table of body records in CSV, or from\n"
         "the JSON Lines of batchcheck-describe --json (INPUT; - reads standard input).\n"
         "\n"
         "From a table, whose first line names the columns (body record fields and\n"
         "answer, the response code the simulated server is to give):\n"
         "  --merchant-id ID       the merchant's identifier, at most 15 characters\n"
         "  --country CODE         the merchant's country, at most 2 characters\n"
         "  --file-number N        the file's sequence number, at most 6 digits\n"
         "  --version V            the file version (default 03)\n"
         "  --header-zone-1 TEXT   header_zone_1, at most 8 characters\n"
         "  --header-zone-2 TEXT   header_zone_2, at most 6 characters\n"
         "  --header-rest TEXT     header_rest, at most 158 characters\n"
         "  --footer-rest TEXT     footer_rest, at most 152 characters\n"
         "From JSON Lines:\n"
         "  --json                 INPUT holds batchcheck-describe's JSON Lines\n"
         "  --renumber             compute the record numbers, the footer's nb_record\n"
         "                         and file_identity instead of keeping them\n"
         "Both:\n"
         "  --line-end crlf|lf     end each record with CR LF (default) or LF\n"
         "\n"
         "Exit status: 0 OUTPUT written; 1 wrong command line; 2 bad input, or a file\n"
         "cannot be read or written (OUTPUT is then left as it was).\n"
         "\n"
         "Manual: man " +
         std::string(PROGRAM) + "\n";
}

// Writes a line of batchcheck-make's on standard output, where the merchant
// reads them.
void say_line(std::string_view text) {
  std::string line = std::string(PROGRAM) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

// Says what is wrong with the command line, then the usage.
int usage(const std::string& reason) {
  say_line(reason);
  std::string text = usage_line();
  std::fwrite(text.data(), 1, text.size(), stdout);
  return EXIT_USAGE;
}

// Says why no Request file was written.
int refused(const std::string& reason) {
  say_line(reason);
  return EXIT_REFUSED;
}

// Takes an option's value as the header takes it: ISO-8859-1, at most
// `width` characters; false (why in *err) when it is wrong.
bool take_option(std::string_view option, std::string_view value, size_t width, std::string& into, std::string* err) {
  uint32_t code_point = 0;
  if (TextFault fault = utf8_to_latin1(value, into, &code_point); fault != TextFault::NONE)
    *err = std::string(option) + ": " + text_fault_reason(fault, code_point);
  else if (into.find_first_of("\r\n") != std::string::npos)
    *err = std::string(option) + ": a line end inside the value";
  else if (into.size() > width)
    *err = std::string(option) + " takes at most " + std::to_string(width) + " characters";
  return err->empty();
}

// The header's options: the field each fills and how wide it may be.
struct HeaderOption {
  std::string_view name;
  std::string BatchHeader::*value;
  size_t width;
};
const HeaderOption HEADER_OPTIONS[] = {
    {"--merchant-id", &BatchHeader::merchant_id, request::MERCHANT_ID.width},
    {"--country", &BatchHeader::merchant_country, request::MERCHANT_COUNTRY.width},
    {"--version", &BatchHeader::version, request::VERSION.width},
    {"--header-zone-1", &BatchHeader::header_zone_1, request::HEADER_ZONE_1.width},
    {"--header-zone-2", &BatchHeader::header_zone_2, request::HEADER_ZONE_2.width},
    // The rests leave room for the line end.
    {"--header-rest", &BatchHeader::header_rest, request::HEADER_REST.width - 1},
    {"--footer-rest", &BatchHeader::footer_rest, request::FOOTER_REST.width - 1},
};

// Takes the file number as the header's six digits; false (why in *err)
// when it is not a number of 1 to 6 digits.
bool take_file_number(std::string_view value, std::string& into, std::string* err) {
  if (value.empty() || value.size() > request::FILE_NUMBER.width || !is_all_digits(value)) {
    *err = "--file-number takes a number of 1 to 6 digits";
    return false;
  }
  into = std::string(request::FILE_NUMBER.width - value.size(), '0') + std::string(value);
  return true;
}

// Takes the option `name` and its value; false (why in *err) when it is
// unknown or its value is wrong.
bool take_value_option(std::string_view name, std::string_view value, MakeArguments& args, std::string* err) {
  if (name == "--line-end") {
    if (value == "crlf")
      args.line_end = CRLF;
    else if (value == "lf")
      args.line_end = LF;
    else
      *err = "--line-end takes crlf or lf";
    return err->empty();
  }
  if (name == "--file-number") {
    args.file_number_given = args.header_given = true;
    return take_file_number(value, args.header.file_number, err);
  }
  const HeaderOption* option = nullptr;
  for (const HeaderOption& candidate : HEADER_OPTIONS)
    if (candidate.name == name) option = &candidate;
  if (!option) {
    *err = "unknown option " + quoted_in_message(name);
    return false;
  }
  args.header_given = true;
  if (name == "--merchant-id") args.merchant_id_given = true;
  if (name == "--country") args.country_given = true;
  return take_option(name, value, option->width, args.header.*(option->value), err);
}

// Checks the operands and what the options ask of them together; false
// (why in *err) when they do not go together.
bool take_operands(const std::vector<std::string>& operands, MakeArguments& args, std::string* err) {
  if (operands.size() != 2)
    *err = operands.size() < 2 ? "INPUT and OUTPUT are both needed" : "too many arguments";
  else if (operands[1] == "-")
    *err = "OUTPUT must be a file";
  else if (args.json && args.header_given)
    *err = "the header and the footer come from the JSON Lines: their options go with a table only";
  else if (!args.json && args.renumber)
    *err = "--renumber goes with --json only";
  else if (!args.json && !(args.merchant_id_given && args.country_given && args.file_number_given))
    *err = "a table needs --merchant-id, --country and --file-number, as batchcheck will be given them";
  if (!err->empty()) return false;
  args.input = operands[0];
  args.output = operands[1];
  return true;
}

// Notes that the option `name` is given; false (why in *err) when it was
// already: a script that sets an option twice means one of the two, and
// the run must not guess which.
bool given_once(std::string_view name, std::vector<std::string_view>& given, std::string* err) {
  for (std::string_view seen : given)
    if (seen == name) {
      *err = std::string(name) + " is given twice";
      return false;
    }
  given.push_back(name);
  return true;
}

// Fills `args` from the command line; false (why in *err) when it is wrong.
bool parse_arguments(int argc, char** argv, MakeArguments& args, std::string* err) {
  std::vector<std::string> operands;
  std::vector<std::string_view> given;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (options_end || argument.size() < 2 || argument.substr(0, 2) != "--") {
      operands.emplace_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "--json" || argument == "--renumber") {
      if (!given_once(argument, given, err)) return false;
      (argument == "--json" ? args.json : args.renumber) = true;
    } else {
      // The options with a value: --name VALUE or --name=VALUE.
      std::string_view name = argument.substr(0, argument.find('='));
      std::string_view value;
      if (name.size() < argument.size()) {
        value = argument.substr(name.size() + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        *err = std::string(name) + " needs a value";
        return false;
      }
      if (!take_value_option(name, value, args, err) || !given_once(name, given, err)) return false;
    }
  }
  return take_operands(operands, args, err);
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  if (int status = answer_help_or_version(argc, argv, PROGRAM, help_text(), EXIT_REFUSED); status >= 0) return status;
  install_interrupt_cleanup();
  MakeArguments args;
  std::string err;
  if (!parse_arguments(argc, argv, args, &err)) return usage(err);
  try {
    if (!make_request_file(args, &err)) return refused(err);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fwrite(PROGRAM.data(), 1, PROGRAM.size(), stdout);
    std::fputs(": not enough memory to make the request file\n", stdout);
    return EXIT_REFUSED;
  }
  return EXIT_WRITTEN;
}
