// batchcheck: checks a subscription batch (the Request file) the way the
// payment server will, and writes the Response file the server would return.
#include <array>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "batch/console.h"
#include "support/help_version.h"
#include "batch/messages.h"
#include "platform/cleanup.h"
#include "platform/console.h"
#include "batch/record_layout.h"
#include "run.h"
#include "batch/verify.h"

using namespace batch;

namespace {

// The program's name, as its help gives it.
constexpr std::string_view PROGRAM = "batchcheck";

// Exit statuses: a run that reached its end exits 0 whatever the verdict;
// the report and the Response file tell the verdict.
constexpr int EXIT_COMPLETED = 0;
constexpr int EXIT_USAGE = 1;   // a wrong command line
constexpr int EXIT_FAILED = 2;  // a file cannot be read or written, or the machine failed

// One argument of the command line: its name, what the help says of it, and
// the most characters the server takes (0 for no limit).
struct Argument {
  std::string_view name;
  std::string_view help;
  size_t most;
};

// The arguments, in their order on the command line.
constexpr std::array<Argument, 5> ARGUMENTS{{
    {"merchant_id", "the merchant's identifier", 15},
    {"merchant_country", "the merchant's country code", 3},
    {"request_file", "the batch to check", 0},
    {"response_file", "the Response file to write", 0},
    {"file_number", "the sequence number the server expects for this file", FILE_NUMBER_ARGUMENT_WIDTH},
}};

// `name` in upper case, as the help names an argument.
std::string metavariable(std::string_view name) {
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// What `batchcheck --help` prints.
std::string help_text() {
  constexpr size_t HELP_COLUMN = 20;  // where the text of an argument's line starts
  constexpr size_t LINE_WIDTH = 80;
  std::string text = "Usage: " + std::string(PROGRAM);
  for (const Argument& argument : ARGUMENTS) text += " " + metavariable(argument.name);
  text += "\n       " + std::string(PROGRAM) + " --help | --version\n\n";
  text +=
      "Checks a subscription batch (the Request file) the way the ORBA payment server\n"
      "will, prints every finding, a summary and a verdict, and writes the Response\n"
      "file that the server would send back.\n\n";
  for (const Argument& argument : ARGUMENTS) {
    std::string line;
    append_padded(line, "  " + metavariable(argument.name), HELP_COLUMN);
    line += argument.help;
    if (argument.most > 0) {
      std::string limit = "at most " + std::to_string(argument.most) + " characters";
      line += line.size() + 2 + limit.size() <= LINE_WIDTH ? ", " : ",\n" + std::string(HELP_COLUMN, ' ');
      line += limit;
    }
    text += line + "\n";
  }
  text +=
      "  --help            print this help\n"
      "  --version         print the name and version\n"
      "\n"
      "Exit status: 0 the run completed, whatever the verdict; 1 wrong command line;\n"
      "2 a file cannot be read or written.\n"
      "\n"
      "Manual: man " +
      std::string(PROGRAM) + "\n";
  return text;
}

// Prints the usage line of a wrong command line, with the name the program
// was invoked by, as merchants' scripts know it; a console that refuses it
// fails the run as anywhere else.
void usage(std::string_view program) {
  std::string text = "Error  : usage is " + std::string(program);
  for (const Argument& argument : ARGUMENTS) text += " <" + std::string(argument.name) + ">";
  say(text + "\n");
}

// Fills `args` from the command line; false when it is not the five
// arguments within their lengths.
bool parse_arguments(int argc, char** argv, BatchcheckArguments& args) {
  if (argc != static_cast<int>(ARGUMENTS.size()) + 1) return false;
  for (size_t i = 0; i < ARGUMENTS.size(); ++i)
    if (ARGUMENTS[i].most > 0 && std::string_view(argv[i + 1]).size() > ARGUMENTS[i].most) return false;
  args = {argv[1], argv[2], argv[3], argv[4], argv[5]};
  return true;
}

// Writes a message that needs no memory, as the last words of a run that
// has run out of it.
void write_literal(FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
  prepare_stdout();
  if (int status = answer_help_or_version(argc, argv, PROGRAM, help_text(), EXIT_FAILED); status >= 0) return status;
  install_interrupt_cleanup();
  // A run whose report is lost, or that runs out of memory, stops wherever
  // it is: the files it created are removed, the previous Response kept.
  try {
    BatchcheckArguments args;
    if (!parse_arguments(argc, argv, args)) {
      usage(argc > 0 ? argv[0] : PROGRAM);
      return EXIT_USAGE;
    }
    return run_batchcheck(args) ? EXIT_COMPLETED : EXIT_FAILED;
  } catch (const ConsoleWriteError&) {
    remove_registered_files();
    write_literal(stderr, message_format(Message::CONSOLE_LOST));
  } catch (const std::bad_alloc&) {
    remove_registered_files();
    write_literal(stdout, message_format(Message::OUT_OF_MEMORY));
  } catch (const std::exception& error) {
    remove_registered_files();
    write_literal(stdout, message_text(Message::UNEXPECTED_ERROR, {error.what()}));
  }
  return EXIT_FAILED;
}
