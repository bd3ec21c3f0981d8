#pragma once

#include <string>
#include <string_view>

#include "make_csv.h"
#include "batch/request_writer.h"

// The column that asks the simulated server for a response code.
constexpr std::string_view ANSWER_COLUMN = "answer";

// `body_zone_1` carrying `answer` where the Response writer reads the code:
// the last two characters once its trailing blanks are removed. The other
// characters stay; fewer than two are kept in front of the answer.
std::string zone_with_answer(std::string_view body_zone_1, std::string_view answer);

// Writes a batch from a table: the header record from `header`, one body
// record per row, the footer with the count, every record ended by
// `line_end`. The first row names the columns: body record fields and
// `answer`, in any order. False on bad input, with `err` saying where and
// why ("line 3, field merchant_id: ..."); what was written is then
// worthless.
bool make_from_table(CsvReader& reader, const batch::BatchHeader& header, std::string_view line_end,
                     support::BlockWriter& out, std::string* err);
