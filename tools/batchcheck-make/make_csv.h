#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "make_input.h"

// A table read row by row as RFC 4180 defines CSV: values between commas,
// rows ended by CR LF (or a lone LF, as many programs write them), a value in
// double quotes may hold commas, line ends and doubled quotes. The bytes of
// the values are kept as they are; a UTF-8 byte order mark before the first
// row is skipped (spreadsheets write one).
struct CsvReader {
  InputBlocks input;
  bool started = false;        // the byte order mark has been looked for
  int64_t next_line = 1;       // the line the next row starts on
  int64_t row_line = 0;        // the line the last row read started on
  size_t fault_value = 0;      // which value of the row is malformed, from 0
  const char* fault = nullptr; // what is malformed about it
};

// Starts reading `file` at its current position.
CsvReader make_csv_reader(FILE* file);

// What read_csv_row found.
enum class CsvRow { ROW, END, MALFORMED, READ_ERROR };

// Reads the next row into `values` (one string per value, reused from row
// to row). MALFORMED leaves the reason in `fault` and the value in
// `fault_value`: a quote inside a value that is not quoted, a character
// after a closing quote, or a quoted value never closed.
CsvRow read_csv_row(CsvReader& reader, std::vector<std::string>& values);
