#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "batch/rules.h"
#include "record_view.h"

// batchcheck-describe's JSON Lines: one object a record, then the closing
// object, in the shape record_json.h names, which batchcheck-make reads
// back. The one place of the description that knows the JSON library.

// The object of one record kind, built once (json_view.cpp).
struct JsonKindObject;

// The JSON object of each record kind met so far: each record only puts its
// values in place, so a million records cost no million objects.
struct JsonRecords {
  JsonRecords();
  ~JsonRecords();
  std::vector<std::unique_ptr<JsonKindObject>> kinds;
};

// Appends a record as one line of JSON.
void append_json_record(std::string& out, JsonRecords& views, const ShownRecord& shown);

// Appends the closing object as one line of JSON.
void append_json_closing(std::string& out, const Closing& closing, std::span<const batch::Finding> on_file);
