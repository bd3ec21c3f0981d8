#include "support/options.h"

#include <algorithm>

#include "support/escaped_text.h"

namespace support {

namespace {

// The widest a usage line goes before it continues on the next.
constexpr size_t USAGE_WIDTH = 100;

// The row of the option `name`, or none.
const OptionRow* find_option(const OptionTable& table, std::string_view name) {
  for (const OptionRow& row : table.rows)
    if ((row.kind == RowKind::OPTION || row.kind == RowKind::ALONE) && row.name == name) return &row;
  return nullptr;
}

// Takes the option at argv[i] (and the next argument when it is its value)
// into `line`; false (why in *err) when the table refuses it.
bool take_option(const OptionTable& table, int argc, const char* const* argv, int& i, CommandLine& line,
                 std::string* err) {
  std::string_view word = argv[i];
  size_t equals = word.find('=');
  const OptionRow* row = find_option(table, word.substr(0, equals));
  if (!row) {
    *err = "unknown option " + quoted_in_message(word.substr(0, equals));
    return false;
  }
  std::string name(row->name);
  bool given = std::any_of(line.options.begin(), line.options.end(),
                           [&](const GivenOption& option) { return option.name == row->name; });
  if (row->kind == RowKind::ALONE)
    *err = name + " goes alone";
  else if (given)
    *err = name + " is given twice";
  else if (row->value.empty() && equals != std::string_view::npos)
    *err = name + " takes no value";
  else if (!row->value.empty() && equals == std::string_view::npos && i + 1 >= argc)
    *err = name + " needs " + spoken_value(row->value);
  if (!err->empty()) return false;
  std::string_view value;
  if (equals != std::string_view::npos)
    value = word.substr(equals + 1);
  else if (!row->value.empty())
    value = argv[++i];
  line.options.push_back({row->name, value});
  return true;
}

// Checks the number of operands against the table's; false (why in *err)
// when some are missing or there are too many.
bool count_operands(const OptionTable& table, const CommandLine& line, std::string* err) {
  std::vector<std::string_view> missing;
  size_t operands = 0;
  for (const OptionRow& row : table.rows) {
    if (row.kind != RowKind::OPERAND && row.kind != RowKind::OPTIONAL_OPERAND) continue;
    if (operands >= line.operands.size() && row.kind == RowKind::OPERAND) missing.push_back(row.name);
    ++operands;
  }
  if (line.operands.size() > operands) {
    *err = "too many arguments";
  } else if (!missing.empty()) {
    for (size_t n = 0; n < missing.size(); ++n)
      err->append(n == 0 ? "" : n + 1 < missing.size() ? ", " : " and ").append(missing[n]);
    err->append(missing.size() == 1 ? " is missing" : " are missing");
  }
  return err->empty();
}

// An option's word in the usage: "[--name VALUE]".
std::string usage_word(const OptionRow& row) {
  std::string word = "[" + std::string(row.name);
  if (!row.value.empty()) word += " " + std::string(row.value);
  return word + "]";
}

}  // namespace

bool parse_command_line(const OptionTable& table, int argc, const char* const* argv, CommandLine& line,
                        std::string* err) {
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    if (options_ended || !word.starts_with("--")) {
      line.operands.push_back(word);
    } else if (word == "--") {
      options_ended = true;
    } else if (!take_option(table, argc, argv, i, line, err)) {
      return false;
    }
  }
  return count_operands(table, line, err);
}

std::string usage_line(const OptionTable& table) {
  std::vector<std::string> words;
  bool options_said = false;
  for (const OptionRow& row : table.rows) {
    if (row.kind != RowKind::OPTION) continue;
    if (table.usage_lists_options)
      words.push_back(usage_word(row));
    else if (!options_said)
      words.emplace_back("[OPTIONS]");
    options_said = true;
  }
  for (const OptionRow& row : table.rows) {
    if (row.kind == RowKind::OPERAND) words.emplace_back(row.name);
    if (row.kind == RowKind::OPTIONAL_OPERAND) words.push_back("[" + std::string(row.name) + "]");
  }
  std::string text = "Usage: " + std::string(table.program);
  size_t indent = text.size() + 1;
  size_t line_start = 0;
  for (const std::string& word : words) {
    if (text.size() - line_start + 1 + word.size() > USAGE_WIDTH) {
      text += "\n";
      line_start = text.size();
      text += std::string(indent - 1, ' ');
    }
    text += " " + word;
  }
  return text + "\n";
}

std::string option_block(const OptionTable& table) {
  std::string block;
  for (const OptionRow& row : table.rows) {
    if (row.help.empty()) continue;
    if (row.kind == RowKind::HEADING) {
      block += row.help + "\n";
      continue;
    }
    std::string head = "  " + std::string(row.name);
    if (!row.value.empty()) head += " " + std::string(row.value);
    head += head.size() < table.help_column ? std::string(table.help_column - head.size(), ' ') : "  ";
    block += head;
    size_t start = 0;
    for (size_t end = row.help.find('\n'); end != std::string::npos; end = row.help.find('\n', start)) {
      block += row.help.substr(start, end - start) + "\n" + std::string(table.help_column, ' ');
      start = end + 1;
    }
    block += row.help.substr(start) + "\n";
  }
  return block;
}

std::string help_text(const OptionTable& table, std::string_view prose, std::string_view exit_status) {
  std::string program(table.program);
  std::string text = usage_line(table);
  // The second usage line starts under the first one's program name.
  if (table.help_usage_names_alone) text += "       " + program + " --help | --version\n";
  text += "\n" + std::string(prose) + "\n" + option_block(table) + "\n" + std::string(exit_status);
  return text + "\nManual: man " + program + "\n";
}

std::string spoken_value(std::string_view value) {
  std::string spoken;
  for (char c : value) spoken += c == '|' ? std::string(" or ") : std::string(1, c);
  return spoken;
}

}  // namespace support
