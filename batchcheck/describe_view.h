#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block_writer.h"
#include "verify.h"

// The JSON object of one record kind, built once: each record only puts its
// values in place, so a million records cost no million objects.
struct JsonRecord {
  nlohmann::ordered_json line;
  nlohmann::ordered_json::number_integer_t* record = nullptr;
  nlohmann::ordered_json::number_unsigned_t* length = nullptr;
  std::vector<std::string*> values;  // one per field of the kind, in layout order
  nlohmann::ordered_json* findings = nullptr;
};

// How batchcheck-describe shows a batch: the text view, for a person, or
// JSON Lines, for scripts (one object per record, then one for the end).
struct DescribeView {
  bool json = false;
  std::vector<JsonRecord> json_records;  // one per record kind
  std::string text;                      // room for one record's text
};

// The view of the kind asked for.
DescribeView make_describe_view(bool json);

// Writes one record: its position, kind and length, each field by its name,
// and the findings on it.
void show_record(DescribeView& view, BlockWriter& out, int64_t position, std::string_view record,
                 const std::vector<std::string>& found);

// What the end of the view shows.
struct DescribedEnd {
  VerificationResult result;
  const std::optional<VerificationCounts>& counts;  // none when the file could not be read whole
  const std::vector<std::string>& on_file;          // the findings on the whole file
  bool file_number_checked;
};

// Writes the end: the summary, the findings on the whole file, the result.
void show_end(DescribeView& view, BlockWriter& out, const DescribedEnd& end);
