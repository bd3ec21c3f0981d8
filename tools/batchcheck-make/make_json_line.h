#pragma once

// One line of batchcheck-describe's JSON Lines, read by batchcheck-make
// from the parser's events: the members that make a record, the rest
// skipped.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "support/escaped_text.h"

// One member of "fields" as the object gives it.
struct NamedValue {
  std::string name;
  std::string value;  // UTF-8, as the JSON holds it
};

// What one line's object says, filled by the parser's events.
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

// The members this reader takes; any other is skipped whole.
enum class Member { NONE, KIND, LENGTH, LINE_END, FIELDS, RESULT, COUNTS, OTHER };

// The most bytes of nlohmann-json's reason for a malformed line that a
// message shows: all of its own words, and the start of the line's token.
constexpr size_t MOST_REASON_BYTES = 200;

// Fills a LineObject from nlohmann-json's events, without building the
// object: a million records cost no million trees.
struct LineParser : nlohmann::json_sax<nlohmann::json> {
  LineObject* object = nullptr;
  int depth = 0;
  Member member = Member::NONE;
  std::string parse_fault;

  void reset(LineObject& target) {
    object = &target;
    target.is_object = target.has_fields = target.has_result = target.has_kind = target.has_line_end = false;
    target.unread = false;
    target.length = -1;
    target.field_count = 0;
    target.fault.clear();
    depth = 0;
    member = Member::NONE;
    parse_fault.clear();
  }

  // A value at the depth of the object's members, or of the fields.
  bool scalar(const char* what) {
    if (depth == 0) {
      object->fault = "not a JSON object";
    } else if (depth == 1 && member == Member::KIND) {
      refuse("member kind: not a string");
    } else if (depth == 1 && member == Member::LENGTH) {
      refuse("member length: not a record length from 1 to 200");
    } else if (depth == 1 && member == Member::LINE_END) {
      refuse("member line_end: not one of \"\\r\\n\", \"\\n\" and \"\"");
    } else if (depth == 1 && member == Member::FIELDS) {
      refuse("member fields: not an object");
      // What it holds is no field: skipped whole, as an unknown member.
      member = Member::OTHER;
    } else if (depth == 2 && member == Member::FIELDS) {
      refuse("field " + quoted_in_message(object->fields[object->field_count - 1].name) + ": " + what +
             ", not a string");
    }
    return true;
  }
  void refuse(const std::string& fault) {
    if (object->fault.empty()) object->fault = fault;
  }

  bool null() override {
    // describe's counts are null when it could not read the file it describes.
    if (depth == 1 && member == Member::COUNTS) object->unread = true;
    return scalar("null");
  }
  bool boolean(bool) override { return scalar("a boolean"); }
  bool number_integer(number_integer_t value) override {
    if (depth == 1 && member == Member::LENGTH) return length(value);
    return scalar("a number");
  }
  bool number_unsigned(number_unsigned_t value) override {
    if (depth == 1 && member == Member::LENGTH) return length(value > 1000 ? 1000 : static_cast<int64_t>(value));
    return scalar("a number");
  }
  bool number_float(number_float_t, const string_t&) override { return scalar("a number"); }
  bool binary(binary_t&) override { return scalar("binary"); }
  bool length(int64_t value) {
    if (value < 1 || value > static_cast<int64_t>(batch::RECORD_LENGTH))
      refuse("member length: not a record length from 1 to 200");
    else
      object->length = value;
    return true;
  }
  bool string(string_t& value) override {
    if (depth == 1 && member == Member::KIND) {
      object->kind = value;
      object->has_kind = true;
    } else if (depth == 1 && member == Member::LINE_END) {
      if (value != "\r\n" && value != "\n" && !value.empty())
        refuse("member line_end: not one of \"\\r\\n\", \"\\n\" and \"\"");
      object->line_end = value;
      object->has_line_end = true;
    } else if (depth == 2 && member == Member::FIELDS) {
      object->fields[object->field_count - 1].value.swap(value);
    } else {
      return scalar("a string");
    }
    return true;
  }
  bool start_object(std::size_t) override {
    if (depth == 0) object->is_object = true;
    if (depth == 1 && member == Member::FIELDS) object->has_fields = true;
    if (depth == 1 && member != Member::FIELDS && member != Member::OTHER && member != Member::RESULT &&
        member != Member::COUNTS)
      scalar("an object");
    if (depth == 2 && member == Member::FIELDS) scalar("an object");
    ++depth;
    return true;
  }
  bool end_object() override {
    --depth;
    if (depth == 1) member = Member::NONE;
    return true;
  }
  bool start_array(std::size_t) override {
    if (depth == 0) object->fault = "not a JSON object";
    if (depth == 1 && member != Member::OTHER && member != Member::RESULT && member != Member::COUNTS)
      scalar("an array");
    if (depth == 2 && member == Member::FIELDS) scalar("an array");
    ++depth;
    return true;
  }
  bool end_array() override {
    --depth;
    if (depth == 1) member = Member::NONE;
    return true;
  }
  bool key(string_t& name) override {
    if (depth == 1) {
      member = name == "kind"       ? Member::KIND
               : name == "length"   ? Member::LENGTH
               : name == "line_end" ? Member::LINE_END
               : name == "fields"   ? Member::FIELDS
               : name == "result"   ? Member::RESULT
               : name == "counts"   ? Member::COUNTS
                                    : Member::OTHER;
      if (member == Member::RESULT) object->has_result = true;
    } else if (depth == 2 && member == Member::FIELDS) {
      for (size_t i = 0; i < object->field_count; ++i)
        if (object->fields[i].name == name) refuse("field " + quoted_in_message(name) + ": given twice");
      if (object->field_count == object->fields.size()) object->fields.emplace_back();
      NamedValue& field = object->fields[object->field_count++];
      field.name.swap(name);
      field.value.clear();
    }
    return true;
  }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error) override {
    // nlohmann-json's text names line 1 of the one line it was given: keep
    // only the reason.
    std::string_view text = error.what();
    size_t colon = text.find(": ");
    size_t after = colon == std::string_view::npos ? 0 : text.find(": ", colon + 2);
    text = after == std::string_view::npos ? text.substr(colon + 2) : text.substr(after + 2);
    // Its last token is the line's own bytes, a string of a megabyte maybe:
    // escaped and cut, so that the message stays one short line.
    parse_fault = "malformed JSON at character " + std::to_string(position) + ": ";
    append_escaped(parse_fault, text.substr(0, MOST_REASON_BYTES), false);
    if (text.size() > MOST_REASON_BYTES) parse_fault.append("...");
    return false;
  }
};
