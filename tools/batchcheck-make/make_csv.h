#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/record_layout.h"
#include "support/block_reader.h"

// The most bytes of a table value read: a value of the whole record, 200
// characters of at most four bytes each in UTF-8. A longer one fits no
// field, nor names a column.
constexpr size_t LONGEST_CSV_VALUE = 4 * batch::RECORD_LENGTH;

// A table read row by row as RFC 4180 defines CSV: values between commas,
// rows ended by CR LF (or a lone LF, as many programs write them), a value in
// double quotes may hold commas, line ends and doubled quotes. The bytes of
// the values are kept as they are; a UTF-8 byte order mark before the first
// row is skipped (spreadsheets write one).
//
// Memory stays that of one short row whatever the input: a row is read up
// to `most_values` values and each value up to `longest_value` bytes, the
// reading stopping at the first that passes.
struct CsvReader {
  support::BlockReader input;  // read in blocks of 256 KiB
  bool started = false;        // the byte order mark has been looked for
  int64_t next_line = 1;       // the line the next row starts on
  int64_t row_line = 0;        // the line the last row read started on
  size_t fault_value = 0;      // which value of the row is malformed, from 0
  const char* fault = nullptr; // what is malformed about it
  size_t most_values = SIZE_MAX;
  size_t longest_value = LONGEST_CSV_VALUE;
  // A carriage return alone ends the row, as a line end, rather than being
  // one of the value's characters (the header's line).
  bool lone_cr_ends_row = false;
};

// Starts reading `file` at its current position.
CsvReader make_csv_reader(FILE* file);

// What read_csv_row found.
enum class CsvRow { ROW, END, MALFORMED, TOO_MANY_VALUES, VALUE_TOO_LONG, READ_ERROR };

// Reads the next row into `values` (one string per value, reused from row
// to row). MALFORMED leaves the reason in `fault` and the value in
// `fault_value`: a quote inside a value that is not quoted, a character
// after a closing quote, or a quoted value never closed. TOO_MANY_VALUES:
// the row goes on past `most_values`; VALUE_TOO_LONG: the value
// `fault_value` passes `longest_value` bytes, the first of which it holds.
CsvRow read_csv_row(CsvReader& reader, std::vector<std::string>& values);
