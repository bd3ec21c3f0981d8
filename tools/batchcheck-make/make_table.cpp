#include "make_table.h"

#include <cstring>
#include <vector>

#include "support/escaped_text.h"
#include "support/text.h"

using namespace batch;
using namespace support;

namespace {

// The column of a table, by its place in the first row.
struct Column {
  std::string name;
  size_t field;  // index in request::BODY_FIELDS, or ANSWER
};

// The column index that stands for `answer`.
constexpr size_t ANSWER = request::BODY_FIELDS.size();

// How many columns a table can name: each body field but the record_code,
// and `answer`.
constexpr size_t COLUMN_COUNT = ANSWER;

// What a table may name, in the order the messages list them.
constexpr std::string_view COLUMN_LIST =
    "merchant_country, merchant_id, record_number, body_zone_1, transaction_id, body_zone_2 to body_zone_6, "
    "body_rest and answer";

// The field a column name stands for; false for any other name. The
// record_code is no column: a body record's is always 03.
bool column_field(std::string_view name, size_t& field) {
  if (name == ANSWER_COLUMN) {
    field = ANSWER;
    return true;
  }
  for (size_t i = 0; i < request::BODY_FIELDS.size(); ++i)
    if (request::BODY_FIELDS[i].name == name && i != body_index(request::RECORD_CODE)) {
      field = i;
      return true;
    }
  return false;
}

// Where a message places its fault: "line 3".
std::string at_line(int64_t line) { return "line " + std::to_string(line); }

// The reason a row cannot be read, or false with `err` set.
bool malformed(const CsvReader& reader, const std::vector<Column>& columns, std::string* err) {
  std::string where = reader.fault_value < columns.size() ? "field " + columns[reader.fault_value].name
                                                          : "value " + std::to_string(reader.fault_value + 1);
  *err = at_line(reader.row_line) + ", " + where + ": malformed CSV: " + reader.fault;
  return false;
}

// The first row: which field each column fills. It names each column once
// at most, and ends at a carriage return alone too (a table saved with the
// line ends of old Macs).
bool read_columns(CsvReader& reader, std::vector<Column>& columns, std::string* err) {
  std::vector<std::string> names;
  reader.most_values = COLUMN_COUNT;
  reader.lone_cr_ends_row = true;
  CsvRow row = read_csv_row(reader, names);
  reader.lone_cr_ends_row = false;
  switch (row) {
    case CsvRow::END:
      *err = "line 1: the table is empty; its first line must name the columns";
      return false;
    case CsvRow::READ_ERROR:
      *err = "";
      return false;
    case CsvRow::MALFORMED:
      return malformed(reader, columns, err);
    case CsvRow::TOO_MANY_VALUES:
      *err = at_line(reader.row_line) + ": more than " + std::to_string(COLUMN_COUNT) +
             " columns; a table's columns are " + std::string(COLUMN_LIST);
      return false;
    case CsvRow::VALUE_TOO_LONG:  // the name read so far: no column's
    case CsvRow::ROW:
      break;
  }
  std::vector<bool> named(ANSWER + 1);
  for (const std::string& name : names) {
    size_t field = 0;
    if (!column_field(name, field)) {
      *err = at_line(reader.row_line) + ", column " + quoted_in_message(name) +
             ": no such column; a table's columns are " + std::string(COLUMN_LIST);
      return false;
    }
    if (named[field]) {
      *err = at_line(reader.row_line) + ", column " + name + ": named twice";
      return false;
    }
    named[field] = true;
    columns.push_back({name, field});
  }
  return true;
}

// The widest value a field takes: a field that runs to the record's end
// leaves room for the line end.
size_t room_of(const Field& field, size_t text_length) {
  return field.offset + field.width > text_length ? text_length - field.offset : field.width;
}

// How many characters `field` holds, as a message says it.
std::string holds(const Field& field, size_t text_length) {
  size_t room = room_of(field, text_length);
  return "the field holds " + std::to_string(room) + (room < field.width ? " before the line end" : "");
}

// True for the characters a table value may not hold: they would cut the
// record or end the text of a field.
bool forbidden(char c) { return c == '\n' || c == '\r' || c == '\0'; }

// True when every byte of `text` is ASCII and none is a NUL or a line end:
// the usual value, checked eight bytes at a time.
bool plain_ascii(std::string_view text) {
  constexpr uint64_t ONES = 0x0101010101010101ULL;
  constexpr uint64_t HIGHS = 0x8080808080808080ULL;
  auto has_zero_byte = [](uint64_t word) { return ((word - ONES) & ~word & HIGHS) != 0; };
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & HIGHS) != 0 || has_zero_byte(word) || has_zero_byte(word ^ (ONES * '\n')) ||
        has_zero_byte(word ^ (ONES * '\r')))
      return false;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80 || forbidden(text[i])) return false;
  return true;
}

