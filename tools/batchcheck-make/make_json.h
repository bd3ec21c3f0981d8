#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "batch/request_writer.h"

// The longest line of JSON Lines read, in bytes: far beyond any line
// batchcheck-describe --json writes (a record of 200 characters, each
// escaped, and its findings), so that a line of any length costs no more
// memory than this before it is refused.
constexpr size_t MAX_JSON_LINE = 1 << 20;

// How batchcheck-make writes the records of JSON Lines.
struct JsonOptions {
  // The line end of a record whose object has no "line_end".
  std::string_view line_end = batch::CRLF;
  // Record numbers, the footer's nb_record and file_identity computed
  // instead of kept.
  bool renumber = false;
};

// Writes one record per object of the JSON Lines in `in`, in the shape
// batchcheck-describe --json writes: "kind", "fields" by the names of that
// kind's layout, "length" and "line_end"; the other members (the record's
// position, its findings) and describe's closing object are not read. Each
// record is written with the very bytes its fields and line end give, so
// that describe's output gives back the file it describes. False on bad
// input, with `err` saying where and why ("line 3, ..."; "no record in the
// input" when it holds none); an empty `err` when the input could not be
// read.
bool make_from_json(FILE* in, const JsonOptions& options, support::BlockWriter& out, std::string* err);
