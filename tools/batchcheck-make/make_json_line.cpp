#include "make_json_line.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "batch/record_json.h"
#include "batch/record_layout.h"
#include "support/escaped_text.h"

using namespace batch;

namespace {

// The members this reader takes; any other is skipped whole.
enum class Member { NONE, KIND, LENGTH, LINE_END, FIELDS, RESULT, COUNTS, OTHER };

// The most bytes of nlohmann-json's reason for a malformed line that a
// message shows: all of its own words, and the start of the line's token.
constexpr size_t MOST_REASON_BYTES = 200;

// What is wrong with a member, as the messages name it: "member kind: ...".
std::string member_fault(std::string_view member, std::string_view fault) {
  return "member " + std::string(member) + ": " + std::string(fault);
}

// The member a key names, at the depth of the object's members.
Member member_named(std::string_view name) {
  if (name == json_member::KIND) return Member::KIND;
  if (name == json_member::LENGTH) return Member::LENGTH;
  if (name == json_member::LINE_END) return Member::LINE_END;
  if (name == json_member::FIELDS) return Member::FIELDS;
  if (name == json_member::RESULT) return Member::RESULT;
  if (name == json_member::COUNTS) return Member::COUNTS;
  return Member::OTHER;
}

// The fault of a "length" that is no record length.
std::string length_fault() { return member_fault(json_member::LENGTH, "not a record length from 1 to 200"); }

// The fault of a "line_end" that is none of the line ends.
std::string line_end_fault() {
  return member_fault(json_member::LINE_END, "not one of \"\\r\\n\", \"\\n\" and \"\"");
}

// Fills a LineObject from nlohmann-json's events, without building the
// object: a million records cost no million trees.
class LineParser : public nlohmann::json_sax<nlohmann::json> {
 public:
  // A parser that fills `object`, which it first empties.
  explicit LineParser(LineObject& object);

  // Why the line is no JSON, once parse_error has said.
  const std::string& malformed() const { return malformed_; }

  // A null: describe's counts when it could not read its file.
  bool null() override;
  // A boolean: no value a record holds.
  bool boolean(bool) override { return scalar("a boolean"); }
  // A number with a fraction: no value a record holds.
  bool number_float(number_float_t, const string_t&) override { return scalar("a number"); }
  // Binary data: no value a record holds.
  bool binary(binary_t&) override { return scalar("binary"); }
  // A whole number: the record's length where "length" wants it.
  bool number_integer(number_integer_t value) override;
  // The same, beyond the signed numbers.
  bool number_unsigned(number_unsigned_t value) override;
  // A string: the kind, the line end or a field's value.
  bool string(string_t& value) override;
  // The line's object, the fields, or a member skipped whole.
  bool start_object(std::size_t) override;
  // The end of an object.
  bool end_object() override { return end_container(); }
  // An array: a member skipped whole, where no other is wanted.
  bool start_array(std::size_t) override;
  // The end of an array.
  bool end_array() override { return end_container(); }
  // A member's name, or a field's.
  bool key(string_t& name) override;
  // The line is no JSON: keeps why, as one short line.
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error) override;

 private:
  // A value at the depth of the object's members, or of the fields, that
  // is `what` where the member wants another.
  bool scalar(const char* what);

  // Keeps `fault` when it is the line's first.
  void refuse(const std::string& fault);

  // Takes the record's length.
  bool length(int64_t value);

  // Leaves an object or an array.
  bool end_container();

  LineObject* object_;  // the line's, filled as the events come
  int depth_ = 0;                 // 1 among the object's members, 2 among the fields
  Member member_ = Member::NONE;  // the member the events are in
  std::string malformed_;         // why the line is no JSON
};

LineParser::LineParser(LineObject& object) : object_(&object) {
  object.is_object = object.has_fields = object.has_result = object.has_kind = object.has_line_end = false;
  object.unread = false;
  object.length = -1;
  object.field_count = 0;
  object.fault.clear();
}

bool LineParser::scalar(const char* what) {
  if (depth_ == 0) {
    object_->fault = "not a JSON object";
  } else if (depth_ == 1 && member_ == Member::KIND) {
    refuse(member_fault(json_member::KIND, "not a string"));
  } else if (depth_ == 1 && member_ == Member::LENGTH) {
    refuse(length_fault());
  } else if (depth_ == 1 && member_ == Member::LINE_END) {
    refuse(line_end_fault());
  } else if (depth_ == 1 && member_ == Member::FIELDS) {
    refuse(member_fault(json_member::FIELDS, "not an object"));
    // What it holds is no field: skipped whole, as an unknown member.
    member_ = Member::OTHER;
  } else if (depth_ == 2 && member_ == Member::FIELDS) {
    refuse("field " + quoted_in_message(object_->fields[object_->field_count - 1].name) + ": " + what +
           ", not a string");
  }
  return true;
}