// Checks one value and sets `taken` to it as ISO-8859-1: the value itself
// when it is plain ASCII, else its conversion in `converted`. False with
// `err` set.
bool take_value(const std::string& value, const Column& column, size_t text_length, int64_t line,
                std::string& converted, std::string_view& taken, std::string* err) {
  auto refuse = [&](const std::string& reason) {
    *err = at_line(line) + ", field " + column.name + ": " + reason;
    return false;
  };
  std::string_view out = value;
  if (!plain_ascii(value)) {
    for (char c : value)
      if (forbidden(c)) return refuse(c == '\0' ? "a NUL character inside the value" : "a line end inside the value");
    std::string why;
    if (!utf8_to_latin1(value, converted, &why)) return refuse(why);
    out = converted;
  }
  taken = out;
  if (column.field == ANSWER) {
    if (!out.empty() && (out.size() != 2 || !is_all_digits(out)))
      return refuse(quoted_in_message(value) + " is not a response code of two digits");
    return true;
  }
  const Field& field = request::BODY_FIELDS[column.field];
  if (out.size() > room_of(field, text_length))
    return refuse(std::to_string(out.size()) + " characters, " + holds(field, text_length));
  return true;
}

// Checks that a row read is whole and has a value for each column; false
// with `err` set (empty when the table could not be read).
bool whole_row(CsvRow row, const CsvReader& reader, const std::vector<Column>& columns, size_t value_count,
               size_t text_length, std::string* err) {
  std::string line = at_line(reader.row_line);
  std::string named = std::to_string(columns.size()) + (columns.size() == 1 ? " column" : " columns");
  switch (row) {
    case CsvRow::READ_ERROR:
      *err = "";
      return false;
    case CsvRow::MALFORMED:
      return malformed(reader, columns, err);
    case CsvRow::VALUE_TOO_LONG: {
      const Column& column = columns[reader.fault_value];
      *err = line + ", field " + column.name + ": more than " + std::to_string(RECORD_LENGTH) + " characters, " +
             (column.field == ANSWER ? "not a response code of two digits"
                                     : holds(request::BODY_FIELDS[column.field], text_length));
      return false;
    }
    case CsvRow::TOO_MANY_VALUES:
      *err = line + ": more than " + std::to_string(columns.size()) + (columns.size() == 1 ? " value" : " values") +
             ", but the first line names " + named;
      return false;
    case CsvRow::END:
    case CsvRow::ROW:
      break;
  }
  if (value_count == columns.size()) return true;
  *err = line + ": " + std::to_string(value_count) + (value_count == 1 ? " value" : " values") +
         ", but the first line names " + named;
  return false;
}

}  // namespace

std::string zone_with_answer(std::string_view body_zone_1, std::string_view answer) {
  std::string_view kept = trim_trailing_blanks(body_zone_1);
  if (kept.size() >= 2) kept.remove_suffix(2);
  std::string zone(kept);
  zone.append(answer);
  return zone;
}

bool make_from_table(CsvReader& reader, const BatchHeader& header, std::string_view line_end, BlockWriter& out,
                     std::string* err) {
  std::vector<Column> columns;
  if (!read_columns(reader, columns, err)) return false;
  size_t text_length = record_text_length(line_end);
  std::string record;
  compose_header(header, text_length, record);
  write_record(out, record, line_end);

  reader.most_values = columns.size();
  BodyComposer composer = make_body_composer(header, text_length);
  std::vector<std::string> values;
  std::vector<std::string> converted(columns.size());
  std::string zone;
  int64_t body_records = 0;
  for (;;) {
    CsvRow row = read_csv_row(reader, values);
    if (row == CsvRow::END) break;
    if (!whole_row(row, reader, columns, values.size(), text_length, err)) return false;
    int64_t line = reader.row_line;
    if (++body_records > MAX_BATCH_BODY_RECORDS) {
      *err = at_line(line) + ": more than 999999 body records, the most a batch counts";
      return false;
    }
    BodyValues fields{};
    std::string_view answer;
    for (size_t i = 0; i < columns.size(); ++i) {
      std::string_view taken;
      if (!take_value(values[i], columns[i], text_length, line, converted[i], taken, err)) return false;
      if (columns[i].field == ANSWER)
        answer = taken;
      else
        fields[columns[i].field] = taken;
    }
    if (!answer.empty()) {
      size_t zone_field = body_index(request::BODY_ZONE_1);
      zone = zone_with_answer(fields[zone_field], answer);
      fields[zone_field] = zone;
    }
    write_body(out, composer, body_records, fields, line_end);
  }
  compose_footer(header, body_records, text_length, record);
  write_record(out, record, line_end);
  return true;
}
