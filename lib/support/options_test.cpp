#include "support/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using support::RowKind;

// A command line of each kind of row.
const support::OptionTable TABLE{
    "prog",
    {
        {RowKind::HEADING, "", "", "Options:"},
        {RowKind::OPTION, "--json", "", "one object a record"},
        {RowKind::OPTION, "--report", "REPORT_FILE", "write the report\nto REPORT_FILE"},
        {RowKind::OPTION, "--as", "a|b", "read as a or b"},
        {RowKind::OPERAND, "FILE", "", "the file"},
        {RowKind::OPTIONAL_OPERAND, "NUMBER", "", ""},
        {RowKind::ALONE, "--help", "", ""},
    },
    20,
};

// The command line of the words `words`, or its refusal.
std::string parsed(std::vector<const char*> words) {
  words.insert(words.begin(), "prog");
  support::CommandLine line;
  std::string err;
  if (!support::parse_command_line(TABLE, static_cast<int>(words.size()), words.data(), line, &err)) return err;
  std::string text;
  for (const support::GivenOption& option : line.options)
    text += "[" + std::string(option.name) + "=" + std::string(option.value) + "]";
  for (std::string_view operand : line.operands) text += " " + std::string(operand);
  return text;
}

// A value after "=" keeps its own "=", a value may look like an option, and
// after "--" every word is an operand, one that looks like an option too.
TEST(Options, ReadsTheGnuForms) {
  EXPECT_EQ(parsed({"--report=a=b", "-", "--as", "--json"}), "[--report=a=b][--as=--json] -");
  EXPECT_EQ(parsed({"f", "--json", "--", "--report"}), "[--json=] f --report");
  EXPECT_EQ(parsed({"--report=", "-x"}), "[--report=] -x");
}

TEST(Options, RefusesAWrongCommandLineWithOneReason) {
  EXPECT_EQ(parsed({"--jsn", "f"}), "unknown option \"--jsn\"");
  EXPECT_EQ(parsed({"--json=\x1b[2J", "f"}), "--json takes no value");
  EXPECT_EQ(parsed({"f", "--report"}), "--report needs REPORT_FILE");
  EXPECT_EQ(parsed({"f", "--as"}), "--as needs a or b");
  EXPECT_EQ(parsed({"--report=x", "f", "--report", "y"}), "--report is given twice");
  EXPECT_EQ(parsed({"--help", "f"}), "--help goes alone");
  EXPECT_EQ(parsed({"--json"}), "FILE is missing");
  EXPECT_EQ(parsed({"f", "1", "2"}), "too many arguments");
}

// A name that reaches the column keeps two spaces before its help; further
// lines start at the column; a usage goes up to 100 columns, then on under
// its first word.
TEST(Options, LaysOutTheHelpAndTheUsage) {
  EXPECT_EQ(support::option_block(TABLE),
            "Options:\n"
            "  --json            one object a record\n"
            "  --report REPORT_FILE  write the report\n"
            "                    to REPORT_FILE\n"
            "  --as a|b          read as a or b\n"
            "  FILE              the file\n");
  EXPECT_EQ(support::usage_line(TABLE), "Usage: prog [--json] [--report REPORT_FILE] [--as a|b] FILE [NUMBER]\n");
  support::OptionTable wide = TABLE;
  wide.rows[2].value = "THE_LONG_NAME_OF_THE_FILE_WHERE_THE_REPORT_IS_WRITTEN_NOW";
  EXPECT_EQ(support::usage_line(wide),
            "Usage: prog [--json] [--report THE_LONG_NAME_OF_THE_FILE_WHERE_THE_REPORT_IS_WRITTEN_NOW] [--as a|b]\n"
            "            FILE [NUMBER]\n");
  wide.usage_lists_options = false;
  EXPECT_EQ(support::usage_line(wide), "Usage: prog [OPTIONS] FILE [NUMBER]\n");
}

}  // namespace
