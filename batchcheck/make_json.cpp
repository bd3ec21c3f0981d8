#include "make_json.h"

#include <cstring>
#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "make_input.h"

namespace {

using Json = nlohmann::json;

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

// Fills a LineObject from nlohmann-json's events, without building the
// object: a million records cost no million trees.
struct LineParser : nlohmann::json_sax<Json> {
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
    } else if (depth == 2 && member == Member::FIELDS) {
      refuse("field " + object->fields[object->field_count - 1].name + ": " + what + ", not a string");
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
    if (value < 1 || value > static_cast<int64_t>(RECORD_LENGTH))
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
        if (object->fields[i].name == name) refuse("field " + name + ": given twice");
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
    parse_fault = "malformed JSON at character " + std::to_string(position) + ": " + std::string(text);
    return false;
  }
};

// The record kinds as describe names them, with their layouts.
struct KindLayout {
  std::string_view name;
  RecordKind kind;
};
constexpr KindLayout KINDS[] = {{"header", RecordKind::HEADER},
                                {"body", RecordKind::BODY},
                                {"footer", RecordKind::FOOTER},
                                {"other", RecordKind::OTHER}};

// The next line, its line end removed (CR LF too); false at the end.
bool next_line(InputBlocks& input, std::string& line) {
  line.clear();
  for (;;) {
    const char* data = input.buffer.data() + input.position;
    size_t available = input.end - input.position;
    if (const void* found = std::memchr(data, '\n', available)) {
      size_t length = static_cast<size_t>(static_cast<const char*>(found) - data);
      line.append(data, length);
      input.position += length + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    line.append(data, available);
    input.position = input.end;
    if (!refill(input)) return !line.empty() && !input.failed;
  }
}

// Everything kept from line to line.
struct JsonBatch {
  const JsonOptions& options;
  BatchOutput& out;
  int64_t line = 0;
  bool first_record = true;
  std::string identity;  // the first record's file_identity, for --renumber
  int64_t body_records = 0;
  std::vector<std::string> values;
  std::string text;
};

// The record of one object, written; false with `err` set.
bool write_object(JsonBatch& batch, const LineObject& object, std::string* err) {
  auto refuse = [&](const std::string& fault) {
    *err = "line " + std::to_string(batch.line) + ", " + fault;
    return false;
  };
  if (!object.has_kind) return refuse("member kind: missing");
  const KindLayout* kind = nullptr;
  for (const KindLayout& candidate : KINDS)
    if (candidate.name == object.kind) kind = &candidate;
  if (!kind) return refuse("member kind: \"" + object.kind + "\" is none of header, body, footer and other");
  std::span<const Field> layout = fields_of_kind(kind->kind);

  // Each value in its field's place, as ISO-8859-1.
  batch.values.assign(layout.size(), std::string());
  for (size_t i = 0; i < object.field_count; ++i) {
    const NamedValue& named = object.fields[i];
    size_t at = 0;
    while (at < layout.size() && layout[at].name != named.name) ++at;
    if (at == layout.size()) return refuse("field " + named.name + ": not a field of a " + object.kind + " record");
    uint32_t code_point = 0;
    if (TextFault fault = utf8_to_latin1(named.value, batch.values[at], &code_point); fault != TextFault::NONE)
      return refuse("field " + named.name + ": " + text_fault_reason(fault, code_point));
    if (batch.values[at].size() > layout[at].width)
      return refuse("field " + named.name + ": " + std::to_string(batch.values[at].size()) +
                    " characters, the field holds " + std::to_string(layout[at].width));
  }
  // The record ends with its last value; describe shows its line end as the
  // "\n" that ends that value.
  size_t last = layout.size();
  while (last > 0 && batch.values[last - 1].empty()) --last;
  if (last > 0 && batch.values[last - 1].back() == '\n') batch.values[last - 1].pop_back();
  std::string_view line_end = object.has_line_end ? std::string_view(object.line_end) : batch.options.line_end;
  std::string& text = batch.text;
  text.clear();
  for (size_t i = 0; i < last; ++i) {
    const std::string& value = batch.values[i];
    if (value.find('\n') != std::string::npos)
      return refuse("field " + std::string(layout[i].name) + ": a line end inside the value");
    text.append(value);
    if (i + 1 < last) text.append(layout[i].width - value.size(), ' ');
  }
  size_t length = object.length > 0 ? static_cast<size_t>(object.length) : RECORD_LENGTH;
  size_t wanted = line_end.empty() ? length : length - 1;
  if (text.size() < wanted) text.append(wanted - text.size(), ' ');
  if (text.size() > record_text_length(line_end))
    return refuse("field " + std::string(layout[layout.size() - 1].name) + ": " +
                  std::to_string(batch.values[layout.size() - 1].size()) + " characters, the field holds " +
                  std::to_string(layout[layout.size() - 1].width - 1) + " before the line end");
  if (line_end == LF && !text.empty() && text.back() == '\r')
    return refuse("field " + std::string(layout[last - 1].name) +
                  ": a carriage return at the end of the value would join the line end");

  if (batch.first_record) {
    batch.identity = field_of(text, request::FILE_IDENTITY);
    batch.first_record = false;
  }
  if (batch.options.renumber) {
    RecordKind read_as = record_kind(text);
    if (read_as == RecordKind::BODY) {
      if (++batch.body_records > MAX_BATCH_BODY_RECORDS) {
        *err = "line " + std::to_string(batch.line) + ": more than 999999 body records to number, the most a batch counts";
        return false;
      }
      put_field(text, request::RECORD_NUMBER, zero_padded(batch.body_records, request::RECORD_NUMBER.width));
    } else if (read_as == RecordKind::FOOTER) {
      put_field(text, request::FILE_IDENTITY, batch.identity);
      put_field(text, request::NB_RECORD, zero_padded(batch.body_records, request::NB_RECORD.width));
    }
  }
  write_record(batch.out, text, line_end);
  return true;
}

}  // namespace

bool make_from_json(FILE* in, const JsonOptions& options, BatchOutput& out, std::string* err) {
  InputBlocks reader;
  reader.file = in;
  JsonBatch batch{options, out, 0, true, {}, 0, {}, {}};
  LineParser parser;
  LineObject object;
  std::string line;
  while (next_line(reader, line)) {
    ++batch.line;
    if (line.empty()) continue;
    parser.reset(object);
    if (!Json::sax_parse(line.begin(), line.end(), &parser)) {
      *err = "line " + std::to_string(batch.line) + ": " + parser.parse_fault;
      return false;
    }
    if (!object.fault.empty()) {
      *err = "line " + std::to_string(batch.line) + ": " + object.fault;
      if (object.is_object) *err = "line " + std::to_string(batch.line) + ", " + object.fault;
      return false;
    }
    if (!object.has_fields) {
      // describe's closing object; after a file it could not read, the
      // records are missing and the batch would come out empty.
      if (object.has_result && object.unread) {
        *err = "line " + std::to_string(batch.line) +
               ": batchcheck-describe could not read the file it describes (counts null): no batch to make";
        return false;
      }
      if (object.has_result) continue;
      *err = "line " + std::to_string(batch.line) + ": neither a record (no member fields) nor describe's closing object";
      return false;
    }
    if (!write_object(batch, object, err)) return false;
  }
  if (reader.failed) {
    err->clear();
    return false;
  }
  return true;
}