void LineParser::refuse(const std::string& fault) {
  if (object_->fault.empty()) object_->fault = fault;
}

bool LineParser::null() {
  // describe's counts are null when it could not read the file it describes.
  if (depth_ == 1 && member_ == Member::COUNTS) object_->unread = true;
  return scalar("null");
}

bool LineParser::number_integer(number_integer_t value) {
  if (depth_ == 1 && member_ == Member::LENGTH) return length(value);
  return scalar("a number");
}

bool LineParser::number_unsigned(number_unsigned_t value) {
  if (depth_ == 1 && member_ == Member::LENGTH) return length(value > 1000 ? 1000 : static_cast<int64_t>(value));
  return scalar("a number");
}

bool LineParser::length(int64_t value) {
  if (value < 1 || value > static_cast<int64_t>(RECORD_LENGTH))
    refuse(length_fault());
  else
    object_->length = value;
  return true;
}

bool LineParser::string(string_t& value) {
  if (depth_ == 1 && member_ == Member::KIND) {
    object_->kind = value;
    object_->has_kind = true;
  } else if (depth_ == 1 && member_ == Member::LINE_END) {
    if (std::find(JSON_LINE_ENDS.begin(), JSON_LINE_ENDS.end(), value) == JSON_LINE_ENDS.end())
      refuse(line_end_fault());
    object_->line_end = value;
    object_->has_line_end = true;
  } else if (depth_ == 2 && member_ == Member::FIELDS) {
    object_->fields[object_->field_count - 1].value.swap(value);
  } else {
    return scalar("a string");
  }
  return true;
}

bool LineParser::start_object(std::size_t) {
  if (depth_ == 0) object_->is_object = true;
  if (depth_ == 1 && member_ == Member::FIELDS) object_->has_fields = true;
  if (depth_ == 1 && member_ != Member::FIELDS && member_ != Member::OTHER && member_ != Member::RESULT &&
      member_ != Member::COUNTS)
    scalar("an object");
  if (depth_ == 2 && member_ == Member::FIELDS) scalar("an object");
  ++depth_;
  return true;
}

bool LineParser::start_array(std::size_t) {
  if (depth_ == 0) object_->fault = "not a JSON object";
  if (depth_ == 1 && member_ != Member::OTHER && member_ != Member::RESULT && member_ != Member::COUNTS)
    scalar("an array");
  if (depth_ == 2 && member_ == Member::FIELDS) scalar("an array");
  ++depth_;
  return true;
}

bool LineParser::end_container() {
  --depth_;
  if (depth_ == 1) member_ = Member::NONE;
  return true;
}

bool LineParser::key(string_t& name) {
  if (depth_ == 1) {
    member_ = member_named(name);
    if (member_ == Member::RESULT) object_->has_result = true;
  } else if (depth_ == 2 && member_ == Member::FIELDS) {
    for (size_t i = 0; i < object_->field_count; ++i)
      if (object_->fields[i].name == name) refuse("field " + quoted_in_message(name) + ": given twice");
    if (object_->field_count == object_->fields.size()) object_->fields.emplace_back();
    NamedValue& field = object_->fields[object_->field_count++];
    field.name.swap(name);
    field.value.clear();
  }
  return true;
}

bool LineParser::parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error) {
  // nlohmann-json's text names line 1 of the one line it was given: keep
  // only the reason.
  std::string_view text = error.what();
  size_t colon = text.find(": ");
  size_t after = colon == std::string_view::npos ? 0 : text.find(": ", colon + 2);
  text = after == std::string_view::npos ? text.substr(colon + 2) : text.substr(after + 2);
  // Its last token is the line's own bytes, a string of a megabyte maybe:
  // escaped and cut, so that the message stays one short line.
  malformed_ = "malformed JSON at character " + std::to_string(position) + ": ";
  append_escaped(malformed_, text.substr(0, MOST_REASON_BYTES), false);
  if (text.size() > MOST_REASON_BYTES) malformed_.append("...");
  return false;
}

}  // namespace

bool read_line_object(std::string_view line, LineObject& object, std::string* malformed) {
  LineParser parser(object);
  if (nlohmann::json::sax_parse(line.begin(), line.end(), &parser)) return true;
  *malformed = parser.malformed();
  return false;
}
