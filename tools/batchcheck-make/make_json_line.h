#pragma once

// One line of batchcheck-describe's JSON Lines, read by batchcheck-make:
// the members that make a record, the rest skipped.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One member of "fields" as the object gives it.
struct NamedValue {
  std::string name;
  std::string value;  // UTF-8, as the JSON holds it
};

// What one line's object says.
struct LineObject {
  bool is_object = false;
  bool has_fields = false;
  bool has_result = false;
  bool unread = false;  // the closing object of a description that could not read its file
  std::string kind;
  bool has_kind = false;
  int64_t length = -1;  // -1: not given
  bool has_line_end = false;
  std::string line_end;
  size_t field_count = 0;  // the first field_count of `fields` are this line's
  std::vector<NamedValue> fields;
  std::string fault;  // the first thing wrong, "member kind: ..."
};

// Reads the object on `line` into `object`, which it replaces, keeping the
// room of its fields from line to line; what is wrong with a member goes to
// object.fault. False (why in *malformed: "malformed JSON at character 9:
// ...", one short line whatever the line holds) when the line is no JSON.
bool read_line_object(std::string_view line, LineObject& object, std::string* malformed);
