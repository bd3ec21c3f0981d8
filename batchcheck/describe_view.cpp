#include "describe_view.h"

#include <span>

#include "record_layout.h"
#include "request_layout.h"

namespace {

using Json = nlohmann::ordered_json;

// `text` read as ISO-8859-1, in UTF-8, into `out`, which it replaces: bytes
// 0x80-0xFF become U+0080-U+00FF, so any record gives valid JSON.
void latin1_to_utf8(std::string_view text, std::string& out) {
  out.clear();
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xc0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3f)));
    }
  }
}

// The same, as a new string.
std::string latin1_to_utf8(std::string_view text) {
  std::string out;
  latin1_to_utf8(text, out);
  return out;
}

// The meaning of a verification result, as the views show it: one text for
// each number shown.
std::string_view result_meaning(VerificationResult result) {
  constexpr std::string_view MEANINGS[] = {"valid", "content error", "file already treated or unreadable",
                                           "file sequence interrupted", "structure error"};
  return MEANINGS[result_code(result)];
}

// Appends `text` with every byte outside printable ASCII escaped (\r, \n,
// \t, \xNN), and the quote and the backslash too when `escape_quoting`.
void append_escaped(std::string& out, std::string_view text, bool escape_quoting) {
  static const char DIGITS[] = "0123456789abcdef";
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if ((c == '"' || c == '\\') && escape_quoting) {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\r') {
      out.append("\\r");
    } else if (c == '\n') {
      out.append("\\n");
    } else if (c == '\t') {
      out.append("\\t");
    } else if (byte < 0x20 || byte > 0x7e) {
      out.append("\\x");
      out.push_back(DIGITS[byte >> 4]);
      out.push_back(DIGITS[byte & 0xf]);
    } else {
      out.push_back(c);
    }
  }
}

// Appends `text` escaped, between double quotes.
void append_quoted(std::string& out, std::string_view text) {
  out.push_back('"');
  append_escaped(out, text, true);
  out.push_back('"');
}

// A kind as both views name it.
std::string_view kind_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::HEADER:
      return "header";
    case RecordKind::BODY:
      return "body";
    case RecordKind::FOOTER:
      return "footer";
    case RecordKind::OTHER:
      break;
  }
  return "other";
}

// Appends a finding's text as marked lines of the text view: one per line
// of the message, its bytes escaped but for the quote and the backslash,
// which are the message's own.
void append_marked(std::string& out, std::string_view text, std::string_view indent) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    out.append(indent).append("!! ");
    append_escaped(out, line, false);
    out.append("\n");
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

// Widths of the text view's columns: the longest field name
// (merchant_country) and the widest offsets (104-135), each and a blank.
constexpr size_t NAME_COLUMN = 17;
constexpr size_t OFFSETS_COLUMN = 9;

// One record in the text view: its line, a line per field, its findings.
void append_text_record(std::string& text, int64_t position, std::string_view record,
                        const std::vector<std::string>& found) {
  RecordKind kind = record_kind(record);
  text.append("record ").append(std::to_string(position)).append(": ").append(kind_name(kind));
  if (kind == RecordKind::OTHER) {
    text.append(" (code ");
    append_quoted(text, trimmed_field(record, request::RECORD_CODE));
    text.append(")");
  }
  text.append(", length ").append(std::to_string(record.size())).append("\n");
  for (const Field& field : fields_of_kind(kind)) {
    text.append("  ");
    append_padded(text, field.name, NAME_COLUMN);
    append_padded(text, std::to_string(field.offset) + "-" + std::to_string(field.offset + field.width - 1),
                  OFFSETS_COLUMN);
    append_quoted(text, field_of(record, field));
    text.append("\n");
  }
  for (const std::string& finding : found) append_marked(text, finding, "  ");
}

// The object of a kind's records, its values empty.
JsonRecord make_json_record(RecordKind kind) {
  JsonRecord view;
  Json fields = Json::object();
  for (const Field& field : fields_of_kind(kind)) fields[std::string(field.name)] = "";
  view.line = {{"record", Json::number_integer_t{0}},
               {"kind", kind_name(kind)},
               {"length", Json::number_unsigned_t{0}},
               {"fields", std::move(fields)},
               {"findings", Json::array()}};
  view.record = &view.line["record"].get_ref<Json::number_integer_t&>();
  view.length = &view.line["length"].get_ref<Json::number_unsigned_t&>();
  for (auto& value : view.line["fields"]) view.values.push_back(&value.get_ref<std::string&>());
  view.findings = &view.line["findings"];
  return view;
}

// One record as one line of JSON.
void append_json_record(std::string& text, std::vector<JsonRecord>& views, int64_t position, std::string_view record,
                        const std::vector<std::string>& found) {
  RecordKind kind = record_kind(record);
  JsonRecord& view = views[static_cast<size_t>(kind)];
  *view.record = position;
  *view.length = record.size();
  std::span<const Field> fields = fields_of_kind(kind);
  for (size_t i = 0; i < fields.size(); ++i) latin1_to_utf8(field_of(record, fields[i]), *view.values[i]);
  view.findings->clear();
  for (const std::string& finding : found) view.findings->push_back(latin1_to_utf8(finding));
  text.append(view.line.dump()).append("\n");
}

// The closing object of the JSON view.
Json json_end(const DescribedEnd& end) {
  Json texts = Json::array();
  for (const std::string& text : end.on_file) texts.push_back(latin1_to_utf8(text));
  Json counts = nullptr;
  if (end.counts)
    counts = {{"file_number", end.counts->file_number},
              {"records", end.counts->records},
              {"errors", end.counts->errors},
              {"header_records", end.counts->header_records},
              {"footer_records", end.counts->footer_records},
              {"body_records", end.counts->body_records}};
  return {{"result", result_code(end.result)},
          {"findings", std::move(texts)},
          {"counts", std::move(counts)},
          {"file_number_checked", end.file_number_checked}};
}

}  // namespace

DescribeView make_describe_view(bool json) {
  DescribeView view;
  view.json = json;
  if (json)
    for (RecordKind kind : {RecordKind::HEADER, RecordKind::BODY, RecordKind::FOOTER, RecordKind::OTHER})
      view.json_records.push_back(make_json_record(kind));
  return view;
}

void show_record(DescribeView& view, BlockWriter& out, int64_t position, std::string_view record,
                 const std::vector<std::string>& found) {
  view.text.clear();
  if (view.json)
    append_json_record(view.text, view.json_records, position, record, found);
  else
    append_text_record(view.text, position, record, found);
  write_bytes(out, view.text);
}

void show_end(DescribeView& view, BlockWriter& out, const DescribedEnd& end) {
  std::string& text = view.text;
  text.clear();
  if (view.json) {
    text.append(json_end(end).dump()).append("\n");
  } else {
    if (end.counts) text.append(summary_text(*end.counts));
    for (const std::string& finding : end.on_file) append_marked(text, finding, "");
    text.append("result ").append(std::to_string(result_code(end.result))).append(": ");
    text.append(result_meaning(end.result));
    if (!end.file_number_checked) text.append(" (file number not checked)");
    text.append("\n");
  }
  write_bytes(out, text);
}
