#include "make_json.h"

#include <span>
#include <vector>

#include "support/block_reader.h"
#include "support/escaped_text.h"
#include "support/text.h"
#include "batch/record_json.h"
#include "make_json_line.h"

using namespace batch;
using namespace support;

namespace {

// What next_line found.
enum class LineRead { LINE, END, TOO_LONG };

// The next line, its line end removed (CR LF too); TOO_LONG once it passes
// `longest` bytes, with no more of it read.
LineRead next_line(BlockReader& input, size_t longest, std::string& line) {
  line.clear();
  std::string_view piece;
  // Pieces of one byte more than the longest line and its CR LF: a piece
  // that long is a line too long.
  while (next_line_piece(input, longest + 2, piece)) {
    bool ended = piece.back() == '\n';
    if (ended) piece.remove_suffix(1);
    // One byte more than the longest: a CR that the line end takes.
    if (line.size() + piece.size() > longest + 1) return LineRead::TOO_LONG;
    line.append(piece);
    if (ended) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line.size() > longest ? LineRead::TOO_LONG : LineRead::LINE;
    }
  }
  if (line.empty() || input.failed) return LineRead::END;
  return line.size() > longest ? LineRead::TOO_LONG : LineRead::LINE;
}

// Everything kept from line to line.
struct JsonBatch {
  const JsonOptions& options;
  BlockWriter& out;
  int64_t line = 0;
  bool first_record = true;
  std::string identity;  // the first record's file_identity, for --renumber
  int64_t body_records = 0;
  std::vector<std::string> values;
  std::string text;
};

// Refuses the object on line `line` for `fault`: false, with `err` set.
bool refuse(int64_t line, const std::string& fault, std::string* err) {
  *err = "line " + std::to_string(line) + ", " + fault;
  return false;
}

// Puts each value of `object`, as ISO-8859-1, into batch.values at its
// field's place in `layout`; false with `err` set.
bool place_values(JsonBatch& batch, const LineObject& object, std::span<const Field> layout, std::string* err) {
  batch.values.assign(layout.size(), std::string());
  for (size_t i = 0; i < object.field_count; ++i) {
    const NamedValue& named = object.fields[i];
    size_t at = 0;
    while (at < layout.size() && layout[at].name != named.name) ++at;
    if (at == layout.size())
      return refuse(batch.line, "field " + quoted_in_message(named.name) + ": not a field of a " + object.kind + " record",
                    err);
    std::string why;
    if (!utf8_to_latin1(named.value, batch.values[at], &why))
      return refuse(batch.line, "field " + std::string(layout[at].name) + ": " + why, err);
    if (batch.values[at].size() > layout[at].width)
      return refuse(batch.line,
                    "field " + std::string(layout[at].name) + ": " + std::to_string(batch.values[at].size()) +
                        " characters, the field holds " + std::to_string(layout[at].width),
                    err);
  }
  return true;
}

// Composes batch.text, the record of the values placed, `length` characters
// with `line_end`; false with `err` set.
bool compose_text(JsonBatch& batch, std::span<const Field> layout, int64_t length, std::string_view line_end,
                  std::string* err) {
  // The record ends with its last value; describe shows its line end as the
  // "\n" that ends that value.
  size_t last = layout.size();
  while (last > 0 && batch.values[last - 1].empty()) --last;
  if (last > 0 && batch.values[last - 1].back() == '\n') batch.values[last - 1].pop_back();
  std::string& text = batch.text;
  text.clear();
  for (size_t i = 0; i < last; ++i) {
    const std::string& value = batch.values[i];
    if (value.find('\n') != std::string::npos)
      return refuse(batch.line, "field " + std::string(layout[i].name) + ": a line end inside the value", err);
    text.append(value);
    if (i + 1 < last) text.append(layout[i].width - value.size(), ' ');
  }
  size_t wanted_length = length > 0 ? static_cast<size_t>(length) : RECORD_LENGTH;
  size_t wanted = line_end.empty() ? wanted_length : wanted_length - 1;
  if (text.size() < wanted) text.append(wanted - text.size(), ' ');
  if (text.size() > record_text_length(line_end))
    return refuse(batch.line,
                  "field " + std::string(layout[layout.size() - 1].name) + ": " +
                      std::to_string(batch.values[layout.size() - 1].size()) + " characters, the field holds " +
                      std::to_string(layout[layout.size() - 1].width - 1) + " before the line end",
                  err);
  if (line_end == LF && !text.empty() && text.back() == '\r')
    return refuse(batch.line,
                  "field " + std::string(layout[last - 1].name) +
                      ": a carriage return at the end of the value would join the line end",
                  err);
  return true;
}

// With --renumber, numbers a body record and gives the footer its count and
// the first record's file_identity; false with `err` set.
bool renumber(JsonBatch& batch, std::string* err) {
  std::string& text = batch.text;
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
  return true;
}

// The record of one object, written; false with `err` set.
bool write_object(JsonBatch& batch, const LineObject& object, std::string* err) {
  std::string member = "member " + std::string(json_member::KIND) + ": ";
  if (!object.has_kind) return refuse(batch.line, member + "missing", err);
  const JsonKind* kind = request_json_kind_named(object.kind);
  if (!kind)
    return refuse(batch.line, member + quoted_in_message(object.kind) + " is none of " + request_json_kind_list(), err);
  std::span<const Field> layout = kind->fields;
  std::string_view line_end = object.has_line_end ? std::string_view(object.line_end) : batch.options.line_end;
  if (!place_values(batch, object, layout, err) || !compose_text(batch, layout, object.length, line_end, err))
    return false;
  if (batch.first_record) {
    batch.identity = field_of(batch.text, request::FILE_IDENTITY);
    batch.first_record = false;
  }
  if (batch.options.renumber && !renumber(batch, err)) return false;
  write_record(batch.out, batch.text, line_end);
  return true;
}

}  // namespace

bool make_from_json(FILE* in, const JsonOptions& options, BlockWriter& out, std::string* err) {
  BlockReader reader = make_block_reader(in, 1 << 18);
  JsonBatch batch{options, out, 0, true, {}, 0, {}, {}};
  LineObject object;
  std::string malformed;
  std::string line;
  for (;;) {
    LineRead read = next_line(reader, MAX_JSON_LINE, line);
    if (read == LineRead::END) break;
    ++batch.line;
    if (read == LineRead::TOO_LONG) {
      *err = "line " + std::to_string(batch.line) + ": more than " + std::to_string(MAX_JSON_LINE) +
             " bytes, longer than any line batchcheck-describe --json writes";
      return false;
    }
    if (line.empty()) continue;
    if (!read_line_object(line, object, &malformed)) {
      *err = "line " + std::to_string(batch.line) + ": " + malformed;
      return false;
    }
    if (!object.fault.empty()) {
      *err = "line " + std::to_string(batch.line) + (object.is_object ? ", " : ": ") + object.fault;
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
  // Nothing read is no batch: a describe that failed before its first line
  // must not empty the merchant's file.
  if (batch.first_record) {
    *err = "no record in the input";
    return false;
  }
  return true;
}
