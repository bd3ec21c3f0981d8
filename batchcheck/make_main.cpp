// batchcheck-make: writes a Request file from a table of body records (CSV)
// or from batchcheck-describe's JSON Lines, so that a merchant gets the
// batches an exporter or an importer must be tried on without counting
// columns in an editor.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "help_version.h"
#include "make_csv.h"
#include "make_json.h"
#include "make_table.h"
#include "make_writer.h"
#include "platform.h"

namespace {

// Exit statuses of batchcheck-make.
constexpr int MAKE_WRITTEN = 0;
constexpr int MAKE_USAGE = 1;
constexpr int MAKE_REFUSED = 2;  // bad input, or a file cannot be read or written: OUTPUT as it was

constexpr std::string_view USAGE = "Usage: batchcheck-make [OPTIONS] INPUT OUTPUT\n";

constexpr std::string_view HELP =
    "Usage: batchcheck-make [OPTIONS] INPUT OUTPUT\n"
    "       batchcheck-make --help | --version\n"
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
    "Manual: man batchcheck-make\n";

// Everything the command line gives.
struct Arguments {
  std::string input;
  std::string output;
  bool json = false;
  bool renumber = false;
  std::string_view line_end = CRLF;
  BatchHeader header;
  bool merchant_id_given = false;
  bool country_given = false;
  bool file_number_given = false;
  bool header_given = false;  // any option of the header or the footer
};

int usage(const std::string& reason) {
  std::string text = "batchcheck-make: " + reason + "\n" + std::string(USAGE);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return MAKE_USAGE;
}

// Says on standard error why no Request file was written.
int refused(const std::string& message) {
  std::string text = "batchcheck-make: " + message + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  return MAKE_REFUSED;
}

// An option's value as the header takes it: ISO-8859-1, at most `width`
// characters; an empty text or why it is wrong.
std::string take_option(std::string_view option, std::string_view value, size_t width, std::string& into) {
  uint32_t code_point = 0;
  if (TextFault fault = utf8_to_latin1(value, into, &code_point); fault != TextFault::NONE)
    return std::string(option) + ": " + text_fault_reason(fault, code_point);
  for (char c : into)
    if (c == '\n' || c == '\r') return std::string(option) + ": a line end inside the value";
  if (into.size() > width)
    return std::string(option) + " takes at most " + std::to_string(width) + " characters";
  return "";
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

// The file number as the header's six digits.
std::string take_file_number(std::string_view value, std::string& into) {
  if (value.empty() || value.size() > request::FILE_NUMBER.width || !is_all_digits(value))
    return "--file-number takes a number of 1 to 6 digits";
  into = std::string(request::FILE_NUMBER.width - value.size(), '0') + std::string(value);
  return "";
}

// Fills `args` from the command line; an empty text, or why it is wrong.
std::string parse_arguments(int argc, char** argv, Arguments& args) {
  std::vector<std::string> operands;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (options_end || argument.size() < 2 || argument.substr(0, 2) != "--") {
      operands.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      options_end = true;
      continue;
    }
    if (argument == "--json") {
      args.json = true;
      continue;
    }
    if (argument == "--renumber") {
      args.renumber = true;
      continue;
    }
    // The options with a value: --name VALUE or --name=VALUE.
    std::string_view name = argument.substr(0, argument.find('='));
    std::string_view value;
    if (name.size() < argument.size()) {
      value = argument.substr(name.size() + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      return std::string(name) + " needs a value";
    }
    std::string wrong;
    if (name == "--line-end") {
      if (value == "crlf")
        args.line_end = CRLF;
      else if (value == "lf")
        args.line_end = LF;
      else
        wrong = "--line-end takes crlf or lf";
    } else if (name == "--file-number") {
      wrong = take_file_number(value, args.header.file_number);
      args.file_number_given = args.header_given = true;
    } else {
      const HeaderOption* option = nullptr;
      for (const HeaderOption& candidate : HEADER_OPTIONS)
        if (candidate.name == name) option = &candidate;
      if (!option) return "unknown option " + std::string(name);
      wrong = take_option(name, value, option->width, args.header.*(option->value));
      args.header_given = true;
      if (name == "--merchant-id") args.merchant_id_given = true;
      if (name == "--country") args.country_given = true;
    }
    if (!wrong.empty()) return wrong;
  }
  if (operands.size() != 2) return operands.size() < 2 ? "INPUT and OUTPUT are both needed" : "too many arguments";
  args.input = operands[0];
  args.output = operands[1];
  if (args.output == "-") return "OUTPUT must be a file";
  if (args.json && args.header_given)
    return "the header and the footer come from the JSON Lines: their options go with a table only";
  if (!args.json && args.renumber) return "--renumber goes with --json only";
  if (!args.json && !(args.merchant_id_given && args.country_given && args.file_number_given))
    return "a table needs --merchant-id, --country and --file-number, as batchcheck will be given them";
  return "";
}

// Reads INPUT into the replacement of OUTPUT, then puts it in place.
int make(const Arguments& args) {
  bool from_stdin = args.input == "-";
  std::string input_name = from_stdin ? "standard input" : args.input;
  FILE* in = from_stdin ? binary_stdin() : open_for_reading(args.input);
  if (!in) return refused("can't read the file " + args.input);
  if (!from_stdin && same_file(args.input, args.output)) {
    std::fclose(in);
    return refused("the output file " + args.output + " is the input file");
  }
  Replacement output;
  if (!open_replacement(args.output, output)) {
    if (!from_stdin) std::fclose(in);
    return refused("can't write into the file " + args.output);
  }
  BatchOutput out;
  out.file = output.file;
  std::string err;
  bool made;
  bool read_failed;
  if (args.json) {
    made = make_from_json(in, JsonOptions{args.line_end, args.renumber}, out, &err);
    read_failed = !made && err.empty();
  } else {
    CsvReader reader = make_csv_reader(in);
    made = make_from_table(reader, args.header, args.line_end, out, &err);
    read_failed = reader.input.failed;
  }
  if (!from_stdin) std::fclose(in);
  if (!made) {
    discard_replacement(output);
    if (read_failed) return refused("can't read the file " + args.input);
    return refused(input_name + ", " + err);
  }
  // A full disk must never pass for a batch written whole.
  if (!finish_output(out) || !close_replacement(output) || !install_replacement(output)) {
    discard_replacement(output);
    return refused("can't write into the file " + args.output);
  }
  return MAKE_WRITTEN;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  if (int status = answer_help_or_version(argc, argv, "batchcheck-make", HELP, MAKE_REFUSED); status >= 0)
    return status;
  install_interrupt_cleanup();
  Arguments args;
  std::string wrong = parse_arguments(argc, argv, args);
  if (!wrong.empty()) return usage(wrong);
  try {
    return make(args);
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    std::fputs("batchcheck-make: not enough memory to make the request file\n", stdout);
  }
  return MAKE_REFUSED;
}
