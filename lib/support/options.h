#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A program's command line written once, as a table: its parsing, the
// option block of its --help, its usage line and, through --help, its bash
// completion all come from the same rows, so an option added or renamed
// cannot be missing from one of them.
namespace support {

// What a row of an option table stands for.
enum class RowKind {
  OPTION,            // an option, given anywhere before "--", once at most
  ALONE,             // an option that goes alone (--help, --version): answered before parsing
  OPERAND,           // an operand the command line needs
  OPTIONAL_OPERAND,  // an operand the command line may leave out
  HEADING,           // a line of the help above the rows after it
};

// One row of a program's option table.
struct OptionRow {
  RowKind kind = RowKind::OPTION;
  std::string_view name;   // "--records", or an operand's "FILE"; none for a heading
  std::string_view value;  // the value an option takes, as the help names it ("FIRST-LAST"); empty for none
  std::string help;        // the row's lines in the help, separated by '\n'; empty leaves it out of the help
};

// A program's command line: its name, its rows in the help's order, and
// where the text of each row's help starts.
struct OptionTable {
  std::string_view program;
  std::vector<OptionRow> rows;
  size_t help_column = 0;
  bool usage_lists_options = true;  // false: the usage says [OPTIONS], for a program with too many to list
  bool help_usage_names_alone = false;  // true: the help's usage adds a line "PROGRAM --help | --version"
};

// An option as the command line gives it: the name of its row and its value
// (empty for an option that takes none).
struct GivenOption {
  std::string_view name;
  std::string_view value;
};

// A command line as its table reads it: the options in the order given,
// each at most once, then the operands.
struct CommandLine {
  std::vector<GivenOption> options;
  std::vector<std::string_view> operands;
};

// Reads argv[1] to argv[argc - 1] the GNU way: "--name VALUE" or
// "--name=VALUE" (the value taken even when it starts with "--"), "--"
// ends the options, any other word is an operand. False, with one reason
// in *err, for an unknown option, an option without its value or with a
// value it does not take, an option given twice (a script that sets one
// twice means one of the two, and the run must not guess which), an option
// that goes alone, and too few or too many operands.
bool parse_command_line(const OptionTable& table, int argc, const char* const* argv, CommandLine& line,
                        std::string* err);

// "Usage: PROGRAM [--name VALUE] ... OPERAND [OPTIONAL_OPERAND]" and its line
// end, cut before a word that would take a line past 100 columns and
// continued under the first word.
std::string usage_line(const OptionTable& table);

// The rows' lines in the help: each row that has a help as "  NAME VALUE",
// then its help from the table's column (two spaces further when the name
// reaches it), its further lines under the first; a heading as it stands.
std::string option_block(const OptionTable& table);

// A program's --help: its usage line, then, each after a blank line, `prose`,
// the option block, `exit_status`, and where its manual is ("Manual: man
// PROGRAM", which the install test looks for). `prose` and `exit_status` are
// whole lines, each with its line end.
std::string help_text(const OptionTable& table, std::string_view prose, std::string_view exit_status);

// An option's value as a message says it: "request or response" for the
// "request|response" of the help.
std::string spoken_value(std::string_view value);

}  // namespace support
