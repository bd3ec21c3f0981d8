#include "record_view.h"

#include <algorithm>

#include "batch/record_json.h"
#include "batch/request_layout.h"
#include "support/escaped_text.h"

using namespace batch;

namespace {

// The width of the offsets column: the widest offsets (104-135, seven
// characters) and two blanks.
constexpr size_t OFFSETS_COLUMN = 9;

// True when `a` and `b` are one field.
bool same_field(const Field& a, const Field& b) {
  return a.name == b.name && a.offset == b.offset && a.width == b.width;
}

}  // namespace

std::string_view line_end_in_file(std::string_view record, uint64_t bytes_taken) {
  if (record.empty() || record.back() != '\n') return "";
  return bytes_taken > record.size() ? "\r\n" : "\n";
}

size_t name_column(std::initializer_list<std::span<const Field>> layouts) {
  size_t longest = 0;
  for (std::span<const Field> fields : layouts)
    for (const Field& field : fields) longest = std::max(longest, field.name.size());
  return longest + 1;
}

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

void append_text_record(std::string& out, const ShownRecord& shown, size_t name_column) {
  out.append("record ").append(std::to_string(shown.position)).append(": ").append(shown.kind);
  if (shown.kind == json_kind::OTHER) {
    out.append(" (code ");
    append_quoted(out, trim_trailing_blanks(field_of(shown.record, request::RECORD_CODE)));
    out.append(")");
  }
  out.append(", length ").append(std::to_string(shown.record.size()));
  if (!shown.outcome.empty()) out.append(", ").append(shown.outcome);
  if (shown.refusal_code) out.append(" with code ").append(*shown.refusal_code);
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

std::string result_line(const Closing& closing) {
  return "result " + std::to_string(closing.result) + ": " + std::string(closing.meaning);
}

void append_text_closing(std::string& out, const Closing& closing, std::span<const Finding> on_file) {
  out.append(closing.summary);
  for (const Finding& finding : on_file) append_marked(out, finding.text, "");
  out.append(result_line(closing)).append(closing.note).append("\n");
}
