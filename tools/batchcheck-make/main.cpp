// batchcheck-make: writes a Request file from a table of body records (CSV)
// or from batchcheck-describe's JSON Lines, so that a merchant gets the
// batches an exporter or an importer must be tried on without counting
// columns in an editor.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "support/help_version.h"
#include "support/options.h"
#include "support/text.h"
#include "make_run.h"
#include "batch/request_writer.h"
#include "platform/cleanup.h"
#include "platform/console.h"

using namespace batch;

namespace {

// The program's name, as its help and its messages give it.
constexpr std::string_view PROGRAM = "batchcheck-make";

// Exit statuses of batchcheck-make.
constexpr int EXIT_WRITTEN = 0;
constexpr int EXIT_FAILED = 2;  // a wrong command line, bad input, or a file cannot be read or written:
                                // OUTPUT as it was

// The header's options: the field each fills, how wide it may be, and its
// help, where # stands for that width.
struct HeaderOption {
  std::string_view name;
  std::string_view value;
  std::string BatchHeader::*field;
  size_t width;
  std::string_view help;
};

// The options that fill the header, in the order the help lists them.
const HeaderOption HEADER_OPTIONS[] = {
    {"--merchant-id", "ID", &BatchHeader::merchant_id, request::MERCHANT_ID.width,
     "the merchant's identifier, at most # characters"},
    {"--country", "CODE", &BatchHeader::merchant_country, request::MERCHANT_COUNTRY.width,
     "the merchant's country, at most # characters"},
    {"--file-number", "N", &BatchHeader::file_number, request::FILE_NUMBER.width,
     "the file's sequence number, at most # digits"},
    {"--version", "V", &BatchHeader::version, request::VERSION.width, "the file version (default 03)"},
    {"--header-zone-1", "TEXT", &BatchHeader::header_zone_1, request::HEADER_ZONE_1.width,
     "header_zone_1, at most # characters"},
    {"--header-zone-2", "TEXT", &BatchHeader::header_zone_2, request::HEADER_ZONE_2.width,
     "header_zone_2, at most # characters"},
    // The rests leave room for the line end.
    {"--header-rest", "TEXT", &BatchHeader::header_rest, request::HEADER_REST.width - 1,
     "header_rest, at most # characters"},
    {"--footer-rest", "TEXT", &BatchHeader::footer_rest, request::FOOTER_REST.width - 1,
     "footer_rest, at most # characters"},
};

// batchcheck-make's command line: the header's options, then those of the
// JSON Lines and of both.
support::OptionTable make_options() {
  using support::RowKind;
  support::OptionTable table{.program = PROGRAM,
                             .rows = {},
                             .help_column = 25,
                             .usage_lists_options = false,
                             .help_usage_names_alone = true};
  table.rows.push_back({RowKind::HEADING, "", "",
                        "From a table, whose first line names the columns (body record fields and\n"
                        "answer, the response code the simulated server is to give):"});
  for (const HeaderOption& option : HEADER_OPTIONS) {
    std::string help(option.help);
    if (size_t mark = help.find('#'); mark != std::string::npos) help.replace(mark, 1, std::to_string(option.width));
    table.rows.push_back({RowKind::OPTION, option.name, option.value, help});
  }
  table.rows.insert(table.rows.end(),
                    {
                        {RowKind::HEADING, "", "", "From JSON Lines:"},
                        {RowKind::OPTION, "--json", "", "INPUT holds batchcheck-describe's JSON Lines"},
                        {RowKind::OPTION, "--renumber", "",
                         "compute the record numbers, the footer's nb_record\n"
                         "and file_identity instead of keeping them"},
                        {RowKind::HEADING, "", "", "Both:"},
                        {RowKind::OPTION, "--line-end", "crlf|lf", "end each record with CR LF (default) or LF"},
                        {RowKind::OPERAND, "INPUT", "", ""},
                        {RowKind::OPERAND, "OUTPUT", "", ""},
                        {RowKind::ALONE, "--help", "", ""},
                    });
  return table;
}

// batchcheck-make's command line, made once.
const support::OptionTable OPTIONS = make_options();

// What `batchcheck-make --help` prints.
std::string help_text() {
  return support::help_text(
      OPTIONS,
      "Writes a Request file (OUTPUT) from a table of body records in CSV, or from\n"
      "the JSON Lines of batchcheck-describe --json (INPUT; - reads standard input).\n",
      "Exit status: 0 OUTPUT written; 2 a wrong command line, bad input, or a file\n"
      "cannot be read or written (OUTPUT is then left as it was).\n");
}

// Writes a line of batchcheck-make's on standard error, where every
// program around the two tools says why it failed.
void say_line(std::string_view text) {
  std::string line = std::string(PROGRAM) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// Says what is wrong with the command line, then the usage.
int usage(const std::string& reason) {
  say_line(reason);
  std::string text = support::usage_line(OPTIONS);
  std::fwrite(text.data(), 1, text.size(), stderr);
  return EXIT_FAILED;
}

// Says why no Request file was written.
int refused(const std::string& reason) {
  say_line(reason);
  return EXIT_FAILED;
}

// Takes an option's value as the header takes it: ISO-8859-1, at most
// `width` characters; false (why in *err) when it is wrong.
bool take_option(std::string_view option, std::string_view value, size_t width, std::string& into, std::string* err) {
  std::string why;
  if (!support::utf8_to_latin1(value, into, &why))
    *err = std::string(option) + ": " + why;
  else if (into.find_first_of("\r\n") != std::string::npos)
    *err = std::string(option) + ": a line end inside the value";
  else if (into.size() > width)
    *err = std::string(option) + " takes at most " + std::to_string(width) + " characters";
  return err->empty();
}

// Takes the file number as the header's `width` digits; false (why in
// *err) when it is not a number of 1 to `width` digits.
bool take_file_number(std::string_view value, size_t width, std::string& into, std::string* err) {
  if (value.empty() || value.size() > width || !is_all_digits(value)) {
    *err = "--file-number takes a number of 1 to " + std::to_string(width) + " digits";
    return false;
  }
  into = std::string(width - value.size(), '0') + std::string(value);
  return true;
}

// Takes an option the command line gives; false (why in *err) when its
// value is wrong.
bool take_given(const support::GivenOption& given, MakeArguments& args, std::string* err) {
  if (given.name == "--json" || given.name == "--renumber") {
    (given.name == "--json" ? args.json : args.renumber) = true;
  } else if (given.name == "--line-end") {
    if (given.value == "crlf")
      args.line_end = CRLF;
    else if (given.value == "lf")
      args.line_end = LF;
    else
      *err = "--line-end takes crlf or lf";
  } else {
    // Every other option is the header's.
    const HeaderOption* option = HEADER_OPTIONS;
    while (option->name != given.name) ++option;
    args.header_given = true;
    args.merchant_id_given = args.merchant_id_given || given.name == "--merchant-id";
    args.country_given = args.country_given || given.name == "--country";
    args.file_number_given = args.file_number_given || given.name == "--file-number";
    if (given.name == "--file-number")
      return take_file_number(given.value, option->width, args.header.file_number, err);
    return take_option(given.name, given.value, option->width, args.header.*(option->field), err);
  }
  return err->empty();
}

// Checks the operands and what the options ask of them together; false
// (why in *err) when they do not go together.
bool take_operands(const std::vector<std::string_view>& operands, MakeArguments& args, std::string* err) {
  if (operands[1] == "-")
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

// Fills `args` from the command line; false (why in *err) when it is wrong.
bool parse_arguments(int argc, char** argv, MakeArguments& args, std::string* err) {
  support::CommandLine line;
  if (!support::parse_command_line(OPTIONS, argc, argv, line, err)) return false;
  for (const support::GivenOption& given : line.options)
    if (!take_given(given, args, err)) return false;
  return take_operands(line.operands, args, err);
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  if (int status = answer_help_or_version(argc, argv, PROGRAM, help_text(), EXIT_FAILED); status >= 0) return status;
  install_interrupt_cleanup();
  MakeArguments args;
  std::string err;
  if (!parse_arguments(argc, argv, args, &err)) return usage(err);
  try {
    if (!make_request_file(args, &err)) return refused(err);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fwrite(PROGRAM.data(), 1, PROGRAM.size(), stderr);
    std::fputs(": not enough memory to make the request file\n", stderr);
    return EXIT_FAILED;
  }
  return EXIT_WRITTEN;
}
