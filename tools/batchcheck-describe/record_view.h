#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/escaped_text.h"
#include "batch/request_layout.h"
#include "batch/rules.h"

// How batchcheck-describe shows records, Request and Response alike: the
// text view and the JSON Lines, and the small writers under them.

using Json = nlohmann::ordered_json;

// Appends a finding's text as marked lines of the text view: one per line
// of the message, its bytes escaped but for the quote and the backslash,
// which are the message's own.
void append_marked(std::string& out, std::string_view text, std::string_view indent);

// One record as the views show it.
struct ShownRecord {
  int64_t position = 0;  // counted from 1
  std::string_view kind;
  std::string_view record;
  std::span<const batch::Field> fields;
  std::string_view outcome;  // empty for a kind that has none
  std::span<const batch::Finding> findings;
  // The record's line end as the file has it ("\r\n", "\n" or none), for
  // a Request record: the reader hands CR LF over as "\n", and the JSON
  // carries the difference so that batchcheck-make writes the file back
  // byte for byte.
  std::optional<std::string_view> line_end;
};

// The line end of a `record` for which the reader took `bytes_taken` bytes
// of its file.
std::string_view line_end_in_file(std::string_view record, uint64_t bytes_taken);

// The width of the text view's field-name column for records of these
// layouts: the longest name and a blank.
size_t name_column(std::initializer_list<std::span<const batch::Field>> layouts);

// Appends the text view of a record: its line, a line per field (the
// fields a finding concerns marked with its rule), its findings.
void append_text_record(std::string& out, const ShownRecord& shown, size_t name_column);

// A finding as the JSON views give it.
Json finding_json(const batch::Finding& finding);

// The JSON object of each record kind met so far, built once: each record
// only puts its values in place, so a million records cost no million
// objects.
struct JsonRecords {
  struct Kind {
    std::string_view name;
    bool has_outcome;
    bool has_line_end;
    Json line;
    Json::number_integer_t* record = nullptr;
    Json::number_unsigned_t* length = nullptr;
    std::string* line_end = nullptr;
    std::vector<std::string*> values;  // one per field, in layout order
    std::string* outcome = nullptr;
    Json* findings = nullptr;
  };
  std::vector<Kind> kinds;
};

// Appends a record as one line of JSON.
void append_json_record(std::string& out, JsonRecords& views, const ShownRecord& shown);
