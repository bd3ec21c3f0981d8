#include "pages/page_options.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "pages/output.h"
#include "platform/files.h"
#include "pages/text_file.h"

namespace pages {

namespace {

// Only "fr" switches to French; anything else keeps the current language, so
// a later "en" line cannot switch back.
void store_language(PageOptions& options, std::string_view value) {
  if (value == "fr") options.LANGUAGE = Language::FRENCH;
}

// Only "yes", exactly, offers the subscriber a password.
void store_password(PageOptions& options, std::string_view value) {
  options.PASSWORD = value == "yes" ? PasswordChoice::OFFERED : PasswordChoice::NONE;
}

// Only "1", exactly, has the pages show the subscription's amount.
void store_sub_type(PageOptions& options, std::string_view value) {
  options.SUB_TYPE = value == "1" ? SubscriptionType::WITH_AMOUNT : SubscriptionType::WITHOUT_AMOUNT;
}

// Keeps a text option as the file gives it.
template <std::string PageOptions::*text>
void store_text(PageOptions& options, std::string_view value) {
  options.*text = std::string(value);
}

// Reads a subscriber field's mode; any text other than the three modes is a
// value the merchant fixes.
template <FieldOption PageOptions::*field>
void store_field(PageOptions& options, std::string_view value) {
  FieldMode mode = FieldMode::FIXED;
  if (value.empty() || value == "#O") mode = FieldMode::OPTIONAL;
  if (value == "#M") mode = FieldMode::MANDATORY;
  if (value == "#V") mode = FieldMode::NOT_ASKED;
  options.*field = FieldOption{mode, std::string(value)};
}

// One key of the Parameters file: a flag, set by the key's mere presence, or
// a value between two "!" separators, refused beyond `capacity` characters
// and otherwise stored by `store`. The order of the table is the order in
// which every line is tested, so when one line holds two faulty keys the
// earlier one is reported.
struct ParameterKey {
  std::string_view key;
  int PageOptions::*flag;
  void (*store)(PageOptions&, std::string_view);
  std::size_t capacity;
  std::string_view too_long_lead;  // message up to the " (" before the value
};

// Every key of the Parameters file, in the order each line is tested.
constexpr ParameterKey PARAMETER_KEYS[] = {
    {"NO_COPYRIGHT", &PageOptions::NO_COPYRIGHT, nullptr, 0, ""},
    {"NO_SUB_DATA", &PageOptions::NO_SUB_DATA, nullptr, 0, ""},
    {"NO_PAY_MSG", &PageOptions::NO_PAY_MSG, nullptr, 0, ""},
    {"NO_SEC_MSG", &PageOptions::NO_SEC_MSG, nullptr, 0, ""},
    {"NO_SSL_SYMBOLS", &PageOptions::NO_SSL_SYMBOLS, nullptr, 0, ""},
    {"NO_ACCEPT_MSG", &PageOptions::NO_ACCEPT_MSG, nullptr, 0, ""},
    {"NO_VALID_MSG", &PageOptions::NO_VALID_MSG, nullptr, 0, ""},
    {"LANGUAGE", nullptr, store_language, 2, "LANGUAGE"},
    {"PASSWORD", nullptr, store_password, 3, "PASSWORD option"},
    {"SUB_CANCEL_LOGO", nullptr, store_text<&PageOptions::SUB_CANCEL_LOGO>, 50, "SUB_CANCEL_LOGO"},
    {"NORMAL_RETURN_LOGO", nullptr, store_text<&PageOptions::NORMAL_RETURN_LOGO>, 50, "NORMAL_RETURN_LOGO"},
    {"RECEIPT_COMPLEMENT", nullptr, store_text<&PageOptions::RECEIPT_COMPLEMENT>, 3072, "RECEIPT_COMPLEMENT"},
    {"SUBMIT_LOGO", nullptr, store_text<&PageOptions::SUBMIT_LOGO>, 50, "SUBMIT_LOGO"},
    {"SUB_ADDRESS1", nullptr, store_field<&PageOptions::SUB_ADDRESS1>, 30, "SUB_ADDRESS1"},
    {"SUB_ADDRESS2", nullptr, store_field<&PageOptions::SUB_ADDRESS2>, 30, "SUB_ADDRESS2"},
    {"SUB_CITY", nullptr, store_field<&PageOptions::SUB_CITY>, 30, "SUB_CITY"},
    {"SUB_CIVIL_STATUS", nullptr, store_field<&PageOptions::SUB_CIVIL_STATUS>, 6, "SUB_CIVIL_STATUS"},
    {"SUB_COUNTRY", nullptr, store_field<&PageOptions::SUB_COUNTRY>, 30, "SUB_COUNTRY"},
    {"SUB_EMAIL", nullptr, store_field<&PageOptions::SUB_EMAIL>, 30, "SUB_EMAIL"},
    {"SUB_FIRSTNAME", nullptr, store_field<&PageOptions::SUB_FIRSTNAME>, 20, "SUB_FIRSTNAME"},
    {"SUB_LASTNAME", nullptr, store_field<&PageOptions::SUB_LASTNAME>, 20, "SUB_LASTNAME"},
    {"SUB_TELEPHONE", nullptr, store_field<&PageOptions::SUB_TELEPHONE>, 16, "SUB_TELEPHONE"},
    {"SUB_ZIPCODE", nullptr, store_field<&PageOptions::SUB_ZIPCODE>, 8, "SUB_ZIPCODE"},
    {"SUB_DESCRIPTION", nullptr, store_text<&PageOptions::SUB_DESCRIPTION>, 50, "SUB_DESCRIPTION"},
    {"SUB_TYPE", nullptr, store_sub_type, 1, "SUB_TYPE"},
};

// Takes the text between the first "!" of `line` and the next one into
// `value`. The merchant sees the offending line, line end included, when a
// separator is missing.
bool get_parameter_value(std::string_view line, std::string_view& value, Diagnostics& diagnostics) {
  std::size_t first = line.find('!');
  if (first == std::string_view::npos) {
    diagnostics.write(BodyTag::ALONE, {"Error, there is no separator in parameters file line: ", line});
    return false;
  }
  std::size_t second = line.find('!', first + 1);
  if (second == std::string_view::npos) {
    diagnostics.write(BodyTag::ALONE, {"Error, there is only one separator in parameters file line: ", line});
    return false;
  }
  value = line.substr(first + 1, second - first - 1);
  return true;
}

// Applies every key that occurs in `line` to `options`, in table order.
bool apply_parameter_line(std::string_view line, PageOptions& options, Diagnostics& diagnostics) {
  for (const ParameterKey& key : PARAMETER_KEYS) {
    if (line.find(key.key) == std::string_view::npos) continue;
    if (key.flag) {
      options.*key.flag = 1;
      continue;
    }
    std::string_view value;
    if (!get_parameter_value(line, value, diagnostics)) return false;
    if (value.size() > key.capacity) {
      // Written bare, with no body tag and no line end.
      diagnostics.write(BodyTag::NONE, {key.too_long_lead, " (", value, ") too long"});
      return false;
    }
    key.store(options, value);
  }
  return true;
}

}  // namespace

bool read_parameters(PageOptions& options, Diagnostics& diagnostics) {
  std::FILE* file = open_for_reading("./parameters");
  bool read = file != nullptr;
  if (file) {
    // The merchant may have saved the file with CR LF line ends; they read as
    // plain line ends so the same file works from any workstation.
    LineReader reader(file, true);
    for (std::string_view line; reader.next(line);) {
      // Empty lines, comments (a "#" in the first column only) and lines too
      // short to hold anything are skipped.
      if (line[0] == '\n' || line[0] == '#' || line.size() <= 2) continue;
      if (!apply_parameter_line(line, options, diagnostics)) {
        std::fclose(file);
        return false;
      }
    }
    read = !reader.failed();
    std::fclose(file);
  }
  if (!read) diagnostics.write(BodyTag::WITH_LINE_END, {"Can't read the file parameters\n"});
  return read;
}

}  // namespace pages
