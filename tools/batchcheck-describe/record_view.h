#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/record_layout.h"
#include "batch/rules.h"

// What batchcheck-describe shows, Request and Response alike: a record and
// the end of a description, and the text view of both (json_view.h gives
// their JSON Lines).

// One record as the views show it.
struct ShownRecord {
  int64_t position = 0;  // counted from 1
  std::string_view kind;
  std::string_view record;
  std::span<const batch::Field> fields;
  std::string_view outcome;  // empty for a kind that has none
  // The code a refused Response body gives, which the text view names
  // after its outcome.
  std::optional<std::string_view> refusal_code;
  std::span<const batch::Finding> findings;
  // The record's line end as the file has it ("\r\n", "\n" or none), for
  // a Request record: the reader hands CR LF over as "\n", and the JSON
  // carries the difference so that batchcheck-make writes the file back
  // byte for byte.
  std::optional<std::string_view> line_end;
};

// The end of a description: the counts, the findings on the whole file and
// the result.
struct Closing {
  std::string_view layout;               // "request" or "response"
  std::optional<std::string_view> form;  // a Response's: "full" or "error"
  int result = 0;                        // 0 when no rule is broken
  std::string_view meaning;              // of the result, in words
  std::string summary;                   // the text view's lines before the findings
  std::string note;                      // the text view's words after the meaning
  // The counts by name, for the JSON; none when the file could not be read.
  std::optional<std::vector<std::pair<std::string_view, int64_t>>> counts;
  bool file_number_checked = false;           // a Request's
  std::optional<std::string> paired_request;  // a Response's: the Request it answers (--request)
};

// The line end of a `record` for which the reader took `bytes_taken` bytes
// of its file.
std::string_view line_end_in_file(std::string_view record, uint64_t bytes_taken);

// The width of the text view's field-name column for records of these
// layouts: the longest name and a blank.
size_t name_column(std::initializer_list<std::span<const batch::Field>> layouts);

// Appends a finding's text as marked lines of the text view: one per line
// of the message, its bytes escaped but for the quote and the backslash,
// which are the message's own.
void append_marked(std::string& out, std::string_view text, std::string_view indent);

// Appends the text view of a record: its line, a line per field (the
// fields a finding concerns marked with its rule), its findings.
void append_text_record(std::string& out, const ShownRecord& shown, size_t name_column);

// The result as the text view and the report end on it: "result 1: content error".
std::string result_line(const Closing& closing);

// Appends the text view's end: the summary, the findings on the whole file,
// the result.
void append_text_closing(std::string& out, const Closing& closing, std::span<const batch::Finding> on_file);
