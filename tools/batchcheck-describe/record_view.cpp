#include "record_view.h"

#include <algorithm>

#include "support/text.h"

using namespace batch;
using support::latin1_to_utf8;

namespace {

// The width of the offsets column: the widest offsets (104-135) and a blank.
constexpr size_t OFFSETS_COLUMN = 9;

bool same_field(const Field& a, const Field& b) {
  return a.name == b.name && a.offset == b.offset && a.width == b.width;
}

}  // namespace

void append_marked(std::string& out, std::string_view text, std::string_view indent) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    out.append(indent).append("!! ");
    append_escaped(out, line, false);
    out.push_back('\n');
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

size_t name_column(std::initializer_list<std::span<const Field>> layouts) {
  size_t longest = 0;
  for (std::span<const Field> fields : layouts)
    for (const Field& field : fields) longest = std::max(longest, field.name.size());
  return longest + 1;
}

void append_text_record(std::string& out, const ShownRecord& shown, size_t name_column) {
  out.append("record ").append(std::to_string(shown.position)).append(": ").append(shown.kind);
  if (shown.kind == "other") {
    out.append(" (code ");
    append_quoted(out, trim_trailing_blanks(field_of(shown.record, request::RECORD_CODE)));
    out.append(")");
  }
  out.append(", length ").append(std::to_string(shown.record.size()));
  if (!shown.outcome.empty()) out.append(", ").append(shown.outcome);
  out.append("\n");
  for (const Field& field : shown.fields) {
    out.append("  ");
    append_padded(out, field.name, name_column);
    append_padded(out, std::to_string(field.offset) + "-" + std::to_string(field.offset + field.width - 1),
                  OFFSETS_COLUMN);
    append_quoted(out, field_of(shown.record, field));
    const char* separator = "  <- ";
    for (const Finding& finding : shown.findings)
      if (finding.field && same_field(*finding.field, field)) {
        out.append(separator).append(finding.rule);
        separator = ", ";
      }
    out.append("\n");
  }
  for (const Finding& finding : shown.findings) append_marked(out, finding.text, "  ");
}

Json finding_json(const Finding& finding) {
  Json object = {{"rule", finding.rule}, {"text", latin1_to_utf8(finding.text)}};
  if (finding.field) {
    object["field"] = finding.field->name;
    object["offset"] = finding.field->offset;
    object["length"] = finding.field->width;
  }
  return object;
}

namespace {

// The object of a kind's records, its values empty.
JsonRecords::Kind make_json_kind(const ShownRecord& shown) {
  JsonRecords::Kind view{shown.kind, !shown.outcome.empty(), shown.line_end.has_value(), {}, nullptr, nullptr,
                         nullptr, {}, nullptr, nullptr};
  Json fields = Json::object();
  for (const Field& field : shown.fields) fields[std::string(field.name)] = "";
  view.line = {{"record", Json::number_integer_t{0}}, {"kind", shown.kind}, {"length", Json::number_unsigned_t{0}}};
  if (view.has_line_end) view.line["line_end"] = "";
  view.line["fields"] = std::move(fields);
  if (view.has_outcome) view.line["outcome"] = "";
  view.line["findings"] = Json::array();
  view.record = &view.line["record"].get_ref<Json::number_integer_t&>();
  view.length = &view.line["length"].get_ref<Json::number_unsigned_t&>();
  if (view.has_line_end) view.line_end = &view.line["line_end"].get_ref<std::string&>();
  for (auto& value : view.line["fields"]) view.values.push_back(&value.get_ref<std::string&>());
  if (view.has_outcome) view.outcome = &view.line["outcome"].get_ref<std::string&>();
  view.findings = &view.line["findings"];
  return view;
}

}  // namespace

std::string_view line_end_in_file(std::string_view record, uint64_t bytes_taken) {
  if (record.empty() || record.back() != '\n') return "";
  return bytes_taken > record.size() ? "\r\n" : "\n";
}

void append_json_record(std::string& out, JsonRecords& views, const ShownRecord& shown) {
  auto found = std::find_if(views.kinds.begin(), views.kinds.end(), [&](const JsonRecords::Kind& kind) {
    return kind.name == shown.kind && kind.has_outcome == !shown.outcome.empty() &&
           kind.has_line_end == shown.line_end.has_value();
  });
  if (found == views.kinds.end()) {
    views.kinds.push_back(make_json_kind(shown));
    found = views.kinds.end() - 1;
  }
  JsonRecords::Kind& view = *found;
  *view.record = shown.position;
  *view.length = shown.record.size();
  if (view.line_end) view.line_end->assign(*shown.line_end);
  for (size_t i = 0; i < shown.fields.size(); ++i) latin1_to_utf8(field_of(shown.record, shown.fields[i]), *view.values[i]);
  if (view.outcome) view.outcome->assign(shown.outcome);
  view.findings->clear();
  for (const Finding& finding : shown.findings) view.findings->push_back(finding_json(finding));
  out.append(view.line.dump());
  out.push_back('\n');
}
